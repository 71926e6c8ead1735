// OtevritTest.cpp — opening a zone into the game state: what a load sets, what a reload keeps,
// and that a failed load changes nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "ZoneTestSupport.h"
#include "game/Game.h"

namespace quarn::test {
namespace {

class QuietPainter : public BoardPainter {
 public:
  std::optional<PictureProblem> LoadGraphics(uint8_t& tileSize) override {
    if (failGraphics) return PictureProblem{"Graphics/1.bmp", PictureProblem::Reason::Missing, ""};
    tileSize = 40;
    return std::nullopt;
  }
  void ResizeBoard(int widthPx, int heightPx) override { sizes.emplace_back(widthPx, heightPx); }
  void Nakr(const GameState&, int x, int y) override { cells.emplace_back(x, y); }
  void NakrF(const GameState&) override {}
  void NakrN(const GameState&, int) override {}
  void Vycisti(double, double, double, int) override {}
  void XorLine(double, double, double, double, Rgb) override {}
  void XorCircle(double, double, double, Rgb) override {}

  bool failGraphics = false;
  std::vector<std::pair<int, int>> sizes;
  std::vector<std::pair<int, int>> cells;
};

class QuietSound : public SoundPort {
 public:
  void Play(GameSound) override {}
  void Stop(GameSound) override {}
  void SetVolume(GameSound, int32_t) override {}
};

class NoAnswer : public Prompter {
 public:
  int SkinMsgBox(const std::string&, int, int, const std::string&) override {
    return msgbox::ResultNo;
  }
};

// Everything of the state a load could touch, as text, so two states can be compared whole.
std::string Snapshot(const GameState& s) {
  std::ostringstream out;
  for (int y = BoardGrid::MinY; y <= BoardGrid::MaxY; ++y) {
    for (int x = BoardGrid::MinX; x <= BoardGrid::MaxX; ++x) out << s.Board.At(x, y) << ',';
  }
  out << '\n' << s.FileName << ' ' << s.BoardWidth << ' ' << s.BoardHeight << ' ' << s.PlayerSteps;
  for (int k : s.EnemySteps) out << ' ' << k;
  for (const auto& p : s.LaserPatterns) out << " [" << p << ']';
  out << ' ' << s.LaserTick << ' ' << s.PlayerX << ' ' << s.PlayerY << ' ' << s.Moving << ' '
      << s.MoveDir << ' ' << int(s.MoveMemory[0]) << ' ' << int(s.MoveMemory[1]) << ' '
      << int(s.KeyDir) << ' ' << s.KeySpace << ' ' << s.PotatoesLeft << ' ' << s.PotatoesCarried
      << ' ' << s.TimeLeft << ' ' << s.HasBox << ' ' << s.HasKey << ' ' << s.ExitX << ' ' << s.ExitY
      << ' ' << s.EnemyCount << ' ' << s.SavedEnemyCount << ' ' << s.GameOver << ' ' << s.Dying
      << ' ' << s.DeathPhase << ' ' << s.RadioX << ' ' << s.RadioY << ' ' << s.RadioCounter << ' '
      << int(s.TileSize) << ' ' << s.PoleLeft << ' ' << s.PoleTop << ' ' << s.PoleWidth << ' '
      << s.PoleHeight << ' ' << s.TickEnabled << ' ' << s.TickInterval;
  for (const EnemyRec& e : s.Enemies) {
    out << " (" << e.X << ' ' << e.Y << ' ' << e.Kind << ' ' << int(e.Dir) << ' ' << e.Stepping
        << ')';
  }
  const PanelState& p = s.Panel;
  out << ' ' << p.BoxesLeft << ' ' << p.BoxOverlayVisible << ' ' << p.BoxOverlayLeft << ' '
      << p.BoxOverlayTop << ' ' << p.TimeShown << ' ' << p.KapsaWidth << ' ' << p.NeedWidth << ' '
      << p.NeedLeft << ' ' << p.PaintedPotatoes << ' ' << p.KeyIndicator << ' ' << p.BoxIndicator;
  return out.str();
}

// Rows for a zone of the given height: the missing ones are empty lines, that is floor.
std::vector<std::string> Pad(std::vector<std::string> rows, int height) {
  rows.resize(static_cast<size_t>(height));
  return rows;
}

// One game screen with ports that draw, play and ask nothing.
struct Screen {
  // Writes the zone to the test's file and opens it; fails the test when the load fails.
  void Open(const std::string& text) {
    game.State.FileName = WriteFile(TempPath("zone.qrn"), text);
    const auto error = game.Otevrit();
    ASSERT_FALSE(error.has_value()) << error->Describe();
  }

