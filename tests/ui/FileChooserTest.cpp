// FileChooserTest.cpp — the editor's "save as" window on SDL's dummy display: going through
// folders, choosing a zone in the list, asking before writing over it; Ctrl+Shift+S, a new zone
// without the player's zone folder, and "Do mých zón" in the editor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/App.h"
#include "ui/Dialog.h"
#include "ui/EditorScreen.h"
#include "ui/FileChooser.h"
#include "ui/KeyFeed.h"

namespace quarn::ui {
namespace {

namespace fs = std::filesystem;

class StillClock : public platform::MonotonicClock {
 public:
  int64_t NowNs() override { return 1'000'000'000; }
};

constexpr int Enter = 13, Escape = 27, Up = 38, Down = 40, Backspace = 8;
constexpr platform::Modifiers CtrlShift{true, true, false};
constexpr platform::Modifiers Ctrl{true, false, false};

class FileChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root = fs::temp_directory_path() / ("quarn-chooser-" + std::string(info->name()));
    fs::remove_all(root);
    fs::create_directories(root / "mine" / "sub");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<platform::App>(keyFeed, clock);
    app->AnswerInstead = [this](const std::string&, const std::string& text,
                                const std::vector<std::string>& buttons) {
      asked.push_back(text);
      for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == answer) return static_cast<int>(i);
      }
      return static_cast<int>(buttons.size()) - 1;
    };
    dialog = std::make_unique<Dialog>(*app, QUARN_BIN_DIR);
  }
  void TearDown() override {
    editor.reset();
    dialog.reset();
    app.reset();
    fs::remove_all(root);
  }
  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  EditorScreen& Editor(edit::ZoneFolders folders) {
    editor = std::make_unique<EditorScreen>(*app, *dialog, QUARN_BIN_DIR, std::move(folders));
    EXPECT_TRUE(editor->Open({}));
    return *editor;
  }

  fs::path root;
  KeyState keys;
  KeyFeed keyFeed{keys};
  StillClock clock;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<Dialog> dialog;
  std::unique_ptr<EditorScreen> editor;
  std::vector<std::string> asked;
  std::string answer = "Ne";
};

