// EditorStatus.cpp — the editor's status line: the cell under the pointer, the brush, the zone's
// size and zoom, and the last thing the editor told, made to fit the window's width.
#include <sstream>

#include "EditorScreen.h"

namespace quarn::ui {

namespace {

constexpr const char* Gap = "   |   ";
constexpr const char* Ellipsis = "…";
const platform::FontSpec StatusFont{"Arial", 9, true};

bool Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Line breaks would put the rest of a message under the window's edge: one line it is.
std::string OneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      if (!line.empty() && line.back() != ' ') line += ' ';
      continue;
    }
    line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

std::string EllipsizeMiddle(const std::string& text, int width,
                            const std::function<int(const std::string&)>& measure) {
  if (measure(text) <= width) return text;
  const int dots = measure(Ellipsis);
  // The end is where a message says what to do: it gets more than half the room, from a word's
  // beginning on.
  size_t tail = text.size();
  for (size_t at = text.size(); at > 0;) {
    --at;
    while (at > 0 && Continuation(text[at])) --at;
    if (measure(text.substr(at)) > (width - dots) * 3 / 5) break;
    tail = at;
  }
  if (const size_t space = text.find(' ', tail);
      tail > 0 && text[tail - 1] != ' ' && space != std::string::npos) {
    tail = space + 1;
  }
  const int tailWidth = measure(text.substr(tail));
  size_t head = 0;
  for (size_t at = 0; at < tail;) {
    size_t next = at + 1;
    while (next < tail && Continuation(text[next])) ++next;
    if (measure(text.substr(0, next)) + dots + tailWidth > width) break;
    head = at = next;
  }
  while (head > 0 && text[head - 1] == ' ') --head;
  return text.substr(0, head) + Ellipsis + text.substr(tail);
}

void EditorScreen::UpdateStatus() {
  if (!status_) return;
  PlaceToolFrames();
  std::ostringstream place, s;
  if (pointerCell_) {
    const char c = model_.At(pointerCell_->x, pointerCell_->y);
    place << "Sloupec " << pointerCell_->x + 1 << ", řádek " << pointerCell_->y + 1 << ": " << c
          << " " << edit::PaletteEntryOf(c).Name << Gap;
  }
  const char* tool = tool_ == EditorTool::Brush       ? "štětec"
                     : tool_ == EditorTool::Rectangle ? "obdélník"
                     : tool_ == EditorTool::Select    ? "výběr"
                     : tool_ == EditorTool::Hollow    ? "rámeček"
                     : tool_ == EditorTool::Flood     ? "výplň"
                                                      : "kapátko";
  s << "Kreslí se: " << selected_ << " " << edit::PaletteEntryOf(selected_).Name << " (" << tool
    << ")" << Gap << model_.Width() << " × " << model_.Height() << ", "
    << 100 * canvas_.View().Zoom / 40 << " %";
  if (model_.Dirty()) s << ", neuloženo";
  if (const auto& selection = model_.Selection()) {
    s << ", výběr " << selection->W << " × " << selection->H;
  }
  const std::string head = s.str();
  const std::string message = OneLine(message_);
  // A laser door in the outer wall leads nowhere, and the board cannot show it open there.
  std::string warning;
  const int w = model_.Width(), h = model_.Height();
  for (int y = 0; y < h && warning.empty(); ++y) {
    for (int x = 0; x < w && warning.empty(); ++x) {
      if (x != 0 && y != 0 && x != w - 1 && y != h - 1) continue;
      const char c = model_.At(x, y);
      if (c != 'a' && c != 'b' && c != 'c') continue;
      warning = std::string(Gap) + "Pozor: laserové dveře ve vnější zdi (sloupec " +
                std::to_string(x + 1) + ", řádek " + std::to_string(y + 1) + ")";
    }
  }
  const std::string told = message.empty() ? "" : Gap + message;
  statusText_ = place.str() + head + told + warning;
  // What does not fit is shortened where it matters least: the middle of the message, and the
  // cell under the pointer (framed on the canvas anyway) when the message needs the room.
  auto measure = [this](const std::string& text) {
    return app_.FontSet().Measure(StatusFont, text).x;
  };
  const int room = status_->Bounds.w - 2;
  std::string shown = statusText_;
  if (measure(shown) > room) {
    std::string lead = place.str();
    auto rest = [&] { return room - measure(lead + head + Gap + warning); };
    if (!message.empty() && rest() < room / 3) lead.clear();
    shown = lead + head;
    if (!message.empty()) shown += Gap + EllipsizeMiddle(message, rest(), measure);
    shown += warning;
  }
  status_->Caption = shown;
  if (statusTile_) {
    const int16_t picture = edit::PaletteEntryOf(selected_).Picture;
    statusTile_->Picture = canvas_.Pictures().Slot(picture);
    statusTile_->Source = PaletteSource(picture);
  }
  window_.Invalidate();
}

}  // namespace quarn::ui
