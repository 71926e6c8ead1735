// NotesBox.h — the box of the zone's notes (what its file holds after the last row) under the
// editor's header form: the editor's text field, on several lines.
#pragma once

#include <string>

#include "platform/TextField.h"

namespace quarn::ui {

// Typing goes where the cursor is; the arrows, Home and End move it, Enter starts a new line,
// Backspace and Delete take a character, Ctrl+A selects all. Tab or a click elsewhere finishes
// (OnCommit), Esc puts back what was there when typing began.
class NotesBox : public platform::TextField {
 public:
  explicit NotesBox(platform::Fonts& fonts);
};

// The notes as the box shows them: Windows line ends as plain ones.
std::string ShownNotes(const std::string& notes);

}  // namespace quarn::ui
