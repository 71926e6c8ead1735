// PictureButtonTest.cpp — picture buttons: looks from the polled pointer, and when a click counts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/App.h"
#include "ui/PictureButton.h"
#include "ui/KeyFeed.h"

namespace quarn::ui {
namespace {

// Two buttons side by side as a window would hold them: Yes (100 wide) and OK (62 wide).
class PictureButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buttons.Add(nullptr, SDL_Rect{10, 56, 100, 30}, [this] { ++clicks[1]; });
    buttons.Add(nullptr, SDL_Rect{122, 56, 62, 30}, [this] { ++clicks[2]; });
  }
  int StripY(int i) { return buttons.Strip(i).Bounds.y; }
  PictureButtons buttons{""};
  int clicks[3] = {0, 0, 0};
};

TEST_F(PictureButtonsTest, LooksFollowThePolledPointer) {
  const SDL_Point onFirst{10, 56}, onSecond{183, 85}, between{115, 70};
  EXPECT_EQ(buttons.LookOf(1), Look::Normal);

  buttons.Tick(onFirst);  // the top-left corner is on the button
  EXPECT_EQ(buttons.LookOf(1), Look::Pointed);
  EXPECT_EQ(StripY(1), -30);
  EXPECT_EQ(buttons.LookOf(2), Look::Normal);
  buttons.Tick(SDL_Point{110, 70});  // the right edge is not
  EXPECT_EQ(buttons.LookOf(1), Look::Normal);
  EXPECT_EQ(StripY(1), 0);
  buttons.Tick(onSecond);
  EXPECT_EQ(buttons.LookOf(2), Look::Pointed);
  buttons.Tick(SDL_Point{183, 86});  // nor the bottom edge
  EXPECT_EQ(buttons.LookOf(2), Look::Normal);

  // A press shows nothing until the next poll; then only the pressed button follows the pointer.
  buttons.Tick(onFirst);
  buttons.Press(1);
  EXPECT_EQ(buttons.LookOf(1), Look::Pointed);
  buttons.Tick(onFirst);
  EXPECT_EQ(buttons.LookOf(1), Look::PressedOn);
  EXPECT_EQ(StripY(1), -90);
  buttons.Tick(onSecond);
  EXPECT_EQ(buttons.LookOf(1), Look::PressedAway);
  EXPECT_EQ(StripY(1), -60);
  EXPECT_EQ(buttons.LookOf(2), Look::Normal);  // pointed at, but another button is held
  buttons.Tick(onFirst);
  EXPECT_EQ(buttons.LookOf(1), Look::PressedOn);

  // After the release the next poll brings the looks back.
  buttons.Release(SDL_Point{200, 200});
  buttons.Tick(between);
  EXPECT_EQ(buttons.LookOf(1), Look::Normal);
  EXPECT_EQ(buttons.PressedButton(), 0);
}

TEST_F(PictureButtonsTest, AClickCountsOnlyWhenReleasedOnTheVisiblePartOfThePressedButton) {
  // Released on the button showing look 0: the strip's top 30 pixels are the visible part.
  buttons.Press(1);
  EXPECT_TRUE(buttons.Release(SDL_Point{0, 0}));
  EXPECT_EQ(clicks[1], 1);
  EXPECT_EQ(buttons.PressedButton(), 0);

  // With look 3 shown the visible part is the strip's last 30 pixels.
  buttons.Tick(SDL_Point{20, 60});
  buttons.Press(1);
  buttons.Tick(SDL_Point{20, 60});
  ASSERT_EQ(StripY(1), -90);
  EXPECT_FALSE(buttons.Release(SDL_Point{20, 10}));  // on the strip, but on a hidden look
  EXPECT_EQ(buttons.PressedButton(), 0);
  buttons.Press(1);
  EXPECT_TRUE(buttons.Release(SDL_Point{99, 119}));
  EXPECT_EQ(clicks[1], 2);

  // Released past the right edge (over the other button): nothing anywhere.
  buttons.Press(1);
  EXPECT_FALSE(buttons.Release(SDL_Point{100, 100}));
  EXPECT_FALSE(buttons.Release(SDL_Point{10, 100}));  // a release with nothing pressed
  EXPECT_EQ(clicks[1], 2);
  EXPECT_EQ(clicks[2], 0);
}

// The platform's side: the strip gets presses of any mouse button, and the release of the press
// relative to itself wherever the pointer is, so the release rule above sees the real points.
TEST(PictureButtonsInAWindow, MousePressesAndReleasesReachThePressedStrip) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  KeyState keys;
  KeyFeed keyFeed{keys};
  platform::SteadyClock clock;
  platform::App app(keyFeed, clock);
  platform::Window w(app, platform::WindowOptions{"Quarn", 300, 105, false, false});
  PictureButtons buttons("");
  int clicks[3] = {0, 0, 0};
  buttons.Add(nullptr, SDL_Rect{10, 56, 100, 30}, [&] { ++clicks[1]; });
  buttons.Add(nullptr, SDL_Rect{122, 56, 62, 30}, [&] { ++clicks[2]; });
  buttons.PutInto(w.Root());
  buttons.Attach(w, app.Timers());
  ASSERT_NE(buttons.HoverTimer(), nullptr);
  EXPECT_TRUE(buttons.HoverTimer()->Enabled());  // from creation on

  auto mouse = [&](Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    w.Handle(e);
  };
  mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 20, 60);
  EXPECT_EQ(buttons.PressedButton(), 1);
  mouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 109, 85);
  EXPECT_EQ(clicks[1], 1);

  mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 20, 60);
  mouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 130, 60);  // over the other button
  EXPECT_EQ(clicks[1], 1);
  EXPECT_EQ(clicks[2], 0);
  mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 60);  // beside the buttons
  EXPECT_EQ(buttons.PressedButton(), 0);

  // The frame clips the strip: the looks below the frame cannot be pressed.
  mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 20, 90);
  EXPECT_EQ(buttons.PressedButton(), 0);

  // Leaving the window stops the poll; coming back starts it.
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  w.Handle(e);
  EXPECT_FALSE(buttons.HoverTimer()->Enabled());
  e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  w.Handle(e);
  EXPECT_TRUE(buttons.HoverTimer()->Enabled());
}

}  // namespace
}  // namespace quarn::ui
