// NotesBox.cpp — the notes box: a text field of several lines in the notes' small font.
#include "NotesBox.h"

namespace quarn::ui {

std::string ShownNotes(const std::string& notes) {
  std::string shown;
  shown.reserve(notes.size());
  for (size_t i = 0; i < notes.size(); ++i) {
    if (notes[i] == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n') continue;
    shown += notes[i];
  }
  return shown;
}

NotesBox::NotesBox(platform::Fonts& fonts) : platform::TextField(fonts) {
  Font = platform::FontSpec{"Arial", 8.25, true};
  MaxBytes = 16 * 1024;
  Multiline = true;
}

}  // namespace quarn::ui
