// KeyFeed.h — the key events of our windows, fed into the game's key state.
#pragma once

#include "game/Keyboard.h"
#include "platform/KeyInput.h"

namespace quarn::ui {

// The one place where the platform's key events meet the game: the game polls the KeyState the
// way it polls the keyboard, down now or pressed since the last query.
class KeyFeed : public platform::KeySink {
 public:
  explicit KeyFeed(KeyState& keys) : keys_(keys) {}
  void KeyDown(int virtualKey) override { keys_.KeyDown(virtualKey); }
  void KeyUp(int virtualKey) override { keys_.KeyUp(virtualKey); }
  void ReleaseAll() override { keys_.ReleaseAll(); }

 private:
  KeyState& keys_;
};

}  // namespace quarn::ui
