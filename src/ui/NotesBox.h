// NotesBox.h — a small box of several lines of text with a text cursor: the zone's notes (what
// its file holds after the last row) under the editor's header form.
#pragma once

#include <functional>
#include <string>

#include "platform/Controls.h"

namespace quarn::ui {

// Typing goes where the cursor is; the arrows, Home and End move it, Enter starts a new line,
// Backspace and Delete take a character. Tab or a click elsewhere finishes (OnCommit), Esc puts
// back what was there when typing began. The window hands it the keys while it has the keyboard.
class NotesBox : public platform::Control {
 public:
  explicit NotesBox(platform::Fonts& fonts);
  NotesBox(const NotesBox&) = delete;
  NotesBox& operator=(const NotesBox&) = delete;

  platform::FontSpec Font{"Arial", 8.25, true};
  platform::Colour Fore{255, 255, 255};
  platform::Colour Back{0, 0, 64};
  platform::Colour Border{0, 0, 192};
  platform::Colour FocusBorder{0, 255, 255};
  size_t MaxBytes = 16 * 1024;

  const std::string& Text() const { return text_; }
  // Replaces the text; the cursor goes to its end.
  void SetText(std::string text);
  size_t Cursor() const { return cursor_; }
  bool Focused() const { return focused_; }
  void Focus();
  void Blur();
  void Type(const std::string& utf8);
  // A key while focused: true when the box used it.
  bool KeyDown(int virtualKey);
  std::function<void()> OnCommit;

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;

 private:
  size_t LineStart(size_t at) const;
  size_t LineEnd(size_t at) const;
  platform::Fonts& fonts_;
  std::string text_;
  std::string before_;
  size_t cursor_ = 0;
  bool focused_ = false;
  int top_ = 0;  // the first line shown
};

// The notes as the box shows them: Windows line ends as plain ones.
std::string ShownNotes(const std::string& notes);

}  // namespace quarn::ui
