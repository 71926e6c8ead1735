// EditorScreenTest.cpp — the zone editor's window on SDL's dummy display: the mouse on the canvas,
// the keys, the header form, findings, saving and the question about unsaved changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "FakeClock.h"
#include "platform/App.h"
#include "ui/Dialog.h"
#include "ui/EditorScreen.h"
#include "ui/KeyFeed.h"
#include "zone/Zone.h"

namespace quarn::ui {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr platform::Modifiers NoKeys{};
constexpr platform::Modifiers Ctrl{true, false, false};
constexpr platform::Modifiers CtrlShift{true, true, false};

class EditorScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root = fs::temp_directory_path() / ("quarn-editor-" + std::string(info->name()));
    fs::remove_all(root);
    fs::create_directories(root / "shipped");
    fs::create_directories(root / "mine");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<platform::App>(keyFeed, clock);
    app->AnswerInstead = [this](const std::string&, const std::string& text,
                                const std::vector<std::string>& buttons) {
      asked.push_back(text);
      for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == answer) return static_cast<int>(i);
      }
      return -1;
    };
    dialog = std::make_unique<Dialog>(*app, QUARN_BIN_DIR);
    editor = NewEditor();
  }
  // An editor as the program makes one: the shipped zones protected, the player's zone folder for
  // copies and new zones, recovery copies in root/recovery.
  std::unique_ptr<EditorScreen> NewEditor() {
    auto e = std::make_unique<EditorScreen>(
        *app, *dialog, QUARN_BIN_DIR,
        edit::ZoneFolders{root / "mine", {root / "shipped"}, {root / "refused"}},
        root / "recovery");
    e->OnClosed = [this] { ++closed; };
    return e;
  }
  // A key event as SDL queues it for the editor's window (keysym, scancode, modifiers).
  void PushKey(Uint32 type, SDL_Keycode sym, SDL_Scancode code, Uint16 mod) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.windowID = editor->Window().Id();
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = code;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
  }
  void Wait(int ms) {
    for (int i = 0; i < ms; i += 10) {
      clock.now += 10'000'000;
      app->Timers().RunDue();
    }
  }
  size_t RecoveryCopies() {
    std::error_code ec;
    size_t copies = 0;
    for (fs::directory_iterator it(root / "recovery", ec), end; !ec && it != end; it.increment(ec)) {
      copies += it->path().extension() == ".qrn";
    }
    return copies;
  }
  void TearDown() override {
    editor.reset();
    dialog.reset();
    app.reset();
    fs::remove_all(root);
  }
  // The canvas point in the middle of cell (x, y) as the view shows it now.
  SDL_Point At(int x, int y) {
    const SDL_Rect r = editor->Canvas().View().CellRect(x, y);
    return SDL_Point{r.x + r.w / 2, r.y + r.h / 2};
  }
  platform::Control& Canvas() { return editor->ControlNamed("canvas"); }
  void Drag(int button, std::vector<SDL_Point> cells) {
    Canvas().OnMouseDown(button, At(cells.front().x, cells.front().y));
    for (const SDL_Point& c : cells) Canvas().OnMouseMove(At(c.x, c.y));
    Canvas().OnMouseUp(button, At(cells.back().x, cells.back().y));
  }
  platform::TextField& Field(edit::HeaderField f) {
    return dynamic_cast<platform::TextField&>(
        editor->ControlNamed("field(" + std::to_string(static_cast<int>(f)) + ")"));
  }
  // A click in the field past its text: the keyboard, and the cursor at the text's end.
  static void ClickAtEnd(platform::TextField& field) {
    field.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{field.Bounds.w - 2, field.Bounds.h / 2});
  }
  void Type(edit::HeaderField f, const std::string& text) {
    ClickAtEnd(Field(f));
    for (int i = 0; i < 10; ++i) editor->KeyDown(8, NoKeys);
    editor->TypeText(text);
    editor->KeyDown(13, NoKeys);
  }

  fs::path root;
  KeyState keys;
  KeyFeed keyFeed{keys};
  FakeClock clock;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<Dialog> dialog;
  std::unique_ptr<EditorScreen> editor;
  std::vector<std::string> asked;
  std::string answer = "Zrušit";
  int closed = 0;
};

TEST_F(EditorScreenTest, AMissingFileIsANewZoneThatCtrlSSavesThere) {
  const fs::path file = root / "mine" / "nova.qrn";
  ASSERT_TRUE(editor->Open(file));
  EXPECT_EQ(editor->Model().Width(), 20);
  EXPECT_EQ(editor->Model().Height(), 12);
  EXPECT_EQ(editor->Canvas().View().Columns, 20);
  EXPECT_EQ(editor->Canvas().CellAt(0, 0), 'W');
  EXPECT_EQ(editor->Canvas().CellAt(1, 1), 'S');
  EXPECT_FALSE(fs::exists(file));
  editor->KeyDown('S', Ctrl);
  ASSERT_TRUE(fs::exists(file));
  EXPECT_FALSE(editor->Model().Dirty());
  EXPECT_NE(editor->Status().find("Uloženo: " + file.string()), std::string::npos)
      << editor->Status();
  auto parsed = ParseZoneFile(file.string());
  ASSERT_TRUE(parsed.Ok());
  EXPECT_EQ(parsed.Value().Title, "Nová zóna");
}

