// RewindTest.cpp — going back in a run, and a run written as a key script that plays it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <regex>

#include "Harness.h"
#include "run/RunRecorder.h"

namespace quarn::test {
namespace {

// The report without what counts events outside the game state (the sounds started, the last
// laser volume the speakers were told); everything else must agree.
std::string StateOf(const Replay& r) {
  std::string report = r.Report(true);
  report =
      std::regex_replace(report, std::regex(R"("sounds": \{[^}]*\}, "laser_volume": [^,]*, )"), "");
  return report;
}

// Runs of random keys with "back N" inserted at random places end where the same keys with the
// undone ticks left out end, over many zones, with restarts, deaths and wins (answered both ways).
TEST(Rewind, GoingBackEndsWhereTheKeysWithoutTheUndoneTicksEnd) {
  std::mt19937_64 rng(17);
  for (int round = 0; round < 60; ++round) {
    const std::string zone = RandomZone(rng);
    const bool yes = round % 2 == 0;
    Replay backed(yes);
    ASSERT_FALSE(backed.Open(zone));
    std::vector<std::vector<int>> kept;  // the keys of the ticks that remain, in order
    int backs = 0;
    for (int stretch = 0; stretch < 40; ++stretch) {
      const std::vector<int> keys = RandomKeys(rng);
      const int ticks =
          keys.size() == 2 && keys[0] == vk::Ctrl ? 1 : static_cast<int>(rng() % 90) + 1;
      for (int t = 0; t < ticks; ++t) {
        if (backed.Tick(keys)) kept.push_back(keys);
      }
      if (rng() % 3 == 0) {
        const int64_t asked = static_cast<int64_t>(rng() % 200);
        const int64_t before = backed.Recorder().RunTicks();
        const int64_t undone = backed.Back(asked);
        ++backs;
        // Fewer than asked only when the run's opening was reached.
        ASSERT_TRUE(undone == asked || backed.Recorder().RunTicks() <= 1)
            << "round " << round << ": asked " << asked << ", undone " << undone;
        ASSERT_EQ(backed.Recorder().RunTicks(), before - undone);
        kept.resize(kept.size() - static_cast<size_t>(undone));
      }
    }
    Replay straight(yes);
    ASSERT_FALSE(straight.Open(zone));
    for (const auto& keys : kept) straight.Tick(keys);
    ASSERT_EQ(StateOf(backed), StateOf(straight)) << "round " << round << ", " << backs << " backs";
  }
}

// A key script with "back N" lines ends where the same script with those ticks left out ends,
// also when "back" is its last line. The scripts hold no restart and the win is declined, so the
// run's opening is the load and "back" stops only there; a "random" line after the last tick
// that remains goes with the ticks undone (the state went back to before it was set).
TEST(Rewind, AScriptWithBackEndsAsTheScriptWithTheTicksLeftOut) {
  std::mt19937_64 rng(31);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  static const char* const keyNames[] = {"left", "up", "right", "down", "left+up", "right+space",
                                         "space", "-"};
  struct Event {
    bool Random = false;
    std::string Text;  // the keys of a tick, or the generator state
  };
  int endingInBack = 0;
  std::string zone;
  for (int round = 0; round < 200; ++round) {
    if (round % 4 == 0) zone = RandomZone(rng);
    std::string withBack;
    std::vector<Event> left;  // what remains, tick by tick
    auto ticksLeft = [&] {
      return std::count_if(left.begin(), left.end(), [](const Event& e) { return !e.Random; });
    };
    const int lines = pick(1, 10);
    const bool endInBack = pick(0, 9) < 3;
    for (int line = 0; line < lines + (endInBack ? 1 : 0); ++line) {
      const int roll = line == lines ? 99 : pick(0, 99);
      if (roll < 60) {
        const int ticks = pick(1, 70);
        const std::string keys = keyNames[pick(0, 7)];
        withBack += std::to_string(ticks) + " " + keys + "\n";
        for (int t = 0; t < ticks; ++t) left.push_back({false, keys});
      } else if (roll < 72) {
        const std::string value = std::to_string(pick(0, 0xFFFFFF));
        withBack += "random " + value + "\n";
        left.push_back({true, value});
      } else {
        int64_t back = pick(0, 160);
        withBack += "back " + std::to_string(back) + "\n";
        if (std::min<int64_t>(back, ticksLeft()) == 0) continue;
        while (back > 0 && ticksLeft() > 0) {
          if (!left.back().Random) --back;
          left.pop_back();
        }
        while (!left.empty() && left.back().Random) left.pop_back();
      }
    }
    std::string leftOut;
    for (size_t i = 0; i < left.size();) {
      if (left[i].Random) {
        leftOut += "random " + left[i++].Text + "\n";
        continue;
      }
      size_t j = i;
      while (j < left.size() && !left[j].Random && left[j].Text == left[i].Text) ++j;
      leftOut += std::to_string(j - i) + " " + left[i].Text + "\n";
      i = j;
    }
    if (endInBack) ++endingInBack;
    auto played = [&](const std::string& text) {
      auto parsed = ParseKeyScript(text);
      EXPECT_TRUE(std::holds_alternative<KeyScript>(parsed)) << text;
      Replay r(false);
      EXPECT_FALSE(r.Open(zone));
      EXPECT_FALSE(r.Run(std::get<KeyScript>(parsed)));
      return StateOf(r);
    };
    ASSERT_EQ(played(withBack), played(leftOut))
        << "round " << round << "\nwith back:\n" << withBack << "left out:\n" << leftOut;
  }
  EXPECT_GT(endingInBack, 40);
}

// Past two minutes of play the kept states thin out with their age. Going back into the thinned
// past still ends exactly where straight play ends, a step back replays at most a sixteenth of
// how far it lands before the furthest tick played (63 ticks in the recent past), and what is
// kept for a run four times longer is less than two and a half times as much.
TEST(Rewind, KeptStatesThinOutWithAgeAndGoingBackStaysExact) {
  std::mt19937_64 rng(41);
  const ZoneLayout layout{{"WWWWWWWWWW", "WS..R...+W", "W.W.CW.W.W", "W..a..-..W", "WWWWWWWWWW"},
                          3,
                          {2, 3, 4},
                          {"0011", "01", "0"}};
  const std::string zone = WriteTemp(ZoneText(layout));
  constexpr int64_t Total = 64 * 128 * 5;
  const std::vector<int64_t> targets = {Total - 30, Total - 700, Total - 9000, 20001, 20000,
                                        9000,       4000,        64,           0};
  std::vector<std::vector<int>> keys;
  for (int64_t t = 0; t < Total; ++t) {
    if (t % 53 == 0) {
      const int roll = static_cast<int>(rng() % 6);
      keys.push_back(roll < 4 ? std::vector<int>{vk::Left + roll} : std::vector<int>{});
    } else {
      keys.push_back(keys.back());
    }
  }
  auto tickOf = [](const std::string& report) {
    return std::regex_replace(report, std::regex(R"("tick": \d+, )"), "");
  };
  std::map<int64_t, std::string> expected;
  {
    Replay straight(false);
    ASSERT_FALSE(straight.Open(zone));
    for (int64_t t = 0; t <= Total; ++t) {
      if (std::find(targets.begin(), targets.end(), t) != targets.end()) {
        expected[t] = tickOf(StateOf(straight));
      }
      if (t == 20000) straight.Recorder().SetRandom(4242);
      if (t < Total) straight.Tick(keys[static_cast<size_t>(t)]);
    }
  }
  Replay run(false);
  ASSERT_FALSE(run.Open(zone));
  size_t quarterBytes = 0;
  for (int64_t t = 0; t < Total; ++t) {
    if (t == Total / 4) quarterBytes = run.Recorder().MemoryBytes();
    if (t == 20000) run.Recorder().SetRandom(4242);
    run.Tick(keys[static_cast<size_t>(t)]);
  }
  EXPECT_LT(run.Recorder().MemoryBytes(), quarterBytes * 5 / 2);
  int64_t now = Total;
  for (int64_t target : targets) {
    const BackResult back = run.Recorder().Back(now - target);
    EXPECT_EQ(back.Ticks, now - target);
    // The states were thinned by their age when play was furthest.
    EXPECT_LE(back.Replayed, std::max<int64_t>(63, (Total - target) / 16)) << "back to " << target;
    EXPECT_EQ(tickOf(StateOf(run)), expected[target]) << "back to " << target;
    now = target;
  }
}

// A run written by RunScript, played from a fresh load, ends in the run's state after its ticks.
void ExpectScriptReplays(const Replay& run, bool yes, const std::string& zone,
                         const std::string& what) {
  const std::string text = run.Recorder().RunScript({"Test zone", "a comment"});
  auto parsed = ParseKeyScript(text, "run.keys");
  ASSERT_TRUE(std::holds_alternative<KeyScript>(parsed))
      << what << ": " << std::get<KeyScriptError>(parsed).Describe() << "\n"
      << text;
  EXPECT_EQ(text.find("back"), std::string::npos) << what;
  Replay again(yes);
  ASSERT_FALSE(again.Open(zone));
  ASSERT_FALSE(again.Run(std::get<KeyScript>(parsed)));
  EXPECT_EQ(again.TicksRun(), run.Recorder().RunTicks()) << what << "\n" << text;
  EXPECT_EQ(again.Recorder().RunTicks(), run.Recorder().RunTicks()) << what;
  auto game = [](const Replay& r) {
    return std::regex_replace(
        StateOf(r), std::regex(R"("tick": \d+, "wins": \d+, "deaths": \d+, "restarts": \d+, )"),
        "");
  };
  EXPECT_EQ(game(again), game(run)) << what << "\n" << text;
}

TEST(Rewind, ARunWrittenAsAScriptPlaysTheSameFromAFreshLoad) {
  std::mt19937_64 rng(4);
  for (int round = 0; round < 60; ++round) {
    const std::string zone = RandomZone(rng);
    const bool yes = round % 2 == 1;
    Replay run(yes);
    ASSERT_FALSE(run.Open(zone));
    // The generator of a run that does not start with the program is somewhere else.
    run.Recorder().SetRandom(static_cast<uint32_t>(rng() & 0xFFFFFF));
    for (int stretch = 0; stretch < 30; ++stretch) {
      const std::vector<int> keys = RandomKeys(rng);
      const int ticks = static_cast<int>(rng() % 80) + 1;
      for (int t = 0; t < ticks; ++t) run.Tick(keys);
      if (rng() % 4 == 0) run.Back(static_cast<int64_t>(rng() % 150));
    }
    ExpectScriptReplays(run, yes, zone, "round " + std::to_string(round));
  }
}

// The openings that come inside a tick, each with what the loader keeps from before: a Yes to the
// replay question in the middle of a walk with the arrow held for long (hold counters), Ctrl+R in
// the middle of a step (Moving stays set), Enter during the death animation (its phase stays)
// and while a delivery beam fades.
TEST(Rewind, RunsThatBeginInsideATickPlayTheSame) {
  const ZoneLayout walk{{"WWWWWWWW", "WWWCWWWW", "WSR...EW", "WWWWWWWW"}, 3};
  const std::string zone = WriteTemp(ZoneText(walk));
  struct Case {
    const char* Name;
    bool Yes;
    std::string Keys;
  };
  const Case cases[] = {
      {"won, replayed, walking on", true, "200 right\n40 up+right\n"},
      {"restart mid-step, arrow held", false, "4 right\n1 right+ctrl+r\n7 right\n5 up\n"},
      {"restart as the beam fades", false, "9 right\n1 ctrl+r\n20 -\n"},
      {"won, declined, gone back, walked on", false, "17 right\nback 3\n30 right\n"},
  };
  for (const Case& c : cases) {
    Replay run(c.Yes);
    ASSERT_FALSE(run.Open(zone));
    run.Tick({vk::Left});  // the hold counters are not those of a fresh program
    auto parsed = ParseKeyScript(c.Keys);
    ASSERT_TRUE(std::holds_alternative<KeyScript>(parsed)) << c.Name;
    ASSERT_FALSE(run.Run(std::get<KeyScript>(parsed)));
    ExpectScriptReplays(run, c.Yes, zone, c.Name);
  }
  // Death by an enemy, then Enter while the circles still grow.
  const ZoneLayout deadly{{"WWWWWW", "WS..+W", "WWWWWW"}, 2, {2, 2, 2}};
  const std::string deadlyZone = WriteTemp(ZoneText(deadly));
  Replay run(false);
  ASSERT_FALSE(run.Open(deadlyZone));
  for (int t = 0; t < 300 && run.State().Dying == 0; ++t) run.Tick({vk::Right});
  ASSERT_NE(run.State().Dying, 0);
  run.Tick({});
  run.Tick({vk::Enter});
  run.Tick({vk::Right});
  ExpectScriptReplays(run, false, deadlyZone, "enter while dying");
}

// Keys fed the way the window feeds them (down and up between ticks, taps shorter than a tick,
// Ctrl held while R is tapped) are recorded so that the run's script plays the same.
TEST(Rewind, KeysFromWindowEventsAreRecordedAsTheTickReadThem) {
  std::mt19937_64 rng(23);
  for (int round = 0; round < 30; ++round) {
    const std::string zone = RandomZone(rng);
    KeyState live;
    TickKeys keys(live);
    ProgramContext program(keys);
    NullPainter painter;
    CountingSound sound;
    AnsweringPrompter ask(round % 2 == 0);
    Game game(program, GamePorts{painter, sound, ask});
    RunRecorder rewind(game, keys);
    game.State.FileName = zone;
    ASSERT_FALSE(game.Otevrit());
    for (int t = 0; t < 1500; ++t) {
      for (int k : ScriptKeys) {
        const int roll = static_cast<int>(rng() % 1000);
        if (roll < (k == vk::Enter || k == vk::R ? 3 : 25)) live.KeyDown(k);
        if (roll >= 960) live.KeyUp(k);
      }
      // Sometimes a tap: down and up again before the tick.
      if (rng() % 20 == 0) {
        const int k = ScriptKeys[rng() % ScriptKeys.size()];
        live.KeyDown(k);
        live.KeyUp(k);
      }
      rewind.Tick();
      if (rng() % 400 == 0) rewind.Back(static_cast<int64_t>(rng() % 100));
    }
    const std::string text = rewind.RunScript({});
    auto parsed = ParseKeyScript(text, "run.keys");
    ASSERT_TRUE(std::holds_alternative<KeyScript>(parsed)) << text;
    Replay again(round % 2 == 0);
    ASSERT_FALSE(again.Open(zone));
    ASSERT_FALSE(again.Run(std::get<KeyScript>(parsed)));
    EXPECT_EQ(again.Recorder().RunTicks(), rewind.RunTicks()) << "round " << round;
    const GameState& a = again.State();
    const GameState& b = game.State;
    EXPECT_EQ(std::make_tuple(a.PlayerX, a.PlayerY, a.Moving, a.GameOver, a.Dying, a.DeathPhase,
                              a.PotatoesLeft, a.PotatoesCarried, a.TimeLeft, a.LaserTick, a.HasKey,
                              a.HasBox, a.RadioCounter, a.MoveMemory),
              std::make_tuple(b.PlayerX, b.PlayerY, b.Moving, b.GameOver, b.Dying, b.DeathPhase,
                              b.PotatoesLeft, b.PotatoesCarried, b.TimeLeft, b.LaserTick, b.HasKey,
                              b.HasBox, b.RadioCounter, b.MoveMemory))
        << "round " << round;
    for (int y = -2; y <= MaxBoardHeight; ++y) {
      for (int x = -2; x <= MaxBoardWidth; ++x) {
        ASSERT_EQ(a.Board.At(x, y), b.Board.At(x, y))
            << "round " << round << " cell " << x << "," << y;
      }
    }
    EXPECT_EQ(again.GetGame().Program().Keys.HoldCounts(), program.Keys.HoldCounts());
    EXPECT_EQ(again.GetGame().Program().Rng.State(), program.Rng.State());
  }
}

// Within one tick the sample answers as the live key state would: the first query sees a tap,
// later ones only what is still down; keys outside the eight read as up.
TEST(Rewind, TickKeysAnswerAsTheLiveStateWould) {
  KeyState live;
  TickKeys keys(live);
  live.KeyDown(vk::R);
  live.KeyUp(vk::R);
  live.KeyDown(vk::Ctrl);
  live.KeyDown(65);
  keys.SampleLive();
  EXPECT_EQ(keys.GetAsyncKeyState(vk::R), 1);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::R), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Ctrl), static_cast<int16_t>(0x8001));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Ctrl), static_cast<int16_t>(0x8000));
  EXPECT_EQ(keys.GetAsyncKeyState(65), 0);
  keys.SampleLive();  // the tap was used up by the last sample
  EXPECT_EQ(keys.GetAsyncKeyState(vk::R), 0);
  EXPECT_EQ(KeysOfMask(MaskOfKeys({vk::R, vk::Left, 65, vk::Enter})),
            (std::vector<int>{vk::Left, vk::Enter, vk::R}));
}

