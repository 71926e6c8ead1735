// GameScreenTest.cpp — the game screen on SDL's dummy display: what it shows, its events, failures.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <variant>

#include "FakeClock.h"
#include "platform/App.h"
#include "sound/SoundModule.h"
#include "system/Records.h"
#include "ui/GameScreen.h"
#include "HelpKeys.h"
#include "ui/KeyFeed.h"

namespace quarn::ui {
namespace {

const std::string WalkZone = std::string(QUARN_TEST_ZONES) + "/walk.qrn";

uint32_t PixelAt(SDL_Surface* s, int x, int y) {
  return static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF;
}

class GameScreenTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(QUARN_BIN_DIR); }
  void TearDown() override { Shut(); }

  void Open(const std::filesystem::path& folder) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<platform::App>(keyFeed, clock);
    app->AnswerInstead = [this](const std::string& title, const std::string& text,
                                const std::vector<std::string>& buttons) {
      asked.push_back({title, text, buttons});
      return answer;
    };
    program = std::make_unique<ProgramContext>(tickKeys, &tickKeys);
    sound = std::make_unique<SoundModule>(folder);
    sound->SetEnabled(false);
    dialog = std::make_unique<Dialog>(*app, folder);
    screen = std::make_unique<GameScreen>(*app, *program, *sound, *dialog, folder);
    screen->OnClosed = [this] { ++closed; };
  }
  void Shut() {
    screen.reset();
    dialog.reset();
    sound.reset();
    program.reset();
    app.reset();
  }
  SDL_Surface* Frame() { return screen->Window().Compose(); }
  // Lets time pass as the event loop would, a millisecond at a time.
  void RunFor(int64_t ms) {
    for (int64_t i = 0; i < ms; ++i) {
      clock.now += 1'000'000;
      app->Timers().RunDue();
    }
  }
  void Mouse(Uint32 type, int x, int y, int clicks = 1) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.clicks = static_cast<Uint8>(clicks);
    e.button.x = x;
    e.button.y = y;
    e.button.windowID = screen->Window().Id();
    screen->Window().Handle(e);
  }
  GameState& State() { return screen->TheGame().State; }

  struct Asked {
    std::string Title, Text;
    std::vector<std::string> Buttons;
  };
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
  std::vector<Asked> asked;
  int answer = 0;
  int closed = 0;
};

TEST_F(GameScreenTest, OpensTheZoneAndDrawsTheScreen) {
  ASSERT_TRUE(screen->Load(WalkZone));
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(screen->Window().Shown());
  EXPECT_TRUE(screen->Timer1().Enabled());
  EXPECT_EQ(screen->Timer1().Schedule().PeriodNs(), platform::EffectivePeriodNs(2));

  SDL_Surface* f = Frame();
  ASSERT_EQ(f->w, 800);
  ASSERT_EQ(f->h, 600);
  const uint32_t blue = 0x0000FF;
  EXPECT_EQ(PixelAt(f, 400, 83), blue);   // the upper line
  EXPECT_EQ(PixelAt(f, 400, 566), blue);  // the lower line
  EXPECT_EQ(PixelAt(f, 648, 10), blue);   // the × frame
  EXPECT_EQ(PixelAt(f, 585, 73), blue);   // the Restart frame

  // The board lies in the viewport where the game put it; the viewport clips it.
  const int left = static_cast<int>(State().PoleLeft), top = 85 + static_cast<int>(State().PoleTop);
  ASSERT_GE(left + 1, 0);
  ASSERT_GE(top + 1, 85);
  EXPECT_NE(PixelAt(f, left + 20, top + 20), 0u);  // the corner wall
  EXPECT_EQ(PixelAt(f, 400, 84), 0u);              // between line and viewport: form black

  // One potato to find: the need strip shows one icon, right-aligned 5 pixels from the edge.
  EXPECT_EQ(State().Panel.NeedWidth, 25);
  int lit = 0;
  for (int x = 770; x < 795; ++x) lit += PixelAt(f, x, 581) != 0 ? 1 : 0;
  EXPECT_GT(lit, 3);
  for (int x = 795; x < 800; ++x) EXPECT_EQ(PixelAt(f, x, 581), 0u);
  EXPECT_EQ(PixelAt(f, 765, 581), 0u);
}

