// XPresentTest.cpp — on a real X display, what the server shows in the window after every frame
// is the window composed afresh, whichever way the frame went out: a few small changes sent along
// the connection, or large ones through SDL's shared memory. Run by XPresent.sh under Xvfb.
#include <gtest/gtest.h>

#include <random>

#include "platform/App.h"

// Last: Xlib's macros (None, Bool) would break the test framework's headers.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quarn::platform {
namespace {

struct NoKeys : KeySink {
  void KeyDown(int) override {}
  void KeyUp(int) override {}
  void ReleaseAll() override {}
};

// The client area as the X server has it, compared with the frame composed afresh; the first
// differing pixel, or an empty string.
std::string Difference(Window& w) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(w.Native(), &info) || info.subsystem != SDL_SYSWM_X11)
    return "not an X window";
  Display* display = info.info.x11.display;
  XSync(display, False);
  const SDL_Surface* frame = w.Compose();
  XImage* image = XGetImage(display, info.info.x11.window, 0, 0, static_cast<unsigned>(frame->w),
                            static_cast<unsigned>(frame->h), AllPlanes, ZPixmap);
  if (!image) return "the server gave no image";
  std::string found;
  for (int y = 0; y < frame->h && found.empty(); ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(frame->pixels) +
                                                      y * frame->pitch);
    for (int x = 0; x < frame->w; ++x) {
      Uint8 r, g, b;
      SDL_GetRGB(row[x], frame->format, &r, &g, &b);
      const unsigned long want =
          (static_cast<unsigned long>(r) << 16) | (static_cast<unsigned long>(g) << 8) | b;
      const unsigned long shown = XGetPixel(image, x, y) & 0xFFFFFF;
      if (shown != want) {
        found = "at " + std::to_string(x) + "," + std::to_string(y) + " the server shows " +
                std::to_string(shown) + ", the frame " + std::to_string(want);
        break;
      }
    }
  }
  XDestroyImage(image);
  return found;
}

TEST(XPresent, TheServerShowsEveryFrameWhicheverWayItWent) {
  if (!SDL_getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  NoKeys keys;
  SteadyClock clock;
  App app(keys, clock);
  Window w(app, WindowOptions{"Quarn", 800, 600, true, false});
  ASSERT_EQ(w.Scale(), 1);
  std::mt19937 rng(7);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  Shape back, cover;
  back.Bounds = SDL_Rect{0, 0, 800, 600};
  back.Filled = true;
  back.Ink = Colour{20, 40, 60};
  cover.Filled = true;
  std::vector<Shape> spots(12);
  w.Root().Children = {&back};
  for (Shape& s : spots) {
    s.Filled = pick(2) == 0;
    w.Root().Children.push_back(&s);
  }
  w.Root().Children.push_back(&cover);
  w.Show();
  // The server maps the window in its own time.
  for (int i = 0; i < 50; ++i) {
    SDL_PumpEvents();
    SDL_Delay(10);
  }
  int64_t now = 0;
  for (int frame = 0; frame < 40; ++frame) {
    // Mostly a few small spots move or change colour; now and then a large cover comes or goes.
    for (int i = 0; i < 1 + pick(3); ++i) {
      Shape& s = spots[static_cast<size_t>(pick(12))];
      s.Bounds = SDL_Rect{pick(780), pick(580), 1 + pick(40), 1 + pick(40)};
      s.Ink = Colour{static_cast<Uint8>(pick(256)), static_cast<Uint8>(pick(256)),
                     static_cast<Uint8>(pick(256))};
    }
    cover.Visible = frame % 9 == 4;
    cover.Bounds = SDL_Rect{pick(100), pick(100), 500 + pick(200), 400 + pick(100)};
    cover.Ink = Colour{static_cast<Uint8>(pick(256)), 0, 128};
    w.Invalidate();
    now += 1'000'000'000;
    w.PresentIfDue(now);
    const std::string difference = Difference(w);
    ASSERT_EQ(difference, "") << "frame " << frame;
  }
  EXPECT_GE(w.Presents(), 40);
}

}  // namespace
}  // namespace quarn::platform
