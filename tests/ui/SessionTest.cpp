// SessionTest.cpp — one play session behind the window and the headless runner: a watched run and
// a replayed one take the same ticks as the script's own lines say; the ghost walks the run it
// was made of, tick for tick, tells the splits, and changes nothing of the player's run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <variant>

#include "FakeClock.h"
#include "platform/App.h"
#include "sound/SoundModule.h"
#include "system/RunKeeper.h"
#include "ui/GameScreen.h"
#include "ui/KeyFeed.h"

namespace quarn::ui {
namespace {

namespace fs = std::filesystem;

// The figure and the first enemy after a tick.
using Seen = std::array<int, 4>;
Seen SeenIn(const GameState& s) {
  return {s.PlayerX, s.PlayerY, s.EnemyCount > 0 ? s.Enemies[0].X : 0,
          s.EnemyCount > 0 ? s.Enemies[0].Y : 0};
}

std::string WriteFile(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + "/" + name + "-" + std::to_string(getpid());
  std::ofstream(path) << text;
  return path;
}

KeyScript Parse(const std::string& text) {
  auto parsed = ParseKeyScript(text, "run.keys");
  if (auto* error = std::get_if<KeyScriptError>(&parsed)) {
    ADD_FAILURE() << error->Describe() << "\n" << text;
    return {};
  }
  return std::get<KeyScript>(parsed);
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(); }
  void TearDown() override { Shut(); }
  void Open() {
    app = std::make_unique<platform::App>(keyFeed, clock);
    app->AnswerInstead = [](const std::string&, const std::string&,
                            const std::vector<std::string>&) { return 1; };  // Ne
    program = std::make_unique<ProgramContext>(tickKeys, &tickKeys);
    sound = std::make_unique<SoundModule>(QUARN_BIN_DIR);
    sound->SetEnabled(false);
    dialog = std::make_unique<Dialog>(*app, QUARN_BIN_DIR);
    screen = std::make_unique<GameScreen>(*app, *program, *sound, *dialog, QUARN_BIN_DIR);
  }
  void Shut() {
    screen.reset();
    dialog.reset();
    sound.reset();
    program.reset();
    app.reset();
    keys.ReleaseAll();
  }
  void RunFor(int64_t ms) {
    for (int64_t i = 0; i < ms; ++i) {
      clock.now += 1'000'000;
      app->Timers().RunDue();
    }
  }
  GameState& State() { return screen->TheGame().State; }
  // Plays plan in the window as a player would: before each tick exactly its keys are down.
  // Stops at the win question's answer or after the plan and a second more.
  void PlayInWindow(const std::vector<KeyMask>& plan, const std::function<void()>& eachTick) {
    size_t tick = 0;
    KeyMask down = 0;
    // Only the keys that change go down or up: a key held stays held, as a player holds it.
    auto hold = [&](KeyMask mask) {
      for (size_t k = 0; k < ScriptKeys.size(); ++k) {
        const bool want = (mask >> k) & 1, was = (down >> k) & 1;
        if (want && !was) keys.KeyDown(ScriptKeys[k]);
        if (!want && was) keys.KeyUp(ScriptKeys[k]);
      }
      down = mask;
    };
    hold(plan.empty() ? 0 : plan[0]);
    screen->OnTicked = [&] {
      ++tick;
      hold(tick < plan.size() ? plan[tick] : 0);
      if (eachTick) eachTick();
    };
    for (int i = 0; i < 200000 && tick < plan.size() + 64 && !screen->ShowsWayOn(); ++i) RunFor(1);
    screen->OnTicked = nullptr;
    hold(0);
  }