TEST_F(GameScreenTest, ControlsMirrorTheGameState) {
  ASSERT_TRUE(screen->Load(WalkZone));
  PanelState& p = State().Panel;
  p.KeyIndicator = true;
  p.BoxOverlayVisible = true;
  p.BoxOverlayLeft = 42;
  p.BoxOverlayTop = 82;
  p.BoxesLeft = 7;
  p.TimeShown = 49;
  p.KapsaWidth = 75;
  p.DebugButtonsVisible = true;
  State().PoleLeft = 12.5;  // halves go to the even pixel
  State().PoleTop = -3.5;
  screen->Sync();

  EXPECT_TRUE(screen->ControlNamed("ImC(11)").Visible);
  EXPECT_FALSE(screen->ControlNamed("ImC(22)").Visible);
  EXPECT_TRUE(screen->ControlNamed("Command4").Visible);
  EXPECT_EQ(dynamic_cast<platform::Label&>(screen->ControlNamed("NoBx")).Caption, "7");
  EXPECT_EQ(dynamic_cast<platform::Label&>(screen->ControlNamed("lblRT")).Caption, "49");
  EXPECT_EQ(screen->ControlNamed("picKapsa").Bounds.w, 75);
  EXPECT_EQ(screen->ControlNamed("Pole").Bounds.x, 12);
  EXPECT_EQ(screen->ControlNamed("Pole").Bounds.y, -4);

  SDL_Surface* f = Frame();
  // The box overlay is green and moves with the board: board (42, 82) is screen (54, 163).
  EXPECT_EQ(PixelAt(f, 12 + 42 + 1, 85 - 4 + 82 + 1), 0x008000u);
  EXPECT_EQ(PixelAt(f, 12 + 42 + 35, 85 - 4 + 82 + 35), 0x008000u);
  // The pocket shows the key, then the first carried potato at 50.
  EXPECT_NE(PixelAt(f, 5 + 12, 569 + 12), 0u);
  int lit = 0;
  for (int x = 55; x < 80; ++x) lit += PixelAt(f, x, 581) != 0 ? 1 : 0;
  EXPECT_GT(lit, 3);
  for (int x = 80; x < 110; ++x) EXPECT_EQ(PixelAt(f, x, 581), 0u) << x;  // hidden by the width
}

TEST_F(GameScreenTest, TheTimerFollowsTheTickInterval) {
  ASSERT_TRUE(screen->Load(WalkZone));
  State().TickInterval = 12;
  screen->Sync();
  EXPECT_EQ(screen->Timer1().Interval(), 12);
  EXPECT_EQ(screen->Timer1().Schedule().PeriodNs(), platform::EffectivePeriodNs(2));
  State().TickInterval = 22;
  screen->Sync();
  EXPECT_EQ(screen->Timer1().Schedule().PeriodNs(), 2 * platform::EffectivePeriodNs(2));
  State().TickEnabled = false;
  screen->Sync();
  EXPECT_FALSE(screen->Timer1().Enabled());
}

TEST_F(GameScreenTest, TheTimerDrivesTheGameAtSixtyFourTicksASecond) {
  ASSERT_TRUE(screen->Load(WalkZone));
  const int startX = State().PlayerX;
  keys.KeyDown(vk::Right);
  // The walk zone has 4 fine units per cell: one unit per tick, 16 ticks in a quarter second.
  RunFor(250);
  EXPECT_EQ(State().PlayerX, startX + 16);
  keys.KeyUp(vk::Right);
  RunFor(1000);  // the step under way finishes, then the player stands
  EXPECT_EQ(State().PlayerX % State().PlayerSteps, 0);
  const int stoodAt = State().PlayerX;

  // Two "Zpomalit": 22 ms, which the heartbeat makes 32 ticks a second.
  screen->Click("Command5");
  screen->Click("Command5");
  EXPECT_EQ(State().TickInterval, 22);
  keys.KeyDown(vk::Left);
  RunFor(250);
  EXPECT_EQ(State().PlayerX, stoodAt - 8);
  // "Zrychlit" twice is back at 2 ms; once more is refused and changes nothing.
  screen->Click("Command6");
  screen->Click("Command6");
  screen->Click("Command6");
  EXPECT_EQ(State().TickInterval, 2);
  EXPECT_EQ(screen->Timer1().Schedule().PeriodNs(), platform::EffectivePeriodNs(2));
}

TEST_F(GameScreenTest, PPausesAndResumesAndEscClosesTheScreen) {
  ASSERT_TRUE(screen->Load(WalkZone));
  const int startX = State().PlayerX;
  keys.KeyDown(vk::Right);
  screen->Window().OnKeyDown('P');
  RunFor(500);
  EXPECT_EQ(State().PlayerX, startX);
  EXPECT_TRUE(screen->ControlNamed("lblPause").Visible);
  EXPECT_EQ(PixelAt(Frame(), 400 - 115, 4), 0x000080u);  // "Pauza" over the panel...
  // ...not over the board, where it would hide the figure.
  const SDL_Rect box = screen->ControlNamed("lblPause").Bounds;
  EXPECT_LE(box.y + box.h, 85);
  // A restart while paused reloads the zone and stays paused.
  screen->Click("Label5");
  RunFor(100);
  EXPECT_EQ(State().PlayerX, startX);
  EXPECT_TRUE(screen->Paused());

  screen->Window().OnKeyDown('P');
  EXPECT_FALSE(screen->ControlNamed("lblPause").Visible);
  RunFor(250);
  EXPECT_EQ(State().PlayerX, startX + 16);
  keys.KeyUp(vk::Right);

  screen->Window().OnKeyDown(27);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(screen->Window().Shown());
  EXPECT_FALSE(screen->Timer1().Enabled());
  screen->Window().OnKeyDown('P');  // a closed screen never starts ticking again
  EXPECT_FALSE(screen->Timer1().Enabled());
}