TEST_F(EditorScreenTest, AStrokeIsOneUndoStepAndTheCanvasFollowsUndoAndRedo) {
  ASSERT_TRUE(editor->Open({}));
  editor->Select('R');
  Drag(SDL_BUTTON_LEFT, {{3, 3}, {4, 3}, {7, 3}});  // a fast motion skips 5 and 6
  for (int x = 3; x <= 7; ++x) {
    EXPECT_EQ(editor->Model().At(x, 3), 'R') << x;
    EXPECT_EQ(editor->Canvas().CellAt(x, 3), 'R') << x;
  }
  EXPECT_NE(editor->Status().find("neuloženo"), std::string::npos);
  editor->KeyDown('Z', Ctrl);
  for (int x = 3; x <= 7; ++x) EXPECT_EQ(editor->Canvas().CellAt(x, 3), '.') << x;
  editor->KeyDown('Y', Ctrl);
  EXPECT_EQ(editor->Canvas().CellAt(5, 3), 'R');
  editor->KeyDown('Z', Ctrl);
  editor->KeyDown('Z', CtrlShift);
  EXPECT_EQ(editor->Canvas().CellAt(6, 3), 'R');

  // The start moves: the old one becomes floor on the canvas too.
  editor->Select('S');
  Drag(SDL_BUTTON_LEFT, {{10, 5}});
  EXPECT_EQ(editor->Canvas().CellAt(10, 5), 'S');
  EXPECT_EQ(editor->Canvas().CellAt(1, 1), '.');
}

TEST_F(EditorScreenTest, RectangleFillPickAndRightDragScroll) {
  ASSERT_TRUE(editor->Open({}));
  editor->Select('T');
  editor->SetTool(EditorTool::Rectangle);
  Drag(SDL_BUTTON_LEFT, {{2, 2}, {3, 3}, {4, 4}});
  for (int y = 2; y <= 4; ++y) {
    for (int x = 2; x <= 4; ++x) EXPECT_EQ(editor->Canvas().CellAt(x, y), 'T');
  }
  EXPECT_EQ(editor->Canvas().CellAt(5, 4), '.');
  EXPECT_FALSE(editor->ControlNamed("rectangle").Visible);
  editor->KeyDown('Z', Ctrl);
  EXPECT_EQ(editor->Canvas().CellAt(3, 3), '.');

  // A right click takes the tile under it; the tool stays.
  Canvas().OnMouseDown(SDL_BUTTON_RIGHT, At(0, 0));
  Canvas().OnMouseUp(SDL_BUTTON_RIGHT, At(0, 0));
  EXPECT_EQ(editor->Selected(), 'W');

  // A zone larger than the canvas scrolls by a right drag, and the drag picks nothing.
  Type(edit::HeaderField::Width, "100");
  ASSERT_EQ(editor->Canvas().View().Columns, 100);
  editor->Select('K');
  EditorView& v = editor->Canvas().View();
  v.SetZoom(40, SDL_Point{0, 0});
  const int left = v.Left;
  Canvas().OnMouseDown(SDL_BUTTON_RIGHT, SDL_Point{300, 200});
  Canvas().OnMouseMove(SDL_Point{200, 200});
  Canvas().OnMouseUp(SDL_BUTTON_RIGHT, SDL_Point{200, 200});
  EXPECT_EQ(v.Left, left + 100);
  EXPECT_EQ(editor->Selected(), 'K');
  // Arrows scroll too.
  editor->KeyDown(37, NoKeys);
  EXPECT_EQ(v.Left, left + 60);

  // A stroke dragged past the right edge scrolls the zone in and paints on up to the edge.
  editor->SetTool(EditorTool::Brush);
  v.ScrollBy(-10000, 0);
  Canvas().OnMouseDown(SDL_BUTTON_LEFT, At(10, 2));
  Canvas().OnMouseMove(SDL_Point{v.ViewWidth + 30, At(10, 2).y});
  Canvas().OnMouseUp(SDL_BUTTON_LEFT, SDL_Point{v.ViewWidth + 30, At(10, 2).y});
  EXPECT_EQ(v.Left, 31);  // 31 pixels past the last one
  const int lastShown = (v.Left + v.ViewWidth - 1) / v.Zoom;
  EXPECT_EQ(editor->Model().At(lastShown, 2), 'K');
  EXPECT_EQ(editor->Model().At(lastShown + 1, 2), '.');
}

TEST_F(EditorScreenTest, TheFormShowsTheLoadersMessageBesideARefusedFieldAndResizes) {
  ASSERT_TRUE(editor->Open({}));
  Type(edit::HeaderField::Width, "200");
  const std::string& error = editor->FieldErrors()[static_cast<size_t>(edit::HeaderField::Width)];
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(editor->ControlNamed("fieldError(1)").Visible);
  EXPECT_EQ(Field(edit::HeaderField::Width).Text, "200");  // kept for the author to mend
  EXPECT_EQ(editor->Model().Width(), 20);
  // Fields below a message move down to make room for it.
  const int below = editor->ControlNamed("field(2)").Bounds.y;
  Type(edit::HeaderField::Width, "8");
  EXPECT_TRUE(editor->FieldErrors()[1].empty());
  EXPECT_LT(editor->ControlNamed("field(2)").Bounds.y, below);
  EXPECT_EQ(editor->Model().Width(), 8);
  EXPECT_EQ(editor->Canvas().View().Columns, 8);
  Type(edit::HeaderField::Title, "Můj sklep, hluboký");
  EXPECT_EQ(editor->Model().Field(edit::HeaderField::Title), "Můj sklep, hluboký");
  // Typing into a field never reaches the brush, nor the zoom.
  const char brush = editor->Selected();
  const int zoom = editor->Canvas().View().Zoom;
  ClickAtEnd(Field(edit::HeaderField::Title));
  editor->TypeText("R");
  editor->KeyDown(187, NoKeys);
  EXPECT_EQ(editor->Selected(), brush);
  EXPECT_EQ(editor->Canvas().View().Zoom, zoom);
}

