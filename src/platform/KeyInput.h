// KeyInput.h — turns SDL keyboard and focus events into virtual-key codes going down and up.
#pragma once

#include <SDL.h>

#include <array>

namespace quarn::platform {

// Where the key events of our windows go, as virtual-key codes (1..255). The screens own it; the
// platform knows nothing of what the keys mean.
class KeySink {
 public:
  virtual ~KeySink() = default;
  virtual void KeyDown(int virtualKey) = 0;
  virtual void KeyUp(int virtualKey) = 0;
  // Every key is up: the keyboard went to another program or a modal window had it.
  virtual void ReleaseAll() = 0;
};

// The virtual-key code of a key, 0 for a key the game has no code for. Letters follow the
// keyboard layout (the key labelled R is R), as virtual keys do.
int VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode);

// A key event for a virtual-key code, as the keyboard would send it: a device without keys (the
// page's touch controls) hands its presses to the same queue, so that they reach the windows,
// the key state and a run's key lines exactly as a keyboard's do. The event has no window: it
// goes to the one with the keyboard. A code no key of the keyboard has gives SDL_FIRSTEVENT.
SDL_Event KeyEventOf(int virtualKey, bool down, Uint16 mod);
// Queues that event; Ctrl (17) stays held for the keys that follow until it is let go, as the
// keyboard's modifier does. False when the code has no key or SDL's queue refused it. The event
// is marked as posted (its keysym's spare field is PostedKeyMark): it is the game's own key
// already, so the player's own keys do not turn it into another, and it is held apart from the
// keyboard's keys, as a pad's are.
bool PostVirtualKey(int virtualKey, bool down);
inline constexpr Uint32 PostedKeyMark = 0x51554B59;
inline bool IsPostedKey(const SDL_KeyboardEvent& key) { return key.keysym.unused == PostedKeyMark; }

// The modifier keys held: while a key event is handled, those it was made with; otherwise as
// the window system last told us.
struct Modifiers {
  bool Ctrl = false, Shift = false, Alt = false;
};
Modifiers HeldModifiers();

// Handing a key event to its handlers: HeldModifiers tells the event's own modifiers meanwhile.
// Mended: the state of now was read, and events are handled after all that came in were taken
// in, so a quick Ctrl+S (Ctrl down, S down, S up, Ctrl up) reached the handler without Ctrl.
class KeyEventModifiers {
 public:
  explicit KeyEventModifiers(Uint16 eventMod);
  // No key event is handled meanwhile (a nested event loop under a key's handler).
  KeyEventModifiers();
  ~KeyEventModifiers();
  KeyEventModifiers(const KeyEventModifiers&) = delete;
  KeyEventModifiers& operator=(const KeyEventModifiers&) = delete;

 private:
  bool hadOuter_;
  Modifiers outer_;
};

// Hands the keys of every device to a sink. Each key held has a slot: a keyboard key its
// scancode, a pad's button and a key of the page's on-screen pad one of their own. Auto-repeat is
// ignored: the game reads which keys are down, and a repeat would only mark a key as freshly
// pressed again.
class KeyInput {
 public:
  static constexpr int PadSlots = SDL_NUM_SCANCODES;  // two a pad button
  static constexpr int PageSlots = PadSlots + 64;     // one a virtual key
  static constexpr int Slots = PageSlots + 256;

  explicit KeyInput(KeySink& keys) : keys_(keys) {}
  // Returns true when the event was a keyboard or focus event it used.
  bool Handle(const SDL_Event& event);
  // The key of a slot went down as virtualKey (1..255).
  void Press(int slot, int virtualKey);
  // The slot's key went up: returns the virtual key let go, or 0 when the slot held none or
  // another slot still holds the same key.
  int Release(int slot);
  // Every key up: the keyboard went to another program.
  void ReleaseAll();

 private:
  bool AnotherHeld(int except, int virtualKey) const;
  KeySink& keys_;
  // The virtual key each slot went down as; two physical keys (left and right Ctrl), or a key and
  // a pad's button, can share one code, which stays down until all are up.
  std::array<int, Slots> heldAs_{};
};

}  // namespace quarn::platform