TEST_F(GameScreenTest, DoubleClickOnTheLogoRevealsTheDebuggingButtons) {
  ASSERT_TRUE(screen->Load(WalkZone));
  const SDL_Rect logo = screen->ControlNamed("Image1").Bounds;
  EXPECT_FALSE(screen->ControlNamed("Command3").Visible);
  Mouse(SDL_MOUSEBUTTONDOWN, logo.x + 10, logo.y + 40, 1);
  Mouse(SDL_MOUSEBUTTONUP, logo.x + 10, logo.y + 40, 1);
  EXPECT_FALSE(screen->ControlNamed("Command3").Visible);  // a single click is not enough
  Mouse(SDL_MOUSEBUTTONDOWN, logo.x + 10, logo.y + 40, 2);
  Mouse(SDL_MOUSEBUTTONUP, logo.x + 10, logo.y + 40, 2);
  ASSERT_TRUE(screen->ControlNamed("Command3").Visible);
  // Command3 hands out a key and a box; the indicators show them from the next tick on.
  const SDL_Rect give = screen->ControlNamed("Command3").Bounds;
  Mouse(SDL_MOUSEBUTTONDOWN, give.x + 8, give.y + 8);
  Mouse(SDL_MOUSEBUTTONUP, give.x + 8, give.y + 8);
  EXPECT_NE(State().HasKey, 0);
  RunFor(20);
  EXPECT_TRUE(screen->ControlNamed("ImC(11)").Visible);
  EXPECT_TRUE(screen->ControlNamed("ImC(22)").Visible);
}

TEST_F(GameScreenTest, RestingOnRestartShowsItsKeyAsAToolTip) {
  ASSERT_TRUE(screen->Load(WalkZone));
  platform::Window& w = screen->Window();
  const SDL_Rect restart = screen->ControlNamed("Label5").Bounds;
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.windowID = w.Id();
  move.motion.x = restart.x + 10;
  move.motion.y = restart.y + 10;
  w.Handle(move);
  w.PresentIfDue(clock.now);
  EXPECT_EQ(w.ShownToolTip(), "");  // not at once
  clock.now += platform::Window::ToolTipDelayNs;
  w.PresentIfDue(clock.now);
  EXPECT_EQ(w.ShownToolTip(), "Control+R");
  // A pale box under the pointer, inside the window although the label is near its edge.
  SDL_Surface* f = Frame();
  EXPECT_EQ(PixelAt(f, restart.x + 12, restart.y + 32), 0xFFFFE1u);
  // Moving off the label takes the tip away.
  move.motion.x = 300;
  move.motion.y = 300;
  w.Handle(move);
  EXPECT_EQ(w.ShownToolTip(), "");
}

TEST_F(GameScreenTest, FramesArePresentedOncePerRefreshAndOnlyWhenChanged) {
  ASSERT_TRUE(screen->Load(WalkZone));
  platform::Window& w = screen->Window();
  const int64_t refresh = 1'000'000'000 / 30;  // longer than any display's refresh period
  w.PresentIfDue(clock.now);
  const int64_t first = w.Presents();
  EXPECT_EQ(first, 1);
  // Invalidated, but the picture is the same: composed, compared, not presented.
  clock.now += refresh;
  w.Invalidate();
  w.PresentIfDue(clock.now);
  EXPECT_EQ(w.Presents(), first);
  EXPECT_EQ(w.Unchanged(), 1);
  // The countdown changes: presented, but not twice within one refresh.
  State().Panel.TimeShown = 12;
  screen->Sync();
  clock.now += refresh;
  w.PresentIfDue(clock.now);
  EXPECT_EQ(w.Presents(), first + 1);
  State().Panel.TimeShown = 11;
  screen->Sync();
  const int64_t next = w.PresentIfDue(clock.now + 1);
  EXPECT_EQ(w.Presents(), first + 1);
  EXPECT_GT(next, clock.now + 1);  // the loop is told when to come back
  w.PresentIfDue(next);
  EXPECT_EQ(w.Presents(), first + 2);
}

TEST_F(GameScreenTest, RestartReloadsTheZone) {
  ASSERT_TRUE(screen->Load(WalkZone));
  State().TimeLeft = 3;
  State().Panel.KapsaWidth = 100;
  screen->Click("Label5");
  EXPECT_EQ(State().TimeLeft, 50);
  EXPECT_EQ(screen->ControlNamed("picKapsa").Bounds.w, 50);
  EXPECT_EQ(screen->TheGame().Restarts(), 1);
  EXPECT_TRUE(asked.empty());
}

