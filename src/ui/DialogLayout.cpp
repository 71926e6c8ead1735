// DialogLayout.cpp — the dialog's text layout: ShowText's measures, line breaking, long words cut
// to fit, and a message too long for the screen capped to the lines that fit.
#include "DialogLayout.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace quarn::ui {

using namespace dialog;

double TextMeasure::Width(std::string_view text) const {
  double widest = 0;
  size_t start = 0;
  while (true) {
    const size_t end = text.find_first_of("\n\r", start);
    widest = std::max(widest, LineWidth(text.substr(start, end == text.npos ? end : end - start)));
    if (end == text.npos) return widest;
    start = end + 1;
  }
}

double TextMeasure::Height(std::string_view text) const {
  const auto breaks =
      std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
  return LineHeight * static_cast<double>(breaks + 1);
}

DialogLayout LayOut(std::string_view t, bool icon, const ButtonFlags& wanted,
                    const TextMeasure& measure) {
  DialogLayout l;
  l.IconX = icon ? Margin : -IconEdge;
  l.LabelX = l.IconX + IconEdge + Margin;
  const double width = measure.Width(t);
  if (t.find('\r') == t.npos && width <= WrapAbove) {
    l.LabelWidth = width;
    l.LabelHeight = measure.Height(t);
    l.LabelY = (IconEdge - l.LabelHeight) / 2 + Margin;
    l.IconY = Margin;
    l.ContentHeight = IconEdge;
    // Mended: lines taller than the icon and both margins, centred on the icon, would start
    // above the window and run into the buttons; they start at the top margin and push the
    // buttons down instead.
    if (l.LabelHeight > IconEdge + 2 * Margin) {
      l.LabelY = Margin;
      l.ContentHeight = l.LabelHeight;
    }
  } else {
    // The working copy: a space at the end and before every carriage return, no line feeds.
    std::string w;
    for (char c : t) {
      if (c == '\r') w += ' ';
      if (c != '\n') w += c;
    }
    w += ' ';
    double widest = 0;
    int lines = 0;
    size_t from = 0;  // where the rest of w begins
    while (true) {
      size_t brk = 0;  // 1-based position (from `from`) of the last space that fits, 0 for none
      const std::string_view rest = std::string_view(w).substr(from);
      for (size_t i = 0; i < rest.size() && rest[i] != '\r'; ++i) {
        if (rest[i] != ' ') continue;
        // Mended: a longer start of the line is never narrower, so the scan ends at the first
        // space that does not fit; scanning all the text for every line took seconds.
        if (measure.Width(rest.substr(0, i + 1)) >= LineBelow) break;
        brk = i + 1;
      }
      if (brk == 0) break;
      widest = std::max(widest, measure.Width(rest.substr(0, brk - 1)));
      from += brk;
      ++lines;
    }
    // Quirk: a long prompt with line feeds shows empty room below its text, because the label
    // is as tall as all the prompt's own lines once for every wrapped line. Kept on purpose: the
    // room is never too little, whichever way the label breaks the lines it shows.
    l.Lines = lines;
    l.LabelHeight = measure.Height(t) * lines;
    l.LabelWidth = widest;
    l.LabelY = Margin;
    // One third of the spare height above the icon, not one half.
    l.IconY = (l.LabelHeight - IconEdge) / 3 + Margin;
    l.ContentHeight = l.LabelHeight;
  }
  l.ButtonY = l.ContentHeight + ButtonGap;
  double x = 0;
  for (size_t i = 0; i < 4; ++i) {
    l.Shown[i] = wanted[i];
    if (!wanted[i]) continue;
    l.ButtonX[i] = x;
    x += DialogButtonWidths[i] + Margin;
  }
  // Mended: a short prompt ("Vyhrál jsi!") would make the window narrower than its row of
  // buttons, which would then stand cut off at both edges; the row keeps a margin on each side.
  l.ClientWidth = std::max(l.LabelX + l.LabelWidth + Margin, x + Margin);
  // The row is x - 12 wide; this centres it.
  const double shift = (l.ClientWidth - x + Margin) / 2;
  for (double& bx : l.ButtonX) bx += shift;
  l.ClientHeight = l.ContentHeight + ButtonGap + ButtonRow + Margin;
  return l;
}

