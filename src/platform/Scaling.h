// Scaling.h — how a window's logical client area is enlarged onto the screen: by a whole factor
// in a window, to the largest size that fits in fullscreen.
#pragma once

#include <SDL.h>

#include <vector>

namespace quarn::platform {

// The largest whole factor by which a logical size fits into the usable area, at least 1.
int WholeScale(int logicalW, int logicalH, int usableW, int usableH);

// Where one screen pixel takes its colour when `from` pixels are stretched over `to`: all of
// pixel Index when Weight is 256, else Weight/256 of it and the rest of Index + 1. Each source
// pixel is a block of screen pixels, and only a screen pixel on the border between two blocks
// mixes them: as sharp as a whole-pixel enlargement, without its uneven blocks.
struct ScaleTap {
  int Index = 0;
  int Weight = 256;
};
std::vector<ScaleTap> SharpTaps(int from, int to);

// Copies a rectangle of the frame onto the window surface stretched by SharpTaps; out is the
// part of the surface to fill, taps map its columns and rows to the frame's.
void CopySharp(const SDL_Surface* frame, SDL_Surface* screen, const SDL_Rect& out, int left,
               int top, const std::vector<ScaleTap>& columns, const std::vector<ScaleTap>& rows);
// Copies the rectangle r of the frame onto the window surface, every pixel as a factor x factor
// square, the client area's corner at (left, top).
void CopyScaled(SDL_Surface* frame, const SDL_Rect& r, SDL_Surface* screen, int factor, int left,
                int top);
// Whether the window's display has a window manager to carry out a fullscreen request (and to
// hand the keyboard to a window that is shown).
bool HasWindowManager(SDL_Window* window);

}  // namespace quarn::platform
