// TextField.cpp — editing the text of a field at its cursor, and drawing it.
#include "TextField.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace quarn::platform {

namespace {
constexpr int BackspaceKey = 8, TabKey = 9, EnterKey = 13, EscapeKey = 27, EndKey = 35,
              HomeKey = 36, LeftKey = 37, UpKey = 38, RightKey = 39, DownKey = 40, DeleteKey = 46;
constexpr int Padding = 3;

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// A combining accent (U+0300..U+036F) belongs to the letter before it: "e" with a combining
// caron is one "ě" to the cursor.
bool CombiningAt(const std::string& text, size_t at) {
  if (at + 1 >= text.size()) return false;
  const auto a = static_cast<unsigned char>(text[at]), b = static_cast<unsigned char>(text[at + 1]);
  return (a == 0xCC && b >= 0x80) || (a == 0xCD && b < 0xB0 && b >= 0x80);
}
}  // namespace

std::string DropLastCharacter(const std::string& utf8) {
  size_t end = utf8.size();
  while (end > 0 && Continuation(static_cast<unsigned char>(utf8[end - 1]))) --end;
  return utf8.substr(0, end > 0 ? end - 1 : 0);
}

TextField::TextField(Fonts& fonts) : fonts_(fonts) {
  CatchesMouse = true;
  OnMouseDown = [this](int button, SDL_Point p) {
    if (button == SDL_BUTTON_LEFT) Press(p);
  };
}

void TextField::Settle() {
  if (Text != known_) {
    known_ = Text;
    cursor_ = Text.size();
    anchor_.reset();
  }
  cursor_ = std::min(cursor_, Text.size());
  while (cursor_ > 0 && cursor_ < Text.size() &&
         Continuation(static_cast<unsigned char>(Text[cursor_]))) {
    --cursor_;
  }
  if (anchor_) anchor_ = std::min(*anchor_, Text.size());
}

void TextField::Focus() {
  if (focused_) return;
  focused_ = true;
  before_ = Text;
  Settle();
  cursor_ = Text.size();
  anchor_.reset();
  SDL_StartTextInput();
}

void TextField::Blur() {
  if (!focused_) return;
  focused_ = false;
  anchor_.reset();
  if (OnCommit) OnCommit();
}

void TextField::SetText(std::string text) {
  Text = std::move(text);
  known_ = Text;
  cursor_ = Text.size();
  anchor_.reset();
  shift_ = top_ = 0;
}

size_t TextField::Cursor() const {
  return Text != known_ ? Text.size() : std::min(cursor_, Text.size());
}

std::string TextField::Selected() const {
  if (!anchor_ || Text != known_) return "";
  const size_t from = std::min(*anchor_, cursor_), to = std::max(*anchor_, cursor_);
  return Text.substr(from, to - from);
}

void TextField::SelectAll() {
  Settle();
  anchor_ = 0;
  cursor_ = Text.size();
}

size_t TextField::Before(size_t at) const {
  while (at > 0) {
    --at;
    while (at > 0 && Continuation(static_cast<unsigned char>(Text[at]))) --at;
    if (!CombiningAt(Text, at)) break;
  }
  return at;
}

size_t TextField::After(size_t at) const {
  if (at >= Text.size()) return Text.size();
  do {
    ++at;
    while (at < Text.size() && Continuation(static_cast<unsigned char>(Text[at]))) ++at;
  } while (CombiningAt(Text, at));
  return at;
}

size_t TextField::LineStart(size_t at) const {
  if (!Multiline) return 0;
  const size_t nl = at == 0 ? std::string::npos : Text.rfind('\n', at - 1);
  return nl == std::string::npos ? 0 : nl + 1;
}

size_t TextField::LineEnd(size_t at) const {
  if (!Multiline) return Text.size();
  const size_t nl = Text.find('\n', at);
  return nl == std::string::npos ? Text.size() : nl;
}

int TextField::XOf(size_t lineStart, size_t at) const {
  return at <= lineStart ? 0 : fonts_.Measure(Font, Text.substr(lineStart, at - lineStart)).x;
}

