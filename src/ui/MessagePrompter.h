// MessagePrompter.h — the game's questions to the player, as the system's message box for now.
#pragma once

#include <string>
#include <vector>

#include "game/Ports.h"
#include "platform/App.h"

namespace quarn::ui {

inline constexpr const char* AppTitle = "Quarn";

// The Czech captions of a message-box button set, in the order they are shown.
std::vector<std::string> ButtonCaptions(int buttons);
// The game's result code for the button pressed (its index), or for a box closed without one
// (index -1): Cancel where the set has it, else the last button.
int ResultOf(int buttons, int pressedIndex);

class MessagePrompter : public Prompter {
 public:
  explicit MessagePrompter(platform::App& app) : app_(app) {}
  // Modal: no timer ticks while the box is open.
  int SkinMsgBox(const std::string& prompt, int buttons, int icon,
                 const std::string& title) override;

 private:
  platform::App& app_;
};

}  // namespace quarn::ui
