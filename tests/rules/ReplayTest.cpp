// ReplayTest.cpp — the replay runner's contract: key scripts, keys held per tick, the report.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <tuple>

#include "Harness.h"
#include "run/RealText.h"

namespace quarn::test {
namespace {

KeyScript Parse(const std::string& text) {
  auto parsed = ParseKeyScript(text, "t.keys");
  if (auto* e = std::get_if<KeyScriptError>(&parsed)) ADD_FAILURE() << e->Describe();
  return std::get_if<KeyScript>(&parsed) ? std::get<KeyScript>(parsed) : KeyScript{};
}

std::string ErrorOf(const std::string& text) {
  auto parsed = ParseKeyScript(text, "t.keys");
  auto* e = std::get_if<KeyScriptError>(&parsed);
  return e ? e->Describe() : "(no error)";
}

TEST(KeyScripts, LinesCommentsAndKeyNames) {
  const KeyScript s = Parse(
      "\xEF\xBB\xBF# a walk\r\n\n12 right\r\n  1 ctrl+r   # restart\n30 -\n20 left+space\n"
      "1 up+down+enter\n0 r");
  ASSERT_EQ(s.Steps.size(), 6u);
  EXPECT_EQ(s.Steps[0].Ticks, 12);
  EXPECT_EQ(KeysOfMask(s.Steps[0].Keys), std::vector<int>{vk::Right});
  EXPECT_EQ(s.Steps[0].Line, 3);
  EXPECT_EQ(KeysOfMask(s.Steps[1].Keys), (std::vector<int>{vk::Ctrl, vk::R}));
  EXPECT_EQ(s.Steps[2].Keys, 0);
  EXPECT_EQ(KeysOfMask(s.Steps[3].Keys), (std::vector<int>{vk::Left, vk::Space}));
  EXPECT_EQ(KeysOfMask(s.Steps[4].Keys), (std::vector<int>{vk::Up, vk::Down, vk::Enter}));
  EXPECT_EQ(s.TotalTicks(), 64);
  EXPECT_EQ(s.KeysAt(12), (std::vector<int>{vk::Ctrl, vk::R}));
  EXPECT_TRUE(s.KeysAt(64).empty());
}

TEST(KeyScripts, ErrorsNameTheLine) {
  EXPECT_EQ(ErrorOf("5 right\n3 rigth\n"),
            "t.keys:2: unknown key 'rigth'; keys are left, up, right, down, space, enter, ctrl, "
            "r, or '-' for none");
  EXPECT_EQ(ErrorOf("# x\n\nright 5"),
            "t.keys:3: the tick count must be a whole number, not 'right'");
  EXPECT_EQ(ErrorOf("-1 left"), "t.keys:1: the tick count must be from 0 to 1000000000, not -1");
  EXPECT_EQ(ErrorOf("12"),
            "t.keys:1: expected 'N KEYS' (a tick count, then keys or '-'), not '12'");
  EXPECT_EQ(ErrorOf("1 left + up"),
            "t.keys:1: expected 'N KEYS'; join keys with '+', without blanks: '1 left + up'");
  EXPECT_EQ(ErrorOf("1 left+"),
            "t.keys:1: unknown key ''; keys are left, up, right, down, "
            "space, enter, ctrl, r, or '-' for none");
  EXPECT_NE(ErrorOf("1 Left").find("t.keys:1: unknown key 'Left'"), std::string::npos);
  EXPECT_EQ(ErrorOf("99999999999999999999 -").substr(0, 47),
            "t.keys:1: the tick count must be from 0 to 1000");
  // A long word is quoted by its first 40 characters only.
  EXPECT_EQ(ErrorOf("1 " + std::string(100000, 'x')),
            "t.keys:1: unknown key '" + std::string(40, 'x') +
                "…'; keys are left, up, right, down, space, enter, ctrl, r, or '-' for none");
}

TEST(KeyScripts, AMissingFileIsAnError) {
  auto parsed = ReadKeyScript("/nonexistent/x.keys");
  ASSERT_TRUE(std::holds_alternative<KeyScriptError>(parsed));
  EXPECT_EQ(std::get<KeyScriptError>(parsed).Describe(),
            "/nonexistent/x.keys: cannot open the key script: No such file or directory");
}

// Key scripts are read as zones are: a pipe is not waited on, a device is not read without end,
// a folder is no empty run, and a file too large is refused before it is read.
TEST(KeyScripts, OnlyARegularFileOfASensibleSizeIsRead) {
  const std::filesystem::path folder = ::testing::TempDir() + "quarn-KeyScripts-read";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string fifo = (folder / "pipe.keys").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string big = (folder / "big.keys").string();
  { std::ofstream(big) << "1 right\n"; }
  std::filesystem::resize_file(big, MaxKeyScriptBytes + 1);  // sparse: nothing is written
  const std::pair<std::string, std::string> refused[] = {
      {fifo, "this is not a regular file but a device, a pipe or a socket"},
      {"/dev/zero", "this is not a regular file but a device, a pipe or a socket"},
      {folder.string(), "this is a folder, not a key script"},
      {big, "the key script is larger than 64 MB"}};
  for (const auto& [file, why] : refused) {
    auto parsed = ReadKeyScript(file);
    ASSERT_TRUE(std::holds_alternative<KeyScriptError>(parsed)) << file;
    EXPECT_EQ(std::get<KeyScriptError>(parsed).Describe(), file + ": " + why);
  }
  std::filesystem::remove_all(folder);
}

// A script takes memory in proportion to its file: a small step a line at most, and one step
// for the same keys held on over many lines.
TEST(KeyScripts, StepsAreSmallAndTheSameKeysHeldOnAreOneStep) {
  EXPECT_LE(sizeof(KeyScriptStep), 16u);
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "1 right\n";
  text += "2 left\n3 left\nrandom 5\n4 left\n999999999 -\n2 -\n";
  const KeyScript s = Parse(text);
  ASSERT_EQ(s.Steps.size(), 6u);
  EXPECT_EQ(std::make_tuple(s.Steps[0].Ticks, s.Steps[0].Line), std::make_tuple(1000, 1));
  EXPECT_EQ(std::make_tuple(s.Steps[1].Ticks, s.Steps[1].Line), std::make_tuple(5, 1001));
  EXPECT_EQ(s.Steps[2].Action, KeyScriptAction::Random);
  EXPECT_EQ(s.Steps[3].Ticks, 4);
  // A step never holds more than a line may.
  EXPECT_EQ(s.Steps[4].Ticks, 999999999);
  EXPECT_EQ(s.Steps[5].Ticks, 2);
  EXPECT_EQ(s.TotalTicks(), 1000 + 5 + 4 + 999999999 + 2);
  EXPECT_EQ(s.KeysAt(1003), std::vector<int>{vk::Left});
}

// "random N" sets the generator where it stands in the run, not only at the start.
TEST(Runner, ARandomLineInTheMiddleOfAScriptActsThere) {
  const ZoneLayout room{
      {"WWWWWWWWWWWW", "W+........-W", "W....S.....W", "W*........+W", "WWWWWWWWWWWW"}};
  auto report = [&](const std::string& script) {
    Play p(room);
    p.Keys(script);
    return p.R().Report(true);
  };
  Play byHand(room);
  byHand.Ticks(20);
  byHand.R().Recorder().SetRandom(777);
  byHand.Ticks(40);
  const std::string scripted = report("20 -\nrandom 777\n40 -\n");
  EXPECT_EQ(scripted, byHand.R().Report(true));
  EXPECT_NE(scripted, report("20 -\n40 -\n"));
  EXPECT_NE(scripted, report("random 777\n20 -\n40 -\n"));
}

// A win is an event of the game, told once when the player walks into the exit, before the
// question; ticks played again unseen while going back tell nothing.
TEST(Runner, TheWinHookRunsOnceForTheWinThePlayerSees) {
  Play p({{"WWWWWW", "WSR..E", "WWWCWW"}, 4});
  int wins = 0;
  size_t askedBefore = 0;
  p.G().OnWin = [&] {
    ++wins;
    askedBefore = static_cast<size_t>(p.R().Prompts().Asked());
  };
  for (int i = 0; i < 200 && p.G().Wins() == 0; ++i) p.Ticks(1, {vk::Right});
  ASSERT_EQ(p.G().Wins(), 1);
  EXPECT_EQ(wins, 1);
  EXPECT_EQ(askedBefore, 0u);
  EXPECT_EQ(p.R().Prompts().LastPrompt(), "Vyhrál jsi!\nHrát znovu?");
  p.Ticks(10);
  EXPECT_EQ(p.R().Back(1), 1);
  EXPECT_EQ(p.G().Wins(), 1);
  EXPECT_EQ(wins, 1);
}

// A run's opening keeps the figure and the exit only where the board has cells (a zone open at
// its border lets the figure walk into the margin around it).
TEST(Runner, ACarryLineOutsideTheBoardIsRefused) {
  const ZoneLayout small{{"WWWWWWW", "WS...EW", "WWWWWWW", "WWWWWWW"}, 8};
  for (const std::string carry : {"carry player=1208,8", "carry player=-24,8", "carry player=8,-17",
                                  "carry exit=151,1", "carry exit=1,-3"}) {
    Play p(small);
    const auto before = p.R().Report(true);
    const auto error = p.R().Run(Parse(carry + "\n5 right\n"));
    ASSERT_TRUE(error) << carry;
    EXPECT_NE(error->Describe().find("řádek 1 průchodu nejde přehrát"), std::string::npos)
        << error->Describe();
    EXPECT_TRUE(error->InRun);
    EXPECT_EQ(p.R().Report(true), before) << carry;
  }
  Play p(small);
  EXPECT_FALSE(p.R().Run(Parse("carry player=1200,-16 exit=150,-2 hold=0,0,3,0\n5 right\n")));
  Play q({{"WWWWWWW", "WS...EW", "WWWWWWW", "WWWWWWW"}});
  EXPECT_TRUE(q.R().Run(Parse("carry player=256,244\n5 right\n")));
}

TEST(ScriptedKeysTest, AHeldKeyReadsDownAtEveryQueryUntilTheNextTick) {
  ScriptedKeys keys;
  Keyboard keyboard(keys);
  keys.Hold({vk::Space, vk::Left});
  keyboard.FlushKeys();
  EXPECT_NE(keys.GetAsyncKeyState(vk::Space), 0);
  EXPECT_NE(keys.GetAsyncKeyState(vk::Space), 0);
  EXPECT_EQ(keyboard.ChooseArrowKey(), vk::Left);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Up), 0);
  keys.Hold({});
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Space), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(0), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(300), 0);
}

