// NotesBox.cpp — typing into the notes box and drawing it.
#include "NotesBox.h"

#include <algorithm>

namespace quarn::ui {

namespace {
constexpr int Backspace = 8, Tab = 9, Enter = 13, Escape = 27, End = 35, Home = 36, Left = 37,
              Up = 38, Right = 39, Down = 40, Delete = 46;
constexpr int Padding = 3;

bool Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::string ShownNotes(const std::string& notes) {
  std::string shown;
  shown.reserve(notes.size());
  for (size_t i = 0; i < notes.size(); ++i) {
    if (notes[i] == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n') continue;
    shown += notes[i];
  }
  return shown;
}

NotesBox::NotesBox(platform::Fonts& fonts) : fonts_(fonts) {
  CatchesMouse = true;
  OnMouseDown = [this](int button, SDL_Point) {
    if (button == SDL_BUTTON_LEFT) Focus();
  };
}

void NotesBox::SetText(std::string text) {
  text_ = std::move(text);
  cursor_ = text_.size();
}

void NotesBox::Focus() {
  if (focused_) return;
  focused_ = true;
  before_ = text_;
  SDL_StartTextInput();
}

void NotesBox::Blur() {
  if (!focused_) return;
  focused_ = false;
  if (OnCommit) OnCommit();
}

void NotesBox::Type(const std::string& utf8) {
  if (!focused_) return;
  size_t room = MaxBytes > text_.size() ? MaxBytes - text_.size() : 0;
  if (room < utf8.size()) {
    while (room > 0 && Continuation(utf8[room])) --room;
  }
  const std::string taken = utf8.substr(0, std::min(room, utf8.size()));
  text_.insert(cursor_, taken);
  cursor_ += taken.size();
}

size_t NotesBox::LineStart(size_t at) const {
  const size_t nl = at == 0 ? std::string::npos : text_.rfind('\n', at - 1);
  return nl == std::string::npos ? 0 : nl + 1;
}

size_t NotesBox::LineEnd(size_t at) const {
  const size_t nl = text_.find('\n', at);
  return nl == std::string::npos ? text_.size() : nl;
}

bool NotesBox::KeyDown(int virtualKey) {
  if (!focused_) return false;
  auto back = [&](size_t at) {
    if (at == 0) return at;
    --at;
    while (at > 0 && Continuation(text_[at])) --at;
    return at;
  };
  auto forward = [&](size_t at) {
    if (at >= text_.size()) return at;
    ++at;
    while (at < text_.size() && Continuation(text_[at])) ++at;
    return at;
  };
  // The same count of characters into another line, or its end.
  auto column = [&](size_t start, size_t to) {
    size_t n = 0;
    for (size_t i = LineStart(to); i < to; i = forward(i)) ++n;
    size_t at = start;
    const size_t end = LineEnd(start);
    while (n-- > 0 && at < end) at = forward(at);
    return at;
  };
  switch (virtualKey) {
    case Backspace:
      if (cursor_ > 0) {
        const size_t from = back(cursor_);
        text_.erase(from, cursor_ - from);
        cursor_ = from;
      }
      return true;
    case Delete:
      if (cursor_ < text_.size()) text_.erase(cursor_, forward(cursor_) - cursor_);
      return true;
    case Left:
      cursor_ = back(cursor_);
      return true;
    case Right:
      cursor_ = forward(cursor_);
      return true;
    case Home:
      cursor_ = LineStart(cursor_);
      return true;
    case End:
      cursor_ = LineEnd(cursor_);
      return true;
    case Up: {
      const size_t start = LineStart(cursor_);
      if (start > 0) cursor_ = column(LineStart(start - 1), cursor_);
      return true;
    }
    case Down: {
      const size_t end = LineEnd(cursor_);
      if (end < text_.size()) cursor_ = column(end + 1, cursor_);
      return true;
    }
    case Enter:
      Type("\n");
      return true;
    case Tab:
      Blur();
      return true;
    case Escape:
      text_ = before_;
      cursor_ = std::min(cursor_, text_.size());
      while (cursor_ > 0 && cursor_ < text_.size() && Continuation(text_[cursor_])) --cursor_;
      Blur();
      return true;
    default:
      // Letters and digits arrive as typed text; their key presses are the box's too.
      return (virtualKey >= '0' && virtualKey <= 'Z') || virtualKey == 32 || virtualKey >= 96;
  }
}

void NotesBox::Draw(SDL_Surface* target, SDL_Point origin, const SDL_Rect& clip) {
  if (!Visible) return;
  const SDL_Rect area{origin.x, origin.y, Bounds.w, Bounds.h};
  platform::FillRect(target, area, clip, focused_ ? FocusBorder : Border);
  const SDL_Rect inner{area.x + 1, area.y + 1, area.w - 2, area.h - 2};
  platform::FillRect(target, inner, clip, Back);
  const SDL_Rect textClip = platform::Intersect(inner, clip);
  const int lineHeight = std::max(1, fonts_.Measure(Font, "Ág").y);
  const int rows = std::max(1, (inner.h - 2) / lineHeight);
  // The cursor's line is kept in view.
  const int cursorLine = static_cast<int>(std::count(text_.begin(), text_.begin() + cursor_, '\n'));
  if (!focused_) top_ = 0;  // left alone, the notes show from their beginning
  if (focused_ && cursorLine < top_) top_ = cursorLine;
  if (focused_ && cursorLine >= top_ + rows) top_ = cursorLine - rows + 1;
  size_t start = 0;
  for (int line = 0; start <= text_.size(); ++line) {
    const size_t end = LineEnd(start);
    const int y = inner.y + 1 + (line - top_) * lineHeight;
    if (line >= top_ && line < top_ + rows) {
      const std::string row = text_.substr(start, end - start);
      // A long line shows its part around the cursor.
      int shift = 0;
      if (focused_ && line == cursorLine) {
        const int x = fonts_.Measure(Font, text_.substr(start, cursor_ - start)).x;
        shift = std::max(0, x - (inner.w - 2 * Padding - 4));
        platform::FillRect(target, SDL_Rect{inner.x + Padding + x - shift, y + 1, 1, lineHeight - 2},
                           textClip, Fore);
      }
      if (!row.empty()) {
        platform::DrawText(fonts_, Font, row, Fore, target, inner.x + Padding - shift, y, textClip);
      }
    }
    if (end >= text_.size()) break;
    start = end + 1;
  }
}

uint64_t NotesBox::Look() const {
  uint64_t h = std::hash<std::string>{}(text_);
  h = h * 31 + cursor_;
  h = h * 31 + (focused_ ? 1 : 0);
  h = h * 31 + static_cast<uint64_t>(top_);
  return h;
}

}  // namespace quarn::ui