  QuietPainter painter;
  QuietSound sound;
  NoAnswer ask;
  KeyState keys;
  ProgramContext program{keys};
  Game game{program, GamePorts{painter, sound, ask}};
};

class OtevritTest : public ::testing::Test {
 protected:
  void Open(const std::string& text) { screen.Open(text); }

  Screen screen;
  QuietPainter& painter = screen.painter;
  KeyState& keys = screen.keys;
  ProgramContext& program = screen.program;
  Game& game = screen.game;
  GameState& s = screen.game.State;
};

TEST_F(OtevritTest, LoadFillsBoardPlayerExitEnemiesAndPanel) {
  Open(ZoneText(30, 12,
                Pad({"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", "W..R....+...E.R..*..........RW",
                     "W........S.......-...........W"},
                    12),
                "4\n3\n7\n5\n01\n0\n1\n"));
  EXPECT_EQ(s.BoardWidth, 30);
  EXPECT_EQ(s.BoardHeight, 12);
  EXPECT_EQ(s.Board.At(3, 1), tile::HotPotato);
  EXPECT_EQ(s.Board.At(12, 1), tile::Wall);
  EXPECT_EQ(s.Board.At(9, 2), tile::Start);
  EXPECT_EQ(s.Board.At(0, 11), tile::Space);
  EXPECT_EQ(s.PlayerX, 36);  // cell 9 at 4 fine units a cell
  EXPECT_EQ(s.PlayerY, 8);
  EXPECT_EQ(s.ExitX, 12);
  EXPECT_EQ(s.ExitY, 1);
  EXPECT_EQ(s.PotatoesLeft, 3);
  ASSERT_EQ(s.EnemyCount, 3);
  // Each enemy stands on its cell in its own kind's fine units.
  EXPECT_EQ(s.Enemies[0].X, 24);
  EXPECT_EQ(s.Enemies[0].Y, 3);
  EXPECT_EQ(s.Enemies[1].Kind, 3);
  EXPECT_EQ(s.Enemies[1].X, 85);
  EXPECT_EQ(s.Enemies[2].X, 119);
  EXPECT_EQ(s.Enemies[2].Y, 14);
  EXPECT_EQ(s.Board.At(17, 2), tile::Enemy2);

  EXPECT_EQ(s.Panel.NeedWidth, 75);
  EXPECT_EQ(s.Panel.NeedLeft, 800 - 5 - 75);
  EXPECT_EQ(s.Panel.KapsaWidth, 50);
  EXPECT_EQ(s.Panel.PaintedPotatoes, 3);
  EXPECT_EQ(s.Panel.BoxesLeft, 10);
  EXPECT_EQ(s.Panel.TimeShown, 50);
  EXPECT_EQ(s.TimeLeft, 50);
  EXPECT_TRUE(s.TickEnabled);
  EXPECT_EQ(s.TileSize, 40);

  // The surface is sized once, then every cell is drawn, rows top to bottom, x inner.
  EXPECT_EQ(painter.sizes, (std::vector<std::pair<int, int>>{{1200, 480}}));
  ASSERT_GE(painter.cells.size(), 360u);
  EXPECT_EQ(painter.cells[0], std::make_pair(0, 0));
  EXPECT_EQ(painter.cells[1], std::make_pair(1, 0));
  EXPECT_EQ(painter.cells[30], std::make_pair(0, 1));
  EXPECT_EQ(painter.cells[359], std::make_pair(29, 11));
}

TEST_F(OtevritTest, ViewStartsAtTheExitSiteThenGlidesOnce) {
  // Exit at (12, 5): the board starts at left -120, then glides toward the player at (13, 5).
  Open(ZoneText(30, 12, Pad({"", "", "", "", "", "WWWWWWWWWWWWES"}, 12)));
  EXPECT_EQ(s.PoleLeft, -120 + (40 * (9 - 13) + 120) / 10.0);
  EXPECT_EQ(s.PoleTop, 0);
  // Exit at (9, 5) puts the board at the view's corner before the glide.
  Open(ZoneText(30, 12, Pad({"", "", "", "", "", "WWWWWWWWWE", "S"}, 12)));
  EXPECT_EQ(s.PoleLeft, 0);
  EXPECT_EQ(s.PoleTop, 0);
}

TEST_F(OtevritTest, ReloadResetsWhatALoadSets) {
  const std::string text = ZoneText(5, 3, {"WWWWW", "WSRKW", "WWEWW"});
  Open(text);
  s.Board.Set(2, 1, tile::Start);
  s.Board.Set(3, 1, tile::Space);
  s.PlayerX = 10;
  s.PotatoesLeft = 0;
  s.PotatoesCarried = 1;
  s.TimeLeft = 3.25;
  s.HasBox = FlagTrue;
  s.HasKey = FlagTrue;
  s.GameOver = FlagTrue;
  s.Dying = FlagTrue;
  s.LaserTick = 77;
  s.KeyDir = 37;
  s.KeySpace = true;
  s.MoveDir = 3;
  s.Panel.BoxesLeft = 4;
  s.Panel.TimeShown = 4;
  s.Panel.KapsaWidth = 75;
  s.TickEnabled = false;
  Screen other;
  other.Open(text);
  const std::string fresh = Snapshot(other.game.State);
  Open(text);
  EXPECT_EQ(Snapshot(s), fresh);
}

TEST_F(OtevritTest, ReloadKeepsStepMemoryAndAnimations) {
  // Five enemies, so the parked count of the enemy switch is one this zone can have.
  Open(ZoneText(8, 1, {"SRE+++++"}));
  s.Moving = FlagTrue;
  s.MoveMemory = {4, 17};
  s.DeathPhase = 3.4f;
  s.RadioX = 2;
  s.RadioY = 7;
  s.RadioCounter = 120;
  s.SavedEnemyCount = 5;
  Open(ZoneText(8, 1, {"SRE+++++"}));
  EXPECT_EQ(s.Moving, FlagTrue);
  EXPECT_EQ(s.MoveMemory, (std::array<uint8_t, 2>{4, 17}));
  EXPECT_EQ(s.DeathPhase, 3.4f);
  EXPECT_EQ(s.RadioX, 2);
  EXPECT_EQ(s.RadioCounter, 120);
  EXPECT_EQ(s.SavedEnemyCount, 5);
  EXPECT_EQ(s.MoveDir, 0);
}

TEST_F(OtevritTest, ZoneWithoutStartKeepsPlayerAndWithoutExitKeepsExitSite) {
  // On a new screen both are at the top-left corner.
  Open(ZoneText(4, 2, {"....", ".R.."}));
  EXPECT_EQ(s.PlayerX, 0);
  EXPECT_EQ(s.PlayerY, 0);
  EXPECT_EQ(s.ExitX, 0);
  EXPECT_EQ(s.ExitY, 0);
  Open(ZoneText(4, 2, {"...E", "..S."}));
  EXPECT_EQ(s.PlayerX, 10);
  EXPECT_EQ(s.ExitX, 3);
  s.PlayerX = 7;  // mid-step
  Open(ZoneText(4, 2, {"....", ".R.."}));
  EXPECT_EQ(s.PlayerX, 7);
  EXPECT_EQ(s.PlayerY, 5);
  EXPECT_EQ(s.ExitX, 3);
  EXPECT_EQ(s.ExitY, 0);
}

TEST_F(OtevritTest, SmallerZoneLeavesNothingOfTheLargerOne) {
  Open(ZoneText(6, 3, {"WWWWWW", "WS+.RW", "WWWWWW"}));
  Open(ZoneText(2, 1, {"S."}));
  EXPECT_EQ(s.Board.At(5, 0), tile::Space);
  EXPECT_EQ(s.Board.At(4, 1), tile::Space);
  EXPECT_EQ(s.Board.At(2, 1), tile::Space);
  EXPECT_EQ(s.EnemyCount, 0);
  EXPECT_EQ(s.PotatoesLeft, 0);
  EXPECT_EQ(s.Panel.NeedWidth, 0);
}

TEST_F(OtevritTest, LoadFlushesKeyPressesButNotHoldCounts) {
  Open(ZoneText(2, 1, {"S."}));
  keys.KeyDown(vk::Right);
  for (int i = 0; i < 5; ++i) program.Keys.ChooseArrowKey();
  keys.KeyDown(vk::Space);
  keys.KeyUp(vk::Space);
  keys.KeyDown(vk::Enter);
  keys.KeyUp(vk::Enter);
  Open(ZoneText(2, 1, {"S."}));
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Space), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Enter), 0);
  EXPECT_NE(keys.GetAsyncKeyState(vk::Right), 0) << "a held key is still down";
  EXPECT_EQ(program.Keys.HoldCount(dir::Right), 5);
}

