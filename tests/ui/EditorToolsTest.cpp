// EditorToolsTest.cpp — the author's tools in the editor's window on SDL's dummy display: select,
// copy, the floating paste, moving, mirroring, hollow rectangles, flood fill, edges, test-play
// from the pointer and the counts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/App.h"
#include "ui/Dialog.h"
#include "ui/EditorScreen.h"
#include "ui/KeyFeed.h"
#include "HelpKeys.h"
#include <array>
#include <set>

namespace quarn::ui {
namespace {

namespace fs = std::filesystem;

class StillClock : public platform::MonotonicClock {
 public:
  int64_t NowNs() override { return 1'000'000'000; }
};

constexpr platform::Modifiers NoKeys{};
constexpr platform::Modifiers Ctrl{true, false, false};
constexpr platform::Modifiers Shift{false, true, false};
constexpr int Delete = 46, Escape = 27, F5 = 116;

class EditorToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root = fs::temp_directory_path() / ("quarn-tools-ui-" + std::string(info->name()));
    fs::remove_all(root);
    fs::create_directories(root / "mine");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<platform::App>(keyFeed, clock);
    app->AnswerInstead = [](const std::string&, const std::string&,
                            const std::vector<std::string>& buttons) {
      // Unsaved changes are thrown away when the editor closes.
      for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == "Ne") return static_cast<int>(i);
      }
      return static_cast<int>(buttons.size()) - 1;
    };
    dialog = std::make_unique<Dialog>(*app, QUARN_BIN_DIR);
    editor = Editor();
  }
  void TearDown() override {
    editor.reset();
    dialog.reset();
    app.reset();
    fs::remove_all(root);
  }
  std::unique_ptr<EditorScreen> Editor() {
    auto e = std::make_unique<EditorScreen>(*app, *dialog, QUARN_BIN_DIR,
                                            edit::ZoneFolders{root / "mine", {}, {}});
    e->ShareClipboard(clipboard);
    e->OnClosed = [this] { ++closed; };
    EXPECT_TRUE(e->Open({}));
    return e;
  }
  SDL_Point At(int x, int y) {
    const SDL_Rect r = editor->Canvas().View().CellRect(x, y);
    return SDL_Point{r.x + r.w / 2, r.y + r.h / 2};
  }
  platform::Control& Canvas() { return editor->ControlNamed("canvas"); }
  void Drag(SDL_Point from, SDL_Point to) {
    Canvas().OnMouseDown(SDL_BUTTON_LEFT, At(from.x, from.y));
    Canvas().OnMouseMove(At(to.x, to.y));
    Canvas().OnMouseUp(SDL_BUTTON_LEFT, At(to.x, to.y));
  }
  void Click(int x, int y) { Drag({x, y}, {x, y}); }
  void Hover(int x, int y) { Canvas().OnMouseMove(At(x, y)); }
  // The canvas and the model hold the same cells.
  bool CanvasShowsModel() {
    const edit::ZoneModel& m = editor->Model();
    for (int y = 0; y < m.Height(); ++y)
      for (int x = 0; x < m.Width(); ++x)
        if (editor->Canvas().CellAt(x, y) != m.At(x, y)) return false;
    return true;
  }

  fs::path root;
  KeyState keys;
  KeyFeed keyFeed{keys};
  StillClock clock;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<Dialog> dialog;
  edit::Piece clipboard;
  std::unique_ptr<EditorScreen> editor;
  int closed = 0;
};

