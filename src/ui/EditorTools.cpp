// EditorTools.cpp — the author's tools in the editor's window: selection, copy, cut and a pasted
// piece that follows the pointer, moving, mirroring and turning, hollow rectangles, flood fill,
// growing at any edge, test-play from the pointer, and the live counts.
#include <algorithm>
#include <sstream>

#include "base/Keys.h"
#include "EditorScreen.h"

namespace quarn::ui {

namespace {

constexpr platform::Colour White{255, 255, 255};
constexpr platform::Colour Magenta{255, 96, 255};
constexpr platform::Colour CountInk{200, 220, 255};
constexpr platform::Colour BrokenInk{255, 80, 80};
constexpr platform::Colour Navy{0, 0, 96};
constexpr platform::Colour Cyan{0, 255, 255};
constexpr platform::Colour Yellow{255, 255, 0};

// The overview's largest size in pixels (a 150 x 130 zone at a pixel a cell), its largest
// scale, and its distance from the canvas's corner.
constexpr int OverviewWidth = 150, OverviewHeight = 130, OverviewScale = 4, OverviewMargin = 6;

// The colour of a tile on the overview.
platform::Colour OverviewColour(char c) {
  switch (c) {
    case 'W':
      return {150, 150, 160};
    case 'E':
      return {255, 255, 255};
    case 'S':
      return {255, 255, 0};
    case 'R':
      return {255, 140, 0};
    case 'C':
      return {0, 220, 0};
    case 'K':
    case 'D':
      return {230, 190, 40};
    case 'Q':
    case 'O':
    case '?':
      return {150, 100, 60};
    case '+':
    case '-':
    case '*':
      return {255, 40, 40};
    case 'a':
    case 'b':
    case 'c':
      return {0, 230, 230};
    case 'B':
      return {200, 160, 110};
    case 'T':
      return {80, 120, 255};
    default:
      return {20, 20, 40};
  }
}

// The right-hand column under the header form.
constexpr int ColumnLeft = 792, ColumnWidth = 228, ToolsTop = 378, CountsTop = 456, CountRow = 14;

struct EdgeButton {
  const char* Name;
  const char* Caption;
  const char* Tip;
};
constexpr EdgeButton EdgeButtons[4] = {
    {"btnEdgeLeft", "←",
     "Přidat sloupec vlevo (Shift: ubrat sloupec vlevo, Ctrl: posunout obsah vlevo)"},
    {"btnEdgeTop", "↑",
     "Přidat řádek nahoře (Shift: ubrat řádek nahoře, Ctrl: posunout obsah nahoru)"},
    {"btnEdgeRight", "→",
     "Přidat sloupec vpravo (Shift: ubrat sloupec vpravo, Ctrl: posunout obsah vpravo)"},
    {"btnEdgeBottom", "↓",
     "Přidat řádek dole (Shift: ubrat řádek dole, Ctrl: posunout obsah dolů)"},
};

}  // namespace

void EditorScreen::BuildTools() {
  auto button = [&](const std::string& name, const std::string& caption, SDL_Rect bounds,
                    const std::string& tip) -> platform::Button& {
    auto b = std::make_unique<platform::Button>(app_.FontSet());
    b->Caption = caption;
    b->ToolTip = tip;
    return Add(name, std::move(b), bounds);
  };
  const SDL_Rect pick = ControlNamed("btnPick").Bounds;
  int x = pick.x + pick.w + 4;
  auto bar = [&](const std::string& name, const std::string& caption, int width,
                 const std::string& tip) {
    button(name, caption, SDL_Rect{x, 5, width, 24}, tip);
    x += width + 4;
  };
  bar("btnSelect", "Výběr", 54,
      "Vybrat obdélník tažením (V); tažením výběru ho přesuneš. Ctrl+C kopírovat, Ctrl+X "
      "vyjmout, Ctrl+V vložit, Delete smazat, Esc zrušit");
  bar("btnHollow", "Rámeček", 64, "Obdélník jen po okraji; vnitřek zůstane, jak je");
  bar("btnFlood", "Výplň", 50, "Vyplnit souvislou plochu jedné dlaždice (F)");
  bar("btnOverview", "[Mapa]", 42,
      "Ukázat nebo skrýt mapu celé zóny v rohu plochy (M); klepnutím do mapy se tam posuneš");

  auto heading = std::make_unique<platform::Label>(app_.FontSet());
  heading->Caption = "Výběr, nebo celá zóna:";
  heading->Font = platform::FontSpec{"Arial", 8.25, true};
  heading->Fore = Cyan;
  Add("lblTools", std::move(heading), SDL_Rect{ColumnLeft, ToolsTop, ColumnWidth, 16});
  button("btnMirrorLR", "↔ Zrcadlit", SDL_Rect{ColumnLeft, ToolsTop + 18, 74, 22},
         "Zrcadlit zleva doprava (H)");
  button("btnMirrorUD", "↕ Převrátit", SDL_Rect{ColumnLeft + 77, ToolsTop + 18, 74, 22},
         "Převrátit shora dolů (J)");
  button("btnTurn", "Otočit 90°", SDL_Rect{ColumnLeft + 154, ToolsTop + 18, 74, 22},
         "Otočit o čtvrt otáčky doprava (L); celá zóna prohodí šířku a výšku");
  auto edges = std::make_unique<platform::Label>(app_.FontSet());
  edges->Caption = "Okraje zóny:";
  edges->Font = platform::FontSpec{"Arial", 8.25, true};
  Add("lblEdges", std::move(edges), SDL_Rect{ColumnLeft, ToolsTop + 48, 90, 16});
  for (int i = 0; i < 4; ++i) {
    button(EdgeButtons[i].Name, EdgeButtons[i].Caption,
           SDL_Rect{ColumnLeft + 96 + 33 * i, ToolsTop + 45, 30, 22}, EdgeButtons[i].Tip);
  }
  for (int i = 0; i < 6; ++i) {
    auto line = std::make_unique<platform::Label>(app_.FontSet());
    line->Font = platform::FontSpec{"Arial", 8.25, true};
    line->Fore = CountInk;
    countLines_.push_back(
        &Add("count(" + std::to_string(i) + ")", std::move(line),
             SDL_Rect{ColumnLeft, CountsTop + CountRow * i, ColumnWidth, CountRow}));
  }

  auto map = std::make_unique<platform::PictureBox>();
  map->Visible = false;
  map->Background = Navy;
  overview_ = &Add("overview", std::move(map), SDL_Rect{0, 0, 0, 0}, canvasBox_);
  auto seen = std::make_unique<platform::Shape>();
  seen->Ink = Yellow;
  overviewFrame_ = &Add("overviewFrame", std::move(seen), SDL_Rect{0, 0, 0, 0}, overview_);

  auto frame = [&](const std::string& name, platform::Colour ink) {
    auto s = std::make_unique<platform::Shape>();
    s->Ink = ink;
    s->Thickness = 2;
    s->Visible = false;
    return &Add(name, std::move(s), SDL_Rect{0, 0, 0, 0}, canvasBox_);
  };
  selectionFrame_ = frame("selection", White);
  floatingFrame_ = frame("floating", Magenta);
  auto size = std::make_unique<platform::Label>(app_.FontSet());
  size->Font = platform::FontSpec{"Arial", 8.25, true};
  size->Fore = White;
  size->Background = Navy;
  size->Alignment = platform::Label::Align::Centre;
  size->Visible = false;
  selectionSize_ = &Add("selectionSize", std::move(size), SDL_Rect{0, 0, 64, 15}, canvasBox_);
}

void EditorScreen::BindTools() {
  overview_->OnMouseDown = [this](int button, SDL_Point p) {
    if (button == SDL_BUTTON_LEFT) OverviewDown(p);
  };
  ControlNamed("btnSelect").OnClick = [this] { SetTool(EditorTool::Select); };
  ControlNamed("btnOverview").OnClick = [this] { ToggleOverview(); };
  ControlNamed("btnHollow").OnClick = [this] { SetTool(EditorTool::Hollow); };
  ControlNamed("btnFlood").OnClick = [this] { SetTool(EditorTool::Flood); };
  ControlNamed("btnMirrorLR").OnClick = [this] { MirrorOrTurn(edit::Mirror::LeftRight); };
  ControlNamed("btnMirrorUD").OnClick = [this] { MirrorOrTurn(edit::Mirror::UpDown); };
  ControlNamed("btnTurn").OnClick = [this] { MirrorOrTurn(std::nullopt); };
  for (int i = 0; i < 4; ++i) {
    ControlNamed(EdgeButtons[i].Name).OnClick = [this, i] {
      BlurFields();
      const platform::Modifiers held = platform::HeldModifiers();
      if (held.Ctrl) {
        const int dx = i == 0 ? -1 : i == 2 ? 1 : 0, dy = i == 1 ? -1 : i == 3 ? 1 : 0;
        if (model_.Shift(dx, dy)) Sync();
        return;
      }
      GrowEdge(i, held.Shift ? -1 : 1);
    };
  }
}

void EditorScreen::SetSelection(std::optional<edit::Area> area) {
  if (area) {
    // Only what lies in the zone can be selected.
    const int left = std::max(0, area->X), top = std::max(0, area->Y);
    const int right = std::min(model_.Width(), area->X + area->W);
    const int bottom = std::min(model_.Height(), area->Y + area->H);
    area = right > left && bottom > top
               ? std::optional<edit::Area>(edit::Area{left, top, right - left, bottom - top})
               : std::nullopt;
  }
  model_.SetSelection(area);
  UpdateStatus();
}

void EditorScreen::CopySelection(bool cut) {
  BlurFields();
  const std::optional<edit::Area> selection = model_.Selection();
  if (!selection) {
    message_ = "Nejdřív vyber obdélník (V a tažení).";
    UpdateStatus();
    return;
  }
  *clipboard_ = cut ? model_.Cut(*selection) : model_.Copy(*selection);
  message_ = std::string(cut ? "Vyjmuto" : "Zkopírováno") + ": " +
             std::to_string(clipboard_->Width) + " × " + std::to_string(clipboard_->Height);
  if (cut) Sync();
  UpdateStatus();
}

void EditorScreen::StartPaste() {
  BlurFields();
  if (clipboard_->Empty()) {
    message_ = "Schránka je prázdná: Ctrl+C zkopíruje výběr.";
    UpdateStatus();
    return;
  }
  floating_ = FloatingPiece{*clipboard_, SDL_Point{0, 0}, std::nullopt};
  message_ = "Vkládá se " + std::to_string(clipboard_->Width) + " × " +
             std::to_string(clipboard_->Height) +
             ": klepnutí položí (se Shiftem i další), Esc zruší.";
  ShowFloating();
  UpdateStatus();
}

void EditorScreen::PlaceFloating(bool keep) {
  if (!floating_) return;
  if (!pointerCell_) {
    floating_.reset();
    ShowFloating();
    return;
  }
  const int x = pointerCell_->x - floating_->Grip.x, y = pointerCell_->y - floating_->Grip.y;
  FloatingPiece piece = *floating_;
  floating_.reset();
  ShowFloating();  // the canvas shows the model again before the change is drawn
  bool changed = false;
  if (piece.From) {
    changed = model_.Move(*piece.From, x - piece.From->X, y - piece.From->Y);
  } else {
    changed = model_.Paste(piece.Piece, x, y);
  }
  if (keep && !piece.From) floating_ = piece;
  if (!floating_) {
    message_ = std::string(piece.From ? "Přesunuto" : "Vloženo") + ": " +
               std::to_string(piece.Piece.Width) + " × " + std::to_string(piece.Piece.Height);
  }
  SetSelection(edit::Area{x, y, piece.Piece.Width, piece.Piece.Height});
  if (changed) Sync();
  if (floating_) ShowFloating();
}

void EditorScreen::ShowFloating() {
  // The cells shown as the piece go back to what the zone holds, then the piece is shown where
  // the pointer is.
  for (const SDL_Point& p : previewed_) {
    if (model_.Inside(p.x, p.y) && canvas_.CellAt(p.x, p.y) != model_.At(p.x, p.y)) {
      canvas_.SetCell(p.x, p.y, model_.At(p.x, p.y));
    }
  }
  previewed_.clear();
  floatingFrame_->Visible = floating_.has_value() && pointerCell_.has_value();
  if (floatingFrame_->Visible) {
    const edit::Piece& piece = floating_->Piece;
    const int x0 = pointerCell_->x - floating_->Grip.x, y0 = pointerCell_->y - floating_->Grip.y;
    floating_->ShownAt = SDL_Point{x0, y0};
    floating_->ShownZoom = canvas_.View().Zoom;
    floating_->ShownScroll = SDL_Point{canvas_.View().Left, canvas_.View().Top};
    auto show = [&](int x, int y, char c) {
      if (!model_.Inside(x, y)) return;
      if (canvas_.CellAt(x, y) != c) canvas_.SetCell(x, y, c);
      previewed_.push_back(SDL_Point{x, y});
    };
    if (const auto& from = floating_->From) {
      for (int y = from->Y; y < from->Y + from->H; ++y) {
        for (int x = from->X; x < from->X + from->W; ++x) show(x, y, '.');
      }
    }
    for (int y = 0; y < piece.Height; ++y) {
      for (int x = 0; x < piece.Width; ++x) show(x0 + x, y0 + y, piece.At(x, y));
    }
    const SDL_Rect a = canvas_.View().CellRect(x0, y0);
    const SDL_Rect b = canvas_.View().CellRect(x0 + piece.Width - 1, y0 + piece.Height - 1);
    floatingFrame_->Bounds = SDL_Rect{a.x - 1, a.y - 1, b.x + b.w - a.x + 2, b.y + b.h - a.y + 2};
  }
  ShowCanvasDamage();
  window_.Invalidate();
}

void EditorScreen::PlaceToolFrames() {
  if (!selectionFrame_) return;
  // The board scrolled or zoomed under a floating piece: it follows the cell under the pointer.
  if (floating_ && pointerCell_) {
    const EditorView& v = canvas_.View();
    const SDL_Point at{pointerCell_->x - floating_->Grip.x, pointerCell_->y - floating_->Grip.y};
    if (at.x != floating_->ShownAt.x || at.y != floating_->ShownAt.y ||
        v.Zoom != floating_->ShownZoom || v.Left != floating_->ShownScroll.x ||
        v.Top != floating_->ShownScroll.y) {
      ShowFloating();
    }
  }
  // The overview shows while the zone does not fit the canvas, with the part in view framed.
  const EditorView& v = canvas_.View();
  overview_->Visible = overviewWanted_ && overviewPixels_ &&
                       (v.Columns * v.Zoom > v.ViewWidth || v.Rows * v.Zoom > v.ViewHeight);
  if (overview_->Visible) {
    const int w = overviewPixels_->w, h = overviewPixels_->h, scale = w / v.Columns;
    overview_->Bounds =
        SDL_Rect{v.ViewWidth - w - OverviewMargin, v.ViewHeight - h - OverviewMargin, w, h};
    const int left = std::max(0, v.Left) * scale / v.Zoom,
              top = std::max(0, v.Top) * scale / v.Zoom;
    overviewFrame_->Bounds = SDL_Rect{left, top, std::min(w - left, v.ViewWidth * scale / v.Zoom),
                                      std::min(h - top, v.ViewHeight * scale / v.Zoom)};
  }
  if (const auto& s = model_.Selection();
      s && (s->X + s->W > model_.Width() || s->Y + s->H > model_.Height())) {
    // The zone shrank or turned under the selection.
    const edit::Area a = *s;
    std::optional<edit::Area> kept;
    if (a.X < model_.Width() && a.Y < model_.Height()) {
      kept = edit::Area{a.X, a.Y, std::min(a.W, model_.Width() - a.X),
                        std::min(a.H, model_.Height() - a.Y)};
    }
    model_.SetSelection(kept);
  }
  const bool shown = model_.Selection().has_value() && !(floating_ && floating_->From);
  selectionFrame_->Visible = selectionSize_->Visible = shown;
  if (!shown) return;
  const edit::Area a = *model_.Selection();
  const SDL_Rect r0 = canvas_.View().CellRect(a.X, a.Y);
  const SDL_Rect r1 = canvas_.View().CellRect(a.X + a.W - 1, a.Y + a.H - 1);
  selectionFrame_->Bounds =
      SDL_Rect{r0.x - 1, r0.y - 1, r1.x + r1.w - r0.x + 2, r1.y + r1.h - r0.y + 2};
  // Its size stands on its top edge, or inside it at the top of the canvas.
  selectionSize_->Caption = std::to_string(a.W) + " × " + std::to_string(a.H);
  selectionSize_->Bounds.x = std::clamp(r0.x - 1, 0, EditorCanvasArea.w - selectionSize_->Bounds.w);
  selectionSize_->Bounds.y = r0.y - 1 >= selectionSize_->Bounds.h
                                 ? r0.y - 1 - selectionSize_->Bounds.h
                                 : std::max(r0.y + 1, 0);
}

void EditorScreen::SyncTools() {
  if (floating_) ShowFloating();
  // Within a stroke only the cells are drawn; the overview follows when it ends.
  if (!model_.InStroke()) ShowOverview();
  const std::vector<edit::CountLine> lines = edit::DescribeCounts(model_.Counts());
  for (size_t i = 0; i < countLines_.size(); ++i) {
    platform::Label& label = *countLines_[i];
    label.Caption = i < lines.size() ? lines[i].Text : "";
    label.Fore = i < lines.size() && lines[i].Broken ? BrokenInk : CountInk;
  }
  window_.Invalidate();
}

void EditorScreen::ShowOverview() {
  const int w = model_.Width(), h = model_.Height();
  const int scale = std::clamp(std::min(OverviewWidth / w, OverviewHeight / h), 1, OverviewScale);
  if (!overviewPixels_ || overviewPixels_->w != w * scale || overviewPixels_->h != h * scale) {
    overviewPixels_ = platform::NewSurface(w * scale, h * scale);
  }
  SDL_Surface* s = overviewPixels_.get();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const platform::Colour c = OverviewColour(model_.At(x, y));
      platform::FillRect(s, SDL_Rect{x * scale, y * scale, scale, scale},
                         SDL_Rect{0, 0, s->w, s->h}, c);
    }
  }
  overview_->Canvas = s;
  FitOverviewSpare();
  PlaceToolFrames();
  if (overview_->Visible) {
    window_.InvalidateRect(SDL_Rect{EditorCanvasArea.x + overview_->Bounds.x,
                                    EditorCanvasArea.y + overview_->Bounds.y, overview_->Bounds.w,
                                    overview_->Bounds.h});
  }
}

