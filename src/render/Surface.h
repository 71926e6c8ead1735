// Surface.h — owned SDL surfaces and the pixel operations the board is drawn with.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>

namespace quarn {

// Frees a surface, and the pixels MakeSurface mapped for it.
void FreeSurface(SDL_Surface* s);
struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Every surface drawn on or copied from is 32-bit XRGB, so copies are plain word moves.
inline constexpr Uint32 BoardPixelFormat = SDL_PIXELFORMAT_XRGB8888;

// A new black surface in the board's format; nullptr if SDL cannot allocate it. A large one
// (a board) takes its memory page by page where it is first drawn on: its pixels are mapped
// from the system's zero pages, not allocated and cleared, so a large board that shows a
// viewport of itself costs about the viewport.
SurfacePtr MakeSurface(int width, int height);
// Makes the surface black again; a large one gives its pages back, to be taken again where it
// is drawn on.
void BlackenSurface(SDL_Surface& s);
// A copy of any loaded picture in the board's format; nullptr on failure.
SurfacePtr ToBoardFormat(SDL_Surface* picture);

struct SourceRect {
  int X = 0, Y = 0, W = 0, H = 0;
};
struct DestRect {
  double X = 0, Y = 0, W = 0, H = 0;
};

// The pixels [X0, X1) x [Y0, Y1) a copy to a destination rectangle writes: those whose centre
// (i + 0.5) lies inside it. Not cut to any surface.
struct PixelBox {
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};
PixelBox CoveredPixels(DestRect to);

// Copies the source rectangle of src scaled into the destination rectangle of dst (both in the
// board's format), nearest pixel, overwriting what is there and clipped to dst. Parts of the
// source rectangle outside the picture come out black.
void ScaledCopy(const SDL_Surface& src, SourceRect from, SDL_Surface& dst, DestRect to);
// The same copy, writing only the pixels inside clip: every pixel it writes gets the value the
// whole copy would give it, so a copy can be done piece by piece.
void ScaledCopy(const SDL_Surface& src, SourceRect from, SDL_Surface& dst, DestRect to,
                const PixelBox& clip);
// The whole picture scaled into the destination rectangle.
void ScaledCopy(const SDL_Surface& src, SDL_Surface& dst, DestRect to);

// Exclusive-or figures: every pixel of the figure is XORed once with the colour (0xRRGGBB),
// so drawing the same figure again restores the surface. Pixels off the surface are skipped.
void XorLine(SDL_Surface& dst, double x1, double y1, double x2, double y2, Uint32 rgb);
void XorCircle(SDL_Surface& dst, double cx, double cy, double radius, Uint32 rgb);

// Writes the surface as a 24-bit Windows bitmap; an error names the file.
std::optional<std::string> SaveBmp24(const SDL_Surface& surface, const std::string& path);

}  // namespace quarn