TEST_F(GameScreenTest, ClosingByTheCrossLabelWithTheMouse) {
  ASSERT_TRUE(screen->Load(WalkZone));
  const SDL_Rect cross = screen->ControlNamed("Label6").Bounds;
  auto mouse = [&](Uint32 type, int x, int y) { Mouse(type, x, y); };
  // Pressed on the × but let go elsewhere: nothing happens, as with any button.
  mouse(SDL_MOUSEBUTTONDOWN, cross.x + 5, cross.y + 5);
  mouse(SDL_MOUSEBUTTONUP, 300, 300);
  EXPECT_EQ(closed, 0);
  // The background is where the window can be dragged from; the × is not.
  EXPECT_TRUE(screen->Window().IsBackground(SDL_Point{550, 20}));
  EXPECT_FALSE(screen->Window().IsBackground(SDL_Point{cross.x + 5, cross.y + 5}));
  EXPECT_FALSE(screen->Window().IsBackground(SDL_Point{400, 300}));  // the board

  mouse(SDL_MOUSEBUTTONDOWN, cross.x + 5, cross.y + 5);
  mouse(SDL_MOUSEBUTTONUP, cross.x + 6, cross.y + 6);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(screen->Window().Shown());
  EXPECT_FALSE(screen->Timer1().Enabled());
  EXPECT_FALSE(State().TickEnabled);
}

TEST_F(GameScreenTest, AZoneThatCannotBeOpenedIsToldAndNotShown) {
  EXPECT_FALSE(screen->Load(std::string(QUARN_TEST_ZONES) + "/no-such-zone.qrn"));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Title, "Quarn");
  EXPECT_NE(asked[0].Text.find("no-such-zone.qrn"), std::string::npos) << asked[0].Text;
  EXPECT_FALSE(screen->Window().Shown());
  EXPECT_FALSE(screen->Timer1().Enabled());
}

// A watched run whose own line cannot be played is the run's fault: the message names the run,
// in Czech, and not the zone's file.
TEST_F(GameScreenTest, AWatchedRunThatCannotBePlayedIsNamedNotTheZone) {
  ASSERT_TRUE(screen->Load(WalkZone));
  asked.clear();
  auto script = ParseKeyScript("carry player=99999,8\n5 right\n", "cizi.keys");
  ASSERT_TRUE(std::holds_alternative<KeyScript>(script));
  screen->WatchedName = "cizi.keys";
  screen->Watch(std::get<KeyScript>(script));
  RunFor(100);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Text.rfind("Průchod „cizi.keys“ nelze přehrát.\nřádek 1 průchodu nejde "
                                "přehrát: player=99999,8 leží mimo desku zóny",
                                0),
            0u)
      << asked[0].Text;
  EXPECT_EQ(asked[0].Text.find("walk.qrn"), std::string::npos) << asked[0].Text;
}

TEST_F(GameScreenTest, AMissingPictureIsToldAndNoZoneIsPlayed) {
  Shut();
  const auto empty = std::filesystem::temp_directory_path() / "quarn-no-graphics";
  std::filesystem::create_directories(empty);
  Open(empty);
  EXPECT_FALSE(screen->Load(WalkZone));
  ASSERT_EQ(asked.size(), 1u);
  // The pictures are blamed, not the zone, and the folder and file are named.
  EXPECT_EQ(asked[0].Text.rfind("Obrázky hry chybí nebo jsou poškozené.", 0), 0u) << asked[0].Text;
  EXPECT_NE(asked[0].Text.find("Složka: " + (empty / "Graphics").string() + "\n"),
            std::string::npos)
      << asked[0].Text;
  EXPECT_NE(asked[0].Text.find(".bmp"), std::string::npos) << asked[0].Text;
  EXPECT_FALSE(screen->Window().Shown());
  EXPECT_EQ(State().BoardWidth, 0);
}