namespace {

// How many bytes a UTF-8 character starting with byte b takes (1 for a stray byte).
size_t CharLength(unsigned char b) {
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

// The width of a stretch of text as the wrapping counts it: with its line feeds taken out (the
// wrapping joins the lines of a long prompt) and the space after it.
double CountedWidth(std::string_view piece, const TextMeasure& measure) {
  std::string joined;
  joined.reserve(piece.size() + 1);
  for (char c : piece) {
    if (c != '\n') joined += c;
  }
  joined += ' ';
  return measure.LineWidth(joined);
}

// Cuts word into pieces that each fit a wrapped line with the space after them, and appends them
// joined by spaces, so that every piece of it gets a line.
void AppendInPieces(std::string& out, std::string_view word, const TextMeasure& measure) {
  // No line holds more bytes than this; searching beyond it would only make long words slow.
  constexpr size_t Window = 512;
  auto fits = [&](std::string_view piece) { return CountedWidth(piece, measure) < LineBelow; };
  while (!word.empty()) {
    if (word.size() <= Window && fits(word)) {
      out += word;
      return;
    }
    // The longest start (in whole characters, at least one) that fits.
    size_t good = std::min(CharLength(static_cast<unsigned char>(word[0])), word.size());
    // The whole word is known not to fit; beyond the window nothing is tried.
    size_t bad = word.size() <= Window ? word.size() : Window + 1;
    while (bad - good > 1) {
      size_t mid = (good + bad) / 2;
      while (mid > good && (static_cast<unsigned char>(word[mid]) & 0xC0) == 0x80) --mid;
      if (mid == good) break;
      if (fits(word.substr(0, mid))) {
        good = mid;
      } else {
        bad = mid;
      }
    }
    out += word.substr(0, good);
    word.remove_prefix(good);
    if (!word.empty()) out += ' ';
  }
}

}  // namespace

std::string BreakLongWords(std::string_view text, const TextMeasure& measure) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  // Words as the wrapping sees them: between spaces, their line feeds taken out.
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view word = text.substr(start, end - start);
    if (!word.empty() && CountedWidth(word, measure) >= LineBelow) {
      AppendInPieces(out, word, measure);
    } else {
      out += word;
    }
    if (end == text.size()) break;
    out += ' ';
    start = end + 1;
  }
  return out;
}

std::string CapLines(std::string_view text, const TextMeasure& measure, int maxLines) {
  std::vector<std::string> lines;
  const std::string note = "… Zbytek zprávy se nevešel; celá je na standardním chybovém výstupu.";
  // Greedy, as the label breaks its lines: a word goes on the line while the line stays narrower
  // than a wrapped line may be.
  size_t start = 0;
  bool more = false;
  while (start <= text.size()) {
    if (static_cast<int>(lines.size()) >= maxLines) {
      more = true;
      break;
    }
    const size_t end = std::min(text.find_first_of("\n\r", start), text.size());
    const std::string_view paragraph = text.substr(start, end - start);
    std::string line;
    size_t at = 0;
    while (at < paragraph.size()) {
      const size_t wordEnd = std::min(paragraph.find(' ', at), paragraph.size());
      const std::string_view word = paragraph.substr(at, wordEnd - at);
      at = wordEnd + 1;
      if (word.empty()) continue;
      std::string candidate = line.empty() ? std::string(word) : line + ' ' + std::string(word);
      if (line.empty() || measure.LineWidth(candidate) < LineBelow) {
        line = std::move(candidate);
      } else {
        lines.push_back(std::move(line));
        line = std::string(word);
      }
    }
    lines.push_back(std::move(line));
    if (end == text.size()) break;
    start = end + 1;
  }
  if (static_cast<int>(lines.size()) > maxLines) more = true;
  if (more) lines.resize(static_cast<size_t>(std::max(maxLines - 1, 0)));
  std::string out;
  for (const std::string& line : lines) out += line + '\n';
  if (more) return out + note;
  if (!out.empty()) out.pop_back();
  return out;
}

ShownText FitToScreen(std::string_view prompt, bool icon, const ButtonFlags& wanted,
                      const TextMeasure& measure) {
  ShownText shown;
  // Mended: a word too wide for a line (a long path) stopped the wrapping, and the text after it
  // was not shown at all.
  // Only a wrapped prompt needs it: one that stands on its own lines loses nothing.
  const bool wraps = prompt.find('\r') != prompt.npos || measure.Width(prompt) > WrapAbove;
  shown.Text = wraps ? BreakLongWords(prompt, measure) : std::string(prompt);
  shown.Layout = LayOut(shown.Text, icon, wanted, measure);
  if (shown.Layout.ClientHeight <= MaxDialogClientHeight || measure.LineHeight <= 0) {
    return shown;
  }
  // Mended: a long text made the box taller than the screen, its buttons out of reach. The lines
  // that fit are shown with a note; the whole message is on stderr.
  const double room = MaxDialogClientHeight - 2 * Margin - ButtonGap - ButtonRow;
  const int maxLines = std::max(1, static_cast<int>(room / measure.LineHeight));
  shown.Text = CapLines(shown.Text, measure, maxLines);
  shown.Layout = LayOut(shown.Text, icon, wanted, measure);
  shown.Cut = true;
  return shown;
}

}  // namespace quarn::ui
