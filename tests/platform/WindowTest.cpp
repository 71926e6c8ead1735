// WindowTest.cpp — windows on SDL's dummy display: decorations, fullscreen, clicks, frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/App.h"

namespace quarn::platform {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<App>(keys, clock);
  }
  struct : KeySink {
    void KeyDown(int) override {}
    void KeyUp(int) override {}
    void ReleaseAll() override {}
  } keys;
  SteadyClock clock;
  std::unique_ptr<App> app;
};

TEST(SharpScaling, BlocksOfWholePixelsMixedOnlyAtTheirBorders) {
  // A whole factor: every screen pixel is one source pixel, in blocks of two.
  for (const ScaleTap& t : SharpTaps(4, 8)) EXPECT_EQ(t.Weight, 256);
  EXPECT_EQ(SharpTaps(4, 8)[5].Index, 2);
  // 800 to 1440 (1920 x 1080 full screen): 1.8 screen pixels per source pixel. Each source
  // pixel shows whole at least once, and a mixed pixel lies only between two whole ones.
  const std::vector<ScaleTap> taps = SharpTaps(800, 1440);
  ASSERT_EQ(taps.size(), 1440u);
  std::vector<int> wholeShown(800, 0);
  int mixed = 0;
  for (size_t x = 0; x < taps.size(); ++x) {
    const ScaleTap& t = taps[x];
    ASSERT_GE(t.Index, 0);
    ASSERT_LT(t.Index, 800);
    if (t.Weight == 256) {
      ++wholeShown[static_cast<size_t>(t.Index)];
      continue;
    }
    ++mixed;
    EXPECT_GT(t.Weight, 0);
    ASSERT_GT(x, 0u);
    ASSERT_LT(x + 1, taps.size());
    EXPECT_EQ(taps[x - 1].Index, t.Index);
    EXPECT_EQ(taps[x + 1].Index, t.Index + 1);
  }
  EXPECT_EQ(std::count(wholeShown.begin(), wholeShown.end(), 0), 0);
  EXPECT_LT(mixed, 800);
  EXPECT_EQ(taps.back().Index, 799);
}

TEST(ScreenPath, XOwnImageOnlyWhereSdlKnowsTheScreensPixels) {
  // 24-bit and 16-bit screens: SDL names their format and draws into X's image itself.
  EXPECT_EQ(ChooseScreenPath(SDL_PIXELFORMAT_RGB888, 24), ScreenPath::Native);
  EXPECT_EQ(ChooseScreenPath(SDL_PIXELFORMAT_RGB565, 16), ScreenPath::Native);
  // A 30-bit screen, whose format SDL 2.26 does not know: its own path shows the window.
  EXPECT_EQ(ChooseScreenPath(SDL_PIXELFORMAT_UNKNOWN, 30), ScreenPath::SdlDefault);
  EXPECT_EQ(ChooseScreenPath(SDL_PIXELFORMAT_INDEX8, 0), ScreenPath::SdlDefault);
  // Palette colours show nothing either way; the game says so instead of an empty window.
  EXPECT_EQ(ChooseScreenPath(SDL_PIXELFORMAT_UNKNOWN, 8), ScreenPath::Unusable);
  EXPECT_EQ(ChooseScreenPath(SDL_PIXELFORMAT_INDEX8, 8), ScreenPath::Unusable);
}

TEST_F(WindowTest, ScreensAreBorderlessAndDialogsHaveATitleBar) {
  Window screen(*app, WindowOptions{"Quarn", 800, 600, true, true});
  WindowOptions dialogOptions{"Quarn", 300, 150, false, false};
  Window dialog(*app, dialogOptions);
  EXPECT_NE(SDL_GetWindowFlags(screen.Native()) & SDL_WINDOW_BORDERLESS, 0u);
  EXPECT_EQ(SDL_GetWindowFlags(dialog.Native()) & SDL_WINDOW_BORDERLESS, 0u);
  EXPECT_STREQ(SDL_GetWindowTitle(dialog.Native()), "Quarn");
  // Only a window made for it goes fullscreen.
  dialog.ToggleFullscreen();
  EXPECT_FALSE(dialog.Fullscreen());
  EXPECT_FALSE(screen.Shown());
  screen.Show();
  EXPECT_TRUE(screen.Shown());
}

TEST_F(WindowTest, AClickIsAPressAndAReleaseOnTheSameControl) {
  Window w(*app, WindowOptions{});
  Shape a;
  Button b(app->FontSet());
  a.Bounds = SDL_Rect{10, 10, 20, 20};
  b.Bounds = SDL_Rect{40, 10, 20, 20};
  int aClicks = 0, bClicks = 0, aDouble = 0;
  a.OnClick = [&] { ++aClicks; };
  a.OnDoubleClick = [&] { ++aDouble; };
  b.OnClick = [&] { ++bClicks; };
  w.Root().Children = {&a, &b};
  auto mouse = [&](Uint32 type, int x, int y, int clicks) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.clicks = static_cast<Uint8>(clicks);
    e.button.x = x;
    e.button.y = y;
    w.Handle(e);
  };
  mouse(SDL_MOUSEBUTTONDOWN, 15, 15, 1);
  EXPECT_TRUE(a.Pressed);
  mouse(SDL_MOUSEBUTTONUP, 45, 15, 1);  // let go over another control: no click anywhere
  EXPECT_FALSE(a.Pressed);
  EXPECT_EQ(aClicks + bClicks, 0);
  mouse(SDL_MOUSEBUTTONDOWN, 15, 15, 1);
  mouse(SDL_MOUSEBUTTONUP, 16, 16, 1);
  mouse(SDL_MOUSEBUTTONDOWN, 15, 15, 2);
  mouse(SDL_MOUSEBUTTONUP, 16, 16, 2);
  EXPECT_EQ(aDouble, 1);
  EXPECT_EQ(aClicks, 1);  // the second press of a double-click is only the double-click...
  mouse(SDL_MOUSEBUTTONDOWN, 45, 15, 1);
  mouse(SDL_MOUSEBUTTONUP, 45, 15, 1);
  mouse(SDL_MOUSEBUTTONDOWN, 45, 15, 2);
  mouse(SDL_MOUSEBUTTONUP, 45, 15, 2);
  EXPECT_EQ(bClicks, 2);  // ...except on a push button, which has no double-click
  // A right button does nothing.
  SDL_Event right{};
  right.type = SDL_MOUSEBUTTONDOWN;
  right.button.button = SDL_BUTTON_RIGHT;
  right.button.x = 45;
  right.button.y = 15;
  w.Handle(right);
  right.type = SDL_MOUSEBUTTONUP;
  w.Handle(right);
  EXPECT_EQ(bClicks, 2);
}

TEST_F(WindowTest, BackgroundIsWhereNoControlTakesTheMouse) {
  Window w(*app, WindowOptions{});
  Shape frame;  // decoration only
  frame.Bounds = SDL_Rect{0, 0, 100, 100};
  Label label(app->FontSet());
  label.Bounds = SDL_Rect{200, 0, 100, 20};
  label.ToolTip = "tip";
  w.Root().Children = {&frame, &label};
  EXPECT_TRUE(w.IsBackground(SDL_Point{50, 50}));
  EXPECT_FALSE(w.IsBackground(SDL_Point{210, 10}));
  EXPECT_FALSE(w.IsBackground(SDL_Point{900, 10}));  // outside the window
}

}  // namespace
}  // namespace quarn::platform
