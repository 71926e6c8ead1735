// ZoneModelTest.cpp — the zone editor's model without a window: edits, undo, header, check, save.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "edit/ZoneModel.h"
#include "zone/ZoneCheck.h"

namespace quarn::edit {
namespace {

namespace fs = std::filesystem;

class ZoneModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() / ("quarn-edit-" + std::string(info->name()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(root_ / "shipped", fs::perms::owner_all, ec);
    fs::remove_all(root_, ec);
  }
  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void Put(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Grid(const ZoneModel& m) {
    std::string out;
    for (const std::string& row : m.Source().Rows) out += row + "\n";
    return out;
  }
  static bool Has(const std::vector<Finding>& found, const std::string& part) {
    return std::any_of(found.begin(), found.end(),
                       [&](const Finding& f) { return f.Message.find(part) != std::string::npos; });
  }
  fs::path root_;
};

TEST_F(ZoneModelTest, NewZoneIsWalledWithOneStartAndLoadsAsWritten) {
  ZoneModel m;
  EXPECT_EQ(m.Width(), 20);
  EXPECT_EQ(m.Height(), 12);
  EXPECT_EQ(m.Field(HeaderField::Title), "Nová zóna");
  EXPECT_FALSE(m.Dirty());
  ASSERT_TRUE(m.Start().has_value());
  for (int x = 0; x < 20; ++x) EXPECT_TRUE(m.At(x, 0) == 'W' && m.At(x, 11) == 'W') << x;
  for (int y = 0; y < 12; ++y) EXPECT_TRUE(m.At(0, y) == 'W' && m.At(19, y) == 'W') << y;
  // What is test-played is what the loader reads: the start where the model has it.
  auto parsed = ParseZoneText(m.Text(), "new");
  ASSERT_TRUE(parsed.Ok());
  const auto& zone = parsed.Value();
  EXPECT_EQ(zone.Start, std::make_pair(m.Start()->X, m.Start()->Y));
  EXPECT_EQ(zone.Title, "Nová zóna");
}

TEST_F(ZoneModelTest, PaintingFillingAndPickingChangeOnlyTheirCells) {
  ZoneModel m;
  const std::string before = Grid(m);
  EXPECT_TRUE(m.Paint(3, 4, 'R'));
  EXPECT_EQ(m.At(3, 4), 'R');
  EXPECT_FALSE(m.Paint(3, 4, 'R')) << "the same tile again is no change";
  EXPECT_FALSE(m.Paint(20, 4, 'R')) << "outside the zone";
  EXPECT_FALSE(m.Paint(-1, 0, 'W'));
  EXPECT_FALSE(m.Paint(5, 5, 'x')) << "not a tile character";
  EXPECT_TRUE(m.Dirty());

  // Corners in any order; the rectangle is clipped to the zone.
  EXPECT_TRUE(m.Fill(25, 9, 15, 7, 'B'));
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 15 && y >= 7 && y <= 9;
      const char expected = inside               ? 'B'
                            : (x == 3 && y == 4) ? 'R'
                                                 : before[static_cast<size_t>(y * 21 + x)];
      EXPECT_EQ(m.At(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(m.At(99, 99), '.');
  EXPECT_FALSE(m.Fill(-5, -5, -1, -1, 'W')) << "entirely outside";
}

TEST_F(ZoneModelTest, OneStartOnlyPlacingItMovesItAndUndoBringsItBack) {
  ZoneModel m;
  const Cell first = *m.Start();
  EXPECT_TRUE(m.Paint(10, 6, 'S'));
  EXPECT_EQ(m.Start(), (Cell{10, 6}));
  EXPECT_EQ(m.At(first.X, first.Y), '.');
  // A filled rectangle of starts is one start, at the first corner.
  EXPECT_TRUE(m.Fill(2, 2, 5, 5, 'S'));
  int starts = 0;
  for (const std::string& row : m.Source().Rows)
    starts += static_cast<int>(std::count(row.begin(), row.end(), 'S'));
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(m.Start(), (Cell{2, 2}));
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.Start(), (Cell{10, 6}));
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.Start(), first);
  EXPECT_EQ(m.At(10, 6), '.');

  // A loaded zone with two starts keeps one after a start is placed.
  const fs::path file = root_ / "two.qrn";
  Put(file, "T\n4\n1\n10\n16\n12\n6\n01\n01\n01\nS.S.\n");
  ASSERT_FALSE(m.Load(file).has_value());
  EXPECT_TRUE(m.Paint(3, 0, 'S'));
  EXPECT_EQ(Grid(m), "...S\n");
}

TEST_F(ZoneModelTest, StrokeIsOneUndoStepAndUndoRedoFollowEveryBranch) {
  ZoneModel m;
  const std::string start = Grid(m);
  m.BeginStroke();
  for (int x = 2; x < 10; ++x) m.Paint(x, 3, 'W');
  m.Paint(4, 3, 'W');  // painted twice in one stroke
  m.EndStroke();
  const std::string stroked = Grid(m);
  m.Paint(5, 5, 'K');
  const std::string keyed = Grid(m);

  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(Grid(m), stroked);
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(Grid(m), start) << "the whole stroke goes at once";
  EXPECT_FALSE(m.Undo());
  EXPECT_FALSE(m.Dirty()) << "back where it was created";
  ASSERT_TRUE(m.Redo());
  ASSERT_TRUE(m.Redo());
  EXPECT_EQ(Grid(m), keyed);
  EXPECT_FALSE(m.Redo());

  // A new change after an undo drops what could have been redone.
  m.Undo();
  m.Paint(6, 6, 'D');
  EXPECT_FALSE(m.CanRedo());
  EXPECT_EQ(m.At(5, 5), '.');
  EXPECT_EQ(m.At(6, 6), 'D');

  // An empty stroke leaves no step; undo in the middle of a stroke ends it first.
  const uint64_t revision = m.Revision();
  m.BeginStroke();
  m.EndStroke();
  m.Undo();
  EXPECT_EQ(m.At(6, 6), '.');
  EXPECT_GT(m.Revision(), revision);
  m.BeginStroke();
  m.Paint(1, 1, 'T');
  EXPECT_TRUE(m.CanUndo());
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.At(1, 1), 'S');
  EXPECT_FALSE(m.InStroke());

  // A mirror or a turn in the middle of a stroke (H during a brush drag) ends the stroke first:
  // the stroke and the mirror are two undo steps, each undone whole.
  for (const bool turn : {false, true}) {
    ZoneModel t;
    const std::string before = Grid(t);
    t.BeginStroke();
    for (int x = 2; x < 6; ++x) t.Paint(x, 2, 'W');
    const std::string painted = Grid(t);
    if (turn) {
      EXPECT_FALSE(t.TurnArea(Area{2, 2, 4, 4}));
    } else {
      EXPECT_TRUE(t.MirrorArea(Area{}, Mirror::LeftRight));
    }
    EXPECT_FALSE(t.InStroke());
    ASSERT_TRUE(t.Undo());
    EXPECT_EQ(Grid(t), painted) << (turn ? "turn" : "mirror");
    ASSERT_TRUE(t.Undo());
    EXPECT_EQ(Grid(t), before) << (turn ? "turn" : "mirror");
    EXPECT_FALSE(t.Undo());
  }

  // Long histories: every one of many steps comes back.
  ZoneModel n;
  const std::string fresh = Grid(n);
  for (int i = 0; i < 500; ++i) n.Paint(1 + i % 18, 1 + (i / 18) % 10, "WRKT"[i % 4]);
  while (n.Undo()) {
  }
  EXPECT_EQ(Grid(n), fresh);
}

TEST_F(ZoneModelTest, ResizeKeepsWhatFitsAddsFloorAndIsOneUndoStep) {
  ZoneModel m;
  m.Paint(2, 2, 'R');
  m.Paint(18, 10, 'K');
  ASSERT_FALSE(m.SetField(HeaderField::Width, "10").has_value());
  EXPECT_EQ(m.Width(), 10);
  EXPECT_EQ(m.At(2, 2), 'R');
  ASSERT_FALSE(m.SetField(HeaderField::Height, "15").has_value());
  EXPECT_EQ(m.Height(), 15);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(m.At(x, 14), '.');
  for (const std::string& row : m.Source().Rows) EXPECT_EQ(row.size(), 10u);
  ASSERT_TRUE(m.Undo());
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.Width(), 20);
  EXPECT_EQ(m.At(18, 10), 'K');
  EXPECT_FALSE(m.Resize(150, 130).has_value());
  EXPECT_EQ(m.Source().Rows.size(), 130u);
  EXPECT_TRUE(m.Resize(151, 10).has_value());
}

TEST_F(ZoneModelTest, HeaderFieldsAreCheckedAsTheLoaderChecksThem) {
  ZoneModel m;
  EXPECT_EQ(m.SetField(HeaderField::Width, "151").value_or(""),
            "šířka musí být od 1 do 150, ne 151");
  EXPECT_EQ(m.SetField(HeaderField::Height, "abc").value_or(""),
            "výška musí být celé číslo, ne „abc“");
  EXPECT_EQ(m.SetField(HeaderField::Height, "1,2").value_or(""),
            "výška musí být celé číslo, ne „1,2“");
  EXPECT_EQ(m.SetField(HeaderField::PlayerSteps, "0").value_or(""),
            "kroky hráče musí být od 1 do 10000, ne 0");
  EXPECT_EQ(m.Width(), 20);
  EXPECT_FALSE(m.Dirty()) << "a refused value changes nothing";

  ASSERT_FALSE(m.SetField(HeaderField::PlayerSteps, " +8 ").has_value());
  EXPECT_EQ(m.Field(HeaderField::PlayerSteps), "8");
  // Enemy steps below 1 are fine while the zone has no such enemy, refused once it has.
  ASSERT_FALSE(m.SetField(HeaderField::EnemySteps2, "0").has_value());
  m.SetField(HeaderField::EnemySteps2, "12");
  m.Paint(5, 5, '-');
  const auto refused = m.SetField(HeaderField::EnemySteps2, "0");
  ASSERT_TRUE(refused.has_value());
  EXPECT_NE(refused->find("kroky nepřítele druhu 2 (-) musí být aspoň 1"), std::string::npos)
      << *refused;
  // An enemy far out whose fine position would not fit.
  m.Resize(150, 12);
  m.Paint(140, 5, '-');
  const auto far = m.SetField(HeaderField::EnemySteps2, "300");
  ASSERT_TRUE(far.has_value());
  EXPECT_NE(far->find("32768"), std::string::npos) << *far;

  ASSERT_FALSE(m.SetField(HeaderField::Title, "Sklad, velký").has_value());
  EXPECT_EQ(m.Text().rfind("\"Sklad, velký\"\n", 0), 0u);
  EXPECT_TRUE(m.SetField(HeaderField::Title, "\"A\", B").has_value());
  EXPECT_TRUE(m.SetField(HeaderField::Title, "dva\nřádky").has_value());
  ASSERT_FALSE(m.SetField(HeaderField::LaserB, "0,01").has_value());
  auto parsed = ParseZoneText(m.Text(), "z");
  ASSERT_TRUE(parsed.Ok());
  EXPECT_EQ(parsed.Value().LaserPatterns[1], "0,01");
  EXPECT_EQ(parsed.Value().Title, "Sklad, velký");
}

TEST_F(ZoneModelTest, FindingsFollowEditsAndNameTheirCells) {
  ZoneModel m;
  auto found = m.Findings();
  EXPECT_TRUE(Has(found, "nemá místo východu"));
  EXPECT_TRUE(Has(found, "nemá žádný horký brambor"));

  m.Paint(10, 11, 'E');
  m.Paint(5, 5, 'R');
  m.Paint(8, 8, 'C');
  EXPECT_TRUE(m.Findings().empty()) << m.Findings().front().Message;

  // Wall the potato in: it is found unreachable, at its cell.
  m.BeginStroke();
  for (auto [x, y] : {std::pair{4, 5}, {6, 5}, {5, 4}, {5, 6}}) m.Paint(x, y, 'W');
  m.EndStroke();
  found = m.Findings();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_FALSE(found[0].Refused);
  EXPECT_EQ(found[0].Where, (Cell{5, 5}));

  // An opening in the edge: found at the edge cell.
  m.Undo();
  m.Paint(0, 7, '.');
  found = m.Findings();
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0].Where, (Cell{0, 7}));

  // A zone the loader refuses: the 102nd enemy, at its cell.
  m.Undo();
  m.Resize(150, 12);
  m.BeginStroke();
  for (int i = 0; i < 102; ++i) m.Paint(1 + i % 140, 2 + i / 140, '+');
  m.EndStroke();
  found = m.Findings();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].Refused);
  EXPECT_EQ(found[0].Where, (Cell{101 % 140 + 1, 2}));
}

