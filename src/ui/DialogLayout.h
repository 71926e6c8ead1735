// DialogLayout.h — the dialog's text layout: where ShowText puts the icon, the text and the
// buttons, how a long prompt is broken into lines, and how a prompt too long for the screen is cut.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace quarn::ui {

// The dialog's buttons' widths, Yes, No, OK, Cancel, and which of them a layout shows.
inline constexpr std::array<int, 4> DialogButtonWidths{100, 100, 62, 37};
using ButtonFlags = std::array<bool, 4>;  // Yes, No, OK, Cancel

// The layout's measures, in client pixels.
namespace dialog {
inline constexpr double IconEdge = 32;
inline constexpr double Margin = 12;
inline constexpr double ButtonGap = 24;  // between the content and the buttons
inline constexpr double ButtonRow = 37;  // the buttons' 30 pixels and the space under them
inline constexpr double WrapAbove = 720;
inline constexpr double LineBelow = 640;
}  // namespace dialog

// Measures text in the dialog's font, in pixels: the width of one line, the height of a line.
struct TextMeasure {
  std::function<double(std::string_view line)> LineWidth;
  double LineHeight = 0;
  // tw: the width of the widest line (lines end at a line feed or a carriage return).
  double Width(std::string_view text) const;
  // th: the height of all the lines.
  double Height(std::string_view text) const;
};

// Where ShowText puts everything, in client pixels, as floating-point numbers.
struct DialogLayout {
  double IconX = 12, IconY = 12;
  double LabelX = 0, LabelY = 0, LabelWidth = 0, LabelHeight = 0;
  double ContentHeight = 0;
  double ClientWidth = 0, ClientHeight = 0;
  double ButtonY = 0;
  std::array<double, 4> ButtonX{};  // meaningful for the shown buttons
  ButtonFlags Shown{};
  int Lines = 0;  // the lines counted when the text was wrapped, 0 when it was not
};
// Lays the dialog out for text t, with or without an icon, showing the wanted buttons.
DialogLayout LayOut(std::string_view t, bool icon, const ButtonFlags& wanted,
                    const TextMeasure& measure);

// The tallest the dialog's client area may grow: it fits the 800 x 600 screen the game is made
// for, with the window's title bar.
inline constexpr double MaxDialogClientHeight = 560;

// text with every word too wide for a wrapped line (with its space, 640 pixels or more) cut into
// pieces that fit, separated by spaces, so that it wraps instead of ending the wrapping.
std::string BreakLongWords(std::string_view text, const TextMeasure& measure);
// text broken into the lines the dialog's label shows, joined by line feeds: at most maxLines;
// when there are more, the last of them says the rest is on the standard error output.
std::string CapLines(std::string_view text, const TextMeasure& measure, int maxLines);

// What the dialog shows for a prompt, and where: long words broken, and when the box would be
// taller than MaxDialogClientHeight, only the lines that fit (Cut). The work grows in step with
// the length of the prompt.
struct ShownText {
  std::string Text;
  DialogLayout Layout;
  bool Cut = false;
};
ShownText FitToScreen(std::string_view prompt, bool icon, const ButtonFlags& wanted,
                      const TextMeasure& measure);

}  // namespace quarn::ui