TEST_F(EditorToolsTest, SelectCopyAndAFloatingPasteThatAClickPutsDown) {
  edit::ZoneModel& m = editor->Model();
  m.Paint(3, 2, 'K');
  m.Paint(4, 3, 'R');
  editor->KeyDown('V', NoKeys);
  EXPECT_EQ(editor->Tool(), EditorTool::Select);
  Drag({1, 1}, {4, 3});  // the start, the key and the potato
  ASSERT_TRUE(editor->Selection().has_value());
  EXPECT_EQ(*editor->Selection(), (edit::Area{1, 1, 4, 3}));
  EXPECT_TRUE(editor->ControlNamed("selection").Visible);
  EXPECT_EQ(dynamic_cast<platform::Label&>(editor->ControlNamed("selectionSize")).Caption, "4 × 3");
  EXPECT_NE(editor->Status().find("výběr 4 × 3"), std::string::npos) << editor->Status();
  editor->KeyDown('C', Ctrl);
  EXPECT_EQ(clipboard.Width, 4);

  // Ctrl+V: the piece follows the pointer on the canvas; the zone is not changed yet.
  editor->KeyDown('V', Ctrl);
  ASSERT_TRUE(editor->Floating());
  Hover(10, 6);
  EXPECT_EQ(editor->Canvas().CellAt(12, 7), 'K');
  Hover(11, 6);
  EXPECT_EQ(editor->Canvas().CellAt(12, 7), '.');  // the cell it left shows the zone again
  EXPECT_EQ(editor->Canvas().CellAt(13, 7), 'K');
  EXPECT_EQ(m.At(13, 7), '.');
  EXPECT_FALSE(editor->Model().CanRedo());
  Click(11, 6);
  EXPECT_FALSE(editor->Floating());
  EXPECT_EQ(m.At(13, 7), 'K');
  EXPECT_EQ(m.At(14, 8), 'R');
  EXPECT_EQ(m.Start(), (edit::Cell{11, 6}));  // moved, not doubled
  EXPECT_EQ(m.At(1, 1), '.');
  EXPECT_TRUE(CanvasShowsModel());
  editor->KeyDown('Z', Ctrl);
  EXPECT_EQ(m.Start(), (edit::Cell{1, 1}));
  EXPECT_EQ(m.At(13, 7), '.');

  // Esc drops a floating piece, then the selection, and only then closes the editor.
  editor->KeyDown('V', Ctrl);
  Hover(12, 5);
  editor->KeyDown(Escape, NoKeys);
  EXPECT_FALSE(editor->Floating());
  EXPECT_TRUE(CanvasShowsModel());
  EXPECT_TRUE(editor->Selection().has_value());
  editor->KeyDown(Escape, NoKeys);
  EXPECT_FALSE(editor->Selection().has_value());
  EXPECT_EQ(closed, 0);
  editor->KeyDown(Escape, NoKeys);
  EXPECT_EQ(closed, 1);
}

TEST_F(EditorToolsTest, ShiftClickStampsAndTheClipboardOutlivesTheZone) {
  edit::ZoneModel& m = editor->Model();
  m.Fill(2, 2, 3, 3, 'W');
  editor->SetTool(EditorTool::Select);
  Drag({2, 2}, {3, 3});
  editor->KeyDown('C', Ctrl);
  // A second editor (a zone opened after the first) pastes what the first copied.
  editor = Editor();
  editor->KeyDown('V', Ctrl);
  Hover(6, 4);
  Click(6, 4);
  EXPECT_FALSE(editor->Floating());
  editor->KeyDown('V', Ctrl);
  // Shift held: the piece is put down and floats on for the next stamp.
  SDL_SetModState(KMOD_LSHIFT);
  Hover(10, 4);
  Canvas().OnMouseDown(SDL_BUTTON_LEFT, At(10, 4));
  Canvas().OnMouseUp(SDL_BUTTON_LEFT, At(10, 4));
  SDL_SetModState(KMOD_NONE);
  EXPECT_TRUE(editor->Floating());
  Hover(14, 4);
  Click(14, 4);
  EXPECT_FALSE(editor->Floating());
  for (int x : {6, 7, 10, 11, 14, 15}) EXPECT_EQ(editor->Model().At(x, 5), 'W') << x;
  EXPECT_EQ(editor->Model().At(8, 5), '.');
  (void)m;
}