// The editor's commands work from inside a header field: the field's value is taken (or the
// reason it is refused is told), then the command acts.
TEST_F(EditorScreenTest, CommandsFromAHeaderFieldTakeItsValueFirst) {
  ASSERT_TRUE(editor->Open(root / "mine" / "pole.qrn"));
  Type(edit::HeaderField::Title, "Sklep");
  // Ctrl+S while typing: saved with what was typed.
  ClickAtEnd(Field(edit::HeaderField::Title));
  editor->TypeText(" a půda");
  editor->KeyDown('S', Ctrl);
  EXPECT_FALSE(Field(edit::HeaderField::Title).Focused());
  EXPECT_FALSE(editor->Model().Dirty());
  EXPECT_EQ(editor->Model().Field(edit::HeaderField::Title), "Sklep a půda");
  EXPECT_NE(ReadFile(root / "mine" / "pole.qrn").find("Sklep a půda"), std::string::npos);
  // Ctrl+Z while typing: the value is taken, and that is what is undone.
  ClickAtEnd(Field(edit::HeaderField::Title));
  editor->TypeText("!");
  editor->KeyDown('Z', Ctrl);
  EXPECT_EQ(editor->Model().Field(edit::HeaderField::Title), "Sklep a půda");
  editor->KeyDown('Y', Ctrl);
  EXPECT_EQ(editor->Model().Field(edit::HeaderField::Title), "Sklep a půda!");
  // F5 plays what the form shows; a refused value stops it and the status line says why.
  std::string played;
  editor->OnTestPlay = [&](const std::string& text) { played = text; };
  ClickAtEnd(Field(edit::HeaderField::Width));
  for (int i = 0; i < 10; ++i) editor->KeyDown(8, NoKeys);
  editor->TypeText("200");
  editor->KeyDown(116, NoKeys);
  EXPECT_TRUE(played.empty());
  const std::string& refused = editor->FieldErrors()[1];
  ASSERT_FALSE(refused.empty());
  EXPECT_NE(editor->Status().find("Nevyzkoušeno: " + refused), std::string::npos)
      << editor->Status();
  EXPECT_TRUE(Field(edit::HeaderField::Width).Focused());
  editor->KeyDown('S', Ctrl);
  EXPECT_NE(editor->Status().find("Neuloženo: " + refused), std::string::npos)
      << editor->Status();
  // F1 from the field opens the help.
  int helps = 0;
  editor->OnHelp = [&] { ++helps; };
  editor->KeyDown(112, NoKeys);
  EXPECT_EQ(helps, 1);
  // Closing with the refused value asks; Ne keeps the editor open with the field to mend.
  answer = "Ne";
  EXPECT_FALSE(editor->Close());
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back().rfind(RefusedValueQuestion, 0), 0u) << asked.back();
  EXPECT_EQ(closed, 0);
  EXPECT_TRUE(Field(edit::HeaderField::Width).Focused());
  answer = "Ano";
  EXPECT_TRUE(editor->Close());
  EXPECT_EQ(closed, 1);
}