TEST_F(ZoneModelTest, SaveWritesTheCanonicalFormAndLoadReadsItBack) {
  const fs::path file = root_ / "mine.qrn";
  Put(file,
      "\"Moje\"\r\n3\r\n2\r\n10\r\n16\r\n12\r\n6\r\n01\r\n01\r\n01\r\nS?\r\nERC\r\n-- poznámky "
      "--\r\n");
  ZoneModel m;
  ASSERT_FALSE(m.Load(file).has_value());
  EXPECT_EQ(m.At(1, 0), '?');
  EXPECT_EQ(m.At(2, 0), '.');
  m.Paint(2, 0, 'K');
  EXPECT_TRUE(m.Dirty());
  const SaveResult saved = m.Save();
  ASSERT_TRUE(saved.SavedTo.has_value()) << saved.Error;
  EXPECT_EQ(*saved.SavedTo, file);
  EXPECT_FALSE(saved.Copy);
  EXPECT_FALSE(m.Dirty());
  EXPECT_EQ(Slurp(file), "Moje\n3\n2\n10\n16\n12\n6\n01\n01\n01\nS?K\nERC\n-- poznámky --\r\n");
  m.Undo();
  EXPECT_TRUE(m.Dirty()) << "undone past the save";
  m.Redo();
  EXPECT_FALSE(m.Dirty());

  ZoneModel again;
  ASSERT_FALSE(again.Load(file).has_value());
  EXPECT_EQ(again.Source(), m.Source());
  EXPECT_EQ(again.Text(), Slurp(file));

  // A broken file leaves the model as it was; a new zone has nowhere to go yet.
  Put(root_ / "bad.qrn", "Zlá\n0\n");
  const auto error = again.Load(root_ / "bad.qrn");
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->Message.find("šířka"), std::string::npos);
  EXPECT_EQ(again.Path(), file);
  ZoneModel fresh;
  EXPECT_FALSE(fresh.Save().SavedTo.has_value());
  fresh.New(root_ / "new.qrn");
  ASSERT_TRUE(fresh.Save().SavedTo.has_value());
  EXPECT_TRUE(fs::exists(root_ / "new.qrn"));
}

