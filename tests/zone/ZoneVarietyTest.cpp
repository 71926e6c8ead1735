// ZoneVarietyTest.cpp — the variety measure on zones built to break it or keep it, quarn-zone
// variety, and every zone of every set within the limits.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ZoneSets.h"
#include "ZoneTestSupport.h"
#include "zone/ZoneVariety.h"

namespace quarn::test {
namespace {

using Block = std::vector<std::string>;  // 8 rows of 8 tile characters

const Block Room = {"WWWWWWWW",
                    "W......W",
                    "W.R..C.W",
                    "W......W",
                    "W..WW..W",
                    "W......W",
                    "W...K..W",
                    "WWWW.WWW"};

Block Mirrored(Block block) {
  for (std::string& row : block) std::reverse(row.begin(), row.end());
  return block;
}

Block Filled(char c) { return Block(8, std::string(8, c)); }

// A walled cell with one character at its k-th inner cell: a block of its own for each k.
Block Plain(int k, char c = 'T') {
  Block block = Filled('.');
  for (int i = 0; i < 8; ++i) block[0][i] = block[7][i] = block[i][0] = block[i][7] = 'W';
  block[static_cast<size_t>(1 + k / 6)][static_cast<size_t>(1 + k % 6)] = c;
  return block;
}

// Blocks laid out row by row, then `right` more columns and `below` more rows of "WR...".
ParsedZone Zone(const std::vector<std::vector<Block>>& layout, int right = 0, int below = 0,
                const std::string& tail = DefaultTail) {
  std::vector<std::string> rows;
  for (const auto& band : layout) {
    for (size_t y = 0; y < 8; ++y) {
      std::string row;
      for (const Block& block : band) row += block[y];
      for (int x = 0; x < right; ++x) row += x % 2 ? 'R' : 'W';
      rows.push_back(row);
    }
  }
  for (int y = 0; y < below; ++y) rows.emplace_back(rows[0].size(), y % 2 ? 'R' : 'W');
  const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
  return MustParse(ZoneText(width, height, rows, tail));
}

// Blocks that share no 4 × 4 window with Room or Plain.
Block Checker() {
  Block block = Filled('.');
  for (size_t y = 0; y < 8; ++y) {
    for (size_t x = 0; x < 8; ++x) {
      if ((x + y) % 2) block[y][x] = 'W';
    }
  }
  return block;
}
Block Stripes() {
  Block block = Filled('W');
  for (size_t y = 0; y < 8; ++y) {
    for (size_t x = 0; x < 8; ++x) {
      if (x == y || x + 3 == y) block[y][x] = 'T';
    }
  }
  return block;
}

std::string Figures(const Share& share) {
  return std::to_string(share.Part) + " of " + std::to_string(share.Whole);
}

TEST(ZoneVariety, RepeatedBlocksAreExactCopiesOfBlocksOfTwoTilesOrMore) {
  // One block stamped three times among six: half of them repeat, over the limit.
  Share s = RepeatedBlocks(Zone({{Room, Room, Room, Plain(0), Plain(1), Plain(2)}}));
  EXPECT_EQ(Figures(s), "3 of 6");
  EXPECT_TRUE(TooManyRepeatedBlocks(s));
  // Twice among six is a third, which is still allowed.
  s = RepeatedBlocks(Zone({{Room, Room, Plain(0), Plain(1), Plain(2), Plain(3)}}));
  EXPECT_EQ(Figures(s), "2 of 6");
  EXPECT_FALSE(TooManyRepeatedBlocks(s));
  // A mirrored copy is another block.
  EXPECT_EQ(Figures(RepeatedBlocks(Zone({{Room, Mirrored(Room), Plain(0)}}))), "0 of 3");
  // Blocks of one tile are neither counted nor copies: wall, floor, and floor holding only the
  // start and enemies. "O" and "?" are the same air door, so those two blocks are copies.
  Block figures = Filled('.');
  figures[1][1] = 'S';
  figures[3][4] = '+';
  figures[5][2] = '-';
  figures[6][6] = '*';
  s = RepeatedBlocks(Zone({{Filled('W'), Filled('W'), Filled('.'), figures, Plain(3, 'O'),
                            Plain(3, '?'), Plain(4, 'O')}}));
  EXPECT_EQ(Figures(s), "2 of 3");
  EXPECT_TRUE(TooManyRepeatedBlocks(s));
  // Fewer than three counted blocks pass, copies or not.
  s = RepeatedBlocks(Zone({{Room, Room}, {Filled('W'), Filled('W')}}));
  EXPECT_EQ(Figures(s), "2 of 2");
  EXPECT_FALSE(TooManyRepeatedBlocks(s));
  // Blocks cut by the right or bottom edge are left out: 7 more columns and 7 more rows.
  EXPECT_EQ(Figures(RepeatedBlocks(Zone({{Room, Plain(0), Room}}, 7, 7))), "2 of 3");
}

TEST(ZoneVariety, ZonesBuiltOfTheSameRoomsShareMostPatterns) {
  const ParsedZone row = Zone({{Room, Plain(0), Mirrored(Room)}});
  const ParsedZone column = Zone({{Mirrored(Room)}, {Room}, {Plain(0)}});
  const ParsedZone other = Zone({{Checker(), Stripes()}});
  Share s = SharedPatterns(SmallPatternsOf(row), SmallPatternsOf(column));
  EXPECT_TRUE(TooManySharedPatterns(s)) << Figures(s);
  s = SharedPatterns(SmallPatternsOf(row), SmallPatternsOf(other));
  EXPECT_FALSE(TooManySharedPatterns(s)) << Figures(s);

  // Half of the patterns the two have between them is already too many.
  EXPECT_TRUE(TooManySharedPatterns(SharedPatterns({"p", "q", "r"}, {"p", "q", "s"})));
  EXPECT_FALSE(TooManySharedPatterns(SharedPatterns({"p", "q", "r"}, {"p", "q", "s", "t"})));
  // Of both zones' patterns together: a small zone held whole in a larger one is no copy of it.
  const SmallPatterns room = SmallPatternsOf(Zone({{Room}}));
  const SmallPatterns whole = SmallPatternsOf(row);
  s = SharedPatterns(whole, room);
  EXPECT_EQ(s.Part, static_cast<int>(room.size()));
  EXPECT_EQ(s.Whole, static_cast<int>(whole.size()));
  // A window of one tile is no pattern: a zone of walls alone has none, and shares nothing.
  const SmallPatterns walls = SmallPatternsOf(Zone({{Filled('W'), Filled('W')}}));
  EXPECT_TRUE(walls.empty());
  EXPECT_FALSE(TooManySharedPatterns(SharedPatterns(walls, room)));
  // Whether a laser door starts closed is its pattern's, not the layout's.
  const ParsedZone closed = Zone({{Plain(7, 'a')}}, 0, 0, "5\n4\n6\n8\n01\n0\n1\n");
  const ParsedZone open = Zone({{Plain(7, 'a')}}, 0, 0, "5\n4\n6\n8\n10\n0\n1\n");
  ASSERT_NE(closed.Codes, open.Codes);
  s = SharedPatterns(SmallPatternsOf(closed), SmallPatternsOf(open));
  EXPECT_EQ(s.Part, s.Whole);

  // Each zone's worst pair, measured once for both of its zones.
  const std::vector<ZoneVariety> v = MeasureVariety({row, other, column});
  EXPECT_EQ(v[0].Closest, 2);
  EXPECT_EQ(v[2].Closest, 0);
  EXPECT_EQ(Figures(v[0].Shared), Figures(v[2].Shared));
  EXPECT_TRUE(v[0].TooSimilar());
  EXPECT_FALSE(v[1].TooSimilar());
  EXPECT_EQ(VarietyFindings(v[1], "row.qrn"), "");
  EXPECT_NE(VarietyFindings(v[0], "column.qrn").find("společné se zónou column.qrn: "), std::string::npos);
  EXPECT_EQ(MeasureVariety({row})[0].Closest, -1);
}

ToolRun Variety(const std::vector<std::string>& args) {
  const auto out = TempPath("stdout.txt"), err = TempPath("stderr.txt");
  std::string command = std::string("'") + QUARN_ZONE_TOOL + "' variety";
  for (const std::string& a : args) command += " '" + a + "'";
  command += " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
}

TEST(ZoneVariety, ToolPrintsALineAZoneAndSaysWhichLimitItBreaks) {
  auto write = [](const std::string& name, const std::vector<std::vector<Block>>& layout) {
    std::vector<std::string> rows;
    for (const auto& band : layout) {
      for (size_t y = 0; y < 8; ++y) {
        std::string line;
        for (const Block& block : band) line += block[y];
        rows.push_back(line);
      }
    }
    return WriteFile(TempPath(name), ZoneText(static_cast<int>(rows[0].size()),
                                              static_cast<int>(rows.size()), rows));
  };
  const std::string stamped = write("stamped.qrn", {{Room, Room, Room, Plain(0)}});
  const std::string column = write("column.qrn", {{Room}, {Plain(0)}});
  const std::string apart = write("apart.qrn", {{Checker(), Filled('T')}});
  const std::string missing = TempPath("missing.qrn").string();
  ToolRun run = Variety({stamped, column, apart, missing});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, missing + ": soubor zóny nelze otevřít: soubor nebo složka chybí\n");
  std::istringstream lines(run.out);
  std::string line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line, stamped + ": 4 blocks, 75.0 % repeated, most patterns shared with " + column +
                      " (52.9 %); opakované bloky 8 × 8: 3/4 (75,0 %), opakovat se smí nejvýš "
                      "třetina; vzorky 4 × 4 společné se zónou " + column + ": 36/68 (52,9 %), "
                      "společných smí být méně než polovina");
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line.rfind(column + ": 2 blocks, 0.0 % repeated, most patterns shared with " +
                           stamped + " (52.9 %); vzorky 4 × 4 společné se zónou",
                       0),
            0u)
      << line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line.find(';'), std::string::npos) << line;
  EXPECT_FALSE(std::getline(lines, line)) << line;

  run = Variety({apart});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, apart + ": 1 blocks, 0.0 % repeated, no other zone to compare with\n");
  EXPECT_EQ(Variety({"--help"}).status, 0);
  EXPECT_EQ(Variety({}).status, 2);
  EXPECT_EQ(Variety({"--all"}).status, 2);
}