void EditorScreen::FitOverviewSpare() {
  // Mended: the overview covered the cells in the canvas's corner whenever the zone did not fit,
  // and a click there went to the overview. The view scrolls far enough past the zone's right
  // and bottom edges to bring every cell out from under it.
  EditorView& v = canvas_.View();
  const bool spare = overviewWanted_ && overviewPixels_;
  const int right = spare ? overviewPixels_->w + 2 * OverviewMargin : 0;
  const int bottom = spare ? overviewPixels_->h + 2 * OverviewMargin : 0;
  if (right == v.SpareRight && bottom == v.SpareBottom) return;
  v.SpareRight = right;
  v.SpareBottom = bottom;
  const int left = v.Left, top = v.Top;
  v.Clamp();
  if (v.Left != left || v.Top != top) {
    canvas_.ComposeAll();
    ShowCanvasDamage();
  }
}

void EditorScreen::ToggleOverview() {
  BlurFields();
  overviewWanted_ = !overviewWanted_;
  dynamic_cast<platform::Button&>(ControlNamed("btnOverview")).Caption =
      overviewWanted_ ? "[Mapa]" : "Mapa";
  FitOverviewSpare();
  PlaceToolFrames();
  PointerMoved();
  window_.InvalidateRect(EditorCanvasArea);
}

