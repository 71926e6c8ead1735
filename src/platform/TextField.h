// TextField.h — the text field of the editor's windows: one line (the header form, the file
// chooser's name) or several (the zone's notes), with a text cursor.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "Controls.h"
#include "KeyInput.h"

namespace quarn::platform {

// Typing goes where the cursor is. Left, Right, Home and End move it by whole characters (a
// letter with a combining accent is one), a press puts it where the pointer is; Backspace and
// Delete take the character before and after it. Ctrl+A selects the whole text: typing then
// replaces it, Backspace or Delete clears it. Tab, and Enter on one line, finish; Esc puts back
// what was there when typing began. The window hands it the keys and the typed text while it has
// the keyboard.
class TextField : public Control {
 public:
  explicit TextField(Fonts& fonts);
  TextField(const TextField&) = delete;
  TextField& operator=(const TextField&) = delete;

  // The text, UTF-8. Set from outside, the cursor goes to its end.
  std::string Text;
  FontSpec Font{"Arial", 9.75, true};
  Colour Fore{255, 255, 255};
  Colour Back{0, 0, 64};
  Colour Border{0, 0, 192};
  Colour FocusBorder{0, 255, 255};
  Colour SelectionBack{0, 96, 176};
  size_t MaxBytes = 120;
  // Several lines: Enter starts a new one, Up and Down move between them, Home and End go to
  // the ends of the cursor's line.
  bool Multiline = false;

  bool Focused() const { return focused_; }
  // Takes the keyboard (the system's text input is started), the cursor at the text's end; or
  // gives it back, committing.
  void Focus();
  void Blur();
  // Replaces the text; the cursor goes to its end and nothing is selected.
  void SetText(std::string text);
  // A left press at local point p: the field takes the keyboard and the cursor goes to the
  // character boundary nearest the pointer.
  void Press(SDL_Point p);
  // Where typing goes: a byte offset at the start of a character (the text's size at its end).
  size_t Cursor() const;
  // The selected text (after Ctrl+A), or "".
  std::string Selected() const;
  void SelectAll();
  // Text typed while focused, UTF-8: put in at the cursor (in place of the selection) as far as
  // MaxBytes allows whole characters.
  void Type(const std::string& utf8);
  // A key while focused: true when the field used it.
  bool KeyDown(int virtualKey, Modifiers held = {});

  // The text changed by typing; Commit: typing ended by Enter, Tab, a click elsewhere (Blur).
  std::function<void()> OnChange;
  std::function<void()> OnCommit;

  void Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) override;
  uint64_t Look() const override;

 private:
  // Takes in a text set from outside since the field last changed it: the cursor to its end.
  void Settle();
  size_t Before(size_t at) const;
  size_t After(size_t at) const;
  size_t LineStart(size_t at) const;
  size_t LineEnd(size_t at) const;
  // The cursor's offset into its line's pixels, and the boundary of a line nearest a pixel.
  int XOf(size_t lineStart, size_t at) const;
  size_t AtX(size_t lineStart, int x) const;
  int LineHeight() const;
  void Erase(size_t from, size_t to);
  bool EraseSelection();
  void Changed();

  Fonts& fonts_;
  bool focused_ = false;
  std::string before_;  // the text when typing began, for Esc
  std::string known_;   // the text as the field last left it
  size_t cursor_ = 0;
  std::optional<size_t> anchor_;  // the selection's other end
  int shift_ = 0;                 // pixels the cursor's line is scrolled to the left
  int top_ = 0;                   // the first line shown
};

// The text without its last UTF-8 character (a Czech letter is two bytes).
std::string DropLastCharacter(const std::string& utf8);

}  // namespace quarn::platform