// Ctrl+S pressed and let go quickly, Ctrl let go before the game handles the press: the press
// itself says Ctrl was held.
TEST_F(EditorScreenTest, AQuickCtrlSIsSavedByTheModifiersOfItsOwnEvent) {
  const fs::path file = root / "mine" / "rychle.qrn";
  ASSERT_TRUE(editor->Open(file));
  editor->Show();
  SDL_SetModState(KMOD_NONE);
  PushKey(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL);
  PushKey(SDL_KEYDOWN, SDLK_s, SDL_SCANCODE_S, KMOD_LCTRL);
  PushKey(SDL_KEYUP, SDLK_s, SDL_SCANCODE_S, KMOD_LCTRL);
  PushKey(SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  app->Run();
  EXPECT_TRUE(fs::exists(file));
}

// One key, one thing: plus and minus are enemies for the brush, Ctrl with them zooms; the
// status line shows the brush's tile and warns of a laser door in the outer wall.
TEST_F(EditorScreenTest, PlusAndMinusPickEnemiesAndOnlyCtrlZooms) {
  ASSERT_TRUE(editor->Open({}));
  const int zoom = editor->Canvas().View().Zoom;
  editor->TypeText("+");
  editor->KeyDown(187, NoKeys);
  EXPECT_EQ(editor->Selected(), '+');
  EXPECT_EQ(editor->Canvas().View().Zoom, zoom);
  editor->KeyDown(187, Ctrl);
  EXPECT_GT(editor->Canvas().View().Zoom, zoom);
  editor->KeyDown(189, Ctrl);
  EXPECT_EQ(editor->Canvas().View().Zoom, zoom);
  // From a header field too; the field keeps the keyboard, and the "+" the key brings as text
  // goes neither into the field nor into the brush. The next key's text is typed again.
  platform::TextField& title = Field(edit::HeaderField::Title);
  ClickAtEnd(title);
  const std::string typed = title.Text;
  editor->KeyDown(107, Ctrl);
  editor->TypeText("+");
  EXPECT_GT(editor->Canvas().View().Zoom, zoom);
  editor->KeyDown(109, Ctrl);
  editor->TypeText("-");
  EXPECT_EQ(editor->Canvas().View().Zoom, zoom);
  EXPECT_TRUE(title.Focused());
  EXPECT_EQ(title.Text, typed);
  editor->KeyDown('X', NoKeys);
  editor->TypeText("x");
  EXPECT_EQ(title.Text, typed + "x");
  editor->KeyDown(27, NoKeys);  // the field's Esc: its value as it was
  EXPECT_FALSE(title.Focused());
  editor->TypeText("c");
  EXPECT_NE(editor->Status().find("c laserové dveře c"), std::string::npos) << editor->Status();
  EXPECT_NE(dynamic_cast<platform::Image&>(editor->ControlNamed("statusTile")).Picture, nullptr);
  EXPECT_EQ(editor->Status().find("vnější zdi"), std::string::npos);
  Drag(SDL_BUTTON_LEFT, {{0, 3}});
  EXPECT_NE(editor->Status().find("Pozor: laserové dveře ve vnější zdi (sloupec 1, řádek 4)"),
            std::string::npos)
      << editor->Status();
}

// Key events as SDL hands them over on the Czech layout (seen on X with SDL 2.26): plus is the
// 1 key (keysym "1", text "+"), minus the key beside the full stop (keysym "-" on the slash's
// scancode, a key the game has no code for, so only its text arrives), "=" where the US layout
// has minus, a dead acute where it has plus. With Ctrl each zooms by what it means, once, and no
// text reaches the brush; without Ctrl plus and minus are the enemies.
TEST_F(EditorScreenTest, CtrlPlusAndMinusZoomByWhatTheKeysMeanOnTheCzechLayout) {
  ASSERT_TRUE(editor->Open({}));
  editor->Show();
  SDL_SetModState(KMOD_NONE);
  editor->KeyOnLayout = [](SDL_Scancode code) -> SDL_Keycode {
    if (code == SDL_SCANCODE_MINUS) return SDLK_EQUALS;
    if (code == SDL_SCANCODE_EQUALS) return SDLK_UNKNOWN;  // a dead key
    return SDL_GetKeyFromScancode(code);
  };
  auto text = [&](const char* typed) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = editor->Window().Id();
    SDL_strlcpy(e.text.text, typed, sizeof e.text.text);
    SDL_PushEvent(&e);
  };
  // Ctrl held for presses of one key. Every event waits in the queue before any is handled;
  // when Ctrl comes up the zoom and the brush are noted.
  auto withCtrl = [&](SDL_Keycode sym, SDL_Scancode code, const char* typed, int times = 1) {
    PushKey(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL);
    for (int i = 0; i < times; ++i) {
      PushKey(SDL_KEYDOWN, sym, code, KMOD_LCTRL);
      if (*typed) text(typed);
      PushKey(SDL_KEYUP, sym, code, KMOD_LCTRL);
    }
    PushKey(SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE);
  };
  auto alone = [&](SDL_Keycode sym, SDL_Scancode code, const char* typed) {
    PushKey(SDL_KEYDOWN, sym, code, KMOD_NONE);
    text(typed);
    PushKey(SDL_KEYUP, sym, code, KMOD_NONE);
  };
  const EditorView& v = editor->Canvas().View();
  ASSERT_EQ(v.Zoom, 20);
  const char brush = editor->Selected();
  std::vector<int> zooms;
  std::string brushes;
  auto up = editor->Window().OnKeyUp;
  editor->Window().OnKeyUp = [&, up](int virtualKey) {
    up(virtualKey);
    if (virtualKey != 17) return;
    zooms.push_back(v.Zoom);
    brushes += editor->Selected();
  };
  withCtrl(SDLK_1, SDL_SCANCODE_1, "+");                // plus on the 1 key: 40
  withCtrl(SDLK_MINUS, SDL_SCANCODE_SLASH, "-");        // minus beside the full stop: 20
  withCtrl(SDLK_MINUS, SDL_SCANCODE_SLASH, "-", 2);     // twice, Ctrl held all the while: 8
  withCtrl(SDLK_EQUALS, SDL_SCANCODE_MINUS, "=");       // "=" on the US minus's place: 10
  withCtrl(SDLK_UNKNOWN, SDL_SCANCODE_EQUALS, "´");     // a dead acute is no plus: 10
  withCtrl(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, "+");    // the keypad's, once for key and text: 20
  withCtrl(SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, "-");  // 10
  withCtrl(SDLK_2, SDL_SCANCODE_2, "ě");                // 10, and no letter anywhere
  // Without Ctrl the same keys pick the enemies, and the zoom stays.
  alone(SDLK_MINUS, SDL_SCANCODE_SLASH, "-");
  withCtrl(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, "");  // Ctrl alone: noted
  alone(SDLK_1, SDL_SCANCODE_1, "+");
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  app->Run();
  EXPECT_EQ(zooms, (std::vector<int>{40, 20, 8, 10, 10, 20, 10, 10, 10}));
  EXPECT_EQ(brushes, std::string(8, brush) + "-") << "with Ctrl held no text reaches the brush";
  EXPECT_EQ(editor->Selected(), '+');
  EXPECT_EQ(v.Zoom, 10);
}

// The status line stays on the window's one line: a long message loses its middle, not the
// instruction at its end; a line break in it (a file name may hold one) does not push the rest
// under the window's edge. The whole text stays in Status().
TEST_F(EditorScreenTest, TheStatusLineFitsTheWindowAndKeepsTheInstruction) {
  const fs::path odd = root / "jinde" / "dva\nřádky.qrn";
  ASSERT_TRUE(editor->Open(odd));
  auto& line = dynamic_cast<platform::Label&>(editor->ControlNamed("status"));
  EXPECT_EQ(line.Caption.find('\n'), std::string::npos) << line.Caption;
  EXPECT_NE(line.Caption.find("dva řádky.qrn"), std::string::npos) << line.Caption;
  fs::create_directories(root / "jinde");
  const fs::path far = root / "jinde" / (std::string(150, 'z') + ".qrn");
  editor->ChooseFile = [&](const ChooserRequest&) { return std::optional(ChosenFile{far, false}); };
  ASSERT_TRUE(editor->SaveAs());
  const std::string instruction = "(mimo tvé zóny: do seznamu zón ji dá tlačítko Do mých zón)";
  EXPECT_NE(editor->Status().find(far.string()), std::string::npos) << editor->Status();
  EXPECT_TRUE(line.Caption.ends_with(instruction)) << line.Caption;
  EXPECT_NE(line.Caption.find("Uloženo jako: "), std::string::npos) << line.Caption;
  EXPECT_NE(line.Caption.find("…"), std::string::npos) << line.Caption;
  platform::Fonts& fonts = app->FontSet();
  EXPECT_LE(fonts.Measure(line.Font, line.Caption).x, line.Bounds.w) << line.Caption;
  // The middle of one text, by whole letters.
  auto measure = [&](const std::string& t) { return fonts.Measure(line.Font, t).x; };
  const std::string text = "Začátek " + std::string(40, 'x') + "ěščř" + " konec: Esc zruší.";
  const std::string cut = EllipsizeMiddle(text, measure(text) / 2, measure);
  EXPECT_LE(measure(cut), measure(text) / 2) << cut;
  EXPECT_TRUE(cut.ends_with(" Esc zruší.")) << cut;
  EXPECT_EQ(cut.rfind("Začátek", 0), 0u) << cut;
  EXPECT_EQ(EllipsizeMiddle("krátký", 500, measure), "krátký");
}