TEST_F(EditorToolsTest, DragMovesTheSelectionAndDeleteClearsIt) {
  edit::ZoneModel& m = editor->Model();
  m.Fill(3, 3, 4, 4, 'B');
  editor->SetTool(EditorTool::Select);
  Drag({3, 3}, {4, 4});
  Canvas().OnMouseDown(SDL_BUTTON_LEFT, At(3, 3));
  Canvas().OnMouseMove(At(6, 4));
  EXPECT_EQ(editor->Canvas().CellAt(3, 3), '.');  // lifted
  EXPECT_EQ(editor->Canvas().CellAt(6, 4), 'B');
  EXPECT_EQ(m.At(3, 3), 'B');
  Canvas().OnMouseUp(SDL_BUTTON_LEFT, At(6, 4));
  EXPECT_EQ(m.At(3, 3), '.');
  EXPECT_EQ(m.At(7, 5), 'B');
  EXPECT_EQ(*editor->Selection(), (edit::Area{6, 4, 2, 2}));
  EXPECT_TRUE(CanvasShowsModel());
  editor->KeyDown(Delete, NoKeys);
  EXPECT_EQ(m.At(7, 5), '.');
  EXPECT_EQ(m.Counts().BoxStacks, 0);
  m.Undo();
  m.Undo();
  EXPECT_EQ(m.At(3, 3), 'B');
}

// A press on the selection's frame (its corner, its edge) starts a new selection; only a drag
// from inside moves it, and undo puts back the selection with the cells.
TEST_F(EditorToolsTest, ADragFromTheSelectionsFrameSelectsAfreshAndUndoPutsTheSelectionBack) {
  edit::ZoneModel& m = editor->Model();
  m.Fill(3, 3, 5, 5, 'B');
  editor->SetTool(EditorTool::Select);
  Drag({3, 3}, {5, 5});
  const edit::Area picked{3, 3, 3, 3};
  ASSERT_EQ(*editor->Selection(), picked);
  const uint64_t revision = m.Revision();
  for (const int zoom : {20, 40}) {
    editor->Canvas().View().SetZoom(zoom, SDL_Point{0, 0});
    editor->SetSelection(picked);
    const SDL_Rect corner = editor->Canvas().View().CellRect(3, 3);
    Canvas().OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{corner.x + 1, corner.y + 1});
    Canvas().OnMouseMove(At(1, 1));
    Canvas().OnMouseUp(SDL_BUTTON_LEFT, At(1, 1));
    EXPECT_EQ(*editor->Selection(), (edit::Area{1, 1, 3, 3})) << zoom;
    editor->SetSelection(picked);
    const SDL_Rect edge = editor->Canvas().View().CellRect(5, 4);
    Canvas().OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{edge.x + edge.w - 2, edge.y + edge.h / 2});
    Canvas().OnMouseMove(At(8, 4));
    Canvas().OnMouseUp(SDL_BUTTON_LEFT, At(8, 4));
    EXPECT_EQ(*editor->Selection(), (edit::Area{5, 4, 4, 1})) << zoom;
    EXPECT_EQ(m.Revision(), revision) << "nothing moved";
  }
  editor->SetSelection(picked);
  Drag({4, 4}, {8, 5});
  EXPECT_EQ(m.At(7, 4), 'B');
  EXPECT_EQ(m.At(3, 3), '.');
  EXPECT_EQ(*editor->Selection(), (edit::Area{7, 4, 3, 3}));
  editor->KeyDown('Z', Ctrl);
  EXPECT_EQ(m.At(3, 3), 'B');
  ASSERT_TRUE(editor->Selection().has_value());
  EXPECT_EQ(*editor->Selection(), picked);
  EXPECT_TRUE(editor->ControlNamed("selection").Visible);
  editor->KeyDown('Y', Ctrl);
  EXPECT_EQ(*editor->Selection(), (edit::Area{7, 4, 3, 3}));
  EXPECT_TRUE(CanvasShowsModel());
}

