// HelpWindowTest.cpp — the help fits the screen it opens on: every line of it on the page, none
// over another, all of it reachable by scrolling, the foot always in view.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "FakeClock.h"
#include "platform/App.h"
#include "ui/HelpWindow.h"
#include "ui/KeyFeed.h"

namespace quarn::ui {
namespace {

bool Overlap(const SDL_Rect& a, const SDL_Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Screens of laptops and small displays, less their frames, and one with room to spare.
TEST(HelpWindowTest, FitsEveryScreenAndShowsEveryLineByScrolling) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  KeyState keys;
  KeyFeed feed{keys};
  FakeClock clock;
  platform::App app(feed, clock);
  for (const SDL_Point room : {SDL_Point{1904, 1032}, SDL_Point{1350, 720}, SDL_Point{1008, 720},
                               SDL_Point{784, 552}, SDL_Point{624, 432}}) {
    SCOPED_TRACE(std::to_string(room.x) + " x " + std::to_string(room.y));
    HelpWindow help(app, QUARN_BIN_DIR, room);
    platform::Window& w = help.Window();
    ASSERT_LE(w.ClientWidth(), room.x);
    ASSERT_LE(w.ClientHeight(), room.y);
    const platform::PictureBox& page = help.Page();

    // Every key line and heading, every tile's text and the goal are on the page.
    std::multiset<std::string> captions;
    std::vector<SDL_Rect> placed;
    for (const platform::Control* c : page.Children) {
      placed.push_back(c->Bounds);
      if (auto* l = dynamic_cast<const platform::Label*>(c)) captions.insert(l->Caption);
      // Nothing sticks out past the page's sides.
      EXPECT_GE(c->Bounds.x, 0);
      EXPECT_LE(c->Bounds.x + c->Bounds.w, page.Bounds.w);
    }
    const std::multiset<std::string> keyLines(HelpKeys().begin(), HelpKeys().end());
    for (const std::string& line : keyLines) {
      EXPECT_EQ(captions.count(line), keyLines.count(line)) << line;
    }
    for (const HelpTile& t : HelpTiles()) EXPECT_EQ(captions.count(t.Text), 1u) << t.Text;
    EXPECT_EQ(captions.count(HelpGoal()), 1u);
    // No line or picture lies over another.
    for (size_t i = 0; i < placed.size(); ++i) {
      for (size_t j = i + 1; j < placed.size(); ++j) {
        EXPECT_FALSE(Overlap(placed[i], placed[j])) << i << " and " << j;
      }
    }

    // The foot is whole in the window, under the page.
    const platform::Control* foot = w.Root().Children.back();
    EXPECT_GE(foot->Bounds.y, page.Bounds.h);
    EXPECT_LE(foot->Bounds.y + foot->Bounds.h, w.ClientHeight());

    // End scrolls the page's last line into view, Home back to the top; on a screen with room
    // the page does not scroll at all.
    help.Show();
    w.OnKeyDown(35);
    int lowest = 0;
    for (const platform::Control* c : page.Children) {
      lowest = std::max(lowest, c->Bounds.y + c->Bounds.h);
    }
    EXPECT_LE(lowest, page.Bounds.h);
    EXPECT_EQ(help.Scrolled() > 0, help.ContentHeight() > page.Bounds.h);
    if (room.y >= 1000) {
      EXPECT_EQ(help.Scrolled(), 0);
    }
    w.OnKeyDown(36);
    EXPECT_EQ(help.Scrolled(), 0);
    EXPECT_EQ(page.Children.front()->Bounds.y, 8);
    w.OnKeyDown(34);
    EXPECT_EQ(help.Scrolled() > 0, help.ContentHeight() > page.Bounds.h);
    help.Hide();
  }
}

}  // namespace
}  // namespace quarn::ui