void EditorScreen::OverviewDown(SDL_Point p) {
  if (!overviewPixels_) return;
  const int scale = overviewPixels_->w / model_.Width();
  canvas_.View().Reveal(p.x / scale, p.y / scale);
  canvas_.ComposeAll();
  ShowCanvasDamage();
  PointerMoved();
}

void EditorScreen::MirrorOrTurn(std::optional<edit::Mirror> axis) {
  BlurFields();
  // H, J or L in a brush drag ends the drag; the model ends the stroke, an undo step of its own.
  if (model_.InStroke()) drag_ = Drag::None;
  if (floating_ && !floating_->From) {
    edit::Piece& p = floating_->Piece;
    p = axis ? edit::Mirrored(p, *axis) : edit::Turned(p);
    floating_->Grip = SDL_Point{0, 0};
    ShowFloating();
    return;
  }
  const std::optional<edit::Area> selection = model_.Selection();
  const edit::Area area = selection.value_or(edit::Area{});
  if (axis) {
    if (model_.MirrorArea(area, *axis)) Sync();
    return;
  }
  if (auto refused = model_.TurnArea(area)) {
    message_ = "Nelze otočit: " + *refused;
    UpdateStatus();
    return;
  }
  if (selection) SetSelection(edit::Area{area.X, area.Y, area.H, area.W});
  Sync();
}