// The overview in the canvas's corner: M and the Mapa button hide it and show it again; while it
// is shown the view scrolls far enough to bring the corner's cells out from under it, so that a
// press on any cell reaches the canvas.
TEST_F(EditorToolsTest, TheOverviewHidesAndHidesNoCellForGood) {
  editor->GrowEdge(2, 80);
  editor->GrowEdge(3, 50);
  EditorView& v = editor->Canvas().View();
  ASSERT_EQ(v.Columns, 100);
  ASSERT_EQ(v.Rows, 62);
  platform::Control& overview = editor->ControlNamed("overview");
  ASSERT_TRUE(overview.Visible);
  auto reachable = [&](int x, int y) {
    const SDL_Point p = At(x, y);
    return editor->Window().Root().ControlAt(
               SDL_Point{EditorCanvasArea.x + p.x, EditorCanvasArea.y + p.y}) == &Canvas();
  };
  for (const int zoom : {40, 20, 10}) {
    v.SetZoom(zoom, SDL_Point{0, 0});
    editor->KeyDown(39, Shift);  // arrows bring the rest in
    v.ScrollBy(100000, 100000);
    editor->Canvas().ComposeAll();
    EXPECT_TRUE(overview.Visible) << zoom;
    EXPECT_TRUE(reachable(99, 61)) << zoom << ": the last cell, as far as the view goes";
  }
  editor->KeyDown('M', NoKeys);
  EXPECT_FALSE(overview.Visible);
  EXPECT_EQ(v.Left, 100 * v.Zoom - v.ViewWidth) << "hidden, it needs no room past the edge";
  EXPECT_EQ(v.Top, 62 * v.Zoom - v.ViewHeight);
  EXPECT_TRUE(reachable(99, 61));
  auto& button = dynamic_cast<platform::Button&>(editor->ControlNamed("btnOverview"));
  EXPECT_EQ(button.Caption, "Mapa");
  button.OnClick();
  EXPECT_TRUE(overview.Visible);
  EXPECT_EQ(button.Caption, "[Mapa]");
}

TEST_F(EditorToolsTest, MirrorTurnHollowFloodAndEdges) {
  edit::ZoneModel& m = editor->Model();
  // Nothing selected: the whole zone turns, and the canvas takes the new size.
  editor->KeyDown('L', NoKeys);
  EXPECT_EQ(m.Width(), 12);
  EXPECT_EQ(m.Height(), 20);
  EXPECT_EQ(editor->Canvas().View().Columns, 12);
  EXPECT_EQ(m.Start(), (edit::Cell{10, 1}));
  editor->KeyDown('H', NoKeys);
  EXPECT_EQ(m.Start(), (edit::Cell{1, 1}));
  editor->KeyDown('J', NoKeys);
  EXPECT_EQ(m.Start(), (edit::Cell{1, 18}));
  EXPECT_TRUE(CanvasShowsModel());

  editor->Select('W');
  editor->SetTool(EditorTool::Hollow);
  Drag({3, 3}, {7, 8});
  EXPECT_EQ(m.At(3, 3), 'W');
  EXPECT_EQ(m.At(7, 8), 'W');
  EXPECT_EQ(m.At(5, 5), '.');
  editor->Select('T');
  editor->KeyDown('F', NoKeys);
  Click(5, 5);
  EXPECT_EQ(m.At(4, 4), 'T');
  EXPECT_EQ(m.At(6, 7), 'T');
  EXPECT_EQ(m.At(2, 2), '.');
  EXPECT_EQ(m.Counts().Bonuses, 3 * 4);

  ASSERT_TRUE(m.Undo());
  editor->ControlNamed("btnEdgeLeft").OnClick();
  EXPECT_EQ(m.Width(), 13);
  EXPECT_EQ(m.At(4, 3), 'W');
  EXPECT_TRUE(CanvasShowsModel());

  // A drag from just outside an edge moves that edge by whole cells: out grows, in cuts; each
  // drag is one undo step. A press on the zone paints as ever.
  auto dragEdge = [&](int edge, int cells) {
    const SDL_Rect first = editor->Canvas().View().CellRect(0, 0);
    const SDL_Rect last = editor->Canvas().View().CellRect(m.Width() - 1, m.Height() - 1);
    const int zoom = first.w, midX = (first.x + last.x) / 2, midY = (first.y + last.y) / 2;
    const SDL_Point from = edge == 0   ? SDL_Point{first.x - 3, midY}
                           : edge == 1 ? SDL_Point{midX, first.y - 3}
                           : edge == 2 ? SDL_Point{last.x + last.w + 2, midY}
                                       : SDL_Point{midX, last.y + last.h + 2};
    const int d = (edge < 2 ? -cells : cells) * zoom;
    const SDL_Point to{from.x + (edge % 2 == 0 ? d : 0), from.y + (edge % 2 == 1 ? d : 0)};
    Canvas().OnMouseDown(SDL_BUTTON_LEFT, from);
    Canvas().OnMouseMove(SDL_Point{(from.x + to.x) / 2, (from.y + to.y) / 2});
    Canvas().OnMouseMove(to);
    Canvas().OnMouseUp(SDL_BUTTON_LEFT, to);
  };
  const std::string before = m.Text();
  const int width = m.Width(), height = m.Height();
  const char below = m.At(5, 3);
  dragEdge(2, 2);
  EXPECT_EQ(m.Width(), width + 2);
  dragEdge(1, -1);
  EXPECT_EQ(m.Height(), height - 1);
  EXPECT_EQ(m.At(5, 2), below) << "the cut row is gone, the rest keeps its place";
  dragEdge(0, 3);
  EXPECT_EQ(m.Width(), width + 5);
  EXPECT_EQ(m.At(3, 0), '.');
  EXPECT_EQ(m.At(8, 2), below);
  dragEdge(3, -100);  // never below one row
  EXPECT_EQ(m.Height(), 1);
  EXPECT_TRUE(CanvasShowsModel());
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(m.Undo());
  EXPECT_EQ(m.Text(), before);
}

