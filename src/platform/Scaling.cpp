// Scaling.cpp — a window's client area on the screen: the whole factor, fullscreen, the sharp
// stretch that fills a screen of another shape, and window pixels turned back into logical ones.
#include "Scaling.h"
#include "WindowSystem.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "Window.h"

namespace quarn::platform {

int WholeScale(int logicalW, int logicalH, int usableW, int usableH) {
  if (logicalW <= 0 || logicalH <= 0) return 1;
  return std::max(1, std::min(usableW / logicalW, usableH / logicalH));
}

std::vector<ScaleTap> SharpTaps(int from, int to) {
  std::vector<ScaleTap> taps(static_cast<size_t>(std::max(to, 0)));
  if (from <= 0 || to <= 0) return taps;
  for (int x = 0; x < to; ++x) {
    // The screen pixel covers [a, b) of the source, in source pixels.
    const double a = static_cast<double>(x) * from / to, b = static_cast<double>(x + 1) * from / to;
    const int i = std::min(static_cast<int>(a), from - 1);
    ScaleTap& t = taps[static_cast<size_t>(x)];
    t.Index = i;
    if (b <= i + 1 + 1e-9 || i + 1 >= from) continue;
    t.Weight = static_cast<int>(std::lround(256 * (i + 1 - a) / (b - a)));
  }
  return taps;
}

namespace {

bool Empty(const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; }

}  // namespace

// Copies a rectangle of the frame onto the window surface stretched by SharpTaps; out is the
// part of the surface to fill, taps map its columns and rows to the frame's.
void CopySharp(const SDL_Surface* frame, SDL_Surface* screen, const SDL_Rect& out, int left,
               int top, const std::vector<ScaleTap>& columns, const std::vector<ScaleTap>& rows) {
  const bool locked = SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) == 0;
  auto at = [&](int x, int y) {
    return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(frame->pixels) +
                                           static_cast<ptrdiff_t>(y) * frame->pitch)[x];
  };
  auto mix = [](Uint32 p, Uint32 q, int w) {
    Uint32 r = 0;
    for (int shift : {0, 8, 16}) {
      const int c = (static_cast<int>((p >> shift) & 255) * w +
                     static_cast<int>((q >> shift) & 255) * (256 - w) + 128) >>
                    8;
      r |= static_cast<Uint32>(c) << shift;
    }
    return r;
  };
  for (int y = out.y; y < out.y + out.h; ++y) {
    const ScaleTap ty = rows[static_cast<size_t>(y - top)];
    const int y2 = std::min(ty.Index + 1, frame->h - 1);
    auto* line = reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) +
                                           static_cast<ptrdiff_t>(y) * screen->pitch);
    for (int x = out.x; x < out.x + out.w; ++x) {
      const ScaleTap tx = columns[static_cast<size_t>(x - left)];
      const int x2 = std::min(tx.Index + 1, frame->w - 1);
      Uint32 upper = at(tx.Index, ty.Index);
      if (tx.Weight < 256) upper = mix(upper, at(x2, ty.Index), tx.Weight);
      if (ty.Weight < 256) {
        Uint32 lower = at(tx.Index, y2);
        if (tx.Weight < 256) lower = mix(lower, at(x2, y2), tx.Weight);
        upper = mix(upper, lower, ty.Weight);
      }
      line[x] = upper;
    }
  }
  if (locked) SDL_UnlockSurface(screen);
}

// Copies a rectangle of the frame onto the window surface, every pixel as a factor x factor
// square.
void CopyScaled(SDL_Surface* frame, const SDL_Rect& r, SDL_Surface* screen, int factor, int left,
                int top) {
  SDL_Rect dst{left + r.x * factor, top + r.y * factor, r.w * factor, r.h * factor};
  const bool plain = screen->format->BytesPerPixel == 4 &&
                     (screen->format->format == SDL_PIXELFORMAT_XRGB8888 ||
                      screen->format->format == SDL_PIXELFORMAT_ARGB8888);
  if (factor == 1) {
    CopyPixels(frame, r, screen, SDL_Point{dst.x, dst.y});
    return;
  }
  if (!plain) {
    SDL_Rect src = r;
    SDL_BlitScaled(frame, &src, screen, &dst);
    return;
  }
  const SDL_Rect clipped = Intersect(dst, SDL_Rect{0, 0, screen->w, screen->h});
  if (Empty(clipped)) return;
  const bool locked = SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) == 0;
  for (int y = clipped.y; y < clipped.y + clipped.h; ++y) {
    const int fy = (y - top) / factor;
    const auto* in = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(frame->pixels) +
                                                     static_cast<ptrdiff_t>(fy) * frame->pitch);
    auto* out = reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) +
                                          static_cast<ptrdiff_t>(y) * screen->pitch);
    for (int x = clipped.x; x < clipped.x + clipped.w; ++x) out[x] = in[(x - left) / factor];
  }
  if (locked) SDL_UnlockSurface(screen);
}

