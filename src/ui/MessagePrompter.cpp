// MessagePrompter.cpp — button sets and results of the game's questions.
#include "MessagePrompter.h"

namespace quarn::ui {

namespace {

std::vector<int> ResultsOf(int buttons) {
  switch (buttons) {
    case msgbox::OkCancel:
      return {msgbox::ResultOk, msgbox::ResultCancel};
    case msgbox::YesNo:
      return {msgbox::ResultYes, msgbox::ResultNo};
    case msgbox::YesNoCancel:
      return {msgbox::ResultYes, msgbox::ResultNo, msgbox::ResultCancel};
    default:
      return {msgbox::ResultOk};
  }
}

}  // namespace

std::vector<std::string> ButtonCaptions(int buttons) {
  switch (buttons) {
    case msgbox::OkCancel:
      return {"OK", "Zrušit"};
    case msgbox::YesNo:
      return {"Ano", "Ne"};
    case msgbox::YesNoCancel:
      return {"Ano", "Ne", "Zrušit"};
    default:
      return {"OK"};
  }
}

int ResultOf(int buttons, int pressedIndex) {
  const std::vector<int> results = ResultsOf(buttons);
  if (pressedIndex >= 0 && pressedIndex < static_cast<int>(results.size())) {
    return results[static_cast<size_t>(pressedIndex)];
  }
  return results.back();
}

int MessagePrompter::SkinMsgBox(const std::string& prompt, int buttons, int /*icon*/,
                                const std::string& title) {
  const int pressed = app_.Ask(title.empty() ? AppTitle : title, prompt, ButtonCaptions(buttons));
  return ResultOf(buttons, pressed);
}

}  // namespace quarn::ui