  KeyState keys;
  TickKeys tickKeys{keys};
  KeyFeed keyFeed{keys};
  FakeClock clock;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<ProgramContext> program;
  std::unique_ptr<SoundModule> sound;
  std::unique_ptr<Dialog> dialog;
  std::unique_ptr<GameScreen> screen;
};

// A corridor with the exit at its end and a closed room below where an enemy roams: the
// generator shows in every tick.
constexpr const char* RoamZone =
    "Toulka\n14\n5\n16\n8\n8\n8\n01\n01\n01\n"
    "WWWWWWWWWWWWWW\nWSR.........EW\nWWWCWWWWWWWWWW\nW+...........W\nWWWWWWWWWWWWWW\n";

// A random script of key lines, "random", "back" and "carry" lines.
std::string RandomScript(std::mt19937& rng) {
  const char* keyNames[] = {"-", "right", "left", "up", "down", "right+space", "ctrl+r", "enter"};
  std::string text;
  const int lines = std::uniform_int_distribution<int>(4, 14)(rng);
  for (int l = 0; l < lines; ++l) {
    const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
    if (kind == 0) {
      text += "random " + std::to_string(rng() % 100000) + "\n";
    } else if (kind == 1) {
      text += "back " + std::to_string(1 + rng() % 40) + "\n";
    } else if (kind == 2) {
      // A figure carried to a cell of the corridor, part-way through a step or not.
      text += "carry player=" + std::to_string(16 + rng() % 120) + ",16 hold=0,0," +
              std::to_string(rng() % 3) + ",0\n";
    } else {
      text += std::to_string(1 + rng() % 60) + " " + keyNames[rng() % 8] + "\n";
    }
  }
  return text;
}

// What the script says, played line by line on the runner's own primitives: the reference the
// two paths through the one cursor are held to.
std::vector<Seen> ByTheLines(const std::string& zone, const KeyScript& script) {
  Replay replay;
  std::vector<Seen> seen;
  if (replay.Open(zone)) return seen;
  for (const KeyScriptStep& step : script.Steps) {
    switch (step.Action) {
      case KeyScriptAction::Random:
        replay.Recorder().SetRandom(static_cast<uint32_t>(step.Value));
        break;
      case KeyScriptAction::Back:
        replay.Back(step.Value);
        break;
      case KeyScriptAction::Carry:
        if (replay.Carry(script.Carried.at(static_cast<size_t>(step.Value)))) return seen;
        break;
      case KeyScriptAction::Keys:
        for (int t = 0; t < step.Ticks; ++t) {
          if (!replay.Tick(step.Keys)) return seen;
          seen.push_back(SeenIn(replay.State()));
        }
        break;
    }
  }
  return seen;
}

TEST_F(SessionTest, WatchedAndHeadlessRunsTakeTheTicksTheirLinesSay) {
  const std::string zone = WriteFile("roam.qrn", RoamZone);
  std::mt19937 rng(35);
  for (int round = 0; round < 12; ++round) {
    const std::string text = RandomScript(rng);
    const KeyScript script = Parse(text);
    const std::vector<Seen> expected = ByTheLines(zone, script);
    ASSERT_FALSE(expected.empty()) << text;

    Replay headless;
    ASSERT_FALSE(headless.Open(zone));
    std::vector<Seen> replayed;
    headless.Session().OnTicked = [&] { replayed.push_back(SeenIn(headless.State())); };
    ASSERT_FALSE(headless.Run(script)) << text;
    EXPECT_EQ(replayed, expected) << "headless, script:\n" << text;

    Shut();
    Open();
    ASSERT_TRUE(screen->Load(zone));
    std::vector<Seen> watched;
    screen->OnTicked = [&] { watched.push_back(SeenIn(State())); };
    screen->Watch(script);
    for (int i = 0; i < 100000 && !screen->Session().WatchEnded(); ++i) RunFor(1);
    ASSERT_TRUE(screen->Session().WatchEnded()) << text;
    // A watched run that won stops there; one that did not goes on without keys.
    if (watched.size() > expected.size()) watched.resize(expected.size());
    EXPECT_EQ(watched, expected) << "watched, script:\n" << text;
  }
}

TEST(GhostRunTest, ARunThatGoesBackLeavesTheCourseOfWhatRemains) {
  // The course of a run with "back" lines is the course of the run without what was taken back:
  // the recorder's own script of what remains walks the same ghost.
  const std::string zone = WriteFile("roam-ghost.qrn", RoamZone);
  std::mt19937 rng(6);
  for (int round = 0; round < 10; ++round) {
    std::string text = "40 right\n";
    for (int l = 0; l < 6; ++l) {
      text += std::to_string(1 + rng() % 30) + (rng() % 2 ? " right\n" : " left\n");
      if (rng() % 2) text += "back " + std::to_string(1 + rng() % 25) + "\n";
    }
    Replay played;
    ASSERT_FALSE(played.Open(zone));
    ASSERT_FALSE(played.Run(Parse(text)));
    const std::string remains = played.Recorder().RunScript({});
    auto a = GhostRun::Play(zone, Parse(text));
    auto b = GhostRun::Play(zone, Parse(remains));
    ASSERT_TRUE(std::holds_alternative<GhostRun>(a) && std::holds_alternative<GhostRun>(b));
    const GhostRun& withBack = std::get<GhostRun>(a);
    const GhostRun& plain = std::get<GhostRun>(b);
    ASSERT_EQ(withBack.Ticks(), plain.Ticks()) << text << "---\n" << remains;
    EXPECT_EQ(withBack.Ticks(), played.Recorder().RunTicks());
    for (int64_t t = 0; t <= plain.Ticks() + 3; ++t) {
      ASSERT_EQ(withBack.At(t), plain.At(t)) << "tick " << t << "\n" << text;
    }
    EXPECT_EQ(withBack.At(withBack.Ticks()), (GhostSpot{played.State().PlayerX, played.State().PlayerY}));
  }
}

TEST(GhostRunTest, SplitAndDifferenceTexts) {
  EXPECT_EQ(DifferenceText(100, 151), "−0,8 s");
  EXPECT_EQ(DifferenceText(151, 100), "+0,8 s");
  EXPECT_EQ(DifferenceText(100, 101), "±0,0 s");
  EXPECT_EQ(SplitText(2, 5, 794, 845), "Doručeno 2 z 5 · 12,4 s · −0,8 s");
  EXPECT_EQ(SplitText(1, 3, 64, std::nullopt), "Doručeno 1 z 3 · 1,0 s");
  WinOutcome won{640, false, true, std::nullopt, 704, "nejlepšímu"};
  EXPECT_EQ(WinLineText(won, NextOffer::None, "konec"),
            "Čas 10,0 s · nový rekord · −1,0 s proti nejlepšímu · Enter – hrát znovu · Esc – konec");
}

// The keys of each tick of a script of key lines.
std::vector<KeyMask> PlanOf(const KeyScript& script) {
  std::vector<KeyMask> plan;
  for (const KeyScriptStep& step : script.Steps) {
    if (step.Action == KeyScriptAction::Keys) plan.insert(plan.end(), step.Ticks, step.Keys);
  }
  return plan;
}

TEST_F(SessionTest, TheGhostWalksItsRunTellsTheSplitsAndChangesNothing) {
  const std::string zone = std::string(QUARN_ZONES_DIR) + "/01-prvni-kroky.qrn";
  const KeyScript solution =
      Parse(ReadAll(std::string(QUARN_SOLUTIONS_DIR) + "/01-prvni-kroky.keys"));
  const std::vector<KeyMask> plan = PlanOf(solution);
  auto made = GhostRun::Play(zone, solution);
  ASSERT_TRUE(std::holds_alternative<GhostRun>(made));
  auto ghost = std::make_shared<const GhostRun>(std::get<GhostRun>(made));
  ASSERT_TRUE(ghost->WonAt());
  ASSERT_GT(ghost->Potatoes(), 0);

  struct Outcome {
    std::optional<system::FinishedRun> Won;
    std::string Records, Kept, WinLine;
  };
  auto play = [&](bool withGhost, const std::string& name) -> Outcome {
    Outcome out;
    Shut();
    Open();
    const fs::path state = fs::path(::testing::TempDir()) / (name + std::to_string(getpid()));
    fs::remove_all(state);
    system::RunKeeper keeper(state / "state", state / "runs");
    keeper.Load();
    screen->TakeOpening = [&](const fs::path& file) { return keeper.Open(file); };
    screen->OnWin = [&](const system::FinishedRun& run) {
      out.Won = run;
      keeper.Keep(run);
    };
    EXPECT_TRUE(screen->Load(zone));
    if (withGhost) screen->SetGhost(ghost, "nejlepšímu");
    std::vector<std::string> splits;
    int64_t ghostMet = 0;
    PlayInWindow(plan, [&] {
      if (!withGhost || screen->ShowsWayOn()) return;
      // The ghost is the run being played: its figure stands on the player's, tick for tick.
      const platform::Control& figure = screen->ControlNamed("Duch");
      const SDL_Rect board = screen->ControlNamed("Pole").Bounds;
      const int steps = std::max(1, State().PlayerSteps);
      const SDL_Point player{board.x + CellPixels * State().PlayerX / steps,
                             board.y + CellPixels * State().PlayerY / steps};
      EXPECT_TRUE(figure.Visible);
      EXPECT_EQ(figure.Bounds.x, player.x) << "tick " << screen->Recorder().RunTicks();
      EXPECT_EQ(figure.Bounds.y, player.y) << "tick " << screen->Recorder().RunTicks();
      if (figure.Visible && figure.Bounds.x == player.x && figure.Bounds.y == player.y) ++ghostMet;
      const std::string line = screen->SplitLine();
      if (!line.empty() && (splits.empty() || splits.back() != line)) splits.push_back(line);
    });
    if (withGhost) {
      EXPECT_EQ(ghostMet, *ghost->WonAt() - 1);
      // One split a delivery, each level with the ghost that walked the same run, then the exit.
      EXPECT_FALSE(splits.empty());
      for (const std::string& split : splits) {
        EXPECT_NE(split.find("±0,0 s"), std::string::npos) << split;
      }
      if (!splits.empty()) {
        EXPECT_EQ(splits.front().rfind("Doručeno 1 z ", 0), 0u) << splits.front();
      }
      EXPECT_EQ(screen->SplitLine().rfind("Cíl · ", 0), 0u) << screen->SplitLine();
    }
    out.WinLine = screen->WayOnText();
    out.Records = ReadAll(state / "state" / "records.txt");
    for (const auto& entry : fs::directory_iterator(state / "runs")) out.Kept += ReadAll(entry);
    return out;
  };
  const Outcome without = play(false, "no-ghost");
  const Outcome with = play(true, "ghost");
  ASSERT_TRUE(without.Won && with.Won);
  ASSERT_TRUE(with.Won->Ticks);
  EXPECT_EQ(*with.Won->Ticks, *ghost->WonAt());
  EXPECT_EQ(with.Won->Ticks, without.Won->Ticks);
  EXPECT_EQ(with.Won->Keys, without.Won->Keys);
  EXPECT_EQ(with.Records, without.Records);
  EXPECT_FALSE(with.Kept.empty());
  EXPECT_EQ(with.Kept, without.Kept);
  EXPECT_NE(with.WinLine.find("±0,0 s proti nejlepšímu"), std::string::npos) << with.WinLine;
  EXPECT_EQ(without.WinLine.find("proti"), std::string::npos) << without.WinLine;
  // The same report headless from either kept run.
  Replay a, b;
  ASSERT_FALSE(a.Open(zone) || b.Open(zone));
  a.Run(Parse(with.Won->Keys));
  b.Run(Parse(without.Won->Keys));
  EXPECT_EQ(a.Report(true), b.Report(true));
}

TEST_F(SessionTest, TheGhostIsDrawnOverTheBoardNeverIntoItAndGHidesIt) {
  const std::string zone = std::string(QUARN_ZONES_DIR) + "/01-prvni-kroky.qrn";
  auto made = GhostRun::Play(
      zone, Parse(ReadAll(std::string(QUARN_SOLUTIONS_DIR) + "/01-prvni-kroky.keys")));
  ASSERT_TRUE(std::holds_alternative<GhostRun>(made));
  const auto ghost = std::make_shared<const GhostRun>(std::get<GhostRun>(made));
  using Pixels = std::vector<uint32_t>;
  auto pixels = [](const SDL_Surface* s) {
    Pixels p;
    for (int y = 0; y < s->h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                          y * s->pitch);
      p.insert(p.end(), row, row + s->w);
    }
    return p;
  };
  // The player stands still while the ghost walks off along its run.
  struct Look {
    Pixels Board, Frame, Hidden;
    std::string KeyLine;
    bool Told = true;
  };
  auto play = [&](bool withGhost) {
    Look seen;
    Shut();
    Open();
    EXPECT_TRUE(screen->Load(zone));
    screen->OnGhostToggled = [&](bool shown) { seen.Told = shown; };
    if (withGhost) screen->SetGhost(ghost, "autorovi");
    RunFor(900);
    // The first seconds of the run name the ghost's key over the board.
    seen.KeyLine = dynamic_cast<platform::Label&>(screen->ControlNamed("lblWatch")).Caption;
    RunFor(3000);
    seen.Frame = pixels(screen->Window().Compose());
    seen.Board = pixels(screen->ControlNamed("Pole").AsBox()->Canvas);
    screen->Window().OnKeyDown('G');
    screen->Window().OnKeyUp('G');
    seen.Hidden = pixels(screen->Window().Compose());
    return seen;
  };
  const Look plain = play(false);
  const Look raced = play(true);
  EXPECT_NE(ghost->At(screen->Recorder().RunTicks()), (GhostSpot{State().PlayerX, State().PlayerY}));
  EXPECT_EQ(raced.Board, plain.Board) << "the ghost was drawn into the board surface";
  EXPECT_NE(raced.Frame, plain.Frame) << "the ghost is not seen";
  EXPECT_FALSE(raced.Told);
  EXPECT_EQ(raced.KeyLine, "Duch – závod proti autorovi · G – skrýt ducha");
  EXPECT_EQ(plain.KeyLine, "");
  EXPECT_FALSE(screen->GhostShown());
  EXPECT_EQ(raced.Hidden, plain.Frame) << "G left something of the ghost in the window";
}

