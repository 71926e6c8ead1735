// SaveAsTest.cpp — what the editor's file chooser decides (folder listing, names, refused and
// protected folders, no overwrite unasked), saving under another name, putting a zone among the
// player's zones, and the notes after the last row.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "edit/FileChoice.h"
#include "edit/ZoneModel.h"

namespace quarn::edit {
namespace {

namespace fs = std::filesystem;

class SaveAsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root = fs::temp_directory_path() / ("quarn-saveas-" + std::string(info->name()));
    fs::remove_all(root);
    fs::create_directories(root / "mine");
    fs::permissions(root, fs::perms::owner_all);
    fs::permissions(root / "mine", fs::perms::owner_all);
  }
  void TearDown() override {
    std::error_code ec;
    for (const char* f : {"shared", "locked"}) fs::permissions(root / f, fs::perms::owner_all, ec);
    fs::remove_all(root, ec);
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
  static std::vector<std::string> Names(const FolderListing& l) {
    std::vector<std::string> names;
    for (const ChooserEntry& e : l.Entries) names.push_back(e.Folder ? e.Name + "/" : e.Name);
    return names;
  }
  fs::path root;
};

TEST_F(SaveAsTest, TheListShowsFoldersThenZonesAndNothingOfARefusedFolder) {
  const fs::path d = root / "mine";
  Put(d / "b.qrn", "x");
  Put(d / "A.QRN", "x");
  Put(d / "notes.txt", "x");
  Put(d / ".hidden.qrn", "x");
  Put(d / ".quarn-XXXX", "x");
  fs::create_directories(d / "sub");
  fs::create_directories(d / ".git");
  fs::create_directories(d / "dir.qrn");  // a folder, whatever its name
  fs::create_symlink(d / "b.qrn", d / "link.qrn");
  const FolderListing l = ListFolder(d, {});
  EXPECT_EQ(l.Problem, "");
  EXPECT_EQ(Names(l),
            (std::vector<std::string>{"../", "dir.qrn/", "sub/", "A.QRN", "b.qrn", "link.qrn"}));
  EXPECT_TRUE(l.Entries.front().Parent);
  EXPECT_TRUE(ListFolder("/", {}).Entries.empty() || !ListFolder("/", {}).Entries[0].Parent)
      << "the root has no folder above";

  // A folder refused by the game, or one others may write into, is not read: only the way up.
  for (const ChooserLimits& limits : {ChooserLimits{{d}, {}}, ChooserLimits{}}) {
    if (limits.Refused.empty()) {
      fs::create_directories(root / "shared");
      Put(root / "shared" / "z.qrn", "x");
      fs::permissions(root / "shared", fs::perms::all);  // 0777, no sticky bit
    }
    const fs::path folder = limits.Refused.empty() ? root / "shared" : d;
    const FolderListing refused = ListFolder(folder, limits);
    EXPECT_NE(refused.Problem, "") << folder;
    EXPECT_EQ(Names(refused), std::vector<std::string>{"../"}) << folder;
    // Nor is anything written there, whatever the name.
    const ChooserDecision save = Decide(folder, "nova", limits);
    EXPECT_EQ(save.What, ChooserDecision::Kind::Refuse);
    EXPECT_EQ(save.Message, refused.Problem);
  }
}

// A folder of the player's that the player may not read is not shown as empty: it says why. (As
// root every folder can be read, so the listing is taken by a child that is another user.)
TEST_F(SaveAsTest, AnUnreadableFolderSaysSoAndIsNotShownEmpty) {
  const fs::path d = root / "locked";
  fs::create_directories(d);
  Put(d / "z.qrn", "x");
  const uid_t player = ::geteuid() == 0 ? 65534 : ::geteuid();
  ASSERT_EQ(::chown(root.c_str(), player, static_cast<gid_t>(-1)), 0);
  ASSERT_EQ(::chown(d.c_str(), player, static_cast<gid_t>(-1)), 0);
  fs::permissions(d, fs::perms::owner_write | fs::perms::owner_exec);  // 0300: no reading
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::close(out[0]);
    if (::geteuid() == 0 && ::setuid(player) != 0) ::_exit(2);
    const FolderListing l = ListFolder(d, {});
    const std::string said = l.Problem + "\n" + std::to_string(l.Entries.size());
    if (::write(out[1], said.data(), said.size()) < 0) ::_exit(3);
    ::_exit(0);
  }
  ::close(out[1]);
  std::string said;
  char buffer[512];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(said.find("nelze přečíst: nemáš právo číst její obsah."), std::string::npos) << said;
  EXPECT_EQ(said.substr(said.rfind('\n') + 1), "1") << "only the way up is listed";
  ASSERT_EQ(::chown(root.c_str(), ::geteuid(), static_cast<gid_t>(-1)), 0);
}

