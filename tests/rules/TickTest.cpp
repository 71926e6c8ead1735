// TickTest.cpp — the tick's order of steps, its restart keys, the speed and debugging buttons.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "Harness.h"

namespace quarn::test {
namespace {

// The kinds of drawing calls in order, repeats collapsed: L beam line, C death circle, F player,
// N enemy, Z laser door cell, B blinking potato or target, o any other cell.
std::string Kinds(const std::vector<std::string>& calls) {
  std::string kinds;
  for (const std::string& c : calls) {
    char k = 'o';
    if (c.rfind("Line", 0) == 0) k = 'L';
    if (c.rfind("Circle", 0) == 0) k = 'C';
    if (c.rfind("NakrF", 0) == 0) k = 'F';
    if (c.rfind("NakrN", 0) == 0 || c.rfind("Vycisti", 0) == 0) k = 'N';
    if (c.rfind("Nakr ", 0) == 0) {
      const int code = std::stoi(c.substr(c.rfind(' ') + 1));
      k = tile::IsLaser(code) ? 'Z' : (code == tile::HotPotato || code == tile::Target) ? 'B' : 'o';
    }
    if (kinds.empty() || kinds.back() != k) kinds += k;
  }
  return kinds;
}

ZoneLayout Busy() {
  return {{"WWWWWWWWW", "WSR....aW", "WWC+...WW", "WWWWWWWWW"}, 1, {1, 1, 1}, {"01", "0", "0"}};
}

TEST(Tick, StepsRunInOrderEraseFirstDrawLast) {
  RecordingPainter painter;
  Play p(Busy(), false, &painter);
  p.Keys("1 right");  // delivered: the beam is on
  p.S().Enemies[0].Dir = dir::Right;
  p.S().LaserTick = 59;  // a period ends in the next tick
  painter.ClearCalls();
  p.Keys("1 right");
  EXPECT_EQ(Kinds(painter.Calls), "LFNZBL");
}

TEST(Tick, DeathCirclesNestInsideTheBeamsEraseAndDraw) {
  RecordingPainter painter;
  Play p(Busy(), false, &painter);
  p.Keys("1 right");
  p.G().KillPlr(DeathCause::Enemy);
  p.Ticks(1);
  painter.ClearCalls();
  p.Ticks(1);
  const std::string kinds = Kinds(painter.Calls);
  EXPECT_EQ(kinds.substr(0, 2), "LC");
  EXPECT_EQ(kinds.substr(kinds.size() - 3), "BCL");
}

TEST(Tick, HotPotatoesAreRedrawnEveryTickExceptOneThePlayerTouches) {
  RecordingPainter painter;
  Play p({{"WWWWWWW", "WSR.R.W", "WWWWWWW"}, 4}, false, &painter);
  painter.ClearCalls();
  p.Ticks(1);
  EXPECT_EQ(painter.Count("Nakr 2 1 7"), 1);
  EXPECT_EQ(painter.Count("Nakr 4 1 7"), 1);
  p.Keys("1 right");  // a quarter cell into the potato's cell: counted, still shown
  EXPECT_EQ(p.S().PotatoesCarried, 1);
  EXPECT_EQ(p.Code(2, 1), tile::HotPotato);
  painter.ClearCalls();
  p.Ticks(1, {vk::Right});
  EXPECT_EQ(painter.Count("Nakr 2 1 7"), 0);
  EXPECT_EQ(painter.Count("Nakr 4 1 7"), 1);
}

TEST(Tick, SpeedButtonsStepTheIntervalBy10AndRefuseBelowZero) {
  Play p({{"S"}});
  EXPECT_EQ(p.S().TickInterval, 2);
  p.G().Zrychlit();
  EXPECT_EQ(p.S().TickInterval, 2);
  p.G().Zpomalit();
  p.G().Zpomalit();
  EXPECT_EQ(p.S().TickInterval, 22);
  p.G().Zrychlit();
  EXPECT_EQ(p.S().TickInterval, 12);
  p.G().Zrychlit();
  p.G().Zrychlit();
  EXPECT_EQ(p.S().TickInterval, 2);
}

TEST(Tick, DebuggingButtonsAppearOnRequestAndGiveAKeyAndABox) {
  Play p({{"S"}});
  EXPECT_FALSE(p.S().Panel.DebugButtonsVisible);
  p.G().RevealDebugButtons();
  EXPECT_TRUE(p.S().Panel.DebugButtonsVisible);
  p.G().GiveKeyAndBox();
  EXPECT_FALSE(p.S().Panel.KeyIndicator);  // the indicators follow at the next tick
  p.Ticks(1);
  EXPECT_TRUE(p.S().Panel.KeyIndicator);
  EXPECT_TRUE(p.S().Panel.BoxIndicator);
}

// A question whose window lets the timer tick on while it is open.
class TickingPrompter : public Prompter {
 public:
  Game* game = nullptr;
  int64_t laserTickInside = -1;
  int SkinMsgBox(const std::string&, int, int, const std::string&) override {
    game->Tick();
    game->Tick();
    laserTickInside = game->State.LaserTick;
    return msgbox::ResultNo;
  }
};

TEST(Tick, NoTickRunsWhileTheWinQuestionIsOpen) {
  const std::string path = WriteTemp(ZoneText({{"WWWW", "WSEW", "WWWW"}}));
  ScriptedKeys keys;
  ProgramContext program(keys);
  NullPainter painter;
  CountingSound sound;
  TickingPrompter ask;
  Game game(program, GamePorts{painter, sound, ask});
  ask.game = &game;
  game.State.FileName = path;
  ASSERT_FALSE(game.Otevrit().has_value());
  game.DeliverWhereStanding();  // reveals the exit
  keys.Hold({vk::Right});
  const int64_t before = game.State.LaserTick;
  game.Tick();
  EXPECT_EQ(game.Wins(), 1);
  EXPECT_EQ(ask.laserTickInside, before);
  EXPECT_EQ(game.State.LaserTick, before + 1);
  game.Tick();
  EXPECT_EQ(game.State.LaserTick, before + 2);
}

TEST(Tick, AFailedReloadStopsTheTick) {
  Play p({{"WWWW", "WS.W", "WWWW"}});
  std::remove(p.Path().c_str());
  p.Keys("1 ctrl+r");
  ASSERT_TRUE(p.G().LoadFailure().has_value());
  EXPECT_FALSE(p.S().TickEnabled);
  EXPECT_EQ(p.G().Restarts(), 1);
  const int64_t ran = p.R().TicksRun();
  p.Keys("5 right");
  EXPECT_EQ(p.R().TicksRun(), ran);
  EXPECT_EQ(p.Cell(), std::make_pair(1, 1));
  // The zone comes back: the Restart label loads it and the tick runs again.
  std::ofstream(p.Path()) << ZoneText({{"WWWW", "WS.W", "WWWW"}});
  p.G().Restart();
  EXPECT_FALSE(p.G().LoadFailure().has_value());
  p.Keys("1 right");
  EXPECT_EQ(p.Cell(), std::make_pair(2, 1));
}

}  // namespace
}  // namespace quarn::test