TEST_F(EditorToolsTest, ShiftF5PlaysFromThePointerAndTheCountsTurnRed) {
  std::string played, playedHere;
  editor->OnTestPlay = [&](const std::string& text) { played = text; };
  editor->OnTestPlayHere = [&](const std::string& text) { playedHere = text; };
  Hover(5, 4);
  editor->KeyDown(F5, Shift);
  EXPECT_TRUE(played.empty());
  ASSERT_FALSE(playedHere.empty());
  EXPECT_NE(playedHere.find("\nW....S"), std::string::npos) << playedHere;
  EXPECT_EQ(editor->Model().Start(), (edit::Cell{1, 1}));
  editor->KeyDown(F5, NoKeys);
  EXPECT_EQ(played, editor->Model().Text());

  // The counts follow each change; a broken limit is drawn in red.
  auto line = [&](int i) -> platform::Label& {
    return dynamic_cast<platform::Label&>(editor->ControlNamed("count(" + std::to_string(i) + ")"));
  };
  auto red = [&](int i) { return line(i).Fore.R == 255 && line(i).Fore.G < 100; };
  EXPECT_EQ(line(1).Caption, "Brambory: 0, cíle: 0");
  EXPECT_TRUE(red(1));
  EXPECT_FALSE(red(4));
  editor->SetTool(EditorTool::Brush);
  editor->Select('R');
  Click(3, 3);
  EXPECT_TRUE(red(1));  // a potato without a target
  editor->Select('C');
  Click(4, 3);
  EXPECT_EQ(line(1).Caption, "Brambory: 1, cíle: 1");
  EXPECT_FALSE(red(1));
}

}  // namespace
}  // namespace quarn::ui

namespace quarn::ui {
namespace {

TEST_F(EditorToolsTest, TheNotesBoxShowsTheNotesAndAnEditIsOneUndoStepKeptByteForByte) {
  const std::string notes = "\r\nautor: já\r\n\x80 konec";
  std::ofstream(root / "mine" / "n.qrn", std::ios::binary)
      << "N\n3\n1\n4\n8\n8\n8\n01\n01\n01\nSRE\n" << notes;
  ASSERT_TRUE(editor->Open(root / "mine" / "n.qrn"));
  NotesBox& box = editor->Notes();
  EXPECT_EQ(box.Text, "\nautor: já\n\x80 konec");
  // Looked at and left unchanged, the notes keep their bytes.
  box.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{5, 5});
  ASSERT_TRUE(box.Focused());
  editor->KeyDown(9, NoKeys);  // Tab leaves the box
  EXPECT_FALSE(box.Focused());
  EXPECT_FALSE(editor->Model().Dirty());
  EXPECT_EQ(editor->Model().Notes(), notes);

