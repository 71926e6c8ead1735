// EditorInput.cpp — the editor's mouse on the canvas, its keys and its form fields.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "EditorScreen.h"
#include "base/Keys.h"
#include "zone/ZoneWriter.h"

namespace quarn::ui {

namespace {

// A right press that moves less than this is a pick, not a drag.
constexpr int DragSlop = 4;

}  // namespace

void EditorScreen::ScrollBy(int dx, int dy) {
  EditorView& v = canvas_.View();
  const int left = v.Left, top = v.Top;
  v.ScrollBy(dx, dy);
  if (v.Left == left && v.Top == top) return;
  canvas_.ComposeAll();
  ShowCanvasDamage();
  PointerMoved();
}

void EditorScreen::PointerMoved() {
  // The board moved under a pointer that stayed: another cell is under it now.
  const SDL_Point p = window_.Pointer();
  pointerCell_ =
      canvas_.View().CellAt(SDL_Point{p.x - EditorCanvasArea.x, p.y - EditorCanvasArea.y});
  ShowHover(pointerCell_);
  UpdateStatus();
}

void EditorScreen::Zoom(bool in, SDL_Point anchor) {
  if (!canvas_.View().Step(in, anchor)) return;
  canvas_.ComposeAll();
  ShowCanvasDamage();
  PointerMoved();
}

void EditorScreen::ShowHover(std::optional<SDL_Point> cell) {
  hover_->Visible = cell.has_value() && drag_ != Drag::Fill;
  if (cell) {
    const SDL_Rect r = canvas_.View().CellRect(cell->x, cell->y);
    hover_->Bounds = SDL_Rect{r.x - 1, r.y - 1, r.w + 2, r.h + 2};
  }
  window_.Invalidate();
}

void EditorScreen::ShowRectangle(std::optional<std::pair<SDL_Point, SDL_Point>> corners) {
  rectangle_->Visible = corners.has_value();
  if (corners) {
    const auto [a, b] = *corners;
    const SDL_Rect r0 = canvas_.View().CellRect(std::min(a.x, b.x), std::min(a.y, b.y));
    const SDL_Rect r1 = canvas_.View().CellRect(std::max(a.x, b.x), std::max(a.y, b.y));
    rectangle_->Bounds =
        SDL_Rect{r0.x - 1, r0.y - 1, r1.x + r1.w - r0.x + 2, r1.y + r1.h - r0.y + 2};
  }
  window_.Invalidate();
}

void EditorScreen::CanvasDown(int button, SDL_Point p) {
  BlurFields();
  if (drag_ != Drag::None) return;
  const std::optional<SDL_Point> cell = canvas_.View().CellAt(p);
  dragStart_ = dragLast_ = p;
  if (button == SDL_BUTTON_MIDDLE) {
    drag_ = Drag::Scroll;
    return;
  }
  if (button == SDL_BUTTON_RIGHT) {
    drag_ = Drag::RightPending;
    return;
  }
  if (button == SDL_BUTTON_LEFT && !cell) {
    if (const auto edge = EdgeAt(p)) {
      drag_ = Drag::Edge;
      edgeDragged_ = *edge;
      edgeCells_ = 0;
      EdgeDrag(p);
    }
    return;
  }
  if (button != SDL_BUTTON_LEFT || !cell) return;
  if (ToolDown(*cell, p)) return;
  if (tool_ == EditorTool::Picker) {
    Select(model_.At(cell->x, cell->y));
    return;
  }
  lastCell_ = fillStart_ = *cell;
  if (tool_ == EditorTool::Rectangle || platform::HeldModifiers().Shift) {
    drag_ = Drag::Fill;
    ShowHover(std::nullopt);
    ShowRectangle(std::make_pair(*cell, *cell));
    return;
  }
  drag_ = Drag::Paint;
  model_.BeginStroke();
  if (model_.Paint(cell->x, cell->y, selected_)) Sync();
}

void EditorScreen::CanvasMove(SDL_Point p) {
  const std::optional<SDL_Point> cell = canvas_.View().CellAt(p);
  const bool cellChanged = cell.has_value() != pointerCell_.has_value() ||
                           (cell && (cell->x != pointerCell_->x || cell->y != pointerCell_->y));
  pointerCell_ = cell;
  switch (drag_) {
    case Drag::RightPending:
      if (std::abs(p.x - dragStart_.x) + std::abs(p.y - dragStart_.y) < DragSlop) break;
      drag_ = Drag::Scroll;
      [[fallthrough]];
    case Drag::Scroll:
      ScrollBy(dragLast_.x - p.x, dragLast_.y - p.y);
      dragLast_ = p;
      break;
    case Drag::Paint: {
      ScrollPastEdge(p);
      // A fast stroke skips cells between two motions; the line between them is painted.
      const EditorView& v = canvas_.View();
      const SDL_Point clamped{std::clamp(p.x, 0, v.ViewWidth - 1),
                              std::clamp(p.y, 0, v.ViewHeight - 1)};
      if (const auto at = v.CellAt(clamped)) {
        PaintLine(lastCell_, *at);
        lastCell_ = *at;
      }
      break;
    }
    case Drag::Fill:
      ScrollPastEdge(p);
      if (const auto at =
              canvas_.View().CellAt(SDL_Point{std::clamp(p.x, 0, canvas_.View().ViewWidth - 1),
                                              std::clamp(p.y, 0, canvas_.View().ViewHeight - 1)})) {
        lastCell_ = *at;
        ShowRectangle(std::make_pair(fillStart_, *at));
      }
      break;
    case Drag::Select:
    case Drag::MovePiece:
      ScrollPastEdge(p);
      if (const auto at =
              canvas_.View().CellAt(SDL_Point{std::clamp(p.x, 0, canvas_.View().ViewWidth - 1),
                                              std::clamp(p.y, 0, canvas_.View().ViewHeight - 1)})) {
        ToolDrag(*at);
      }
      break;
    case Drag::None:
      if (floating_ && cellChanged) ShowFloating();
      break;
    case Drag::Edge:
      EdgeDrag(p);
      break;
  }
  if (cellChanged) {
    ShowHover(cell);
    OverlayPointer(cell);
    UpdateStatus();
  }
}

void EditorScreen::ScrollPastEdge(SDL_Point p) {
  // A drag past the canvas's edge brings more of the zone in, the farther past, the faster.
  const EditorView& v = canvas_.View();
  auto past = [](int at, int size) { return at < 0 ? at : at >= size ? at - size + 1 : 0; };
  const int limit = std::max(v.Zoom, 20);
  const int dx = std::clamp(past(p.x, v.ViewWidth), -limit, limit);
  const int dy = std::clamp(past(p.y, v.ViewHeight), -limit, limit);
  if (dx != 0 || dy != 0) ScrollBy(dx, dy);
}

void EditorScreen::PaintLine(SDL_Point from, SDL_Point to) {
  bool changed = false;
  int x = from.x, y = from.y;
  const int dx = std::abs(to.x - x), dy = -std::abs(to.y - y);
  const int sx = x < to.x ? 1 : -1, sy = y < to.y ? 1 : -1;
  int err = dx + dy;
  while (true) {
    changed = model_.Paint(x, y, selected_) || changed;
    if (x == to.x && y == to.y) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  if (changed) Sync();
}

void EditorScreen::CanvasUp(int button, SDL_Point p) {
  (void)button;
  const Drag ended = drag_;
  drag_ = Drag::None;
  switch (ended) {
    case Drag::Paint:
      model_.EndStroke();
      Sync();
      break;
    case Drag::Fill: {
      ShowRectangle(std::nullopt);
      const bool hollow = tool_ == EditorTool::Hollow;
      if (hollow ? model_.Hollow(fillStart_.x, fillStart_.y, lastCell_.x, lastCell_.y, selected_)
                 : model_.Fill(fillStart_.x, fillStart_.y, lastCell_.x, lastCell_.y, selected_)) {
        Sync();
      }
      break;
    }
    case Drag::MovePiece:
      PlaceFloating(false);
      break;
    case Drag::Edge:
      EdgeUp();
      break;
    case Drag::RightPending:
      if (const auto cell = canvas_.View().CellAt(p)) Select(model_.At(cell->x, cell->y));
      break;
    default:
      break;
  }
  ShowHover(pointerCell_);
}

void EditorScreen::FocusField(int i) {
  notes_->Blur();
  for (int j = 0; j < edit::HeaderFieldCount; ++j) {
    if (j != i) fields_[static_cast<size_t>(j)]->Blur();
  }
  fields_[static_cast<size_t>(i)]->Focus();
  window_.Invalidate();
}

void EditorScreen::BlurFields() {
  for (platform::TextField* f : fields_) f->Blur();
  notes_->Blur();
  window_.Invalidate();
}

void EditorScreen::CommitField(int i) {
  const auto field = static_cast<edit::HeaderField>(i);
  const std::string text = fields_[static_cast<size_t>(i)]->Text;
  std::string& error = errors_[static_cast<size_t>(i)];
  if (text == model_.Field(field)) {
    error.clear();
  } else {
    error = model_.SetField(field, text).value_or("");
  }
  Sync();
}

void EditorScreen::RevealFinding(int index) {
  if (index < 0 || index >= static_cast<int>(findingCells_.size())) return;
  const auto& where = findingCells_[static_cast<size_t>(index)];
  if (!where) return;
  EditorView& v = canvas_.View();
  // A finding is worth looking at closely: a view too small to see the cell is enlarged.
  if (v.Zoom < 20) v.SetZoom(20, SDL_Point{0, 0});
  v.Reveal(where->X, where->Y);
  canvas_.ComposeAll();
  ShowCanvasDamage();
  // The status line keeps telling the cell under the pointer; the finding's cell is framed.
  PointerMoved();
  ShowHover(SDL_Point{where->X, where->Y});
}

bool EditorScreen::TypedWithCtrl() const {
  if (!ctrlChord_) return false;
  // Ctrl may have come up unseen (a dialog had the keys meanwhile): it counts while it is still
  // down, or while its key-up waits in the queue behind this text.
  if ((SDL_GetModState() & KMOD_CTRL) != 0) return true;
  SDL_Event pending[32];
  const int n = SDL_PeepEvents(pending, 32, SDL_PEEKEVENT, SDL_KEYUP, SDL_KEYUP);
  for (int i = 0; i < n; ++i) {
    const SDL_Scancode code = pending[i].key.keysym.scancode;
    if (code == SDL_SCANCODE_LCTRL || code == SDL_SCANCODE_RCTRL) return true;
  }
  return false;
}

bool EditorScreen::ZoomByMeaning(SDL_Keycode meaning) {
  const SDL_Point middle{EditorCanvasArea.w / 2, EditorCanvasArea.h / 2};
  if (meaning == SDLK_PLUS || meaning == SDLK_EQUALS || meaning == SDLK_KP_PLUS) {
    Zoom(true, middle);
    return true;
  }
  if (meaning == SDLK_MINUS || meaning == SDLK_KP_MINUS) {
    Zoom(false, middle);
    return true;
  }
  return false;
}

void EditorScreen::KeyReleased(int virtualKey) {
  if (virtualKey == vk::Ctrl) ctrlChord_ = false;
  dropTyped_ = false;
}

void EditorScreen::TypeText(const std::string& text) {
  // Mended: where the layout has plus or minus on a key of its own (the Czech one: plus on the
  // 1 key, minus beside the full stop), Ctrl with it did not zoom, and the text it brought put
  // an enemy into the brush. With Ctrl held a text is never typed: it zooms by what it is.
  if (TypedWithCtrl()) {
    if (!std::exchange(dropTyped_, false) && text.size() == 1) {
      ZoomByMeaning(static_cast<unsigned char>(text[0]));
    }
    return;
  }
  if (std::exchange(dropTyped_, false)) return;
  if (notes_->Focused()) {
    notes_->Type(text);
    window_.Invalidate();
    return;
  }
  for (platform::TextField* f : fields_) {
    if (f->Focused()) {
      f->Type(text);
      window_.Invalidate();
      return;
    }
  }
  // Outside the form a tile's character takes it into the brush; a small letter that only
  // stands for itself in capitals ("w") means the capital, "a", "b" and "c" are laser doors.
  if (text.size() != 1) return;
  char c = text[0];
  if (c >= 'd' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (IsTileCharacter(c)) Select(c);
}

void EditorScreen::KeyRepeat(int virtualKey) {
  // Scrolling, moving the cursor and erasing in a field go on while the key is held; nothing
  // else repeats.
  const bool repeats = (virtualKey >= vk::Left && virtualKey <= vk::Down) || virtualKey == 8 ||
                       virtualKey == vk::Delete || virtualKey == vk::PageUp ||
                       virtualKey == vk::PageDown;
  if (repeats) KeyDown(virtualKey, platform::HeldModifiers());
}

void EditorScreen::KeyDown(int virtualKey, platform::Modifiers held) {
  // The editor's commands also work from a header field: its value is taken first (or the field
  // says why it is refused), then the command acts. Only the field's own keys stay in it.
  dropTyped_ = false;
  ctrlChord_ = held.Ctrl && !held.Alt;
  const bool command = (held.Ctrl && (virtualKey == 'S' || virtualKey == 'Z' ||
                                      virtualKey == 'Y' || (virtualKey == 'O' && share_))) ||
                       virtualKey == vk::F5 || virtualKey == vk::F1;
  // The keys the game calls plus and minus (those of the US layout's places) mean what the
  // layout puts on them: on the Czech one the first is a dead accent and the second "=".
  const SDL_Keycode meaning = virtualKey == vk::NumpadPlus    ? SDLK_KP_PLUS
                              : virtualKey == vk::NumpadMinus ? SDLK_KP_MINUS
                              : virtualKey == vk::Equals     ? KeyOnLayout(SDL_SCANCODE_EQUALS)
                              : virtualKey == vk::Minus    ? KeyOnLayout(SDL_SCANCODE_MINUS)
                                                          : SDLK_UNKNOWN;
  // Zooming needs no value from the field: the field keeps the keyboard.
  const bool zoom =
      held.Ctrl && (meaning == SDLK_PLUS || meaning == SDLK_EQUALS || meaning == SDLK_MINUS ||
                    meaning == SDLK_KP_PLUS || meaning == SDLK_KP_MINUS);
  if (notes_->Focused() && !zoom) {
    // The notes keep their keys (Enter is a new line there); a command takes them first.
    if (!command) {
      if (notes_->KeyDown(virtualKey, held)) window_.Invalidate();
      return;
    }
    notes_->Blur();
  }
  for (size_t i = 0; i < fields_.size(); ++i) {
    platform::TextField& f = *fields_[i];
    if (!f.Focused() || zoom) continue;
    if (command) {
      f.Blur();
      const std::string& refused = errors_[i];
      // Saving or playing the zone without the value typed would not be what the author asked.
      if (!refused.empty() && (virtualKey == vk::F5 || (held.Ctrl && virtualKey == 'S'))) {
        message_ = (virtualKey == vk::F5 ? "Nevyzkoušeno: " : "Neuloženo: ") + refused;
        FocusField(static_cast<int>(i));
        UpdateStatus();
        return;
      }
      break;
    }
    if (virtualKey == vk::Tab) {
      f.Blur();
      FocusField(static_cast<int>((i + (held.Shift ? fields_.size() - 1 : 1)) % fields_.size()));
      return;
    }
    if (f.KeyDown(virtualKey, held)) {
      window_.Invalidate();
      return;
    }
  }
  if (ToolKey(virtualKey, held)) return;
  const int cell = std::max(canvas_.View().Zoom, 40);
  const int page = held.Shift ? EditorCanvasArea.w / 2 : cell;
  if (held.Ctrl) {
    switch (virtualKey) {
      case 'Z':
        if (held.Shift ? model_.Redo() : model_.Undo()) Sync();
        return;
      case 'Y':
        if (model_.Redo()) Sync();
        return;
      case 'O':
        if (!held.Shift) ShareLink();
        return;
      case 'S':
        if (held.Shift) {
          SaveAs();
        } else {
          Save();
        }
        return;
      default:
        // Plus and minus alone are enemies for the brush; with Ctrl they zoom, and the text
        // the key brings is typed nowhere.
        if (zoom) dropTyped_ = ZoomByMeaning(meaning);
        return;
    }
  }
  switch (virtualKey) {
    case vk::Escape:
      Close();
      return;
    case vk::F5:
      TestPlay();
      return;
    case vk::F1:
      if (OnHelp) OnHelp();
      return;
    case vk::Left:
      ScrollBy(-page, 0);
      return;
    case vk::Right:
      ScrollBy(page, 0);
      return;
    case vk::Up:
      ScrollBy(0, -page);
      return;
    case vk::Down:
      ScrollBy(0, page);
      return;
    case vk::PageUp:
      ScrollBy(0, -EditorCanvasArea.h / 2);
      return;
    case vk::PageDown:
      ScrollBy(0, EditorCanvasArea.h / 2);
      return;
    case vk::Home:
      ControlNamed("btnFit").OnClick();
      return;
    default:
      return;
  }
}

}  // namespace quarn::ui