TEST(Runner, TicksCutOrPadTheScript) {
  Play p({{"WWWWWWW", "WS....W", "WWWWWWW"}});
  auto script = Parse("3 right\n2 -");
  p.R().Run(script, 2);
  EXPECT_EQ(p.R().TicksRun(), 2);
  EXPECT_EQ(p.Cell(), std::make_pair(3, 1));
  Play q({{"WWWWWWW", "WS....W", "WWWWWWW"}});
  q.R().Run(script, 40);
  EXPECT_EQ(q.R().TicksRun(), 40);
  EXPECT_EQ(q.Cell(), std::make_pair(4, 1));
}

TEST(Runner, SoundCountsAndTheLaserVolumeClamp) {
  CountingSound sound;
  EXPECT_EQ(sound.LaserVolume(), std::nullopt);
  sound.SetVolume(GameSound::Walk, -300);
  EXPECT_EQ(sound.LaserVolume(), std::nullopt);
  sound.SetVolume(GameSound::LaserDoors, -20000);
  EXPECT_EQ(sound.LaserVolume(), -10000);
  sound.SetVolume(GameSound::LaserDoors, 5);
  EXPECT_EQ(sound.LaserVolume(), 0);
  sound.Play(GameSound::Tick);
  sound.Play(GameSound::Tick);
  EXPECT_EQ(sound.Starts(GameSound::Tick), 2);
}