TEST_F(ZoneModelTest, ShippedZoneIsSavedAsACopyNeverOverTheOriginal) {
  const fs::path shipped = root_ / "shipped", copies = root_ / "player";
  const fs::path zone = shipped / "05-zona.qrn";
  const std::string original = "Z\n2\n1\n10\n16\n12\n6\n01\n01\n01\nSR\n";
  Put(zone, original);
  Put(copies / "05-zona.qrn", "the player's own zone of that name");

  // A protected folder is never written, even when the file system would allow it.
  ZoneModel m(ZoneFolders{copies, {shipped}, {}});
  ASSERT_FALSE(m.Load(zone).has_value());
  m.Paint(1, 0, 'C');
  SaveResult saved = m.Save();
  ASSERT_TRUE(saved.SavedTo.has_value()) << saved.Error;
  EXPECT_TRUE(saved.Copy);
  EXPECT_EQ(*saved.SavedTo, copies / "05-zona (2).qrn");
  EXPECT_EQ(Slurp(zone), original);
  EXPECT_EQ(Slurp(copies / "05-zona.qrn"), "the player's own zone of that name");
  EXPECT_EQ(m.Path(), copies / "05-zona (2).qrn");
  // Saving again writes the copy, not another one.
  m.Paint(0, 0, '.');
  saved = m.Save();
  EXPECT_EQ(saved.SavedTo, copies / "05-zona (2).qrn");
  EXPECT_FALSE(saved.Copy);

  // A file the player may not write (here: a folder without write permission) goes the same way.
  ZoneModel n(ZoneFolders{copies, {}, {}});
  ASSERT_FALSE(n.Load(zone).has_value());
  fs::permissions(shipped, fs::perms::owner_read | fs::perms::owner_exec);
  if (access(shipped.c_str(), W_OK) == 0) return;  // a user who may write anywhere (root)
  n.Paint(1, 0, 'K');
  saved = n.Save();
  ASSERT_TRUE(saved.SavedTo.has_value()) << saved.Error;
  EXPECT_TRUE(saved.Copy);
  EXPECT_EQ(*saved.SavedTo, copies / "05-zona (3).qrn");
  EXPECT_EQ(Slurp(zone), original);
}