// The world goes on while a declined replay waits for Enter; Backspace counts from the win, so
// one press after a long wait still shows the zone in play again.
TEST_F(GameScreenTest, BackspaceAfterADeclinedReplayGoesBackFromTheWinNotFromTheWait) {
  const std::string zone = ::testing::TempDir() + "/quick-win.qrn";
  FILE* f = std::fopen(zone.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("Rychlá\n6\n3\n4\n8\n8\n8\n01\n01\n01\nWWWWWW\nWSR..E\nWWWCWW\n", f);
  std::fclose(f);
  ASSERT_TRUE(screen->Load(zone));
  const int startX = State().PlayerX;
  answer = 1;  // Ne
  keys.KeyDown(vk::Right);
  for (int i = 0; i < 100 && asked.empty(); ++i) RunFor(20);
  keys.KeyUp(vk::Right);
  ASSERT_EQ(asked.size(), 1u);
  RunFor(3000);
  ASSERT_NE(State().GameOver, 0);
  screen->Window().OnKeyDown(8);
  screen->Window().OnKeyUp(8);
  EXPECT_EQ(State().GameOver, 0);
  // The run was shorter than a second: back to its opening.
  EXPECT_EQ(State().PlayerX, startX);
  std::remove(zone.c_str());
}

// The win question waits for the player while the window's timers go on. The ticks they bring
// do nothing and are no ticks of the run: one Backspace after a declined replay shows the second
// before the win, and the next the second before that.
TEST_F(GameScreenTest, BackspaceAfterAWaitedDeclinedReplayShowsTheSecondBeforeTheWin) {
  const std::string zone = ::testing::TempDir() + "/long-win.qrn";
  FILE* f = std::fopen(zone.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("Dlouhá\n14\n3\n16\n8\n8\n8\n01\n01\n01\n"
             "WWWWWWWWWWWWWW\nWSR.........EW\nWWWCWWWWWWWWWW\n",
             f);
  std::fclose(f);
  ASSERT_TRUE(screen->Load(zone));
  std::vector<int> walked;  // the figure after each tick before the win
  int ticked = 0;
  screen->OnTicked = [&] {
    ++ticked;
    if (asked.empty()) walked.push_back(State().PlayerX);
  };
  int64_t ticksAtAnswer = -1;
  int tickedWaiting = -1;
  app->AnswerInstead = [&](const std::string& title, const std::string& text,
                           const std::vector<std::string>& buttons) {
    asked.push_back({title, text, buttons});
    const int before = ticked;
    RunFor(2000);  // the player reads the question, the arrow still held
    tickedWaiting = ticked - before;
    ticksAtAnswer = screen->Recorder().RunTicks();
    return 1;  // Ne
  };
  keys.KeyDown(vk::Right);
  for (int i = 0; i < 200 && asked.empty(); ++i) RunFor(20);
  keys.KeyUp(vk::Right);
  ASSERT_EQ(asked.size(), 1u);
  RunFor(1000);
  ASSERT_NE(State().GameOver, 0);
  ASSERT_GT(walked.size(), 130u);
  // The win came in the tick after the last one walked; the wait added none, and the screen
  // reported none.
  EXPECT_EQ(ticksAtAnswer, static_cast<int64_t>(walked.size()));
  EXPECT_EQ(tickedWaiting, 0);
  // The win came in tick walked.size() + 1: one press lands a second (64 ticks) before it, with
  // the figure where it walked then, and the next press a second before that.
  const int64_t win = static_cast<int64_t>(walked.size()) + 1;
  for (int64_t press = 1; press <= 2; ++press) {
    screen->Window().OnKeyDown(8);
    screen->Window().OnKeyUp(8);
    const int64_t landed = win - press * TicksPerSecond;
    EXPECT_EQ(State().GameOver, 0);
    EXPECT_EQ(screen->Recorder().RunTicks(), landed) << "press " << press;
    EXPECT_EQ(State().PlayerX, walked[static_cast<size_t>(landed - 1)]) << "press " << press;
  }
  std::remove(zone.c_str());
}

// A watched run ends with a line that offers Enter alone; Enter watches it again from the start,
// the same run tick by tick (its "random" and "carry" lines act again, not what the first watch
// left). The Restart label during a watch starts the watch over instead of reloading the zone
// under the recorded keys, and Ctrl+R does nothing there.
TEST_F(GameScreenTest, AWatchedRunIsWatchedAgainByEnterAfterItsEndAndByRestartDuringIt) {
  // An enemy roams a closed room below the corridor: the generator shows in every tick.
  const std::string zone = ::testing::TempDir() + "/watched-" + std::to_string(getpid()) + ".qrn";
  FILE* f = std::fopen(zone.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("Sledovaná\n14\n5\n16\n8\n8\n8\n01\n01\n01\n"
             "WWWWWWWWWWWWWW\nWSR.........EW\nWWWCWWWWWWWWWW\nW+...........W\nWWWWWWWWWWWWWW\n",
             f);
  std::fclose(f);
  // The run: a few steps, Ctrl+R inside a tick (the run then begins with a "carry" line), and
  // on into the exit.
  ASSERT_TRUE(screen->Load(zone));
  std::string run;
  screen->OnWin = [&](const system::FinishedRun& won) { run = won.Keys; };
  // The figure and the enemy after each tick of the run, from its opening to its win.
  using Seen = std::vector<std::array<int, 4>>;
  Seen seen, played;
  int64_t opened = 0;
  bool halted = false;
  screen->OnTicked = [&] {
    if (screen->TheGame().Restarts() != opened) {
      opened = screen->TheGame().Restarts();
      seen.clear();
    }
    const EnemyRec& e = State().Enemies[0];
    if (!halted) seen.push_back({State().PlayerX, State().PlayerY, e.X, e.Y});
    halted = halted || State().GameOver != 0;
  };
  answer = 1;  // Ne
  keys.KeyDown(vk::Right);
  RunFor(400);
  keys.KeyDown(vk::Ctrl);
  keys.KeyDown('R');
  RunFor(20);
  keys.KeyUp('R');
  keys.KeyUp(vk::Ctrl);
  for (int i = 0; i < 200 && asked.empty(); ++i) RunFor(20);
  keys.KeyUp(vk::Right);
  ASSERT_EQ(asked.size(), 1u);
  ASSERT_NE(run.find("random "), std::string::npos) << run;
  ASSERT_NE(run.find("carry "), std::string::npos) << run;
  auto script = ParseKeyScript(run, "run.keys");
  ASSERT_TRUE(std::holds_alternative<KeyScript>(script));
  played = seen;
  ASSERT_GT(played.size(), 100u);

  Shut();
  Open(QUARN_BIN_DIR);
  ASSERT_TRUE(screen->Load(zone));
  auto line = [&](const std::string& name) {
    auto& label = dynamic_cast<platform::Label&>(screen->ControlNamed(name));
    return label.Visible ? label.Caption : std::string();
  };
  // The figure and the enemy after each tick of a watch.
  screen->OnTicked = [&] {
    const EnemyRec& e = State().Enemies[0];
    seen.push_back({State().PlayerX, State().PlayerY, e.X, e.Y});
  };
  const std::string ended = "Záznam skončil · Enter – přehrát znovu · Esc – konec";
  auto watchToTheEnd = [&] {
    seen.clear();
    for (int i = 0; i < 8000 && line("lblWatch") != ended; ++i) RunFor(1);
    return seen;
  };
  screen->Watch(std::get<KeyScript>(script));
  EXPECT_EQ(line("lblWatch"), "Přehrávání záznamu · 0,0 s · tik 0 · P – pauza · F – rychleji · Esc – konec");
  // At four times the speed F leads back, and the line says so.
  screen->Window().OnKeyDown('F');
  EXPECT_EQ(line("lblWatch"),
            "Přehrávání záznamu · 0,0 s · tik 0 · 4× rychleji · P – pauza · F – normální rychlost "
            "· Esc – konec");
  screen->Window().OnKeyDown('F');
  EXPECT_EQ(line("lblWatch"), "Přehrávání záznamu · 0,0 s · tik 0 · P – pauza · F – rychleji · Esc – konec");
  const Seen first = watchToTheEnd();
  // The run's own Enter after its "carry" line reloads the zone inside a tick.
  const int64_t restartsInTheRun = screen->TheGame().Restarts();
  ASSERT_EQ(line("lblWatch"), ended);
  EXPECT_EQ(screen->TheGame().Wins(), 1);
  // The watch is the run that was played, the enemy's wandering too.
  ASSERT_GE(first.size(), played.size());
  EXPECT_EQ(Seen(first.begin(), first.begin() + static_cast<long>(played.size())), played);
  // The line under the board speaks of a played run: while watching it says nothing.
  EXPECT_EQ(line("lblWayOn"), "");
  // The end line offers neither P nor F, and F does nothing there.
  screen->Window().OnKeyDown('F');
  EXPECT_FALSE(screen->Fast());
  // A run that won ends as a win does: the board stops, no enemy wanders on.
  const size_t ticksAtTheEnd = seen.size();
  RunFor(500);
  EXPECT_EQ(seen.size(), ticksAtTheEnd);
  EXPECT_EQ(State().Enemies[0].X, first.back()[2]);
  EXPECT_EQ(State().Enemies[0].Y, first.back()[3]);

  screen->Window().OnKeyDown(vk::Enter);
  screen->Window().OnKeyUp(vk::Enter);
  EXPECT_EQ(line("lblWatch"), "Přehrávání záznamu · 0,0 s · tik 0 · P – pauza · F – rychleji · Esc – konec");
  EXPECT_EQ(State().GameOver, 0);
  const Seen again = watchToTheEnd();
  EXPECT_EQ(again, first);
  EXPECT_EQ(screen->TheGame().Wins(), 2);

  // Restart halfway through a watch, with Ctrl+R held meanwhile: the watch begins again and
  // plays the same run to its win; the held keys restart nothing.
  screen->Window().OnKeyDown(vk::Enter);
  RunFor(static_cast<int64_t>(first.size()) * 1000 / 64 / 2);
  keys.KeyDown(vk::Ctrl);
  keys.KeyDown('R');
  RunFor(200);
  const int64_t restarts = screen->TheGame().Restarts();
  screen->Click("Label5");
  const Seen restarted = watchToTheEnd();
  keys.KeyUp('R');
  keys.KeyUp(vk::Ctrl);
  EXPECT_EQ(restarted, first);
  EXPECT_EQ(screen->TheGame().Restarts(), restarts + restartsInTheRun);
  EXPECT_EQ(screen->TheGame().Wins(), 3);
  EXPECT_EQ(asked.size(), 1u);  // a watched run is never asked about
  std::remove(zone.c_str());
}

// A zone of one row: walking right picks up the potato, delivers it past the target below and
// walks into the exit (or, with a laser door in the way, dies on it).
std::string WriteRow(const std::string& name, const std::string& title, const std::string& row) {
  const std::string zone = ::testing::TempDir() + "/" + name;
  FILE* f = std::fopen(zone.c_str(), "w");
  EXPECT_NE(f, nullptr);
  std::fputs((title + "\n6\n3\n4\n8\n8\n8\n0\n0\n0\nWWWWWW\n" + row + "\nWWWCWW\n").c_str(), f);
  std::fclose(f);
  return zone;
}

// The line under the board after a win tells the time or that there is none; a run that was
// slowed at any tick is won but untimed, and the next run at the design interval is timed again.
TEST_F(GameScreenTest, TheWinLineTellsTheTimeAndASlowedRunHasNone) {
  const std::string zone = WriteRow("slow-win.qrn", "Rychlík", "WSR..E");
  ASSERT_TRUE(screen->Load(zone));
  EXPECT_EQ(screen->Window().Caption(), "Quarn – Rychlík");
  std::vector<system::FinishedRun> reports;
  screen->OnWin = [&](const system::FinishedRun& r) { reports.push_back(r); };
  answer = 1;  // Ne
  auto walkToTheExit = [&] {
    keys.KeyDown(vk::Right);
    for (int i = 0; i < 200 && State().GameOver == 0; ++i) RunFor(20);
    keys.KeyUp(vk::Right);
    RunFor(20);
  };
  auto line = [&]() -> platform::Label& {
    return dynamic_cast<platform::Label&>(screen->ControlNamed("lblWayOn"));
  };

  // Slowed for a moment, then back at the design interval: the run is still not timed, and the
  // line over the board says so from the moment it was slowed.
  auto over = [&]() -> platform::Label& {
    return dynamic_cast<platform::Label&>(screen->ControlNamed("lblWatch"));
  };
  EXPECT_FALSE(over().Visible);
  screen->Click("Command5");
  EXPECT_TRUE(over().Visible);
  EXPECT_EQ(over().Caption, "Zpomaleno · průchod bude bez času");
  RunFor(100);
  screen->Click("Command6");
  ASSERT_EQ(State().TickInterval, DesignTickInterval);
  EXPECT_EQ(over().Caption, "Hra byla zpomalena · průchod bude bez času");
  walkToTheExit();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FALSE(reports[0].Ticks);
  EXPECT_TRUE(reports[0].Keys.empty());
  EXPECT_TRUE(line().Visible);
  EXPECT_EQ(line().Caption, "bez času · Enter – hrát znovu · Esc – konec");

  // Enter plays again, at the design interval all the way: timed, and the line says so.
  keys.KeyDown(vk::Enter);
  RunFor(20);
  keys.KeyUp(vk::Enter);
  EXPECT_FALSE(line().Visible);
  walkToTheExit();
  ASSERT_EQ(reports.size(), 2u);
  ASSERT_TRUE(reports[1].Ticks);
  EXPECT_EQ(line().Caption, "Čas " + system::SecondsText(*reports[1].Ticks) +
                                " s · Enter – hrát znovu · Esc – konec");
  std::remove(zone.c_str());
}

TEST_F(GameScreenTest, TheDeathLineSaysWhyAndHowToGoOn) {
  const std::string zone = WriteRow("laser-death.qrn", "Laser", "WSaR.E");
  ASSERT_TRUE(screen->Load(zone));
  screen->EscapeLeadsTo = "výběr zóny";
  auto line = [&]() -> platform::Label& {
    return dynamic_cast<platform::Label&>(screen->ControlNamed("lblWayOn"));
  };
  EXPECT_FALSE(line().Visible);
  keys.KeyDown(vk::Right);
  RunFor(100);
  keys.KeyUp(vk::Right);
  ASSERT_NE(State().GameOver, 0);
  EXPECT_TRUE(line().Visible);
  EXPECT_EQ(line().Caption,
            "Zasáhl tě laser · Enter – hrát znovu · Backspace – o sekundu zpět · Esc – výběr zóny");
  // Backspace goes back into play: the line goes.
  screen->Window().OnKeyDown(8);
  screen->Window().OnKeyUp(8);
  EXPECT_EQ(State().GameOver, 0);
  EXPECT_FALSE(line().Visible);
  std::remove(zone.c_str());
}

// The help and the game screen cannot drift apart: the keys the screen answers, in play and
// while a run is watched, are those the help's groups name, with the keys the tick polls.
TEST_F(GameScreenTest, TheHelpNamesEveryKeyTheGameScreenAnswersAndNoOther) {
  int helps = 0;
  auto answeredBy = [&](bool watching) -> std::set<KeyPress> {
    std::set<KeyPress> answered;
    for (int key = 1; key < 256; ++key) {
      if (!screen->Window().Shown()) {
        Shut();
        Open(QUARN_BIN_DIR);
        closed = 0;
        if (!screen->Load(WalkZone)) {
          ADD_FAILURE() << "the zone did not open";
          return answered;
        }
      }
      // A run that ended (Right plays it to its end) or was handed over (H) is watched anew.
      if (watching && (!screen->Watching() || screen->Session().WatchEnded()))
        screen->Watch(KeyScript{});
      screen->OnHelp = [&] { ++helps; };
      const int helpsBefore = helps;
      const bool paused = screen->Paused(), fast = screen->Fast();
      const bool ticking = screen->Timer1().Enabled();
      const bool ghost = screen->GhostShown(), practising = screen->Session().Practising();
      screen->Window().OnKeyDown(key);
      const bool changed = closed != 0 || helps != helpsBefore || screen->Paused() != paused ||
                           screen->Fast() != fast || screen->Timer1().Enabled() != ticking ||
                           screen->GhostShown() != ghost ||
                           screen->Session().Practising() != practising;
      screen->Window().OnKeyUp(key);
      if (screen->Paused() != paused) screen->TogglePause();
      if (screen->Fast() != fast) screen->ToggleFast();
      if (screen->GhostShown() != ghost) screen->SetGhostShown(ghost);
      if (changed) answered.insert({key});
    }
    return answered;
  };
  auto groups = HelpKeysByGroup();
  std::set<KeyPress> inPlay = answeredBy(false);
  // What the tick polls: the arrows, Space, Enter after the end, Ctrl+R.
  for (KeyPress k : std::initializer_list<KeyPress>{
           {vk::Left}, {vk::Up}, {vk::Right}, {vk::Down}, {vk::Space}, {vk::Enter}, {'R', true}})
    inPlay.insert(k);
  // N leads on only after a win (the win tests press it); F11 and Alt+Enter are the program's.
  inPlay.insert({'N'});
  inPlay.insert({122});
  inPlay.insert({13, false, true});
  EXPECT_EQ(inPlay, groups["Ve hře"]);
  std::set<KeyPress> watching = answeredBy(true);
  watching.erase({112});  // F1 opens the help everywhere
  watching.insert({13});  // Enter after the run's end (the watch test presses it)
  // The seek keys move an empty run nowhere; the seek test presses them.
  for (int k : {37, 39, 36, 188, 190}) watching.insert({k});
  EXPECT_EQ(watching, groups["Při přehrávání průchodu"]);
}

TEST(GameLinesTest, WinAndDeathLinesAndTheTitle) {
  WinOutcome won{2720, false, true, std::nullopt, std::nullopt, {}};
  EXPECT_EQ(WinLineText(won, NextOffer::Next, "výběr zóny"),
            "Čas 42,5 s · nový rekord · Enter – hrát znovu · N – další zóna · Esc – výběr zóny");
  won.NewRecord = false;
  won.Best = 627;
  EXPECT_EQ(WinLineText(won, NextOffer::Last, "výběr zóny"),
            "Čas 42,5 s · nejlepší 9,8 s · Enter – hrát znovu · poslední zóna · Esc – výběr zóny");
  won.Rewound = true;
  EXPECT_EQ(WinLineText(won, NextOffer::None, "konec"),
            "Čas 42,5 s se zpětným chodem · nejlepší 9,8 s · Enter – hrát znovu · Esc – konec");
  EXPECT_EQ(WinLineText(WinOutcome{}, NextOffer::Next, "výběr zóny"),
            "bez času · Enter – hrát znovu · N – další zóna · Esc – výběr zóny");
  EXPECT_EQ(DeathLineText(DeathCause::TimeOut, "konec"),
            "Čas vypršel · Enter – hrát znovu · Backspace – o sekundu zpět · Esc – konec");
  EXPECT_EQ(DeathLineText(DeathCause::Enemy, "konec").rfind("Chytil tě nepřítel · Enter", 0), 0u);
  EXPECT_EQ(DeathLineText(DeathCause::None, "konec"),
            "Enter – hrát znovu · Backspace – o sekundu zpět · Esc – konec");
  EXPECT_EQ(GameTitle("Rychlík", false), "Quarn – Rychlík");
  EXPECT_EQ(GameTitle("Rychlík", true), "Quarn – Rychlík – záznam");
}

TEST_F(GameScreenTest, TheWinQuestionInCzech) {
  answer = 1;
  EXPECT_EQ(
      dialog->SkinMsgBox("Vyhrál jsi!\nHrát znovu?", msgbox::YesNo, msgbox::IconQuestion, ""),
      msgbox::ResultNo);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Title, "Quarn");
  EXPECT_EQ(asked[0].Buttons, (std::vector<std::string>{"Ano", "Ne"}));
}

}  // namespace
}  // namespace quarn::ui
