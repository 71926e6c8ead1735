// TextField.h — a one-line text field: the editor's header form is made of them.
#pragma once

#include <functional>
#include <string>

#include "Controls.h"

namespace quarn::platform {

// Typing goes to the end of the text (no caret to move: the fields are short); Backspace takes
// the last character, Enter and Tab finish, Esc puts back what was there when typing began.
// The window hands it the keys and the typed text while it has the keyboard.
class TextField : public Control {
 public:
  explicit TextField(Fonts& fonts);
  TextField(const TextField&) = delete;
  TextField& operator=(const TextField&) = delete;

  std::string Text;
  FontSpec Font{"Arial", 9.75, true};
  Colour Fore{255, 255, 255};
  Colour Back{0, 0, 64};
  Colour Border{0, 0, 192};
  Colour FocusBorder{0, 255, 255};
  size_t MaxBytes = 120;

  bool Focused() const { return focused_; }
  // Takes the keyboard (the system's text input is started) or gives it back, committing.
  void Focus();
  void Blur();
  // Text typed while focused, UTF-8: appended as far as MaxBytes allows whole characters.
  void Type(const std::string& utf8);
  // A key while focused: true when the field used it.
  bool KeyDown(int virtualKey);

  // The text changed by typing; Commit: typing ended by Enter, Tab, a click elsewhere (Blur).
  std::function<void()> OnChange;
  std::function<void()> OnCommit;

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;

 private:
  Fonts& fonts_;
  bool focused_ = false;
  std::string before_;  // the text when typing began, for Esc
};

// The text without its last UTF-8 character (a Czech letter is two bytes).
std::string DropLastCharacter(const std::string& utf8);

}  // namespace quarn::platform
