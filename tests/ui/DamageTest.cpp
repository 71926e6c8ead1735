// DamageTest.cpp — a window drawn again only where something changed shows, frame after frame,
// exactly what drawing the whole window would: the glide, the blinking potatoes and targets,
// the laser beams, the death circles, the pause label, a tool tip, the start screen's buttons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <utility>

#include "FakeClock.h"
#include "platform/App.h"
#include "sound/SoundModule.h"
#include "ui/Dialog.h"
#include "ui/GameScreen.h"
#include "ui/KeyFeed.h"
#include "ui/StartScreen.h"

namespace quarn::ui {
namespace {

// Presents as the event loop would, then compares the window's frame, kept up to date by the
// changed rectangles alone, with the whole window drawn afresh. Returns the area the present
// drew again (0 when it was not yet due or nothing changed).
int64_t PresentAndCompare(platform::Window& w, int64_t nowNs, const std::string& when) {
  const int64_t presents = w.Presents();
  w.PresentIfDue(nowNs);
  int64_t area = 0;
  if (w.Presents() != presents) {
    for (const SDL_Rect& r : w.Damage()) area += int64_t{r.w} * r.h;
  }
  SDL_Surface* kept = w.ComposeChanges();
  SDL_Surface* whole = w.Compose();
  for (int y = 0; y < whole->h; ++y) {
    const auto* a = reinterpret_cast<const uint32_t*>(static_cast<uint8_t*>(kept->pixels) +
                                                      y * kept->pitch);
    const auto* b = reinterpret_cast<const uint32_t*>(static_cast<uint8_t*>(whole->pixels) +
                                                      y * whole->pitch);
    for (int x = 0; x < whole->w; ++x) {
      if ((a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF)) {
        ADD_FAILURE() << when << ": pixel " << x << "," << y << " is " << std::hex
                      << (a[x] & 0xFFFFFF) << " instead of " << (b[x] & 0xFFFFFF);
        return area;
      }
    }
  }
  return area;
}

class GameScreenDamage : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<platform::App>(keyFeed, clock);
    app->AnswerInstead = [](const auto&, const auto&, const auto&) { return 0; };
    program = std::make_unique<ProgramContext>(tickKeys, &tickKeys);
    sound = std::make_unique<SoundModule>(QUARN_BIN_DIR);
    sound->SetEnabled(false);
    dialog = std::make_unique<Dialog>(*app, QUARN_BIN_DIR);
    screen = std::make_unique<GameScreen>(*app, *program, *sound, *dialog, QUARN_BIN_DIR);
  }
  void TearDown() override {
    screen.reset();
    dialog.reset();
    sound.reset();
    program.reset();
    app.reset();
  }
  KeyState keys;
  // The game reads its keys once per tick, as in the game: going back replays with them.
  TickKeys tickKeys{keys};
  KeyFeed keyFeed{keys};
  FakeClock clock;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<ProgramContext> program;
  std::unique_ptr<SoundModule> sound;
  std::unique_ptr<Dialog> dialog;
  std::unique_ptr<GameScreen> screen;
};

TEST_P(GameScreenDamage, EveryFrameEqualsTheWholeWindowDrawnAfresh) {
  ASSERT_TRUE(screen->Load(std::string(QUARN_BIN_DIR) + "/zones/" + GetParam()));
  platform::Window& w = screen->Window();
  const int directions[] = {vk::Right, vk::Down, vk::Left, vk::Up, vk::Right, vk::Up};
  std::set<std::pair<int, int>> boardPlaces;
  int partial = 0;
  for (int step = 0; step < 900; ++step) {
    if (step % 45 == 0) {
      for (int key : directions) keys.KeyUp(key);
      keys.KeyDown(directions[(step / 45) % 6]);
    }
    if (step == 400 || step == 430) screen->TogglePause();
    if (step == 500) {
      // The pointer rests on the restart label: its tool tip shows over the board's edge.
      SDL_Event move{};
      move.type = SDL_MOUSEMOTION;
      const SDL_Rect r = screen->ControlNamed("Label5").Bounds;
      move.motion.x = r.x + 3;
      move.motion.y = r.y + 3;
      w.Handle(move);
    }
    clock.now += 16'000'000;
    app->Timers().RunDue();
    const SDL_Rect pole = screen->ControlNamed("Pole").Bounds;
    boardPlaces.insert({pole.x, pole.y});
    const int64_t area =
        PresentAndCompare(w, clock.now, GetParam() + " step " + std::to_string(step));
    if (HasFailure()) return;
    if (area > 0 && area < int64_t{w.ClientWidth()} * w.ClientHeight()) ++partial;
  }
  EXPECT_GT(partial, 100);  // most frames drew only a part of the window
  if (GetParam() == "20-velke-mesto.qrn") {
    EXPECT_GT(boardPlaces.size(), 5u);  // the board glided
  }
}

// A large zone that glides, laser doors, hot potatoes, and enemies that kill.
INSTANTIATE_TEST_SUITE_P(Zones, GameScreenDamage,
                         ::testing::Values("20-velke-mesto.qrn", "07-laserove-dvere.qrn",
                                           "02-horke-brambory.qrn", "12-tri-druhy.qrn"));

TEST(StartScreenDamage, HoverAndPressLooksEqualTheWholeWindowDrawnAfresh) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  KeyState keys;
  KeyFeed keyFeed{keys};
  FakeClock clock;
  platform::App app(keyFeed, clock);
  app.AnswerInstead = [](const auto&, const auto&, const auto&) { return 0; };
  Dialog dialog(app, QUARN_BIN_DIR);
  system::Catalogue zones({{std::string(QUARN_BIN_DIR) + "/zones", "Základy", true}});
  StartScreen screen(app, dialog, QUARN_BIN_DIR, zones);
  platform::Window& w = screen.Window();
  w.Show();
  PictureButtons& buttons = screen.Buttons();
  int step = 0;
  for (int i = 1; i <= buttons.Count(); ++i) {
    const SDL_Rect f = buttons.Frame(i).Bounds;
    for (const SDL_Point p : {SDL_Point{f.x + 2, f.y + 2}, SDL_Point{f.x - 3, f.y - 3}}) {
      buttons.Tick(p);
      clock.now += 40'000'000;
      PresentAndCompare(w, clock.now, "hover step " + std::to_string(step++));
    }
    buttons.Tick(SDL_Point{f.x + 2, f.y + 2});
    buttons.Press(i);
    buttons.Tick(SDL_Point{f.x + 2, f.y + 2});
    clock.now += 40'000'000;
    PresentAndCompare(w, clock.now, "press step " + std::to_string(step++));
    buttons.ClearPressed();
    buttons.Tick(SDL_Point{-10, -10});
    clock.now += 40'000'000;
    PresentAndCompare(w, clock.now, "leave step " + std::to_string(step++));
    if (HasFailure()) return;
  }
  screen.List().SetListIndex(3);
  w.Invalidate();
  clock.now += 40'000'000;
  PresentAndCompare(w, clock.now, "list selection");
}

}  // namespace
}  // namespace quarn::ui