  // The cursor moves: a word typed into the middle of the second line, a new line at the end.
  box.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{5, 5});
  for (int i = 0; i < 3; ++i) editor->KeyDown(38, NoKeys);  // up to the first line
  editor->KeyDown(40, NoKeys);                                // the second line, its start
  editor->KeyDown(35, NoKeys);                                // its end
  editor->KeyDown(37, NoKeys);                                // before "á", two bytes
  editor->TypeText("i");
  editor->KeyDown(39, NoKeys);
  editor->KeyDown(8, NoKeys);  // takes "á" whole
  editor->TypeText("a");
  EXPECT_EQ(box.Text, "\nautor: jia\n\x80 konec");
  editor->KeyDown('S', NoKeys);  // a letter's key stays in the box: no tile is picked
  EXPECT_EQ(editor->Selected(), 'W');
  editor->KeyDown(13, NoKeys);
  EXPECT_EQ(box.Text, "\nautor: jia\n\n\x80 konec") << "Enter is a new line in the box";
  EXPECT_FALSE(editor->Model().Dirty()) << "taken only when the box is left";
  // A click on the canvas takes the notes as one step; undo gives back the bytes as they were.
  Canvas().OnMouseDown(SDL_BUTTON_RIGHT, At(1, 0));
  Canvas().OnMouseUp(SDL_BUTTON_RIGHT, At(1, 0));
  EXPECT_FALSE(box.Focused());
  EXPECT_EQ(editor->Model().Notes(), "\nautor: jia\n\n\x80 konec");
  EXPECT_TRUE(editor->Model().Dirty());
  editor->KeyDown('Z', Ctrl);
  EXPECT_EQ(editor->Model().Notes(), notes);
  EXPECT_EQ(box.Text, "\nautor: já\n\x80 konec");
  EXPECT_FALSE(editor->Model().Dirty());
  editor->KeyDown('Y', Ctrl);
  EXPECT_EQ(box.Text, "\nautor: jia\n\n\x80 konec");
  // Esc in the box puts back what was there and changes nothing.
  box.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{5, 5});
  editor->TypeText("xyz");
  editor->KeyDown(27, NoKeys);
  EXPECT_EQ(editor->Model().Notes(), "\nautor: jia\n\n\x80 konec");
  EXPECT_TRUE(editor->Window().Shown() || closed == 0) << "Esc in the box does not close";
  EXPECT_EQ(closed, 0);
  // Ctrl+S from the box saves the notes typed (at the end: a click past the last line).
  box.OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{box.Bounds.w - 2, box.Bounds.h - 2});
  editor->TypeText("!");
  editor->KeyDown('S', Ctrl);
  std::ifstream in(root / "mine" / "n.qrn", std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(saved.ends_with("SRE\n\nautor: jia\n\n\x80 konec!")) << saved;
}

}  // namespace
}  // namespace quarn::ui

namespace quarn::ui {
namespace {

TEST_F(EditorToolsTest, OverlaysShowTheChecksReachTheDoorsOfAKeyAndLaserGroupsByTheirPattern) {
  std::ofstream(root / "mine" / "o.qrn", std::ios::binary)
      << "O\n9\n3\n4\n8\n8\n8\n0011\n1\n\nWWWWWWWWW\nWSKDKDQRW\nWabcWCEWW\n";
  ASSERT_TRUE(editor->Open(root / "mine" / "o.qrn"));
  auto tinted = [&] {
    std::string out;
    const auto& o = editor->Canvas().Overlay();
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 9; ++x) {
        const EditorCanvas::Tint t = o.empty() ? EditorCanvas::Tint{} : o[static_cast<size_t>(y * 9 + x)];
        out += t.Alpha == 0 ? '.' : t.G == 255 && t.R == 0 && t.B == 90 ? '#'
               : t.R == 255 && t.G == 210                              ? 'k'
               : t.R == 255 && t.G == 110                              ? 'd'
               : t.R == 0 && t.G == 255 && t.B == 0                    ? 'o'
               : t.B == 255 && t.G == 255                              ? '@'
                                                                       : 'l';
      }
      out += '|';
    }
    return out;
  };
  EXPECT_EQ(tinted(), ".........|.........|.........|");
  editor->ControlNamed("btnReach").OnClick();
  EXPECT_TRUE(editor->OverlayShown(EditorScreen::Overlay::Reach));
  // The check's walk: through both doors in turn and the slam door; the lasers count as open.
  EXPECT_EQ(tinted(), ".........|.#######.|.###.....|");
  editor->ControlNamed("btnReach").OnClick();
  editor->ControlNamed("btnKeys").OnClick();
  EXPECT_EQ(tinted(), ".........|..kdkd...|.........|");
  // The key under the pointer: the door it opens turns green, the other stays.
  Hover(4, 1);
  EXPECT_EQ(tinted(), ".........|..kd@o...|.........|");
  Hover(2, 1);
  EXPECT_EQ(tinted(), ".........|..@okd...|.........|");
  // A change to the zone is shown after the check: the second key walled over.
  editor->Model().Paint(4, 1, 'W');
  editor->ControlNamed("btnKeys").OnClick();
  editor->ControlNamed("btnKeys").OnClick();
  EXPECT_EQ(tinted(), ".........|..@o.d...|.........|");
  editor->ControlNamed("btnKeys").OnClick();

