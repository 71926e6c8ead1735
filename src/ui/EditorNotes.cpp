// EditorNotes.cpp — the zone's notes (what its file holds after the last row) in a box under the
// header form: shown as they are, and an edit taken as one undo step when the box is left.
#include "EditorScreen.h"

namespace quarn::ui {

namespace {
constexpr int NotesLeft = 792, NotesTop = 300, NotesWidth = 228, NotesHeight = 58;
}  // namespace

void EditorScreen::BuildNotes() {
  auto heading = std::make_unique<platform::Label>(app_.FontSet());
  heading->Caption = "Poznámky (za posledním řádkem zóny):";
  heading->Font = platform::FontSpec{"Arial", 8.25, true};
  heading->Fore = platform::Colour{0, 255, 255};
  Add("lblNotes", std::move(heading), SDL_Rect{NotesLeft, NotesTop, NotesWidth, 16});
  auto box = std::make_unique<NotesBox>(app_.FontSet());
  box->ToolTip =
      "Text za posledním řádkem zóny; hra ho nečte. Enter nový řádek, Ctrl+A vybrat vše, Tab "
      "nebo klepnutí jinam ho převezme, Esc vrátí.";
  box->OnMouseDown = [this](int button, SDL_Point p) {
    if (button != SDL_BUTTON_LEFT) return;
    for (platform::TextField* f : fields_) f->Blur();
    notes_->Press(p);
    window_.Invalidate();
  };
  box->OnCommit = [this] { CommitNotes(); };
  notes_ = &Add("notes", std::move(box),
                SDL_Rect{NotesLeft, NotesTop + 16, NotesWidth, NotesHeight});
}

void EditorScreen::SyncNotes() {
  // What the author is typing stays until the box is left.
  if (notes_->Focused()) return;
  const std::string shown = ShownNotes(model_.Notes());
  if (notes_->Text != shown) notes_->SetText(shown);
}

void EditorScreen::CommitNotes() {
  // Unchanged notes keep their bytes (Windows line ends, bytes that are no UTF-8).
  if (notes_->Text == ShownNotes(model_.Notes())) return;
  if (model_.SetNotes(notes_->Text)) Sync();
}

}  // namespace quarn::ui