Window::Placement Window::Place() const {
  const int lw = options_.Width, lh = options_.Height;
  int w = lw * scale_, h = lh * scale_;
  windows::GetWindowSize(window_, &w, &h);
  Placement p;
  p.Factor = WholeScale(lw, lh, w, h);
  p.Width = lw * p.Factor;
  p.Height = lh * p.Factor;
  if (Fullscreen()) {
    // Mended: the screen is filled as far as the client area's shape allows, not only by
    // whole factors (800 x 600 stayed unscaled on 1920 x 1080, three quarters black).
    const double s = std::min(static_cast<double>(w) / lw, static_cast<double>(h) / lh);
    const int fw = std::min(w, static_cast<int>(std::lround(lw * s)));
    const int fh = std::min(h, static_cast<int>(std::lround(lh * s)));
    if (fw > p.Width || fh > p.Height) {
      p.Width = fw;
      p.Height = fh;
      p.Sharp = true;
    }
  }
  p.Left = (w - p.Width) / 2;
  p.Top = (h - p.Height) / 2;
  return p;
}

SDL_Rect Window::OnScreen(const Placement& p, const SDL_Rect& r) const {
  if (!p.Sharp)
    return SDL_Rect{p.Left + r.x * p.Factor, p.Top + r.y * p.Factor, r.w * p.Factor,
                    r.h * p.Factor};
  const int lw = options_.Width, lh = options_.Height;
  // A pixel more on each side: the border pixels mix in the rectangle's outer neighbours.
  const int x0 = std::max(0, static_cast<int>(static_cast<int64_t>(r.x) * p.Width / lw) - 1);
  const int y0 = std::max(0, static_cast<int>(static_cast<int64_t>(r.y) * p.Height / lh) - 1);
  const int x1 = std::min(
      p.Width, static_cast<int>((static_cast<int64_t>(r.x + r.w) * p.Width + lw - 1) / lw) + 1);
  const int y1 = std::min(
      p.Height, static_cast<int>((static_cast<int64_t>(r.y + r.h) * p.Height + lh - 1) / lh) + 1);
  return SDL_Rect{p.Left + x0, p.Top + y0, x1 - x0, y1 - y0};
}

SDL_Point Window::ToLogical(int x, int y) const {
  const Placement p = Place();
  // Rounded down, also left of and above the client area.
  const auto down = [](int v, int at, int logical, int shown) {
    const int64_t d = static_cast<int64_t>(v - at) * logical;
    return static_cast<int>(d >= 0 ? d / shown : -((-d + shown - 1) / shown));
  };
  return SDL_Point{down(x, p.Left, options_.Width, p.Width),
                   down(y, p.Top, options_.Height, p.Height)};
}

bool Window::Fullscreen() const {
  return ownFullscreen_ || (windows::GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Window::ToggleFullscreen() {
  if (!options_.CanFullscreen) return;
  SetFullscreen(!Fullscreen());
  app_.SetWantsFullscreen(Fullscreen());
}

void Window::SetFullscreen(bool full) {
  if (full == Fullscreen()) return;
  if (ownFullscreen_) {
    windows::SetWindowSize(window_, windowed_.w, windowed_.h);
    windows::SetWindowPosition(window_, windowed_.x, windowed_.y);
    ownFullscreen_ = false;
  } else if (!Fullscreen() && !HasWindowManager(window_)) {
    // Mended: with no window manager the window is laid over the whole display by us. Nobody
    // would carry out the fullscreen request, yet SDL would draw for the whole screen into the
    // unchanged window, and the frame would show shifted, without its panel.
    SDL_Rect screen;
    if (windows::GetDisplayBounds(std::max(0, windows::GetWindowDisplayIndex(window_)), &screen) != 0) return;
    windows::GetWindowPosition(window_, &windowed_.x, &windowed_.y);
    windows::GetWindowSize(window_, &windowed_.w, &windowed_.h);
    windows::SetWindowPosition(window_, screen.x, screen.y);
    windows::SetWindowSize(window_, screen.w, screen.h);
    ownFullscreen_ = true;
  } else {
    windows::SetWindowFullscreen(window_, Fullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  InvalidateAll();
}

}  // namespace quarn::platform