TEST_F(ZoneModelTest, SaveWritesOnlyChangesAndTellsAChangeMadeByAnotherProgram) {
  const fs::path file = root_ / "mine" / "z.qrn";
  const std::string text = "Z\n3\n1\n10\n16\n12\n6\n01\n01\n01\nS.E\n";
  Put(file, text);
  ZoneModel m(ZoneFolders{root_ / "mine", {}, {}});
  ASSERT_FALSE(m.Load(file).has_value());
  EXPECT_FALSE(m.ChangedOnDisk());
  // Nothing changed: nothing is written, not even over what another program put there.
  Put(file, text + "a note of another program\n");
  SaveResult saved = m.Save();
  EXPECT_EQ(saved.SavedTo, file);
  EXPECT_FALSE(saved.Written);
  EXPECT_EQ(Slurp(file), text + "a note of another program\n");
  // A change here and one there: the model tells, the screen asks; Save itself writes.
  EXPECT_TRUE(m.ChangedOnDisk());
  ASSERT_FALSE(m.Load(file).has_value());
  m.Paint(1, 0, 'K');
  EXPECT_FALSE(m.ChangedOnDisk());
  fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(5));
  EXPECT_FALSE(m.ChangedOnDisk()) << "only touched";
  Put(file, "Z\n3\n1\n10\n16\n12\n6\n01\n01\n01\nSRE\n");
  EXPECT_TRUE(m.ChangedOnDisk());
  saved = m.Save();
  ASSERT_TRUE(saved.Written) << saved.Error;
  EXPECT_FALSE(m.ChangedOnDisk()) << "what was written is the file's new identity";
  EXPECT_NE(Slurp(file).find("SKE"), std::string::npos);
  // A new zone's file that another program made meanwhile is a change too.
  const fs::path fresh = root_ / "mine" / "nova.qrn";
  ZoneModel n(ZoneFolders{root_ / "mine", {}, {}});
  n.New(fresh);
  n.Paint(1, 1, 'K');
  EXPECT_FALSE(n.ChangedOnDisk());
  Put(fresh, text);
  EXPECT_TRUE(n.ChangedOnDisk()) << "a file that appeared since the editor looked";
  ASSERT_TRUE(n.Save().Written);
  EXPECT_FALSE(n.ChangedOnDisk());
  // Gone: a save writes it again, without a question.
  fs::remove(file);
  EXPECT_FALSE(m.ChangedOnDisk());
  m.Paint(1, 0, 'C');
  EXPECT_TRUE(m.Save().Written);
  EXPECT_TRUE(fs::exists(file));
}