void EditorScreen::GrowEdge(int edge, int cells) {
  const int left = edge == 0 ? cells : 0, top = edge == 1 ? cells : 0;
  const int right = edge == 2 ? cells : 0, bottom = edge == 3 ? cells : 0;
  if (auto refused = model_.ResizeEdges(left, top, right, bottom)) {
    message_ = "Velikost nezměněna: " + *refused;
    UpdateStatus();
    return;
  }
  // What was selected keeps its cells.
  if (const std::optional<edit::Area> s = model_.Selection())
    SetSelection(edit::Area{s->X + left, s->Y + top, s->W, s->H});
  Sync();
}

void EditorScreen::TestPlayHere() {
  BlurFields();
  if (!pointerCell_) {
    message_ = "Shift+F5: ukaž myší na pole, odkud hrát.";
    UpdateStatus();
    return;
  }
  const auto text = model_.TextStartingAt(pointerCell_->x, pointerCell_->y);
  if (!text) {
    message_ = "Hrát odsud lze jen z podlahy nebo ze startu.";
    UpdateStatus();
    return;
  }
  if (model_.InStroke()) model_.EndStroke();
  drag_ = Drag::None;
  if (RefusedForPlay()) return;
  if (OnTestPlayHere) OnTestPlayHere(*text);
}