// Dragging an edge says how many rows or columns in the Czech form for that count.
TEST_F(EditorScreenTest, AnEdgeDragCountsItsRowsInCzech) {
  ASSERT_TRUE(editor->Open({}));
  const EditorView& v = editor->Canvas().View();
  const int below = v.Rows * v.Zoom - v.Top + 4;  // just under the bottom edge
  const int x = v.ViewWidth / 2;
  Canvas().OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{x, below});
  const std::vector<std::pair<int, std::string>> rows{
      {1, "+1 řádek"}, {3, "+3 řádky"}, {5, "+5 řádků"}, {-2, "-2 řádky"}};
  for (const auto& [cells, said] : rows) {
    Canvas().OnMouseMove(SDL_Point{x, below + cells * v.Zoom});
    EXPECT_NE(editor->Status().find("Okraj dole: " + said + " (pusť tlačítko)"), std::string::npos)
        << editor->Status();
  }
  Canvas().OnMouseMove(SDL_Point{x, below + 4 * v.Zoom});
  Canvas().OnMouseUp(SDL_BUTTON_LEFT, SDL_Point{x, below + 4 * v.Zoom});
  EXPECT_EQ(editor->Model().Height(), 16);
}

// F5 on a zone the game would refuse says so of the zone as edited, not of the author's file,
// and plays nothing; the finding's line names its place once.
TEST_F(EditorScreenTest, AZoneTheGameRefusesIsNotPlayedAndTheEditedZoneIsNamed) {
  const fs::path file = root / "mine" / "hraje.qrn";
  ASSERT_TRUE(editor->Open(file));
  editor->KeyDown('S', Ctrl);              // the file itself plays
  editor->Model().Fill(1, 2, 17, 7, '+');  // 102 enemies
  editor->KeyDown('Z', Ctrl);
  editor->KeyDown('Y', Ctrl);
  int played = 0;
  editor->OnTestPlay = [&](const std::string&) { ++played; };
  editor->OnTestPlayHere = [&](const std::string&) { ++played; };
  answer = "OK";
  editor->KeyDown(116, NoKeys);
  EXPECT_EQ(played, 0);
  const std::string said =
      std::string(EditedZoneRefused) +
      "sloupec 18, řádek 8: má 102. nepřítele; zóna smí mít nejvýš 101 nepřátel";
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], said);
  EXPECT_EQ(asked[0].find("hraje.qrn"), std::string::npos);
  EXPECT_NE(editor->Status().find(said), std::string::npos) << editor->Status();
  Canvas().OnMouseMove(At(1, 1));
  editor->KeyDown(116, platform::Modifiers{false, true, false});
  EXPECT_EQ(played, 0) << "nor from the pointer";
  auto& list = dynamic_cast<platform::ListBox&>(editor->ControlNamed("findings"));
  ASSERT_FALSE(list.Items().empty());
  EXPECT_EQ(list.Items()[0],
            "Hra zónu neotevře: sloupec 18, řádek 8: má 102. nepřítele; zóna smí "
            "mít nejvýš 101 nepřátel");
}

TEST_F(EditorScreenTest, TypingATilesCharacterTakesItIntoTheBrush) {
  ASSERT_TRUE(editor->Open({}));
  editor->TypeText("k");
  EXPECT_EQ(editor->Selected(), 'K');
  editor->TypeText("a");
  EXPECT_EQ(editor->Selected(), 'a');
  editor->TypeText("C");
  EXPECT_EQ(editor->Selected(), 'C');
  editor->TypeText("+");
  EXPECT_EQ(editor->Selected(), '+');
  editor->TypeText("x");  // no tile
  editor->TypeText("č");
  EXPECT_EQ(editor->Selected(), '+');
}

TEST_F(EditorScreenTest, FindingsAreListedMarkedAndAClickShowsTheirPlace) {
  ASSERT_TRUE(editor->Open({}));
  // A potato walled in where nobody reaches it.
  editor->Select('W');
  editor->SetTool(EditorTool::Rectangle);
  Drag(SDL_BUTTON_LEFT, {{14, 6}, {16, 8}});
  editor->Select('R');
  Drag(SDL_BUTTON_LEFT, {{15, 7}});
  auto& list = dynamic_cast<platform::ListBox&>(editor->ControlNamed("findings"));
  int row = -1;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Items()[static_cast<size_t>(i)].find("sloupec 16, řádek 8") != std::string::npos)
      row = i;
  }
  ASSERT_GE(row, 0) << (list.Count() ? list.Items()[0] : "");
  // The place leads the line, and the message does not name the column again.
  const std::string& line = list.Items()[static_cast<size_t>(row)];
  EXPECT_EQ(line.find("ve sloupci"), std::string::npos) << line;
  bool marked = false;
  for (const SDL_Point& m : editor->Canvas().Marks()) marked = marked || (m.x == 15 && m.y == 7);
  EXPECT_TRUE(marked);
  editor->Canvas().View().SetZoom(4, SDL_Point{0, 0});
  list.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{5, 2 + row * list.RowHeight() + 2});
  EXPECT_GE(editor->Canvas().View().Zoom, 20);
  EXPECT_TRUE(editor->ControlNamed("hover").Visible);
  // The status line tells the cell under the pointer (none: it is over the list), not the
  // finding's.
  EXPECT_EQ(editor->Status().find("Sloupec 16, řádek 8"), std::string::npos) << editor->Status();
}