TEST_F(ZoneModelTest, AZoneTheGameRefusesIsSavedAndOpensAgainWithTheFinding) {
  // 102 enemies: more than the game takes, but the editor painted them and saved them.
  const fs::path file = root_ / "mine" / "many.qrn";
  fs::create_directories(file.parent_path());
  ZoneModel m;
  m.New(file);
  ASSERT_TRUE(m.SetField(HeaderField::Width, "20") == std::nullopt);
  m.Fill(1, 2, 17, 7, '+');  // 17 x 6 = 102
  ASSERT_TRUE(m.Findings().front().Refused);
  ASSERT_TRUE(m.Save().SavedTo.has_value());
  ZoneModel again;
  ASSERT_FALSE(again.Load(file).has_value()) << "the author can open it to mend it";
  EXPECT_EQ(again.Source(), m.Source());
  ASSERT_FALSE(again.Findings().empty());
  EXPECT_TRUE(again.Findings().front().Refused);
  EXPECT_NE(again.Findings().front().Message.find("102"), std::string::npos)
      << again.Findings().front().Message;
  // Steps of 0 for a kind the zone has, and a zone file that is no zone at all.
  Put(file, "Z\n3\n1\n10\n0\n12\n6\n01\n01\n01\nS+E\n");
  ASSERT_FALSE(again.Load(file).has_value());
  EXPECT_TRUE(again.Findings().front().Refused);
  Put(file, "Z\n3\n");
  EXPECT_TRUE(again.Load(file).has_value());
}