TEST(Report, FieldsInTheirOrderAndTypes) {
  Play p({{"WWWWWW", "WS.BRW", "WEWW+W", "WWWWWW"}});
  EXPECT_EQ(p.R().Report(false),
            "{\"tick\": 0, \"wins\": 0, \"deaths\": 0, \"restarts\": 0, \"game_over\": false, "
            "\"dying\": false, \"moving\": false, \"player\": [1, 1], \"potatoes_left\": 1, "
            "\"potatoes_carried\": 0, \"time_left\": 50, \"time_shown\": 50, \"has_key\": false, "
            "\"has_box\": false, \"boxes_left\": 10, \"box_overlay\": null, \"exit\": [1, 2], "
            "\"laser_tick\": 1, \"radio_counter\": 0, \"death_phase\": 0, "
            "\"pole\": [344, 140], \"enemies\": [[4, 2, 1, 0, 0]], "
            "\"sounds\": {\"walk\": 0, \"laser\": 0, \"die\": 0, \"airdoor\": 0, \"tick\": 0, "
            "\"target\": 0, \"hotpotato\": 0}, \"laser_volume\": null}");
  p.Keys("1 right");
  const std::string r = p.R().Report(true);
  EXPECT_NE(r.find("\"tick\": 1, "), std::string::npos) << r;
  EXPECT_NE(r.find("\"box_overlay\": [122, 42]"), std::string::npos) << r;
  EXPECT_NE(r.find("\"pole\": [365.6, 158], "), std::string::npos) << r;
  EXPECT_NE(r.find("\"board\": [[2, 2, 2, 2, 2, 2], [2, 0, 1, 12, 7, 2], [2, 2, 2, 2, 13, 2], "),
            std::string::npos)
      << r;
  EXPECT_EQ(r.substr(r.size() - 20), "[2, 2, 2, 2, 2, 2]]}");
}