bool EditorScreen::ToolKey(int virtualKey, platform::Modifiers held) {
  if (held.Ctrl) {
    switch (virtualKey) {
      case 'C':
        CopySelection(false);
        return true;
      case 'X':
        CopySelection(true);
        return true;
      case 'V':
        StartPaste();
        return true;
      default:
        return false;
    }
  }
  switch (virtualKey) {
    case vk::Escape:
      // Esc drops what floats, then the selection, and only then closes the editor.
      if (floating_) {
        floating_.reset();
        message_.clear();
        ShowFloating();
        UpdateStatus();
        return true;
      }
      if (model_.Selection()) {
        SetSelection(std::nullopt);
        return true;
      }
      return false;
    case vk::Delete:
      if (const auto s = model_.Selection(); s && model_.Clear(*s)) Sync();
      return true;
    case vk::F5:
      if (!held.Shift) return false;
      TestPlayHere();
      return true;
    case 'V':
      SetTool(EditorTool::Select);
      return true;
    case 'M':
      ToggleOverview();
      return true;
    case 'F':
      SetTool(EditorTool::Flood);
      return true;
    case 'H':
      MirrorOrTurn(edit::Mirror::LeftRight);
      return true;
    case 'J':
      MirrorOrTurn(edit::Mirror::UpDown);
      return true;
    case 'L':
      MirrorOrTurn(std::nullopt);
      return true;
    default:
      return false;
  }
}