// A finding's line names its place once, first; the loader's and the check's messages that
// name the cell again lose that part, and a longer number is never mistaken for it.
TEST_F(ZoneModelTest, AFindingsLineNamesItsPlaceOnce) {
  ZoneModel m;
  ASSERT_TRUE(m.SetField(HeaderField::Width, "20") == std::nullopt);
  m.Fill(1, 2, 17, 7, '+');  // the 102nd enemy: column 18, row 8
  ASSERT_TRUE(m.Findings().front().Refused);
  EXPECT_EQ(FindingLine(m.Findings().front()),
            "sloupec 18, řádek 8: má 102. nepřítele; zóna smí mít nejvýš 101 nepřátel");
  const Finding far{"nepřítel ve sloupci 5 (řádek 3) je příliš daleko", Cell{4, 2}, true};
  EXPECT_EQ(FindingLine(far), "sloupec 5, řádek 3: nepřítel je příliš daleko");
  const Finding steps{
      "kroky nepřátel 1 musí být aspoň 1, protože zóna takové nepřátele má (řádek 2)", Cell{1, 1},
      true};
  EXPECT_EQ(FindingLine(steps),
            "sloupec 2, řádek 2: kroky nepřátel 1 musí být aspoň 1, protože zóna takové nepřátele "
            "má");
  const Finding other{"klíč ve sloupci 18 otevře dveře ve sloupci 1", Cell{0, 0}, false};
  EXPECT_EQ(FindingLine(other), "sloupec 1, řádek 1: klíč ve sloupci 18 otevře dveře");
  EXPECT_EQ(FindingLine(Finding{"soubor je prázdný", std::nullopt, true}), "soubor je prázdný");
}

// Undo puts back the selection as it was when the change was made, redo the one set after it.
TEST_F(ZoneModelTest, UndoAndRedoPutTheSelectionBackWithTheCells) {
  ZoneModel m;
  m.Fill(3, 3, 4, 4, 'B');
  const Area picked{3, 3, 2, 2}, moved{6, 4, 2, 2};
  m.SetSelection(picked);
  ASSERT_TRUE(m.Move(picked, 3, 1));
  m.SetSelection(moved);
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.At(3, 3), 'B');
  EXPECT_EQ(m.Selection(), picked);
  ASSERT_TRUE(m.Redo());
  EXPECT_EQ(m.Selection(), moved);
  // A selection made after the undo changes nothing undone; the first change had none.
  ASSERT_TRUE(m.Undo());
  m.SetSelection(Area{0, 0, 1, 1});
  ASSERT_TRUE(m.Redo());
  EXPECT_EQ(m.Selection(), moved);
  ASSERT_TRUE(m.Undo());
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.Selection(), std::nullopt);
}

TEST_F(ZoneModelTest, NewZonesGoOnlyToThePlayersFolderAndARefusedFolderIsNeverTouched) {
  const fs::path mine = root_ / "data" / "quarn" / "zones";  // not there yet
  const fs::path was = fs::current_path();
  fs::create_directories(root_ / "cwd");
  fs::current_path(root_ / "cwd");
  ZoneModel none;  // no folder of the player's: a new zone has nowhere to go
  const SaveResult nowhere = none.Save();
  fs::current_path(was);
  EXPECT_FALSE(nowhere.SavedTo.has_value());
  EXPECT_NE(nowhere.Error.find("quarn --edit"), std::string::npos) << nowhere.Error;
  EXPECT_TRUE(fs::is_empty(root_ / "cwd")) << "never into the current folder";

  ZoneModel m(ZoneFolders{mine, {}, {}});
  EXPECT_EQ(m.Save().SavedTo, mine / "nova-zona.qrn");
  EXPECT_EQ((fs::status(mine).permissions() & fs::perms::all), fs::perms::owner_all)
      << "made as a private folder";
  m.New();
  m.Paint(2, 2, 'K');
  EXPECT_EQ(m.Save().SavedTo, mine / "nova-zona (2).qrn");
  ZoneModel same(ZoneFolders{mine, {}, {}});
  EXPECT_EQ(same.Save().SavedTo, mine / "nova-zona (3).qrn") << "a new zone is never an old one";

  // A refused folder: its zones are not read, and nothing is written there.
  const fs::path refused = root_ / "refused";
  Put(refused / "a.qrn", "Z\n3\n1\n10\n16\n12\n6\n01\n01\n01\nS.E\n");
  ZoneModel r(ZoneFolders{{}, {}, {refused}});
  EXPECT_TRUE(r.Load(refused / "a.qrn").has_value());
  EXPECT_FALSE(r.Save(refused / "b.qrn").SavedTo.has_value());
  EXPECT_FALSE(fs::exists(refused / "b.qrn"));
}

