// CheckToolTest.cpp — the built quarn-zone check on our own zones and on broken ones.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ZoneSets.h"
#include "ZoneTestSupport.h"
#include "zone/TitleWidth.h"
#include "zone/ZoneCheck.h"

namespace quarn::test {
namespace {

ToolRun Check(const std::vector<std::string>& files, bool strict = false) {
  const auto out = TempPath("stdout.txt");
  const auto err = TempPath("stderr.txt");
  std::string command = std::string("'") + QUARN_ZONE_TOOL + "' check" + (strict ? " --strict" : "");
  for (const std::string& f : files) command += " '" + f + "'";
  command += " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = Slurp(out);
  run.err = Slurp(err);
  return run;
}

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Every zone of every set; the tool names each file it reports, with the set's folder.
TEST(ZoneCheck, OurZonesPassEvenStrictly) {
  std::vector<std::string> zones;
  for (const ShippedZone& zone : EveryShippedZone()) zones.push_back(zone.Zone.string());
  ASSERT_GE(zones.size(), 20u);
  const ToolRun run = Check(zones, true);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Lines(run.out), static_cast<int>(zones.size())) << run.out;
}

TEST(ZoneCheck, SummaryNamesWhatTheZoneHolds) {
  const std::string good =
      WriteFile(TempPath("good.qrn"),
                ZoneText(6, 3, {"WWWWWW", "WSR+RW", "Wc-C*W"}, DefaultTail, "\"Dva, tři\""));
  const ToolRun run = Check({good});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, good +
                         ": \"Dva, tři\" 6x3, hot potatoes 2, targets 1, enemies +1 -1 *1, "
                         "laser groups c, S yes, E no\n");
}

TEST(ZoneCheck, BrokenZoneGivesFileAndLineAndStatusOne) {
  const std::string good = WriteFile(TempPath("good.qrn"), ZoneText(2, 1, {"SE"}));
  const std::string broken = WriteFile(TempPath("broken.qrn"), ZoneText(2, 3, {"SE", "WW"}));
  const std::string missing = TempPath("missing.qrn").string();
  const ToolRun run = Check({broken, good, missing});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.out), 1) << run.out;
  EXPECT_EQ(run.out.rfind(good + ": ", 0), 0u) << run.out;
  EXPECT_EQ(run.err, broken +
                         ":12: soubor končí, ale chybí ještě řádek 3; hlavička slibuje 3 řádky\n" +
                         missing + ": soubor zóny nelze otevřít: soubor nebo složka chybí\n");
}