  // Lasers: a "0011" shut, shut, open, open; b "1" always open; c "" open.
  editor->ControlNamed("btnLasers").OnClick();
  EXPECT_TRUE(editor->ControlNamed("laserPanel").Visible);
  std::string a, b;
  for (int p = 0; p < 8; ++p) {
    a += editor->LaserShut(0, p) ? '1' : '0';
    b += editor->LaserShut(1, p) ? '1' : '0';
  }
  EXPECT_EQ(a, "11001100");
  EXPECT_EQ(b, "00000000");
  EXPECT_FALSE(editor->LaserShut(2, 5));
  auto& first = dynamic_cast<platform::Shape&>(editor->ControlNamed("laserCell(0,0)"));
  auto& third = dynamic_cast<platform::Shape&>(editor->ControlNamed("laserCell(0,2)"));
  const uint8_t shutRed = first.Ink.R;
  EXPECT_NE(shutRed, third.Ink.R) << "shut and open cells differ";
  const auto alphaA = [&] { return editor->Canvas().Overlay()[static_cast<size_t>(2 * 9 + 1)].Alpha; };
  const uint8_t shutAlpha = alphaA();
  editor->SetLaserPhase(2);
  EXPECT_LT(alphaA(), shutAlpha) << "the doors of a show the phase's state";
  EXPECT_NE(first.Ink.R, shutRed) << "the row moved on: now is the open phase 2";
  // The play button advances the phase with a timer and stops it again.
  editor->ControlNamed("btnLaserPlay").OnClick();
  EXPECT_EQ(dynamic_cast<platform::Button&>(editor->ControlNamed("btnLaserPlay")).Caption, "■");
  editor->ControlNamed("btnLaserPlay").OnClick();
  EXPECT_EQ(dynamic_cast<platform::Button&>(editor->ControlNamed("btnLaserPlay")).Caption, "►");
  // A pattern odd in its changes ("012": three a round) alternates round by round.
  editor->Model().SetField(edit::HeaderField::LaserC, "012");
  std::string c;
  for (int p = 0; p < 7; ++p) c += editor->LaserShut(2, p) ? '1' : '0';
  EXPECT_EQ(c, "1010101");
}

}  // namespace
}  // namespace quarn::ui