size_t TextField::AtX(size_t lineStart, int x) const {
  const size_t end = LineEnd(lineStart);
  size_t best = lineStart;
  int bestDistance = std::abs(x);
  for (size_t at = After(lineStart); at <= end && at > lineStart; at = After(at)) {
    const int distance = std::abs(XOf(lineStart, at) - x);
    if (distance < bestDistance) {
      best = at;
      bestDistance = distance;
    }
    if (at == end) break;
  }
  return best;
}

int TextField::LineHeight() const { return std::max(1, fonts_.Measure(Font, "Ág").y); }

void TextField::Press(SDL_Point p) {
  Settle();
  const size_t scrolled = LineStart(cursor_);  // the line the last drawing shifted
  Focus();
  anchor_.reset();
  // The line under the pointer, as the last drawing laid the lines out.
  size_t line = 0;
  if (Multiline) {
    const int wanted = top_ + std::max(0, p.y - 2) / LineHeight();
    for (int i = 0; i < wanted; ++i) {
      const size_t end = LineEnd(line);
      if (end >= Text.size()) break;
      line = end + 1;
    }
  }
  cursor_ = AtX(line, p.x - 1 - Padding + (line == scrolled ? shift_ : 0));
}

void TextField::Changed() {
  known_ = Text;
  if (OnChange) OnChange();
}

void TextField::Erase(size_t from, size_t to) {
  if (to <= from) return;
  Text.erase(from, to - from);
  cursor_ = from;
  anchor_.reset();
  Changed();
}

bool TextField::EraseSelection() {
  if (!anchor_) return false;
  const size_t from = std::min(*anchor_, cursor_), to = std::max(*anchor_, cursor_);
  anchor_.reset();
  cursor_ = from;
  Erase(from, to);
  return true;
}

void TextField::Type(const std::string& utf8) {
  if (!focused_) return;
  Settle();
  // Typing replaces what is selected, even when nothing of it fits.
  const bool replaced = EraseSelection();
  // Cut at a character boundary so that a full field never ends in half a letter.
  size_t room = MaxBytes > Text.size() ? MaxBytes - Text.size() : 0;
  if (room < utf8.size()) {
    while (room > 0 && Continuation(static_cast<unsigned char>(utf8[room]))) --room;
  }
  const std::string taken = utf8.substr(0, std::min(room, utf8.size()));
  if (taken.empty()) {
    if (replaced) Changed();
    return;
  }
  Text.insert(cursor_, taken);
  cursor_ += taken.size();
  Changed();
}