TEST_F(OtevritTest, FailedLoadChangesNothing) {
  Open(ZoneText(5, 3, {"WWWWW", "WSRKW", "WWEWW"}));
  s.PlayerX = 3;
  s.TimeLeft = 12.5;
  s.GameOver = FlagTrue;
  s.Board.Set(2, 1, tile::Space);
  keys.KeyDown(vk::Space);
  keys.KeyUp(vk::Space);
  const std::string before = Snapshot(s);
  const size_t drawn = painter.cells.size();

  const std::vector<std::string> broken = {
      ZoneText(151, 1, {"S"}),                          // too wide
      ZoneText(3, 2, {"S.R"}),                          // a row missing
      ZoneText(2, 1, {"S+"}, "5\n0\n6\n8\n0\n0\n0\n"),  // kind 1 without steps
      std::string(),                                    // empty
  };
  for (const std::string& text : broken) {
    WriteFile(s.FileName, text);
    EXPECT_TRUE(game.Otevrit().has_value());
    EXPECT_EQ(Snapshot(s), before);
  }
  const std::string path = s.FileName;
  s.FileName = TempPath("gone.qrn").string();
  EXPECT_TRUE(game.Otevrit().has_value());
  s.FileName = path;
  EXPECT_EQ(Snapshot(s), before);

  // Pictures that cannot be loaded stop the load as well.
  WriteFile(path, ZoneText(2, 1, {"S."}));
  painter.failGraphics = true;
  const auto error = game.Otevrit();
  ASSERT_TRUE(error);
  EXPECT_NE(error->Message.find("Graphics/1.bmp"), std::string::npos);
  EXPECT_EQ(Snapshot(s), before);

  EXPECT_EQ(painter.cells.size(), drawn);
  EXPECT_EQ(painter.sizes.size(), 1u);
  EXPECT_NE(keys.GetAsyncKeyState(vk::Space), 0) << "a failed load does not flush the keys";
}

TEST_F(OtevritTest, FailedRestartStopsTheTickAndIsRemembered) {
  Open(ZoneText(2, 1, {"S."}));
  WriteFile(s.FileName, "\"Hra\"\n0\n");
  game.Restart();
  ASSERT_TRUE(game.LoadFailure());
  EXPECT_EQ(game.LoadFailure()->Line, 2);
  EXPECT_FALSE(s.TickEnabled);
  WriteFile(s.FileName, ZoneText(2, 1, {"S."}));
  game.Restart();
  EXPECT_FALSE(game.LoadFailure());
  EXPECT_TRUE(s.TickEnabled);
}

}  // namespace
}  // namespace quarn::test