TEST_F(EditorScreenTest, ALargeZoneShowsTheChangeFirstAndItsFindingsAFrameLater) {
  ASSERT_TRUE(editor->Open({}));
  Type(edit::HeaderField::Width, "60");
  Type(edit::HeaderField::Height, "60");
  clock.now += 20'000'000;
  app->Timers().RunDue();
  auto& list = dynamic_cast<platform::ListBox&>(editor->ControlNamed("findings"));
  const std::vector<std::string> before = list.Items();
  editor->Select('R');
  editor->SetTool(EditorTool::Rectangle);
  Drag(SDL_BUTTON_LEFT, {{3, 3}, {4, 4}});
  EXPECT_EQ(editor->Canvas().CellAt(4, 4), 'R');  // drawn at once
  EXPECT_EQ(list.Items(), before);                // checked later
  clock.now += 10'000'000;
  app->Timers().RunDue();
  EXPECT_EQ(list.Items(), before);
  clock.now += 10'000'000;
  app->Timers().RunDue();
  EXPECT_NE(list.Items(), before);
}

TEST_F(EditorScreenTest, UnsavedChangesAreAskedAboutOnClosing) {
  const fs::path file = root / "mine" / "a.qrn";
  ASSERT_TRUE(editor->Open(file));
  editor->Select('K');
  Drag(SDL_BUTTON_LEFT, {{4, 4}});
  answer = "Zrušit";
  editor->KeyDown(27, NoKeys);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], UnsavedQuestion);
  EXPECT_EQ(closed, 0);
  answer = "Ano";
  EXPECT_TRUE(editor->Close());
  EXPECT_EQ(closed, 1);
  EXPECT_NE(ReadFile(file).find("...K"), std::string::npos);

  // Ne throws the change away; a zone without changes closes without a question.
  ASSERT_TRUE(editor->Open(file));
  Drag(SDL_BUTTON_LEFT, {{5, 5}});
  answer = "Ne";
  EXPECT_TRUE(editor->Close());
  EXPECT_EQ(ReadFile(file).find("....K"), std::string::npos);
  ASSERT_TRUE(editor->Open(file));
  asked.clear();
  EXPECT_TRUE(editor->Close());
  EXPECT_TRUE(asked.empty());
}

TEST_F(EditorScreenTest, AShippedZoneIsSavedAsACopyAndTestPlayGetsTheUnsavedText) {
  const fs::path shipped = root / "shipped" / "01-x.qrn";
  std::ofstream(shipped) << "X\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  ASSERT_TRUE(editor->Open(shipped));
  editor->Select('R');
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  std::string played;
  editor->OnTestPlay = [&](const std::string& text) { played = text; };
  editor->KeyDown(116, NoKeys);
  EXPECT_NE(played.find("WSREW"), std::string::npos) << played;
  const std::string before = ReadFile(shipped);
  ASSERT_TRUE(editor->Save());
  EXPECT_EQ(ReadFile(shipped), before);
  EXPECT_TRUE(fs::exists(root / "mine" / "01-x.qrn"));
  EXPECT_NE(editor->Status().find("kopie"), std::string::npos) << editor->Status();
  EXPECT_EQ(editor->Model().Path(), root / "mine" / "01-x.qrn");
}

// The browser's "Odkaz na zónu" (button or Ctrl+O) takes the zone as the editor shows it:
// unsaved cells and a title still being typed, and it saves nothing. Elsewhere there is none.
TEST_F(EditorScreenTest, TheBrowsersLinkTakesTheZoneAsItIsNowAndSavesNothing) {
  const fs::path shipped = root / "shipped" / "01-x.qrn";
  std::ofstream(shipped) << "X\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  ASSERT_TRUE(editor->Open(shipped));
  auto help = [&] { return dynamic_cast<platform::Label&>(editor->ControlNamed("lblHelp")).Caption; };
  EXPECT_THROW(editor->ControlNamed("btnLink"), std::out_of_range);
  EXPECT_EQ(help().find("Ctrl+O"), std::string::npos);
  std::vector<std::pair<std::string, std::string>> links;
  editor->OfferLink([&](const std::string& text, const std::string& title) {
    links.emplace_back(text, title);
  });
  EXPECT_NE(help().find("Ctrl+O odkaz na zónu"), std::string::npos) << help();
  editor->Select('R');
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  editor->KeyDown('O', Ctrl);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].first, editor->Model().Text());
  EXPECT_NE(links[0].first.find("WSREW"), std::string::npos) << links[0].first;
  EXPECT_EQ(links[0].second, "X");
  // While a title is being typed, the button and Ctrl+O take the typed title.
  ClickAtEnd(Field(edit::HeaderField::Title));
  editor->TypeText("YZ");
  editor->ControlNamed("btnLink").OnClick();
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[1].second, "XYZ");
  EXPECT_EQ(links[1].first.rfind("XYZ\n", 0), 0u) << links[1].first;
  ClickAtEnd(Field(edit::HeaderField::Title));
  editor->TypeText("!");
  editor->KeyDown('O', Ctrl);
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[2].second, "XYZ!");
  EXPECT_EQ(links[2].first, editor->Model().Text());
  // Nothing was written: the shipped zone is as it was, no copy, the changes still unsaved.
  EXPECT_TRUE(editor->Model().Dirty());
  EXPECT_FALSE(fs::exists(root / "mine" / "01-x.qrn"));
  EXPECT_EQ(ReadFile(shipped).find("WSREW"), std::string::npos);
}

TEST_F(EditorScreenTest, AWonRunIsKeptBesideTheZoneAfterTheZoneIsSaved) {
  const fs::path file = root / "mine" / "b.qrn";
  ASSERT_TRUE(editor->Open(file));
  answer = "Ne";
  EXPECT_FALSE(editor->OfferSolution("10 right\n"));
  EXPECT_FALSE(fs::exists(root / "mine" / "b.keys"));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], SolutionAndSaveQuestion);  // never saved yet
  answer = "Ano";
  EXPECT_TRUE(editor->OfferSolution("10 right\n"));
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(ReadFile(root / "mine" / "b.keys"), "10 right\n");
  EXPECT_FALSE(editor->Model().Dirty());
  EXPECT_NE(editor->Status().find("b.keys"), std::string::npos) << editor->Status();
  EXPECT_TRUE(editor->OfferSolution("12 right\n"));
  EXPECT_EQ(asked.back(), SolutionQuestion);  // saved: only the run is asked about
  EXPECT_FALSE(editor->OfferSolution(""));    // a run that cannot be replayed is not offered
}

