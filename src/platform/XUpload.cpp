// XUpload.cpp — XPutImage of changed rectangles straight from the window surface.
#include "XUpload.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quarn::platform {
namespace {

// Past this many pixels in one frame shared memory is the cheaper way (a quarter of 800 x 600).
constexpr long MaxPixels = 120'000;

}  // namespace

XUpload::~XUpload() { Forget(); }

void XUpload::Forget() {
  auto* display = static_cast<Display*>(display_);
  if (auto* image = static_cast<XImage*>(image_)) {
    image->data = nullptr;  // the pixels belong to SDL's window surface
    XDestroyImage(image);
  }
  if (gc_) XFreeGC(display, static_cast<GC>(gc_));
  image_ = nullptr;
  gc_ = nullptr;
  surface_ = nullptr;
}

bool XUpload::Put(SDL_Window* window, SDL_Surface* screen, const std::vector<SDL_Rect>& rects) {
  if (unusable_ || !screen) return false;
  long pixels = 0;
  for (const SDL_Rect& r : rects) pixels += long{r.w} * r.h;
  if (pixels > MaxPixels) return false;
  if (screen != surface_ || screen->pixels != pixels_ || screen->w != width_ ||
      screen->h != height_ || !image_) {
    Forget();
    // Only a window surface that is X's own image: when SDL keeps it in a GL texture (the
    // environment may ask for that), SDL must be the one to hand every change over.
    const char* accelerated = SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    const bool native = accelerated && (SDL_strcmp(accelerated, "0") == 0 ||
                                        SDL_strcasecmp(accelerated, "false") == 0);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!native || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 ||
        screen->format->BytesPerPixel != 4) {
      unusable_ = true;
      return false;
    }
    Display* display = info.info.x11.display;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, info.info.x11.window, &attributes) ||
        attributes.depth != 24) {
      unusable_ = true;
      return false;
    }
    XImage* image =
        XCreateImage(display, attributes.visual, 24, ZPixmap, 0, static_cast<char*>(screen->pixels),
                     screen->w, screen->h, 32, screen->pitch);
    if (!image) {
      unusable_ = true;
      return false;
    }
    // The surface's pixels are words in this machine's order; Xlib turns them round if the
    // server wants the other.
    image->byte_order = SDL_BYTEORDER == SDL_LIL_ENDIAN ? LSBFirst : MSBFirst;
    display_ = display;
    xwindow_ = info.info.x11.window;
    image_ = image;
    gc_ = XCreateGC(display, xwindow_, 0, nullptr);
    surface_ = screen;
    pixels_ = screen->pixels;
    width_ = screen->w;
    height_ = screen->h;
  }
  auto* display = static_cast<Display*>(display_);
  for (const SDL_Rect& r : rects) {
    XPutImage(display, xwindow_, static_cast<GC>(gc_), static_cast<XImage*>(image_), r.x, r.y, r.x,
              r.y, static_cast<unsigned>(r.w), static_cast<unsigned>(r.h));
  }
  XFlush(display);
  return true;
}

}  // namespace quarn::platform