TEST(ZoneCheck, ControlCharactersInNamesAndTitlesAreShownEscaped) {
  // An escape sequence in a file name or a title would otherwise clear or retitle the terminal.
  const std::string good =
      WriteFile(TempPath("e\x1b[2Jvil\n.qrn"),
                ZoneText(2, 1, {"SE"}, DefaultTail, "\"T\x1b]0;x\x07\xc2\x9b\x7fč\""));
  const std::string missing = TempPath("gone\x1b[31m.qrn").string();
  const std::string folder = TempPath("").string();
  const std::string through = WriteFile(TempPath("plain.qrn"), "x") + "/a.qrn";
  const ToolRun run = Check({good, missing, through});
  EXPECT_EQ(run.status, 1);
  for (const std::string& stream : {run.out, run.err}) {
    for (const char* raw : {"\x1b", "\x07", "\x7f", "\xc2\x9b"}) {
      EXPECT_EQ(stream.find(raw), std::string::npos) << stream;
    }
  }
  EXPECT_EQ(
      run.out.rfind(folder + "e\\x1B[2Jvil\\x0A.qrn: \"T\\x1B]0;x\\x07\\u009B\\x7Fč\" 2x1", 0), 0u)
      << run.out;
  // Why a file cannot be opened is said, as for any other fault.
  EXPECT_NE(run.err.find(folder + "gone\\x1B[31m.qrn: soubor zóny nelze otevřít: soubor nebo "
                                  "složka chybí\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("a.qrn: soubor zóny nelze otevřít: část cesty není složka"),
            std::string::npos)
      << run.err;
}

// The stderr lines of a strict check of one zone with these rows (a tail without lasers).
std::string StrictErrors(const std::string& name, const std::vector<std::string>& rows) {
  const std::string file = WriteFile(
      TempPath(name), ZoneText(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
                               rows, "10\n16\n12\n6\n01\n01\n01\n"));
  const ToolRun run = Check({file}, true);
  EXPECT_EQ(run.status, run.err.empty() ? 0 : 1);
  std::string lines;
  // Keep only "LINE: message", so that expectations need not spell the temporary path.
  std::istringstream in(run.err);
  for (std::string line; std::getline(in, line);) {
    lines += line.substr(line.find(".qrn:") + 5) + "\n";
  }
  return lines;
}

TEST(ZoneCheckStrict, ReportsWhatNoPlayReachesAtItsRowsLine) {
  // Rows start on line 11. The potato sits behind a locked door without a key, the target and
  // the exit site are walled in.
  EXPECT_EQ(StrictErrors("walled.qrn", {"WWWWWWWWW",
                                        "WS..WD.RW",
                                        "WWWWWWWWW",
                                        "W.C.W..RW",
                                        "WWWWWWWWW",
                                        "WWWEWWWWW"}),
            "12: horký brambor ve sloupci 8 je ze startu nedosažitelný\n"
            "14: k cíli ve sloupci 3 se ze startu nelze dostat\n"
            "14: horký brambor ve sloupci 8 je ze startu nedosažitelný\n"
            "16: k místu východu ve sloupci 4 se ze startu nelze dostat\n");
  EXPECT_EQ(StrictErrors("fine.qrn", {"WWWWWWW",
                                      "WS?a+RW",
                                      "WT-.C.W",
                                      "WWWEWWW"}),
            "")
      << "air doors, laser doors, enemies and time bonuses are walked through";
}

// The notes after the last row are never read, however long: a gigabyte of them (a sparse file,
// no disk taken) leaves the strict check as small as the plain one and its findings alike.
TEST(ZoneCheckStrict, NeverReadsTheNotes) {
  const std::string file = WriteFile(
      TempPath("notes.qrn"), ZoneText(5, 3, {"WWWWW", "WSWRW", "WWEWW"}, "10\n16\n12\n6\n01\n01\n01\n"));
  std::filesystem::resize_file(file, std::uintmax_t{1} << 30);
  const ToolRun run = Check({file}, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("notes.qrn:12: "), std::string::npos) << run.err;
  struct rusage used {};
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &used), 0);
  EXPECT_LT(used.ru_maxrss, 400 * 1024) << "kilobytes at the peak of the check";
}

