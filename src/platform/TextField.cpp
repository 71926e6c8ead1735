// TextField.cpp — typing into a one-line field and drawing it.
#include "TextField.h"

#include <functional>

namespace quarn::platform {

namespace {
constexpr int BackspaceKey = 8, TabKey = 9, EnterKey = 13, EscapeKey = 27;
constexpr int Padding = 3;

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::string DropLastCharacter(const std::string& utf8) {
  size_t end = utf8.size();
  while (end > 0 && Continuation(static_cast<unsigned char>(utf8[end - 1]))) --end;
  return utf8.substr(0, end > 0 ? end - 1 : 0);
}

TextField::TextField(Fonts& fonts) : fonts_(fonts) {
  CatchesMouse = true;
  OnMouseDown = [this](int button, SDL_Point) {
    if (button == SDL_BUTTON_LEFT) Focus();
  };
}

void TextField::Focus() {
  if (focused_) return;
  focused_ = true;
  before_ = Text;
  SDL_StartTextInput();
}

void TextField::Blur() {
  if (!focused_) return;
  focused_ = false;
  if (OnCommit) OnCommit();
}

void TextField::Type(const std::string& utf8) {
  if (!focused_) return;
  // Cut at a character boundary so that a full field never ends in half a letter.
  size_t room = MaxBytes > Text.size() ? MaxBytes - Text.size() : 0;
  if (room < utf8.size()) {
    while (room > 0 && Continuation(static_cast<unsigned char>(utf8[room]))) --room;
  }
  const std::string taken = utf8.substr(0, std::min(room, utf8.size()));
  if (taken.empty()) return;
  Text += taken;
  if (OnChange) OnChange();
}

bool TextField::KeyDown(int virtualKey) {
  if (!focused_) return false;
  switch (virtualKey) {
    case BackspaceKey:
      if (!Text.empty()) {
        Text = DropLastCharacter(Text);
        if (OnChange) OnChange();
      }
      return true;
    case EnterKey:
    case TabKey:
      Blur();
      return true;
    case EscapeKey:
      if (Text != before_) {
        Text = before_;
        if (OnChange) OnChange();
      }
      Blur();
      return true;
    default:
      // Letters and digits arrive as typed text; their key presses are the field's too.
      return (virtualKey >= '0' && virtualKey <= 'Z') || virtualKey == 32 || virtualKey >= 96;
  }
}

void TextField::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible) return;
  const SDL_Rect area{origin.x, origin.y, Bounds.w, Bounds.h};
  FillRect(target, area, clip, focused_ ? FocusBorder : Border);
  const SDL_Rect inner{area.x + 1, area.y + 1, area.w - 2, area.h - 2};
  FillRect(target, inner, clip, Back);
  const SDL_Rect textClip = Intersect(inner, clip);
  const SDL_Point size = fonts_.Measure(Font, Text.empty() ? "0" : Text);
  // A long text shows its end, where the typing goes.
  const int room = inner.w - 2 * Padding - 2;
  const int shift = Text.empty() ? 0 : std::max(0, size.x - room);
  const int y = inner.y + (inner.h - size.y) / 2;
  DrawText(fonts_, Font, Text, Fore, target, inner.x + Padding - shift, y, textClip);
  if (focused_) {
    const int x = inner.x + Padding + (Text.empty() ? 0 : size.x - shift) + 1;
    FillRect(target, SDL_Rect{x, inner.y + 3, 2, inner.h - 6}, textClip, Fore);
  }
}

uint64_t TextField::Look() const {
  uint64_t h = std::hash<std::string>{}(Text);
  h = h * 31 + std::hash<std::string>{}(Font.Family) + static_cast<uint64_t>(Font.Points * 100);
  h = h * 31 + (focused_ ? 1 : 0);
  for (const Colour& c : {Fore, Back, Border, FocusBorder}) {
    h = h * 131 + (uint64_t{c.R} << 16 | uint64_t{c.G} << 8 | c.B);
  }
  return h;
}

}  // namespace quarn::platform