TEST_F(EditorScreenTest, UnsavedChangesAreKeptAfterAPauseAndOfferedBackOnTheNextOpening) {
  const fs::path file = root / "mine" / "k.qrn";
  std::ofstream(file) << "K\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  const std::string before = ReadFile(file);
  ASSERT_TRUE(editor->Open(file));
  editor->Select('K');
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  Wait(RecoveryDelayMs / 2);
  EXPECT_EQ(RecoveryCopies(), 0u) << "kept a few seconds after the last change, not at once";
  Wait(RecoveryDelayMs);
  ASSERT_EQ(RecoveryCopies(), 1u);
  EXPECT_EQ(ReadFile(file), before) << "the zone's own file is not touched";

  // Undone back to the saved state: the copy goes at the next pause, and nothing is offered.
  editor->KeyDown('Z', Ctrl);
  ASSERT_FALSE(editor->Model().Dirty());
  Wait(RecoveryDelayMs * 2);
  EXPECT_EQ(RecoveryCopies(), 0u) << "undone to the file: no copy";
  editor->KeyDown('Y', Ctrl);
  Wait(RecoveryDelayMs * 2);
  ASSERT_EQ(RecoveryCopies(), 1u);

  // The program ends without a question (a crash, a signal): the next opening offers the changes.
  editor = NewEditor();
  answer = "Ano";
  asked.clear();
  ASSERT_TRUE(editor->Open(file));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].rfind("Obnovit neuložené změny z ", 0), 0u) << asked[0];
  EXPECT_TRUE(editor->Model().Dirty());
  EXPECT_EQ(editor->Model().At(2, 1), 'K');
  EXPECT_TRUE(editor->Model().Undo()) << "undo goes back to the file";
  EXPECT_EQ(editor->Model().At(2, 1), '.');
  editor->Model().Redo();
  editor->KeyDown('S', Ctrl);
  EXPECT_NE(ReadFile(file).find("WSKEW"), std::string::npos);
  EXPECT_EQ(RecoveryCopies(), 0u) << "saved: the copy goes";

  // Changes thrown away on closing take their copy with them; Ne at the opening does too.
  Drag(SDL_BUTTON_LEFT, {{2, 1}, {1, 1}});
  ASSERT_TRUE(editor->KeepUnsaved().has_value());
  EXPECT_EQ(RecoveryCopies(), 1u);
  answer = "Ne";
  EXPECT_TRUE(editor->Close());
  EXPECT_EQ(RecoveryCopies(), 0u);
  ASSERT_TRUE(editor->Open({}));
  Drag(SDL_BUTTON_LEFT, {{3, 3}});
  EXPECT_TRUE(editor->KeepUnsaved().has_value()) << "a new zone without a file is kept too";
  editor = NewEditor();
  asked.clear();
  ASSERT_TRUE(editor->Open({}));
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(RecoveryCopies(), 0u);
  EXPECT_FALSE(editor->Model().Dirty());
  EXPECT_FALSE(editor->KeepUnsaved().has_value()) << "nothing unsaved, nothing kept";

  // Ctrl+S on a new zone and on a shipped one (saved as a copy among the player's zones) takes
  // the recovery copy with it as well: nothing is offered back at the next opening.
  const fs::path shipped = root / "shipped" / "02-y.qrn";
  std::ofstream(shipped) << "Y\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  for (const fs::path& opened : {fs::path(), shipped}) {
    editor = NewEditor();
    ASSERT_TRUE(editor->Open(opened));
    Drag(SDL_BUTTON_LEFT, {{2, 1}});
    ASSERT_TRUE(editor->KeepUnsaved().has_value());
    ASSERT_EQ(RecoveryCopies(), 1u) << opened;
    editor->KeyDown('S', Ctrl);
    EXPECT_FALSE(editor->Model().Dirty()) << opened;
    EXPECT_EQ(RecoveryCopies(), 0u) << "saved: the copy goes, " << opened;
  }
}

// A second editor of a zone another editor has open is refused with a clear line, and neither
// offers, drops nor overwrites the first one's copy; saving as that zone is refused too. Two new
// zones are each kept apart.
TEST_F(EditorScreenTest, ASecondEditorOfAZoneIsRefusedAndNeverTouchesTheFirstOnesCopy) {
  const fs::path file = root / "mine" / "a.qrn", other = root / "mine" / "b.qrn";
  for (const fs::path& f : {file, other}) {
    std::ofstream(f) << "A\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  }
  ASSERT_TRUE(editor->Open(file));
  editor->Select('K');
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  ASSERT_TRUE(editor->KeepUnsaved().has_value());
  std::unique_ptr<EditorScreen> second = NewEditor();
  answer = "Ne";
  asked.clear();
  EXPECT_FALSE(second->Open(file));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find("už upravuje jiný editor"), std::string::npos) << asked[0];
  EXPECT_EQ(RecoveryCopies(), 1u) << "the first editor's copy is kept";

  // The second, on another zone, may not save over the first one's.
  ASSERT_TRUE(second->Open(other));
  second->ChooseFile = [&](const ChooserRequest&) { return std::optional(ChosenFile{file, true}); };
  EXPECT_FALSE(second->SaveAs());
  EXPECT_NE(second->Status().find("upravuje jiný editor"), std::string::npos) << second->Status();
  EXPECT_EQ(ReadFile(file).find("WSKEW"), std::string::npos);
  second.reset();
  EXPECT_EQ(RecoveryCopies(), 1u);

  // Saved and closed, the zone is the next editor's.
  editor->KeyDown('S', Ctrl);
  EXPECT_TRUE(editor->Close());
  second = NewEditor();
  EXPECT_TRUE(second->Open(file));

  // Two new zones at once: two copies, and each editor offered only its own at the next start.
  std::unique_ptr<EditorScreen> third = NewEditor();
  ASSERT_TRUE(editor->Open({}));
  ASSERT_TRUE(third->Open({}));
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  ASSERT_TRUE(editor->KeepUnsaved().has_value());
  EXPECT_EQ(RecoveryCopies(), 1u);
  EXPECT_FALSE(third->KeepUnsaved().has_value()) << "nothing unsaved in the other one";
  third.reset();  // ends: nothing of the first one's goes with it
  EXPECT_EQ(RecoveryCopies(), 1u);
}