// Going back never passes the opening, restores what the keyboard and the generator were, and
// redraws the whole board once through the screen's painter, with the walk sound as the step is.
TEST(Rewind, BackStopsAtTheOpeningAndRestoresProgramState) {
  RecordingPainter painter;
  Play p({{"WWWWWWWW", "W+S....W", "W......W", "WWWWWWWW"}, 4}, false, &painter);
  p.Ticks(10, {vk::Right});
  const auto hold = p.G().Program().Keys.HoldCounts();
  const uint32_t rng = p.G().Program().Rng.State();
  const GameState before = p.S();
  p.Ticks(30, {vk::Down, vk::Left});
  painter.ClearCalls();
  EXPECT_EQ(p.R().Back(30), 30);
  EXPECT_EQ(p.G().Program().Keys.HoldCounts(), hold);
  EXPECT_EQ(p.G().Program().Rng.State(), rng);
  EXPECT_EQ(
      std::make_tuple(p.S().PlayerX, p.S().Moving, p.S().Enemies[0].X, p.S().Enemies[0].Dir),
      std::make_tuple(before.PlayerX, before.Moving, before.Enemies[0].X, before.Enemies[0].Dir));
  EXPECT_EQ(painter.Count("Nakr "), 8 * 4);
  EXPECT_EQ(painter.Count("NakrF "), before.Moving != 0 ? 1 : 0);
  EXPECT_EQ(p.R().Back(1000), 10);
  EXPECT_EQ(p.R().Back(5), 0);
  EXPECT_EQ(p.S().PlayerX, 2 * 4);
  EXPECT_TRUE(p.R().Recorder().UsedRewind());
  // Ctrl+R starts a new run: nothing before it can be undone.
  p.Ticks(5, {vk::Right});
  p.Ticks(1, {vk::Ctrl, vk::R});
  EXPECT_FALSE(p.R().Recorder().UsedRewind());
  EXPECT_EQ(p.R().Back(100), 0);
  EXPECT_EQ(p.R().Recorder().RunTicks(), 1);
}