TEST_F(FileChooserTest, FoldersAreEnteredZonesChosenAndAZoneThereReplacedOnlyAfterAsking) {
  const fs::path mine = root / "mine";
  Put(mine / "a.qrn", "A");
  Put(mine / "sub" / "b.qrn", "B");
  FileChooser c(*app, *dialog);
  c.Open(ChooserRequest{"Uložit zónu jako", "", mine, "nova-zona.qrn", {}});
  EXPECT_EQ(c.List().Items(),
            (std::vector<std::string>{".. (o složku výš)", "sub/", "a.qrn"}));
  EXPECT_EQ(c.List().ListIndex(), -1);
  EXPECT_TRUE(c.NameField().Focused()) << "the name field has the text cursor";
  // Down twice selects sub/, Enter goes into it and the typed name stays.
  c.KeyDown(Down);
  c.KeyDown(Down);
  c.KeyDown(Enter);
  EXPECT_EQ(c.Folder(), mine / "sub");
  EXPECT_EQ(c.List().Items(), (std::vector<std::string>{".. (o složku výš)", "b.qrn"}));
  EXPECT_EQ(c.NameField().Text, "nova-zona.qrn");
  EXPECT_FALSE(c.Done());
  // A zone chosen in the list is the name; Enter asks before writing over it.
  c.KeyDown(Down);
  c.KeyDown(Down);
  EXPECT_EQ(c.NameField().Text, "b.qrn");
  c.KeyDown(Enter);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], OverwriteQuestion(mine / "sub" / "b.qrn"));
  EXPECT_FALSE(c.Done()) << "Ne: the chooser stays";
  EXPECT_NE(c.Message(), "");
  answer = "Ano";
  c.KeyDown(Enter);
  ASSERT_TRUE(c.Done());
  ASSERT_TRUE(c.Result());
  EXPECT_EQ(c.Result()->Path, mine / "sub" / "b.qrn");
  EXPECT_TRUE(c.Result()->Overwrite);
  EXPECT_EQ(Slurp(mine / "sub" / "b.qrn"), "B") << "the chooser itself writes nothing";

  // Typing: ".." goes up, a path into a folder that is not there is refused in the window, a
  // new name is written unasked.
  asked.clear();
  c.Open(ChooserRequest{"Uložit zónu jako", "", mine / "sub", "", {}});
  c.Type("..");
  c.KeyDown(Enter);
  EXPECT_EQ(c.Folder(), mine);
  c.Type("a/b");
  c.KeyDown(Enter);
  EXPECT_FALSE(c.Done());
  EXPECT_NE(c.Message().find("Složka " + (mine / "a").string() + " neexistuje"), std::string::npos)
      << c.Message();
  for (int i = 0; i < 3; ++i) c.KeyDown(Backspace);
  c.Type("Město");
  c.KeyDown(Enter);
  ASSERT_TRUE(c.Done() && c.Result());
  EXPECT_EQ(c.Result()->Path, mine / "Město.qrn");
  EXPECT_FALSE(c.Result()->Overwrite);
  EXPECT_TRUE(asked.empty());
  // Esc gives the choice up.
  c.Open(ChooserRequest{"Uložit zónu jako", "", mine, "x", {}});
  c.KeyDown(Escape);
  EXPECT_TRUE(c.Done());
  EXPECT_FALSE(c.Result());
  // A refused folder lists nothing and takes nothing.
  c.Open(ChooserRequest{"Uložit zónu jako", "", mine, "x", {{mine}, {}}});
  EXPECT_EQ(c.List().Items(), std::vector<std::string>{".. (o složku výš)"});
  EXPECT_NE(c.Message(), "");
  c.KeyDown(Enter);
  EXPECT_FALSE(c.Done());
  EXPECT_FALSE(fs::exists(mine / "x.qrn"));
}

// "Nová složka" asks the name in the name field, refuses a bad one with its reason and goes
// into the new folder; the name field has a cursor; a typed path goes to its folder or file.
TEST_F(FileChooserTest, ANewFolderByItsNameAndATypedPathGoThere) {
  const fs::path mine = root / "mine";
  FileChooser c(*app, *dialog);
  c.Open(ChooserRequest{"Uložit zónu jako", "", mine, "nova-zona.qrn", {}});
  c.NewFolder();
  ASSERT_TRUE(c.NamingFolder());
  EXPECT_EQ(c.NameField().Text, "");
  c.Type(".skryta");
  c.KeyDown(Enter);
  EXPECT_NE(c.Message().find("nesmí začínat tečkou"), std::string::npos) << c.Message();
  EXPECT_FALSE(fs::exists(mine / ".skryta"));
  c.KeyDown('A', Ctrl);
  c.Type("sub");
  c.KeyDown(Enter);
  EXPECT_NE(c.Message().find("už ve složce je"), std::string::npos) << c.Message();
  c.KeyDown('A', Ctrl);
  c.Type("Sklepy");
  c.KeyDown(Enter);
  EXPECT_TRUE(fs::is_directory(mine / "Sklepy"));
  EXPECT_EQ(c.Folder(), mine / "Sklepy");
  EXPECT_FALSE(c.NamingFolder());
  EXPECT_EQ(c.NameField().Text, "nova-zona.qrn") << "the file's name is back";
  EXPECT_FALSE(c.Done());
  // Esc while naming goes back to the file's name; the chooser stays.
  c.NewFolder();
  c.Type("x");
  c.KeyDown(Escape);
  EXPECT_FALSE(c.Done());
  EXPECT_FALSE(c.NamingFolder());
  EXPECT_FALSE(fs::exists(mine / "Sklepy" / "x"));
  // Typing goes where the cursor is.
  c.KeyDown(36);  // Home
  c.Type("moje-");
  EXPECT_EQ(c.NameField().Text, "moje-nova-zona.qrn");
  // A folder's path goes there; a file's path is where the zone goes.
  c.KeyDown('A', Ctrl);
  c.Type((mine / "sub").string());
  c.KeyDown(Enter);
  EXPECT_EQ(c.Folder(), mine / "sub");
  EXPECT_FALSE(c.Done());
  c.KeyDown('A', Ctrl);
  c.Type("../Sklepy/dole");
  c.KeyDown(Enter);
  ASSERT_TRUE(c.Done() && c.Result());
  EXPECT_EQ(c.Result()->Path, mine / "Sklepy" / "dole.qrn");
}