TEST_F(SaveAsTest, TypedNamesBecomeZoneFileNamesOrSayWhyNot) {
  std::string why;
  EXPECT_EQ(ZoneFileName("  Město  ", why), "Město.qrn");
  EXPECT_EQ(why, "");
  EXPECT_EQ(ZoneFileName("a.QRN", why), "a.QRN");
  EXPECT_EQ(ZoneFileName("verze 2.1", why), "verze 2.1.qrn");
  for (const std::string& bad : std::vector<std::string>{"", "   ", "a/b", "../x", ".skryta", ".", "..", "tab\tx\x01",
                                std::string(252, 'x')}) {
    EXPECT_EQ(ZoneFileName(bad, why), "") << bad;
    EXPECT_NE(why, "") << bad;
  }
  EXPECT_EQ(ZoneFileName(std::string(251, 'x'), why).size(), 255u) << "255 bytes fit";
}

TEST_F(SaveAsTest, EnterOpensFoldersWritesNewFilesAndAsksBeforeReplacingOne) {
  const fs::path d = root / "mine";
  fs::create_directories(d / "sub");
  Put(d / "stara.qrn", "old");
  const ChooserLimits none;
  ChooserDecision x = Decide(d, "sub", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::OpenFolder);
  EXPECT_EQ(x.Path, d / "sub");
  x = Decide(d / "sub", " .. ", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::OpenFolder);
  EXPECT_EQ(x.Path, d);
  x = Decide(d, "nova", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::Write);
  EXPECT_EQ(x.Path, d / "nova.qrn");
  x = Decide(d, "stara", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::AskOverwrite) << "never replaced unasked";
  EXPECT_EQ(x.Path, d / "stara.qrn");
  fs::create_directories(d / "slozka.qrn");
  fs::create_symlink("/dev/null", d / "zarizeni.qrn");
  // "slozka.qrn" itself opens the folder; "slozka" would be a file of that name.
  EXPECT_EQ(Decide(d, "slozka.qrn", none).What, ChooserDecision::Kind::OpenFolder);
  for (const char* name : {"slozka", "zarizeni", "a/b", ""}) {
    x = Decide(d, name, none);
    EXPECT_EQ(x.What, ChooserDecision::Kind::Refuse) << name;
    EXPECT_NE(x.Message, "") << name;
  }
  // The shipped zones are never written, nor a folder the player cannot write into.
  x = Decide(d, "nova", ChooserLimits{{}, {d}});
  EXPECT_EQ(x.What, ChooserDecision::Kind::Refuse);
  fs::create_directories(root / "locked");
  fs::permissions(root / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  if (access((root / "locked").c_str(), W_OK) != 0) {
    EXPECT_EQ(Decide(root / "locked", "nova", none).What, ChooserDecision::Kind::Refuse);
  }
  EXPECT_EQ(Slurp(d / "stara.qrn"), "old");

  // The chooser opens in the first candidate that is the player's own folder.
  fs::create_directories(root / "shared");
  fs::permissions(root / "shared", fs::perms::all);
  EXPECT_EQ(StartFolder({"", root / "missing", root / "shared", d}, none), d);
  EXPECT_EQ(StartFolder({d / "sub/"}, ChooserLimits{{d / "sub"}, {}}), "/");
}

// A typed path goes where it says from the shown folder (or from home with "~/"): to a folder,
// or to a file in a folder that is there; a new folder is made only under a name it may have.
TEST_F(SaveAsTest, TypedPathsGoThereAndNewFoldersTakeOnlyGoodNames) {
  const fs::path d = root / "mine";
  fs::create_directories(d / "sub" / "hluboko");
  Put(d / "sub" / "stara.qrn", "old");
  const ChooserLimits none;
  ChooserDecision x = Decide(d, "sub/hluboko", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::OpenFolder);
  EXPECT_EQ(x.Path, d / "sub" / "hluboko");
  x = Decide(d / "sub", (d / "sub" / "hluboko" / "..").string() + "/", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::OpenFolder);
  EXPECT_EQ(x.Path, d / "sub");
  x = Decide(d, "sub/nova", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::Write);
  EXPECT_EQ(x.Path, d / "sub" / "nova.qrn");
  x = Decide(root, (d / "sub" / "stara.qrn").string(), none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::AskOverwrite);
  EXPECT_EQ(x.Path, d / "sub" / "stara.qrn");
  x = Decide(d, "chybi/nova", none);
  EXPECT_EQ(x.What, ChooserDecision::Kind::Refuse);
  EXPECT_NE(x.Message.find("Složka " + (d / "chybi").string() + " neexistuje"), std::string::npos)
      << x.Message;
  EXPECT_EQ(Decide(d, "sub/nova", ChooserLimits{{}, {d / "sub"}}).What,
            ChooserDecision::Kind::Refuse)
      << "a path into the shipped zones writes nothing";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", d.c_str(), 1);
  x = Decide(root, "~/sub/z", none);
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(x.What, ChooserDecision::Kind::Write);
  EXPECT_EQ(x.Path, d / "sub" / "z.qrn");

  const MadeFolder made = MakeFolder(d, "  Nové zóny ", none);
  EXPECT_EQ(made.Problem, "");
  EXPECT_EQ(made.Path, d / "Nové zóny");
  EXPECT_TRUE(fs::is_directory(d / "Nové zóny"));
  for (const std::string& bad : std::vector<std::string>{
           "", "  ", "a/b", ".skryta", "..", "tab\tx", std::string(256, 'x'), "Nové zóny", "sub"}) {
    const MadeFolder refused = MakeFolder(d, bad, none);
    EXPECT_TRUE(refused.Path.empty()) << bad;
    EXPECT_NE(refused.Problem, "") << bad;
  }
  EXPECT_NE(MakeFolder(d, "sub", none).Problem.find("už ve složce je"), std::string::npos);
  EXPECT_NE(MakeFolder(d, "", none).Problem, MakeFolder(d, "a/b", none).Problem)
      << "each refusal says its own reason";
  EXPECT_TRUE(MakeFolder(d, "x", ChooserLimits{{}, {d}}).Path.empty()) << "not among the shipped";
  EXPECT_FALSE(fs::exists(d / "x"));
}

TEST_F(SaveAsTest, SaveAsWritesTheNewFileWhichIsThenEditedAndReplacesOnlyWhenAsked) {
  const fs::path d = root / "mine";
  ZoneModel m(ZoneFolders{d, {}, {}});
  m.Paint(3, 3, 'R');
  SaveResult r = m.SaveAs(root / "jinde.qrn", false);
  ASSERT_TRUE(r.SavedTo) << r.Error;
  EXPECT_EQ(*r.SavedTo, root / "jinde.qrn");
  EXPECT_EQ(m.Path(), root / "jinde.qrn");
  EXPECT_FALSE(m.Dirty());
  EXPECT_EQ(Slurp(root / "jinde.qrn"), m.Text());
  EXPECT_EQ(fs::status(root / "jinde.qrn").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  // A file that appeared since the chooser looked is not replaced without the question.
  Put(d / "vzata.qrn", "someone else's");
  m.Paint(4, 4, 'R');
  r = m.SaveAs(d / "vzata.qrn", false);
  EXPECT_FALSE(r.SavedTo);
  EXPECT_EQ(Slurp(d / "vzata.qrn"), "someone else's");
  EXPECT_EQ(m.Path(), root / "jinde.qrn");
  EXPECT_TRUE(m.Dirty());
  r = m.SaveAs(d / "vzata.qrn", true);
  ASSERT_TRUE(r.SavedTo) << r.Error;
  EXPECT_EQ(Slurp(d / "vzata.qrn"), m.Text());
  // Ctrl+S now writes the new file.
  m.Paint(5, 5, 'R');
  ASSERT_TRUE(m.Save().SavedTo);
  EXPECT_EQ(Slurp(d / "vzata.qrn"), m.Text());
  EXPECT_NE(Slurp(root / "jinde.qrn"), m.Text()) << "the first file stays as it was saved";

  // Refused and protected folders are never written, even when asked to replace.
  ZoneModel refused(ZoneFolders{d, {root / "shipped"}, {root / "bad"}});
  fs::create_directories(root / "shipped");
  fs::create_directories(root / "bad");
  EXPECT_FALSE(refused.SaveAs(root / "shipped" / "x.qrn", true).SavedTo);
  EXPECT_FALSE(refused.SaveAs(root / "bad" / "x.qrn", true).SavedTo);
  EXPECT_FALSE(fs::exists(root / "shipped" / "x.qrn"));
  EXPECT_FALSE(fs::exists(root / "bad" / "x.qrn"));
}

TEST_F(SaveAsTest, PutIntoOwnZonesCopiesUnderAFreeNameAndEditsTheCopy) {
  const fs::path d = root / "mine";
  Put(root / "elsewhere" / "mesto.qrn", "");
  ZoneModel m(ZoneFolders{d, {}, {}});
  m.Paint(2, 2, 'R');
  ASSERT_TRUE(m.SaveAs(root / "elsewhere" / "mesto.qrn", true).SavedTo);
  EXPECT_FALSE(m.AmongOwnZones());
  Put(d / "mesto.qrn", "another zone of the same name");
  m.Paint(3, 2, 'R');  // unsaved: the copy holds the zone as it is in the editor
  SaveResult r = m.PutIntoOwnZones();
  ASSERT_TRUE(r.SavedTo) << r.Error;
  EXPECT_EQ(*r.SavedTo, d / "mesto (2).qrn");
  EXPECT_EQ(Slurp(d / "mesto.qrn"), "another zone of the same name");
  EXPECT_EQ(Slurp(d / "mesto (2).qrn"), m.Text());
  EXPECT_EQ(m.Path(), d / "mesto (2).qrn");
  EXPECT_FALSE(m.Dirty());
  EXPECT_TRUE(m.AmongOwnZones());
  // Asked again, nothing more is written.
  r = m.PutIntoOwnZones();
  EXPECT_FALSE(r.Written);
  EXPECT_FALSE(fs::exists(d / "mesto (3).qrn"));
  // Without a zone folder of the player's there is nowhere to put it.
  ZoneModel homeless(ZoneFolders{});
  EXPECT_FALSE(homeless.PutIntoOwnZones().SavedTo);
  EXPECT_FALSE(homeless.HasPlace());
  EXPECT_TRUE(m.HasPlace());
}

TEST_F(SaveAsTest, NotesAreKeptByteForByteAndAnEditIsOneUndoStep) {
  const std::string head = "N\n3\n1\n4\n8\n8\n8\n01\n01\n01\nSRE\n";
  const std::string notes = "\r\nautor: já, \"verze\" 2\n\x80\xFE bez konce";
  Put(root / "mine" / "n.qrn", head + notes);
  ZoneModel m(ZoneFolders{root / "mine", {}, {}});
  ASSERT_FALSE(m.Load(root / "mine" / "n.qrn"));
  EXPECT_EQ(m.Notes(), notes);
  EXPECT_FALSE(m.SetNotes(notes)) << "the same notes are no change";
  EXPECT_FALSE(m.Dirty());
  m.Paint(1, 0, '.');
  ASSERT_TRUE(m.Save().SavedTo);
  EXPECT_EQ(Slurp(root / "mine" / "n.qrn"), "N\n3\n1\n4\n8\n8\n8\n01\n01\n01\nS.E\n" + notes);

  EXPECT_TRUE(m.SetNotes("Řešení: vlevo.\n"));
  EXPECT_TRUE(m.Dirty());
  EXPECT_TRUE(m.Text().ends_with("S.E\nŘešení: vlevo.\n")) << m.Text();
  ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.Notes(), notes);
  EXPECT_EQ(m.Source().Rows[0], "S.E") << "one step: the cells stay";
  EXPECT_FALSE(m.Dirty());
  ASSERT_TRUE(m.Redo());
  EXPECT_EQ(m.Notes(), "Řešení: vlevo.\n");
  ASSERT_TRUE(m.Save().SavedTo);
  ZoneModel again(ZoneFolders{root / "mine", {}, {}});
  ASSERT_FALSE(again.Load(root / "mine" / "n.qrn"));
  EXPECT_EQ(again.Notes(), "Řešení: vlevo.\n");
  EXPECT_EQ(again.Source().Rows[0], "S.E");
}

}  // namespace
}  // namespace quarn::edit