// Every zone of every set: not pasted together within itself, nor from any zone of any set.
class ShippedZoneVariety : public ::testing::TestWithParam<ShippedZone> {};

TEST_P(ShippedZoneVariety, RepeatsNeitherItselfNorAnyZoneOfAnySet) {
  struct Measured {
    std::vector<ShippedZone> zones;  // those that load
    std::vector<ZoneVariety> variety;
  };
  static const Measured all = [] {
    Measured m;
    std::vector<ParsedZone> parsed;
    for (const ShippedZone& zone : EveryShippedZone()) {
      auto loaded = ParseZoneFile(zone.Zone.string());
      if (!loaded.Ok()) continue;
      m.zones.push_back(zone);
      parsed.push_back(std::move(loaded.Value()));
    }
    m.variety = MeasureVariety(parsed);
    return m;
  }();
  const auto at = std::find_if(all.zones.begin(), all.zones.end(), [](const ShippedZone& z) {
    return z.Zone == GetParam().Zone;
  });
  ASSERT_NE(at, all.zones.end()) << ParseZoneFile(GetParam().Zone.string()).Error().Describe();
  const ZoneVariety& v = all.variety[static_cast<size_t>(at - all.zones.begin())];
  const std::string closest =
      v.Closest < 0 ? "" : all.zones[static_cast<size_t>(v.Closest)].Shown();
  const std::string findings = VarietyFindings(v, closest);
  // Základy keeps its zones as they are: a zone's record and runs go by its content.
  if (GetParam().Set != "Základy") {
    EXPECT_FALSE(v.TooRepetitive()) << GetParam().Shown() << ": " << findings;
  }
  EXPECT_FALSE(v.TooSimilar()) << GetParam().Shown() << ": " << findings;
}

INSTANTIATE_TEST_SUITE_P(Zones, ShippedZoneVariety, ::testing::ValuesIn(EveryShippedZone()),
                         [](const ::testing::TestParamInfo<ShippedZone>& zone) {
                           return zone.param.TestName;
                         });

}  // namespace
}  // namespace quarn::test