TEST(ZoneCheckStrict, WarnsOfATitleTheListWouldCut) {
  const std::vector<std::string> rows = {"WWWWWW", "WSR.CW", "WWWEWW"};
  const std::string tail = "10\n16\n12\n6\n01\n01\n01\n";
  const std::string fits =
      WriteFile(TempPath("fits.qrn"), ZoneText(6, 3, rows, tail, "\"Sklad, klíč a dveře\""));
  const std::string cut = WriteFile(
      TempPath("cut.qrn"), ZoneText(6, 3, rows, tail, "\"Sklad, klíč a zabouchnuté dveře\""));
  EXPECT_EQ(Check({fits}, true).err, "");
  const ToolRun run = Check({cut}, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cut.qrn:1: název zóny je na seznam zón příliš dlouhý (199 bodů"),
            std::string::npos)
      << run.err;
  // Bytes that are no UTF-8 count as the widest character, never as nothing.
  EXPECT_EQ(ListTitleWidth("\xFF\xFE"), ListTitleWidth("@@"));
}

TEST(ZoneCheckStrict, CountsKeysAndSlamDoorsAsTheRulesDo) {
  // A second key taken while one is held is wasted, so the second door stays shut.
  EXPECT_EQ(StrictErrors("keys.qrn", {"WWWWWWWW", "WSKKDDRW", "WWWWWCEW"}),
            "12: horký brambor ve sloupci 7 je ze startu nedosažitelný\n"
            "13: k cíli ve sloupci 6 se ze startu nelze dostat\n"
            "13: k místu východu ve sloupci 7 se ze startu nelze dostat\n");
  EXPECT_EQ(StrictErrors("keys-in-turn.qrn", {"WWWWWWWW", "WSKDKDRW", "WWWWWCEW"}), "");
  // The key lies behind a slam door, which lets the player through once only.
  EXPECT_EQ(StrictErrors("slam.qrn", {"WWWEWWWW", "WRDSQ.KW", "WWWCWWWW"}),
            "12: horký brambor ve sloupci 2 je ze startu nedosažitelný\n");
  // Through a slam door and on: everything beyond it is reached.
  EXPECT_EQ(StrictErrors("slam-on.qrn", {"WWWWWWW", "WSQ.RCW", "WW.WWWW", "WWEWWWW"}), "");
}

// The editor's overlays show the check's own walk: the cells it reaches, and which doors a key
// opens.
TEST(ZoneCheckStrict, TheWalkShownInTheEditorIsTheChecksOwn) {
  auto cells = [](const ParsedZone& z, const std::vector<bool>& on) {
    std::string out;
    for (int y = 0; y < z.Height; ++y) {
      for (int x = 0; x < z.Width; ++x) out += on[static_cast<size_t>(y * z.Width + x)] ? '#' : '.';
      out += '|';
    }
    return out;
  };
  // Two keys and two doors in turn; a slam door lets through once; a wall is never stood on.
  const ParsedZone z = MustParse(ZoneText(9, 3, {"WWWWWWWWW", "WSKDKDQRW", "WWWWWCEWW"}));
  ZoneReach r = ReachableCells(z);
  EXPECT_EQ(r.Why, "");
  EXPECT_EQ(cells(z, r.Cells), ".........|.#######.|.........|");
  // The first key opens the first door only; the second key the second door.
  r = ReachableCells(z, std::make_pair(2, 1));
  EXPECT_EQ(cells(z, r.OpenedByKey), ".........|...#.....|.........|");
  r = ReachableCells(z, std::make_pair(4, 1));
  EXPECT_EQ(cells(z, r.OpenedByKey), ".........|.....#...|.........|");
  // A key taken while another is held is wasted: it opens nothing, and the door behind stays.
  const ParsedZone wasted = MustParse(ZoneText(8, 3, {"WWWWWWWW", "WSKKDDRW", "WWWWWCEW"}));
  r = ReachableCells(wasted, std::make_pair(3, 1));
  EXPECT_EQ(cells(wasted, r.OpenedByKey), "........|........|........|");
  EXPECT_EQ(cells(wasted, r.Cells), "........|.####...|........|");
  r = ReachableCells(wasted, std::make_pair(2, 1));
  EXPECT_EQ(cells(wasted, r.OpenedByKey), "........|....#...|........|");
  // No start: nothing to walk, and why.
  r = ReachableCells(MustParse(ZoneText(3, 1, {"W.E"})));
  EXPECT_TRUE(r.Cells.empty());
  EXPECT_NE(r.Why, "");
}

TEST(ZoneCheckStrict, ReportsAnEdgeThePlayerOrAnEnemyCanWalkOff) {
  EXPECT_EQ(StrictErrors("open.qrn", {"WWW.WWWWW",
                                      "WSR....CW",
                                      "WWWWWW.WW",
                                      "W.-W...W.",
                                      "W..W.....",
                                      "WWWWWWWEW"}),
            "11: okraj zóny není uzavřen: hráč může ve sloupci 4 odejít ze zóny\n"
            "14: okraj zóny není uzavřen: hráč může ve sloupci 9 odejít ze zóny\n"
            "15: okraj zóny není uzavřen: hráč může ve sloupci 9 odejít ze zóny\n");
  // The enemy's room is sealed from the player but open to the edge.
  EXPECT_EQ(StrictErrors("enemy.qrn", {"WWWWWWWW", "WSRCW..W", "WWEWW.-.", "WWWWWWWW"}),
            "13: okraj zóny není uzavřen: nepřítel může ve sloupci 8 odejít ze zóny\n");
}

TEST(ZoneCheckStrict, ReportsAZoneThatCannotOpenItsExit) {
  EXPECT_EQ(StrictErrors("bare.qrn", {"WWWW", "W..W", "WWWW"}),
            "11: zóna nemá start (S)\n"
            "11: zóna nemá místo východu (E), východ by se otevřel v rohu zóny\n"
            "11: zóna nemá žádný horký brambor (R), takže se východ nikdy neotevře\n");
  EXPECT_EQ(StrictErrors("no-target.qrn", {"WWWW", "WSRW", "WWEW"}),
            "11: zóna nemá žádný cíl (C), brambory nelze doručit\n");
}

TEST(ZoneCheckStrict, NamesTheRowsLineWhenHeaderFieldsShareALine) {
  // The header's numbers share lines, so the rows move up: the last row is on line 8 here.
  const std::string file = WriteFile(TempPath("packed.qrn"),
                                     "\"Zkouška, těsně\"\n4,4\n10,16,12,6\n01,01,01\n"
                                     "WWWW\nWSRW\nWCWW\nWWWE\n");
  const ToolRun run = Check({file}, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, file + ":8: k místu východu ve sloupci 4 se ze startu nelze dostat\n");
}

}  // namespace
}  // namespace quarn::test
