// XUpload.h — handing small changes of a window surface to an X server without a round trip.
#pragma once

#include <SDL.h>

#include <vector>

namespace quarn::platform {

// SDL hands a window surface to X through shared memory and then waits for the server to have
// read it: a round trip, and a second wake of the program, for every frame. For the few cells a
// tick changes, sending the pixels along the connection costs less and needs no answer. Large
// changes (a gliding board, a new screen) are left to SDL's shared memory.
class XUpload {
 public:
  XUpload() = default;
  ~XUpload();
  XUpload(const XUpload&) = delete;
  XUpload& operator=(const XUpload&) = delete;

  // Sends the rectangles of the window surface screen to the window on X; false when it did
  // not (not X, too much to send, or X refused), and the caller is to hand them over itself.
  bool Put(SDL_Window* window, SDL_Surface* screen, const std::vector<SDL_Rect>& rects);

 private:
  void Forget();

#ifndef __EMSCRIPTEN__
  // A page has no X server: its XUpload (WebDesktop.cpp) never sends and keeps nothing.
  void* display_ = nullptr;
  unsigned long xwindow_ = 0;
  void* gc_ = nullptr;
  void* image_ = nullptr;  // an XImage over the window surface's own pixels
  const SDL_Surface* surface_ = nullptr;
  const void* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
  bool unusable_ = false;
#endif
};

}  // namespace quarn::platform