// The figure and the enemy after each tick of the run's course: what a "back" line took back is
// not in it.
std::vector<Seen> CourseOf(const std::string& zone, const KeyScript& script) {
  Replay replay;
  std::vector<Seen> course;
  if (replay.Open(zone)) return course;
  for (const KeyScriptStep& step : script.Steps) {
    if (step.Action == KeyScriptAction::Back) {
      replay.Back(step.Value);
      course.resize(static_cast<size_t>(replay.Recorder().RunTicks()));
    }
    if (step.Action != KeyScriptAction::Keys) continue;
    for (int t = 0; t < step.Ticks; ++t) {
      replay.Tick(step.Keys);
      course.push_back(SeenIn(replay.State()));
    }
  }
  return course;
}

TEST_F(SessionTest, AWatchSeeksAndStepsExactlyAndHHandsItOverAsPractice) {
  const std::string zone = WriteFile("roam-seek.qrn", RoamZone);
  // Through kept states (key lines only), and from the start again (a "back" line between).
  for (const std::string& text :
       {std::string("30 right\n200 -\n90 left\n100 right\n400 -\n"),
        std::string("30 right\n200 -\nback 50\n90 left\n100 right\n400 -\n")}) {
    const KeyScript script = Parse(text);
    const std::vector<Seen> expected = CourseOf(zone, script);
    Shut();
    Open();
    ASSERT_TRUE(screen->Load(zone));
    int wins = 0;
    screen->OnWin = [&](const system::FinishedRun&) { ++wins; };
    screen->Watch(script);
    auto at = [&] { return screen->Recorder().RunTicks(); };
    auto key = [&](int k) {
      screen->Window().OnKeyDown(k);
      screen->Window().OnKeyUp(k);
    };
    auto expectAt = [&](int64_t tick, const char* what) {
      ASSERT_EQ(at(), tick) << what << "\n" << text;
      ASSERT_GT(tick, 0);
      EXPECT_EQ(SeenIn(State()), expected[static_cast<size_t>(tick - 1)]) << what << "\n" << text;
      const std::string shown =
          dynamic_cast<platform::Label&>(screen->ControlNamed("lblWatch")).Caption;
      EXPECT_NE(shown.find("tik " + std::to_string(tick) + " "), std::string::npos) << shown;
    };
    while (at() < 400) RunFor(1);
    const int64_t t = at();
    key(39);
    expectAt(t + 320, "Right");
    key(37);
    expectAt(t, "Left");
    key(37);
    expectAt(t - 320, "Left again");
    key('P');
    key(190);
    expectAt(t - 319, "full stop");
    key(188);
    key(188);
    expectAt(t - 321, "comma");
    key(36);
    EXPECT_EQ(at(), 0);
    key('P');
    // Practice from the watched moment: the keys are the player's, nothing is timed or kept.
    while (at() < 100) RunFor(1);
    key('H');
    EXPECT_FALSE(screen->Watching());
    EXPECT_EQ(dynamic_cast<platform::Label&>(screen->ControlNamed("lblWatch")).Caption,
              "Cvičení ze záznamu · neměří se ani neukládá · Esc – konec");
    const int x = State().PlayerX;
    keys.KeyDown(vk::Right);
    for (int i = 0; i < 3000 && State().GameOver == 0; ++i) RunFor(1);
    keys.KeyUp(vk::Right);
    EXPECT_GT(State().PlayerX, x);
    EXPECT_EQ(screen->TheGame().Wins(), 1);
    EXPECT_EQ(wins, 0) << "a practice win was handed over";
    EXPECT_FALSE(screen->LastWin().Ticks);
  }
}

}  // namespace
}  // namespace quarn::ui
