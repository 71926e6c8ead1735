// ZoneToolsTest.cpp — the author's tools on the editor's model: each one's effect, its single undo
// step, the one start, and the counts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "base/Plural.h"
#include "edit/ZoneModel.h"
#include "zone/ZoneWriter.h"

namespace quarn::edit {
namespace {

namespace fs = std::filesystem;

// A model holding exactly these rows, with a clean history (loaded from a file).
ZoneModel Make(const std::vector<std::string>& rows) {
  ZoneSource zone;
  zone.Title = "Zkouška";
  zone.Width = static_cast<int>(rows.front().size());
  zone.Height = static_cast<int>(rows.size());
  zone.EnemySteps = {16, 12, 6};
  zone.LaserPatterns = {"01", "0011", "0001"};
  zone.Rows = rows;
  const fs::path file =
      fs::temp_directory_path() / ("quarn-tools-" + std::to_string(getpid()) + ".qrn");
  std::ofstream(file, std::ios::binary) << WriteZoneText(zone);
  ZoneModel m;
  EXPECT_FALSE(m.Load(file).has_value());
  fs::remove(file);
  return m;
}

std::vector<std::string> Rows(const ZoneModel& m) { return m.Source().Rows; }

int Starts(const ZoneModel& m) {
  int n = 0;
  for (const std::string& row : m.Source().Rows)
    n += static_cast<int>(std::count(row.begin(), row.end(), 'S'));
  return n;
}

const std::vector<std::string> Room = {
    "WWWWWWWW",  //
    "WS.K..RW",  //
    "W.WW.D.W",  //
    "W..C...W",  //
    "WWWWWWWW",  //
};

TEST(ZoneToolsTest, CopyAndPasteMoveTheStartButNeverDoubleIt) {
  ZoneModel m = Make(Room);
  const Piece withStart = m.Copy(Area{1, 1, 3, 2});  // "S.K" / ".WW"
  EXPECT_EQ(withStart.Rows, (std::vector<std::string>{"S.K", ".WW"}));
  ASSERT_TRUE(m.Paste(withStart, 4, 2));
  EXPECT_EQ(Starts(m), 1);
  EXPECT_EQ(m.Start(), (Cell{4, 2}));
  EXPECT_EQ(m.At(1, 1), '.');  // the old start became floor
  EXPECT_EQ(m.At(6, 2), 'K');
  EXPECT_EQ(m.At(5, 3), 'W');

  // Without a start the piece leaves the start where it is.
  ZoneModel n = Make(Room);
  ASSERT_TRUE(n.Paste(n.Copy(Area{3, 1, 2, 1}), 4, 3));  // "K."
  EXPECT_EQ(n.Start(), (Cell{1, 1}));
  EXPECT_EQ(n.At(4, 3), 'K');

  // A piece whose start falls outside the zone is clipped, and the start stays.
  ZoneModel o = Make(Room);
  ASSERT_TRUE(o.Paste(withStart, -1, 3));
  EXPECT_EQ(o.Start(), (Cell{1, 1}));
  EXPECT_EQ(o.At(0, 3), '.');
  EXPECT_EQ(o.At(1, 3), 'K');
  EXPECT_EQ(o.At(0, 4), 'W');

  // A clipboard lasts beyond the zone it came from: a second zone takes it.
  ZoneModel other;
  ASSERT_TRUE(other.Paste(withStart, 10, 5));
  EXPECT_EQ(other.Start(), (Cell{10, 5}));
  EXPECT_EQ(Starts(other), 1);
}

TEST(ZoneToolsTest, CutClearAndMoveLeaveFloorBehind) {
  ZoneModel m = Make(Room);
  const Piece cut = m.Cut(Area{2, 2, 4, 1});
  EXPECT_EQ(cut.Rows, (std::vector<std::string>{"WW.D"}));
  EXPECT_EQ(m.Source().Rows[2], "W......W");
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(Rows(m), Room);

  // A move of the area with the start takes the start along; cells left become floor.
  ASSERT_TRUE(m.Move(Area{1, 1, 3, 1}, 3, 2));  // "S.K" to (4, 3)
  EXPECT_EQ(m.Source().Rows[1], "W.....RW");
  EXPECT_EQ(m.Source().Rows[3], "W..CS.KW");
  EXPECT_EQ(Starts(m), 1);
  // An overlapping move is read before it is written.
  ZoneModel n = Make(Room);
  ASSERT_TRUE(n.Move(Area{3, 1, 4, 1}, 1, 0));  // "K..R" one right
  EXPECT_EQ(n.Source().Rows[1], "WS..K..R");
  EXPECT_FALSE(n.Move(Area{3, 1, 4, 1}, 0, 0));

  ASSERT_TRUE(n.Clear(Area{0, 0, 3, 3}));
  EXPECT_EQ(n.Source().Rows[0], "...WWWWW");
  EXPECT_FALSE(n.Start().has_value());
  EXPECT_FALSE(n.Clear(Area{0, 0, 3, 3}));  // nothing left to clear
}

TEST(ZoneToolsTest, MirrorAndTurnOfAnAreaAndOfTheWholeZone) {
  ZoneModel m = Make(Room);
  ASSERT_TRUE(m.MirrorArea(Area{1, 1, 6, 1}, Mirror::LeftRight));
  EXPECT_EQ(m.Source().Rows[1], "WR..K.SW");
  EXPECT_EQ(m.Start(), (Cell{6, 1}));
  ASSERT_TRUE(m.MirrorArea(Area{}, Mirror::UpDown));
  EXPECT_EQ(m.Source().Rows[3], "WR..K.SW");
  EXPECT_EQ(m.Source().Rows[1], "W..C...W");

  // A quarter turn of a 3 x 2 area stands 2 x 3 at its top-left; the rest of it becomes floor.
  ZoneModel t = Make({"aK.....",  //
                      "cBW....",  //
                      "TRS....",  //
                      "......."});
  ASSERT_FALSE(t.TurnArea(Area{0, 0, 3, 2}).has_value());
  EXPECT_EQ(Rows(t), (std::vector<std::string>{"ca.....",  //
                                               "BK.....",  //
                                               "W.S....",  //
                                               "......."}));
  // Four quarter turns of a square area give it back.
  ZoneModel sq = Make(Room);
  for (int i = 0; i < 4; ++i) ASSERT_FALSE(sq.TurnArea(Area{1, 1, 3, 3}).has_value());
  EXPECT_EQ(Rows(sq), Room);

  // The whole zone: width and height swap, and the start goes with its cell.
  ZoneModel w = Make(Room);
  ASSERT_FALSE(w.TurnArea(Area{}).has_value());
  EXPECT_EQ(w.Width(), 5);
  EXPECT_EQ(w.Height(), 8);
  EXPECT_EQ(w.Start(), (Cell{3, 1}));
  EXPECT_EQ(w.At(1, 3), 'C');
  ASSERT_TRUE(w.Undo());
  EXPECT_EQ(Rows(w), Room);
  // A zone wider than the game's highest cannot be turned.
  ZoneModel wide = Make({std::string(131, 'W'), std::string(131, '.')});
  const auto refused = wide.TurnArea(Area{});
  ASSERT_TRUE(refused.has_value());
  EXPECT_NE(refused->find("130"), std::string::npos) << *refused;
  EXPECT_EQ(wide.Width(), 131);
  EXPECT_FALSE(wide.CanUndo());
}

TEST(ZoneToolsTest, HollowRectangleAndFloodFill) {
  ZoneModel m = Make({"........",  //
                      "..K.....",  //
                      "........",  //
                      "........"});
  ASSERT_TRUE(m.Hollow(6, 3, 1, 0, 'W'));
  EXPECT_EQ(Rows(m), (std::vector<std::string>{".WWWWWW.",  //
                                               ".WK...W.",  //
                                               ".W....W.",  //
                                               ".WWWWWW."}));
  // Cut off by the zone's edge, the frame keeps the rectangle's own sides.
  ZoneModel c = Make({"....", "....", "...."});
  ASSERT_TRUE(c.Hollow(1, 1, 9, 9, 'W'));
  EXPECT_EQ(Rows(c), (std::vector<std::string>{"....", ".WWW", ".W.."}));

  // Flood fill reaches through sides only: the corner-touching floor outside stays.
  ZoneModel f = Make({"..W..",  //
                      ".W...",  //
                      "WW.W.",  //
                      "..W.."});
  ASSERT_TRUE(f.FloodFill(3, 0, 'T'));
  EXPECT_EQ(Rows(f), (std::vector<std::string>{"..WTT",  //
                                               ".WTTT",  //
                                               "WWTWT",  //
                                               "..WTT"}));
  EXPECT_FALSE(f.FloodFill(3, 0, 'T'));  // same tile: nothing changes
  ASSERT_TRUE(f.Undo());
  EXPECT_EQ(f.At(3, 0), '.');
  EXPECT_EQ(f.At(4, 3), '.');
  // A start is one cell, moved there.
  ZoneModel s = Make({"S...", "...."});
  ASSERT_TRUE(s.FloodFill(2, 1, 'S'));
  EXPECT_EQ(Rows(s), (std::vector<std::string>{"....", "..S."}));
}

TEST(ZoneToolsTest, ResizeAtEachEdgeAndShiftKeepTheContentInPlace) {
  const std::vector<std::string> small = {"S.", "WK"};
  ZoneModel m = Make(small);
  ASSERT_FALSE(m.ResizeEdges(2, 0, 0, 0).has_value());
  EXPECT_EQ(Rows(m), (std::vector<std::string>{"..S.", "..WK"}));
  ASSERT_FALSE(m.ResizeEdges(0, 1, 0, 0).has_value());
  EXPECT_EQ(Rows(m), (std::vector<std::string>{"....", "..S.", "..WK"}));
  ASSERT_FALSE(m.ResizeEdges(0, 0, 1, 1).has_value());
  EXPECT_EQ(Rows(m), (std::vector<std::string>{".....", "..S..", "..WK.", "....."}));
  // Cutting at the left and top.
  ASSERT_FALSE(m.ResizeEdges(-3, -2, 0, 0).has_value());
  EXPECT_EQ(Rows(m), (std::vector<std::string>{"K.", ".."}));
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(m.Undo());
  EXPECT_EQ(Rows(m), small);
  EXPECT_TRUE(m.ResizeEdges(-2, 0, 0, 0).has_value());   // no column left
  EXPECT_TRUE(m.ResizeEdges(0, 0, 149, 0).has_value());  // 151 wide
  EXPECT_FALSE(m.ResizeEdges(0, 0, 148, 128).has_value());
  EXPECT_EQ(m.Width(), 150);
  EXPECT_EQ(m.Height(), 130);

  ZoneModel s = Make({"S..", "W..", "..K"});
  ASSERT_TRUE(s.Shift(1, -1));
  EXPECT_EQ(Rows(s), (std::vector<std::string>{".W.", "...", "..."}));
  EXPECT_FALSE(s.Shift(0, 0));
}

TEST(ZoneToolsTest, CountsAndTheLimitsTheyBreak) {
  ZoneModel m = Make(Room);
  ZoneCounts c = m.Counts();
  EXPECT_EQ(c.Starts, 1);
  EXPECT_EQ(c.Potatoes, 1);
  EXPECT_EQ(c.Targets, 1);
  EXPECT_EQ(c.Keys, 1);
  EXPECT_EQ(c.LockedDoors, 1);
  auto broken = [](const ZoneCounts& counts) {
    std::string which;
    for (const CountLine& line : DescribeCounts(counts)) {
      if (line.Broken) which += line.Text.substr(0, line.Text.find(':')) + ";";
    }
    return which;
  };
  EXPECT_EQ(broken(c), "");
  // Counts follow every change: a cut of the target leaves potatoes without one.
  m.Cut(Area{3, 3, 1, 1});
  EXPECT_EQ(m.Counts().Targets, 0);
  EXPECT_EQ(broken(m.Counts()), "Brambory;");
  m.Undo();
  EXPECT_EQ(m.Counts().Targets, 1);

  // 101 enemies is the most a zone may have; 102 is shown broken before it is saved.
  ZoneModel e = Make({std::string(101, '+') + "S", std::string(102, '.')});
  EXPECT_EQ(e.Counts().Enemies, 101);
  EXPECT_EQ(broken(e.Counts()), "Brambory;");
  ASSERT_TRUE(e.Paste(e.Copy(Area{0, 0, 1, 1}), 0, 1));
  EXPECT_EQ(e.Counts().Enemies, 102);
  EXPECT_EQ(broken(e.Counts()), "Brambory;Nepřátelé;");
  ZoneCounts many;
  many.Starts = many.Potatoes = many.Targets = 1;
  many.SlamDoors = 65;
  many.Keys = 64;
  EXPECT_EQ(broken(many), "Zabouchávací dveře;");
  many.Starts = 0;
  many.Keys = 65;
  EXPECT_EQ(broken(many), "Start;Klíče;Zabouchávací dveře;");
}

TEST(ZoneToolsTest, TestPlayTextStartsAtTheChosenFloorCell) {
  ZoneModel m = Make(Room);
  const auto text = m.TextStartingAt(4, 3);
  ASSERT_TRUE(text.has_value());
  auto read = ReadZoneSourceText(*text, "");
  ASSERT_TRUE(read.Ok());
  const ZoneSource& played = read.Value();
  EXPECT_EQ(played.Rows[3], "W..CS..W");
  EXPECT_EQ(played.Rows[1], "W..K..RW");
  EXPECT_EQ(Rows(m), Room);  // the zone itself keeps its start
  EXPECT_FALSE(m.Dirty());
  EXPECT_TRUE(m.TextStartingAt(1, 1).has_value());
  EXPECT_FALSE(m.TextStartingAt(0, 0).has_value());  // a wall
  EXPECT_FALSE(m.TextStartingAt(3, 1).has_value());  // the key would be lost
}

// Every tool on random zones: one start at most, each change exactly one undo step that gives
// back the zone before it, a redo that gives the zone after it, and a new change drops the redo.
TEST(ZoneToolsTest, EveryToolIsOneUndoStepAndKeepsOneStart) {
  std::mt19937 random(27);
  const std::string tiles = "..........WWWWSRCKDQB+-*abcTEO?";
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  Piece clipboard = Make({"S.W", "K.+"}).Copy(Area{0, 0, 3, 2});
  for (int round = 0; round < 200; ++round) {
    const int w = 2 + pick(9), h = 2 + pick(7);
    std::vector<std::string> rows(static_cast<size_t>(h), std::string(static_cast<size_t>(w), '.'));
    for (auto& row : rows) {
      for (char& c : row) c = tiles[static_cast<size_t>(pick(static_cast<int>(tiles.size())))];
      std::replace(row.begin(), row.end(), 'S', '.');
    }
    rows[static_cast<size_t>(pick(h))][static_cast<size_t>(pick(w))] = 'S';
    ZoneModel m = Make(rows);
    for (int op = 0; op < 6; ++op) {
      const ZoneSource before = m.Source();
      const Area a{pick(w + 2) - 1, pick(h + 2) - 1, pick(w + 1), pick(h + 1)};
      const char c = tiles[static_cast<size_t>(pick(static_cast<int>(tiles.size())))];
      bool changed = false;
      switch (pick(10)) {
        case 0:
          changed = m.Paste(clipboard, a.X, a.Y);
          break;
        case 1:
          clipboard = m.Cut(a);
          changed = m.Source() != before;
          break;
        case 2:
          changed = m.Move(a, pick(5) - 2, pick(5) - 2);
          break;
        case 3:
          changed = m.MirrorArea(a, pick(2) ? Mirror::LeftRight : Mirror::UpDown);
          break;
        case 4:
          m.TurnArea(pick(3) ? a : Area{});
          changed = m.Source() != before;
          break;
        case 5:
          changed = m.Hollow(a.X, a.Y, a.X + a.W, a.Y + a.H, c);
          break;
        case 6:
          changed = m.FloodFill(a.X, a.Y, c);
          break;
        case 7:
          m.ResizeEdges(pick(3) - 1, pick(3) - 1, pick(3) - 1, pick(3) - 1);
          changed = m.Source() != before;
          break;
        case 8:
          changed = m.Shift(pick(3) - 1, pick(3) - 1);
          break;
        default:
          changed = m.Clear(a);
          break;
      }
      ASSERT_EQ(changed, m.Source() != before) << "round " << round << " op " << op;
      ASSERT_LE(Starts(m), 1) << "round " << round;
      for (const std::string& row : m.Source().Rows)
        ASSERT_EQ(static_cast<int>(row.size()), m.Width());
      ASSERT_EQ(static_cast<int>(m.Source().Rows.size()), m.Height());
      if (!changed) continue;
      const ZoneSource after = m.Source();
      ASSERT_TRUE(m.Undo());
      ASSERT_EQ(m.Source(), before) << "round " << round << " op " << op;
      ASSERT_TRUE(m.Redo());
      ASSERT_EQ(m.Source(), after);
      ASSERT_TRUE(m.Undo());
      // A new change after an undo drops what could have been redone.
      m.Paint(0, 0, m.At(0, 0) == 'W' ? '.' : 'W');
      ASSERT_FALSE(m.CanRedo());
      ASSERT_TRUE(m.Undo());
      ASSERT_EQ(m.Source(), before);
    }
  }
}

// One helper for the editor's counted words: 1 řádek, 2 to 4 řádky, 0 and 5 up řádků; a cut
// (a negative count) takes its size's form.
TEST(CzechCount, TheNounTakesTheFormItsCountAsks) {
  const std::vector<std::pair<long, std::string>> rows{
      {1, "1 řádek"},   {2, "2 řádky"},   {3, "3 řádky"},    {4, "4 řádky"},
      {5, "5 řádků"},   {0, "0 řádků"},   {11, "11 řádků"},  {-1, "-1 řádek"},
      {-3, "-3 řádky"}, {-7, "-7 řádků"}, {100, "100 řádků"}};
  for (const auto& [n, text] : rows) EXPECT_EQ(CzechCount(n, "řádek", "řádky", "řádků"), text) << n;
  EXPECT_EQ(CzechCount(2, "sloupec", "sloupce", "sloupců"), "2 sloupce");
  EXPECT_EQ(CzechPlural(12, "sloupec", "sloupce", "sloupců"), "sloupců");
}

}  // namespace
}  // namespace quarn::edit