TEST(Report, DeathPhaseIsPrintedInSinglePrecision) {
  Play p({{"WWWWW", "WSa.W", "WWWWW"}});
  p.Keys("46 right");
  const std::string r = p.R().Report(false);
  EXPECT_NE(r.find("\"death_phase\": 9.999995,"), std::string::npos) << r;
  EXPECT_NE(r.find("\"deaths\": 1,"), std::string::npos) << r;
  EXPECT_NE(r.find("\"game_over\": true, \"dying\": true"), std::string::npos) << r;
}

}  // namespace
}  // namespace quarn::test

// Reports and run files write reals as their shortest text; the browser build makes that text
// with printf and strtod. Both must give the same characters for every real, or a run written in
// one build would read back differently in the other.
TEST(RealText, PrintfTextIsToCharsTextForAnyBits) {
  std::mt19937_64 rng(28);
  std::vector<double> doubles = {0.0, -0.0, 0.1, 1.0 / 3.0, 100.0, 1e20, 1e21, 1e-7, 123456.0,
                                 5e-324, 1.7976931348623157e308, 2.5, 0.99, -32768.0, 1e15, 1e16};
  for (int i = 0; i < 50000; ++i) {
    double d = 0;
    const uint64_t bits = rng();
    std::memcpy(&d, &bits, sizeof d);
    if (std::isfinite(d)) doubles.push_back(d);
    // Values of the size the rules use: positions, times, phases.
    doubles.push_back(static_cast<double>(static_cast<int64_t>(rng() % 2000000) - 1000000) /
                      static_cast<double>(1 + rng() % 1000));
  }
  for (double d : doubles) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
    ASSERT_EQ(quarn::PortableRealText(d), std::string(buf, end)) << "bits of " << buf;
    const float f = static_cast<float>(d);
    if (!std::isfinite(f)) continue;
    const auto [fend, fec] = std::to_chars(buf, buf + sizeof buf, f);
    ASSERT_EQ(quarn::PortableRealText(f), std::string(buf, fend)) << "float " << buf;
  }
}