bool EditorScreen::ToolDown(SDL_Point cell, SDL_Point p) {
  if (floating_) {
    PlaceFloating(platform::HeldModifiers().Shift);
    return true;
  }
  switch (tool_) {
    case EditorTool::Select:
      if (const auto s = model_.Selection(); s && StrictlyInside(*s, p)) {
        // A press inside the selection lifts it: it moves with the pointer until released.
        floating_ = FloatingPiece{model_.Copy(*s), SDL_Point{cell.x - s->X, cell.y - s->Y}, s};
        drag_ = Drag::MovePiece;
        ShowFloating();
        UpdateStatus();
        return true;
      }
      drag_ = Drag::Select;
      fillStart_ = lastCell_ = cell;
      SetSelection(edit::AreaBetween(edit::Cell{cell.x, cell.y}, edit::Cell{cell.x, cell.y}));
      return true;
    case EditorTool::Hollow:
      lastCell_ = fillStart_ = cell;
      drag_ = Drag::Fill;
      ShowHover(std::nullopt);
      ShowRectangle(std::make_pair(cell, cell));
      return true;
    case EditorTool::Flood:
      if (model_.FloodFill(cell.x, cell.y, selected_)) Sync();
      return true;
    default:
      return false;
  }
}

bool EditorScreen::StrictlyInside(const edit::Area& area, SDL_Point p) const {
  // A press on the frame (or just inside it, where the corner cells are) starts a new
  // selection: an author aiming at the corner means to select from there.
  const EditorView& v = const_cast<EditorCanvas&>(canvas_).View();
  const SDL_Rect a = v.CellRect(area.X, area.Y);
  const SDL_Rect b = v.CellRect(area.X + area.W - 1, area.Y + area.H - 1);
  const int band = std::clamp(v.Zoom / 5, 2, 6);
  return p.x >= a.x + band && p.y >= a.y + band && p.x < b.x + b.w - band && p.y < b.y + b.h - band;
}

void EditorScreen::ToolDrag(SDL_Point cell) {
  if (drag_ == Drag::Select) {
    lastCell_ = cell;
    SetSelection(
        edit::AreaBetween(edit::Cell{fillStart_.x, fillStart_.y}, edit::Cell{cell.x, cell.y}));
    return;
  }
  if (!floating_) return;
  // A moved piece stays where the drag last had it in the zone, wherever the pointer is.
  pointerCell_ = cell;
  ShowFloating();
}

}  // namespace quarn::ui