TEST(KeyScripts, RandomBackAndCarryLines) {
  auto parsed = ParseKeyScript(
      "random 16777215\nback 0\n2 left\nback 64  # one second\n"
      "carry halted=1 hold=0,3,1000,0 radio=252,2.5,-1 death=4.2 player=-8,12 memory=3,7\n");
  ASSERT_TRUE(std::holds_alternative<KeyScript>(parsed));
  const KeyScript& s = std::get<KeyScript>(parsed);
  ASSERT_EQ(s.Steps.size(), 5u);
  EXPECT_EQ(s.Steps[0].Action, KeyScriptAction::Random);
  EXPECT_EQ(s.Steps[0].Value, 16777215);
  EXPECT_EQ(s.Steps[3].Action, KeyScriptAction::Back);
  EXPECT_EQ(s.Steps[3].Value, 64);
  EXPECT_EQ(s.TotalTicks(), 2);
  ASSERT_EQ(s.Steps[4].Action, KeyScriptAction::Carry);
  const CarriedState& c = s.Carried.at(static_cast<size_t>(s.Steps[4].Value));
  EXPECT_TRUE(c.Halted);
  EXPECT_EQ(c.HoldCounts, (std::array<int, 4>{0, 3, 1000, 0}));
  EXPECT_EQ(std::make_tuple(c.RadioCounter, c.RadioX, c.RadioY, c.DeathPhase, c.PlayerX, c.PlayerY),
            std::make_tuple(252, 2.5, -1.0, 4.2f, -8, 12));
  EXPECT_EQ(c.MoveMemory, (std::array<uint8_t, 2>{3, 7}));
  EXPECT_EQ(c.Moving, 0);

  // Key lines join the key line before them when they hold the same keys, never a "random",
  // "back" or "carry" line, whose keys read as none: each keeps its place between the ticks.
  auto shape = [](const std::string& text) {
    auto p = ParseKeyScript(text);
    std::string out;
    for (const KeyScriptStep& st : std::get<KeyScript>(p).Steps) {
      out += std::to_string(static_cast<int>(st.Action)) + ":" + std::to_string(st.Ticks) + ":" +
             std::to_string(st.Keys) + " ";
    }
    return out;
  };
  const std::string none = std::to_string(static_cast<int>(KeyScriptAction::Keys));
  const std::string random = std::to_string(static_cast<int>(KeyScriptAction::Random));
  const std::string back = std::to_string(static_cast<int>(KeyScriptAction::Back));
  const std::string carry = std::to_string(static_cast<int>(KeyScriptAction::Carry));
  EXPECT_EQ(shape("2 -\n3 -\nrandom 5\n4 -\nback 2\n5 -\n6 -\ncarry halted=0\n1 -\n"),
            none + ":5:0 " + random + ":0:0 " + none + ":4:0 " + back + ":0:0 " + none + ":11:0 " +
                carry + ":0:0 " + none + ":1:0 ");

  auto error = [](const std::string& text) {
    auto p = ParseKeyScript(text, "t.keys");
    auto* e = std::get_if<KeyScriptError>(&p);
    return e ? e->Describe() : "(no error)";
  };
  EXPECT_EQ(
      error("1 left\nrandom 16777216"),
      "t.keys:2: the generator state must be a whole number from 0 to 16777215, not '16777216'");
  EXPECT_EQ(error("random -1"),
            "t.keys:1: the generator state must be a whole number from 0 to 16777215, not '-1'");
  EXPECT_EQ(error("\nback x"),
            "t.keys:2: the ticks to go back must be a whole number from 0 to 1000000000, not 'x'");
  EXPECT_EQ(error("back 1 2"), "t.keys:1: expected 'back N', not 'back 1 2'");
  EXPECT_EQ(error("random"), "t.keys:1: expected 'random N', not 'random'");
  EXPECT_EQ(error("carry hold=1,2,3"),
            "t.keys:1: 'hold' needs 4 numbers (commas between), not '1,2,3'");
  EXPECT_EQ(error("carry halted=2"),
            "t.keys:1: 'halted' needs 1 value, 0 or 1 (commas between), not '2'");
  EXPECT_EQ(error("carry moving=1 moving=0"), "t.keys:1: 'moving' is given twice");
  EXPECT_NE(error("carry speed=3").find("t.keys:1: expected 'name=values'"), std::string::npos);
  EXPECT_NE(error("carry hold=1,2,3,1001").find("'hold' needs 4"), std::string::npos);
  EXPECT_NE(error("2 back").find("unknown key 'back'"), std::string::npos);
}

}  // namespace
}  // namespace quarn::test
