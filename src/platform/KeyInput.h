// KeyInput.h — turns SDL keyboard and focus events into the game's virtual-key state.
#pragma once

#include <SDL.h>

#include <array>

#include "game/Keyboard.h"

namespace quarn::platform {

// The virtual-key code of a key, 0 for a key the game has no code for. Letters follow the
// keyboard layout (the key labelled R is R), as virtual keys do.
int VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode);

// Feeds a KeyState from the events of our windows. Auto-repeat is ignored: the game reads which
// keys are down, and a repeat would only mark a key as freshly pressed again.
class KeyInput {
 public:
  explicit KeyInput(KeyState& keys) : keys_(keys) {}
  // Returns true when the event was a keyboard or focus event it used.
  bool Handle(const SDL_Event& event);
  // Every key up: the keyboard went to another program.
  void ReleaseAll();

 private:
  bool AnotherHeld(SDL_Scancode except, int virtualKey) const;
  KeyState& keys_;
  // The virtual key each physical key went down as; two physical keys (left and right Ctrl) can
  // share one code, which stays down until both are up.
  std::array<int, SDL_NUM_SCANCODES> heldAs_{};
};

}  // namespace quarn::platform