TEST_F(FileChooserTest, SaveAsNewZonesWithoutAFolderAndIntoMyZonesInTheEditor) {
  const fs::path mine = root / "mine";
  EditorScreen& e = Editor(edit::ZoneFolders{mine, {}, {}});
  std::vector<ChooserRequest> requests;
  std::optional<ChosenFile> choice = ChosenFile{root / "jinde.qrn", false};
  e.ChooseFile = [&](const ChooserRequest& r) {
    requests.push_back(r);
    return choice;
  };
  e.Model().Paint(2, 2, 'R');
  e.KeyDown('S', CtrlShift);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Folder, mine) << "the chooser opens in the player's zone folder";
  EXPECT_EQ(requests[0].Name, "nova-zona.qrn");
  EXPECT_EQ(e.Model().Path(), root / "jinde.qrn");
  EXPECT_EQ(Slurp(root / "jinde.qrn"), e.Model().Text());
  EXPECT_FALSE(e.Model().Dirty());
  EXPECT_NE(e.Status().find("Do mých zón"), std::string::npos) << e.Status();
  // Ctrl+S then writes the new file; the next Ctrl+Shift+S opens beside it (its folder is not
  // the player's zone folder, which comes first) and a cancelled choice writes nothing.
  e.Model().Paint(3, 2, 'R');
  e.KeyDown('S', Ctrl);
  EXPECT_EQ(Slurp(root / "jinde.qrn"), e.Model().Text());
  choice.reset();
  e.Model().Paint(4, 2, 'R');
  e.KeyDown('S', CtrlShift);
  EXPECT_EQ(requests.back().Name, "jinde.qrn");
  EXPECT_TRUE(e.Model().Dirty());

  // Do mých zón: a copy in the player's folder, edited from then on.
  ASSERT_TRUE(e.PutIntoOwnZones());
  EXPECT_EQ(e.Model().Path(), mine / "jinde.qrn");
  EXPECT_EQ(Slurp(mine / "jinde.qrn"), e.Model().Text());
  EXPECT_NE(e.Status().find("Zkopírováno mezi tvé zóny"), std::string::npos) << e.Status();

  // Without a zone folder of the player's, Ctrl+S on a new zone asks where, never in the
  // refused folder.
  fs::create_directories(root / "shared");
  fs::permissions(root / "shared", fs::perms::all);
  auto choose = e.ChooseFile;
  EditorScreen& homeless = Editor(edit::ZoneFolders{{}, {}, {root / "shared"}});
  homeless.ChooseFile = choose;
  requests.clear();
  choice = ChosenFile{root / "nova.qrn", false};
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", (root / "shared").c_str(), 1);
  homeless.KeyDown('S', Ctrl);
  setenv("HOME", home.c_str(), 1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].Heading, "");
  EXPECT_NE(requests[0].Folder, root / "shared");
  EXPECT_EQ(homeless.Model().Path(), root / "nova.qrn");
  EXPECT_TRUE(fs::exists(root / "nova.qrn"));
  EXPECT_TRUE(fs::is_empty(root / "shared"));
  EXPECT_FALSE(homeless.PutIntoOwnZones());
}

}  // namespace
}  // namespace quarn::ui