namespace quarn::ui {
namespace {

// Every key the editor answers (alone, with Ctrl, Shift or both) is named in the help's editor
// group, and every key named there is answered; in the browser build too, where it also makes
// a link to the zone.
TEST_F(EditorToolsTest, TheHelpNamesEveryKeyTheEditorAnswersAndNoOther) {
  for (const bool browser : {false, true}) {
  SCOPED_TRACE(browser ? "browser" : "desktop");
  // Written again for every probe: Ctrl+S saves it.
  auto writeZone = [&] {
    std::ofstream zone(root / "mine" / "big.qrn", std::ios::binary | std::ios::trunc);
    zone << "Velká\n40\n40\n4\n8\n8\n8\n01\n01\n01\n";
    for (int y = 0; y < 40; ++y) zone << (y == 1 ? "WS" + std::string(38, '.') : std::string(40, '.')) << "\n";
  };
  int played = 0, playedHere = 0, helped = 0, chosen = 0, shared = 0;
  std::vector<std::string> asked;
  app->AnswerInstead = [&](const std::string&, const std::string& text,
                           const std::vector<std::string>& buttons) {
    asked.push_back(text);
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (buttons[i] == "Ne") return static_cast<int>(i);
    }
    return static_cast<int>(buttons.size()) - 1;
  };
  auto fresh = [&] {
    played = playedHere = helped = chosen = closed = shared = 0;
    asked.clear();
    writeZone();
    editor = Editor();
    ASSERT_TRUE(editor->Open(root / "mine" / "big.qrn"));
    editor->OnTestPlay = [&](const std::string&) { ++played; };
    editor->OnTestPlayHere = [&](const std::string&) { ++playedHere; };
    editor->OnHelp = [&] { ++helped; };
    if (browser) editor->OfferLink([&](const std::string&, const std::string&) { ++shared; });
    editor->ChooseFile = [&](const ChooserRequest&) {
      ++chosen;
      return std::optional<ChosenFile>();
    };
    // Something to undo and something to redo, a selection, a clipboard, a view that scrolls
    // every way, the pointer on a floor cell.
    edit::ZoneModel& m = editor->Model();
    m.Paint(18, 18, 'R');  // in the selection: a mirror or a turn changes it
    m.Paint(5, 5, 'R');
    m.Paint(6, 5, 'R');
    m.Undo();
    editor->KeyDown(187, Ctrl);
    editor->Canvas().View().Reveal(20, 20);
    editor->Canvas().ComposeAll();
    clipboard = m.Copy(edit::Area{2, 2, 2, 2});
    editor->SetSelection(edit::Area{18, 18, 3, 3});
    Hover(20, 22);
  };
  auto digest = [&] {
    const edit::ZoneModel& m = editor->Model();
    const EditorView& v = editor->Canvas().View();
    const auto sel = editor->Selection().value_or(edit::Area{});
    return m.Text() + std::to_string(m.Revision()) + "|" + std::to_string(v.Zoom) + "," +
           std::to_string(v.Left) + "," + std::to_string(v.Top) + "|" + std::to_string(sel.X) +
           std::to_string(sel.W) + (editor->Floating() ? "F" : "") +
           std::to_string(static_cast<int>(editor->Tool())) + editor->Status() + "|" +
           std::to_string(clipboard.Width) + std::to_string(closed) + std::to_string(played) +
           std::to_string(playedHere) + std::to_string(helped) + std::to_string(chosen) +
           std::to_string(shared) + std::to_string(asked.size());
  };
  fresh();
  const std::string nothing = digest();
  std::set<KeyPress> answered;
  // Every key a keyboard is likely to send: control keys, digits, letters, function keys, the
  // keypad's plus and minus, the punctuation keys (plus and minus among them).
  std::vector<int> probed{8, 9, 13, 27, 32, 33, 34, 35, 36, 37, 38, 39, 40, 45, 46, 107, 109};
  for (int k = '0'; k <= '9'; ++k) probed.push_back(k);
  for (int k = 'A'; k <= 'Z'; ++k) probed.push_back(k);
  for (int k = 112; k <= 123; ++k) probed.push_back(k);
  for (int k = 186; k <= 192; ++k) probed.push_back(k);
  for (int key : probed) {
    std::array<std::string, 4> effect;  // alone, Ctrl, Shift, Ctrl+Shift
    for (int mods = 0; mods < 4; ++mods) {
      editor->KeyDown(key, platform::Modifiers{(mods & 1) != 0, (mods & 2) != 0, false});
      effect[static_cast<size_t>(mods)] = digest();
      if (effect[static_cast<size_t>(mods)] != nothing) fresh();
    }
    if (effect[0] != nothing) answered.insert({key});
    if (effect[1] != nothing && effect[1] != effect[0]) answered.insert({key, true});
    if (effect[2] != nothing && effect[2] != effect[0]) answered.insert({key, false, false, true});
    if (effect[3] != nothing && effect[3] != effect[1] && effect[3] != effect[2]) {
      answered.insert({key, true, false, true});
    }
  }
  auto groups = HelpKeysByGroup(browser);
  std::set<KeyPress> named = groups["V editoru zón"];
  auto show = [](const std::set<KeyPress>& set) {
    std::string out;
    for (const KeyPress& k : set) {
      out += std::string(k.Ctrl ? "Ctrl+" : "") + (k.Shift ? "Shift+" : "") +
             std::to_string(k.Key) + " ";
    }
    return out;
  };
  EXPECT_EQ(show(answered), show(named));
  }
}

}  // namespace
}  // namespace quarn::ui
