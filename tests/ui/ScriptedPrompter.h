// ScriptedPrompter.h — a player who answers the game's questions from a script, for the tests
// of the screens that ask.
#pragma once

#include <string>
#include <vector>

#include "game/Ports.h"

namespace quarn::ui {

// Answers every question with the next scripted answer (No when the script is used up).
class ScriptedPrompter : public Prompter {
 public:
  struct Asked {
    std::string Prompt;
    int Buttons, Icon;
  };
  int SkinMsgBox(const std::string& prompt, int buttons, int icon, const std::string&) override {
    asked.push_back({prompt, buttons, icon});
    if (answers.empty()) return msgbox::ResultNo;
    const int a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  std::vector<Asked> asked;
  std::vector<int> answers;
};

}  // namespace quarn::ui