bool TextField::KeyDown(int virtualKey, Modifiers held) {
  if (!focused_) return false;
  Settle();
  // Moving the cursor ends a selection at its side.
  auto collapse = [&](bool toEnd) {
    if (!anchor_) return false;
    cursor_ = toEnd ? std::max(*anchor_, cursor_) : std::min(*anchor_, cursor_);
    anchor_.reset();
    return true;
  };
  // The same count of characters into another line, or its end.
  auto column = [&](size_t start, size_t from) {
    size_t n = 0;
    for (size_t i = LineStart(from); i < from; i = After(i)) ++n;
    size_t at = start;
    const size_t end = LineEnd(start);
    while (n-- > 0 && at < end) at = After(at);
    return at;
  };
  if (held.Ctrl && virtualKey == 'A') {
    SelectAll();
    return true;
  }
  switch (virtualKey) {
    case BackspaceKey:
      if (!EraseSelection()) Erase(Before(cursor_), cursor_);
      return true;
    case DeleteKey:
      if (!EraseSelection()) Erase(cursor_, After(cursor_));
      return true;
    case LeftKey:
      if (!collapse(false)) cursor_ = Before(cursor_);
      return true;
    case RightKey:
      if (!collapse(true)) cursor_ = After(cursor_);
      return true;
    case HomeKey:
      anchor_.reset();
      cursor_ = LineStart(cursor_);
      return true;
    case EndKey:
      anchor_.reset();
      cursor_ = LineEnd(cursor_);
      return true;
    case UpKey:
    case DownKey: {
      // One line has no lines to move between: the window keeps these keys.
      if (!Multiline) return false;
      collapse(virtualKey == DownKey);
      if (virtualKey == UpKey) {
        const size_t start = LineStart(cursor_);
        if (start > 0) cursor_ = column(LineStart(start - 1), cursor_);
      } else {
        const size_t end = LineEnd(cursor_);
        if (end < Text.size()) cursor_ = column(end + 1, cursor_);
      }
      return true;
    }
    case EnterKey:
      if (Multiline) {
        Type("\n");
      } else {
        Blur();
      }
      return true;
    case TabKey:
      Blur();
      return true;
    case EscapeKey:
      if (Text != before_) {
        Text = before_;
        Changed();
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
  Settle();
  const SDL_Rect area{origin.x, origin.y, Bounds.w, Bounds.h};
  FillRect(target, area, clip, focused_ ? FocusBorder : Border);
  const SDL_Rect inner{area.x + 1, area.y + 1, area.w - 2, area.h - 2};
  FillRect(target, inner, clip, Back);
  const SDL_Rect textClip = Intersect(inner, clip);
  const int lineHeight = LineHeight();
  const int rows = Multiline ? std::max(1, (inner.h - 2) / lineHeight) : 1;
  const size_t cursorLineStart = LineStart(cursor_);
  // The cursor's line is kept in view; left alone, several lines show from their beginning.
  const int cursorLine =
      static_cast<int>(std::count(Text.begin(), Text.begin() + cursorLineStart, '\n'));
  // A long line shows its part around the cursor (at first its end, where typing goes).
  const int room = inner.w - 2 * Padding - 2;
  const int cursorX = XOf(cursorLineStart, cursor_);
  if (Multiline && !focused_) {
    top_ = shift_ = 0;
  } else {
    if (cursorLine < top_) top_ = cursorLine;
    if (cursorLine >= top_ + rows) top_ = cursorLine - rows + 1;
    const int lineWidth = XOf(cursorLineStart, LineEnd(cursorLineStart));
    shift_ = std::clamp(shift_, 0, std::max(0, lineWidth - room));
    if (cursorX - shift_ > room) shift_ = cursorX - room;
    if (cursorX < shift_) shift_ = cursorX;
  }
  const size_t selFrom = anchor_ ? std::min(*anchor_, cursor_) : 0;
  const size_t selTo = anchor_ ? std::max(*anchor_, cursor_) : 0;
  size_t start = 0;
  for (int line = 0; start <= Text.size(); ++line) {
    const size_t end = LineEnd(start);
    if (line >= top_ && line < top_ + rows) {
      const int y = Multiline ? inner.y + 1 + (line - top_) * lineHeight
                              : inner.y + (inner.h - lineHeight) / 2;
      const int shift = start == cursorLineStart ? shift_ : 0;
      const int left = inner.x + Padding - shift;
      if (selTo > selFrom && selFrom <= end && selTo >= start) {
        const size_t a = std::max(selFrom, start), b = std::min(selTo, end);
        const int x0 = XOf(start, a), x1 = b > a ? XOf(start, b) : x0 + 4;
        FillRect(target, SDL_Rect{left + x0, y, x1 - x0, lineHeight}, textClip, SelectionBack);
      }
      if (end > start) {
        DrawText(fonts_, Font, Text.substr(start, end - start), Fore, target, left, y, textClip);
      }
      if (focused_ && start == cursorLineStart) {
        const int width = Multiline ? 1 : 2;
        FillRect(target, SDL_Rect{left + cursorX, y + 1, width, lineHeight - 2}, textClip, Fore);
      }
    }
    if (end >= Text.size()) break;
    start = end + 1;
  }
}

uint64_t TextField::Look() const {
  uint64_t h = std::hash<std::string>{}(Text);
  h = h * 31 + std::hash<std::string>{}(Font.Family) + static_cast<uint64_t>(Font.Points * 100);
  h = h * 31 + (focused_ ? 1 : 0) + (Multiline ? 2 : 0);
  h = h * 31 + Cursor();
  h = h * 31 + (anchor_ ? *anchor_ + 1 : 0);
  for (const Colour& c : {Fore, Back, Border, FocusBorder, SelectionBack}) {
    h = h * 131 + (uint64_t{c.R} << 16 | uint64_t{c.G} << 8 | c.B);
  }
  return h;
}

}  // namespace quarn::platform