TEST_F(ZoneModelTest, ALinkedZoneIsSavedIntoItsFileAndLongNamesSave) {
  const fs::path real = root_ / "elsewhere" / "real.qrn", link = root_ / "mine" / "link.qrn";
  Put(real, "Z\n3\n1\n10\n16\n12\n6\n01\n01\n01\nS.E\n");
  fs::create_directories(link.parent_path());
  fs::create_symlink(real, link);
  ZoneModel m(ZoneFolders{root_ / "mine", {}, {}});
  ASSERT_FALSE(m.Load(link).has_value());
  m.Paint(1, 0, 'K');
  const SaveResult saved = m.Save();
  EXPECT_EQ(saved.SavedTo, link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_NE(Slurp(real).find("SKE"), std::string::npos);

  // A link among the player's zones that leads to a shipped zone does not open a way to write it.
  const fs::path shipped = root_ / "shipped" / "01.qrn", toShipped = root_ / "mine" / "01.qrn";
  Put(shipped, "Z\n3\n1\n10\n16\n12\n6\n01\n01\n01\nS.E\n");
  fs::create_symlink(shipped, toShipped);
  ZoneModel s(ZoneFolders{root_ / "mine", {root_ / "shipped"}, {}});
  ASSERT_FALSE(s.Load(toShipped).has_value());
  s.Paint(1, 0, 'C');
  EXPECT_TRUE(s.Save().Copy);
  EXPECT_EQ(Slurp(shipped).find("SCE"), std::string::npos);

  const fs::path longest = root_ / "mine" / (std::string(251, 'z') + ".qrn");
  m.New(longest);
  const SaveResult longSave = m.Save();
  EXPECT_EQ(longSave.SavedTo, longest) << longSave.Error;
  EXPECT_FALSE(m.Load(longest).has_value());
}

TEST_F(ZoneModelTest, ShippedZonesLoadAndWriteBackAsTheLoaderReadsThem) {
  for (const auto& entry : fs::directory_iterator(QUARN_ZONES_DIR)) {
    if (entry.path().extension() != ".qrn") continue;
    ZoneModel m;
    ASSERT_FALSE(m.Load(entry.path()).has_value()) << entry.path();
    auto a = ParseZoneFile(entry.path().string());
    auto b = ParseZoneText(m.Text(), "copy");
    ASSERT_TRUE(b.Ok()) << entry.path();
    EXPECT_EQ(a.Value().Codes, b.Value().Codes) << entry.path();
    EXPECT_TRUE(m.Findings().empty()) << entry.path() << ": " << m.Findings().front().Message;
  }
}

TEST(Palette, EveryTileOnceWithAPictureThatShowsIt) {
  std::string seen;
  for (const PaletteEntry& e : Palette()) {
    EXPECT_TRUE(IsTileCharacter(e.Character)) << e.Character;
    EXPECT_EQ(seen.find(e.Character), std::string::npos) << e.Character;
    seen += e.Character;
    EXPECT_GE(e.Picture, 0);
    EXPECT_LT(e.Picture, tile::Count);
    EXPECT_STRNE(e.Name, "");
  }
  EXPECT_EQ(seen.size(), 19u);
  EXPECT_EQ(PaletteEntryOf('E').Picture, tile::Exit);
  EXPECT_EQ(PaletteEntryOf('b').Picture, tile::LaserB);
  EXPECT_EQ(PaletteEntryOf('Z').Character, '.');
}

}  // namespace
}  // namespace quarn::edit