// A recovery copy that cannot be kept (a refused folder, a full disk) is told where the author
// looks: the status line once, and the title for as long as the changes are unprotected.
TEST_F(EditorScreenTest, ChangesThatCannotBeKeptAreToldInTheStatusLineAndTheTitle) {
  const fs::path file = root / "mine" / "u.qrn";
  std::ofstream(file) << "U\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  fs::create_directories(root / "recovery");
  fs::permissions(root / "recovery", fs::perms::all);  // others may write: refused
  ASSERT_TRUE(editor->Open(file));
  editor->Select('K');
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  Wait(RecoveryDelayMs * 2);
  EXPECT_NE(editor->Status().find("nelze uchovat"), std::string::npos) << editor->Status();
  EXPECT_NE(editor->Window().Caption().find("změny nejsou chráněné"), std::string::npos)
      << editor->Window().Caption();
  editor->KeyDown('S', Ctrl);
  EXPECT_EQ(editor->Window().Caption().find("chráněné"), std::string::npos)
      << editor->Window().Caption();
  fs::permissions(root / "recovery", fs::perms::owner_all);
}

TEST_F(EditorScreenTest, ASaveOverAFileAnotherProgramChangedIsAskedAbout) {
  const fs::path file = root / "mine" / "d.qrn";
  const std::string theirs = "Jejich\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWSCEW\nWWWWW\n";
  std::ofstream(file) << "D\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  ASSERT_TRUE(editor->Open(file));
  // Nothing changed here: Ctrl+S writes nothing, whatever is on the disk.
  std::ofstream(file) << theirs;
  editor->KeyDown('S', Ctrl);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(ReadFile(file), theirs);
  ASSERT_TRUE(editor->Open(file));

  editor->Select('K');
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  std::ofstream(file) << theirs << "poznámka\n";
  answer = "Zrušit";
  EXPECT_FALSE(editor->Save());
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], ChangedOnDiskQuestion(file));
  EXPECT_EQ(ReadFile(file), theirs + "poznámka\n");
  EXPECT_TRUE(editor->Model().Dirty());
  answer = "Ne";  // read it again
  EXPECT_FALSE(editor->Save());
  EXPECT_FALSE(editor->Model().Dirty());
  EXPECT_EQ(editor->Model().Field(edit::HeaderField::Title), "Jejich");
  EXPECT_EQ(ReadFile(file), theirs + "poznámka\n");
  Drag(SDL_BUTTON_LEFT, {{2, 1}});
  std::ofstream(file) << theirs;
  answer = "Ano";  // write over it
  asked.clear();
  EXPECT_TRUE(editor->Save());
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_NE(ReadFile(file).find("WSKEW"), std::string::npos);
  // Saved: the next save asks nothing.
  Drag(SDL_BUTTON_LEFT, {{2, 1}, {1, 1}});
  asked.clear();
  EXPECT_TRUE(editor->Save());
  EXPECT_TRUE(asked.empty());
}

TEST_F(EditorScreenTest, AZoneTheGameRefusesOpensWithItsFindingAndItsSaveIsAskedAbout) {
  const fs::path file = root / "mine" / "r.qrn";
  // Enemies of kind 1 with steps of 0: the game refuses the zone.
  std::ofstream(file) << "R\n5\n3\n10\n0\n10\n10\n\n\n\nWWWWW\nWS+EW\nWWWWW\n";
  ASSERT_TRUE(editor->Open(file)) << (asked.empty() ? "" : asked[0]);
  auto& list = dynamic_cast<platform::ListBox&>(editor->ControlNamed("findings"));
  ASSERT_FALSE(list.Items().empty());
  EXPECT_NE(list.Items()[0].find("aspoň 1"), std::string::npos) << list.Items()[0];
  editor->Select('K');
  Drag(SDL_BUTTON_LEFT, {{3, 1}});
  answer = "Ne";
  EXPECT_FALSE(editor->Save());
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].rfind("Hra tuto zónu neotevře: ", 0), 0u) << asked[0];
  EXPECT_EQ(ReadFile(file).find("WS+KW"), std::string::npos);
  answer = "Ano";
  EXPECT_TRUE(editor->Save());
  EXPECT_NE(ReadFile(file).find("WS+KW"), std::string::npos);
}

TEST_F(EditorScreenTest, ARefusedFolderIsNotOpenedAndANewZoneGoesToThePlayersFolder) {
  fs::create_directories(root / "refused");
  std::ofstream(root / "refused" / "x.qrn")
      << "X\n5\n3\n10\n10\n10\n10\n\n\n\nWWWWW\nWS.EW\nWWWWW\n";
  answer = "OK";
  EXPECT_FALSE(editor->Open(root / "refused" / "x.qrn"));
  EXPECT_FALSE(editor->Open(root / "refused" / "new.qrn"));
  EXPECT_EQ(asked.size(), 2u);
  ASSERT_TRUE(editor->Open({}));
  editor->KeyDown('S', Ctrl);
  EXPECT_TRUE(fs::exists(root / "mine" / "nova-zona.qrn"));
  EXPECT_EQ(editor->Model().Path(), root / "mine" / "nova-zona.qrn");
}

TEST_F(EditorScreenTest, AnUnreadableZoneIsRefusedWithTheLoadersMessage) {
  const fs::path bad = root / "mine" / "bad.qrn";
  std::ofstream(bad) << "X\nsirka\n";
  answer = "OK";
  EXPECT_FALSE(editor->Open(bad));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find("šířka"), std::string::npos) << asked[0];
}

}  // namespace
}  // namespace quarn::ui
