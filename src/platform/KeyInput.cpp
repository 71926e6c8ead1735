// KeyInput.cpp — the SDL-to-virtual-key table and the key events handed to the sink.
#include "KeyInput.h"
#include "WindowSystem.h"

#include <utility>

namespace quarn::platform {

int VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
    return 112 + (scancode - SDL_SCANCODE_F1);
  }
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
    return 97 + (scancode - SDL_SCANCODE_KP_1);
  }
  switch (scancode) {
    case SDL_SCANCODE_LEFT:
      return 37;
    case SDL_SCANCODE_UP:
      return 38;
    case SDL_SCANCODE_RIGHT:
      return 39;
    case SDL_SCANCODE_DOWN:
      return 40;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_RETURN2:
    case SDL_SCANCODE_KP_ENTER:
      return 13;
    case SDL_SCANCODE_SPACE:
      return 32;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return 17;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return 16;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return 18;
    case SDL_SCANCODE_BACKSPACE:
      return 8;
    case SDL_SCANCODE_TAB:
      return 9;
    case SDL_SCANCODE_ESCAPE:
      return 27;
    case SDL_SCANCODE_PAGEUP:
      return 33;
    case SDL_SCANCODE_PAGEDOWN:
      return 34;
    case SDL_SCANCODE_END:
      return 35;
    case SDL_SCANCODE_HOME:
      return 36;
    case SDL_SCANCODE_INSERT:
      return 45;
    case SDL_SCANCODE_DELETE:
      return 46;
    case SDL_SCANCODE_KP_0:
      return 96;
    case SDL_SCANCODE_KP_PLUS:
      return 107;
    case SDL_SCANCODE_KP_MINUS:
      return 109;
    case SDL_SCANCODE_EQUALS:
      return 187;
    case SDL_SCANCODE_MINUS:
      return 189;
    case SDL_SCANCODE_COMMA:
      return 188;
    case SDL_SCANCODE_PERIOD:
      return 190;
    default:
      return 0;
  }
}

SDL_Event KeyEventOf(int virtualKey, bool down, Uint16 mod) {
  SDL_Event event{};
  event.type = SDL_FIRSTEVENT;
  if (virtualKey <= 0 || virtualKey > 255) return event;
  // The first key that makes the code: the left one of a pair (Ctrl), the main one of a key the
  // keypad has too (Enter).
  for (int sc = SDL_SCANCODE_UNKNOWN + 1; sc < SDL_NUM_SCANCODES; ++sc) {
    const auto scancode = static_cast<SDL_Scancode>(sc);
    const SDL_Keycode key = SDL_GetKeyFromScancode(scancode);
    if (VirtualKeyOf(key, scancode) != virtualKey) continue;
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.timestamp = SDL_GetTicks();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
  }
  return event;
}

bool PostVirtualKey(int virtualKey, bool down) {
  constexpr int CtrlKey = 17;
  static bool ctrlHeld = false;
  if (virtualKey == CtrlKey) ctrlHeld = down;
  SDL_Event event = KeyEventOf(virtualKey, down, ctrlHeld ? KMOD_LCTRL : KMOD_NONE);
  if (event.type == SDL_FIRSTEVENT) return false;
  event.key.keysym.unused = PostedKeyMark;
  // The window with the keyboard, as SDL names it for the keyboard's own events.
  if (SDL_Window* focused = windows::GetKeyboardFocus())
    event.key.windowID = windows::GetWindowID(focused);
  return SDL_PushEvent(&event) == 1;
}

bool KeyInput::AnotherHeld(int except, int virtualKey) const {
  for (size_t i = 0; i < heldAs_.size(); ++i) {
    if (static_cast<int>(i) != except && heldAs_[i] == virtualKey) return true;
  }
  return false;
}

bool KeyInput::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      if (event.key.repeat != 0) return true;
      const SDL_Scancode sc = event.key.keysym.scancode;
      if (sc >= 0 && sc < SDL_NUM_SCANCODES) Press(sc, VirtualKeyOf(event.key.keysym.sym, sc));
      return true;
    }
    case SDL_KEYUP: {
      const SDL_Scancode sc = event.key.keysym.scancode;
      if (sc >= 0 && sc < SDL_NUM_SCANCODES) Release(sc);
      return true;
    }
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        ReleaseAll();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void KeyInput::Press(int slot, int virtualKey) {
  if (slot < 0 || slot >= Slots || virtualKey <= 0 || virtualKey > 255) return;
  heldAs_[static_cast<size_t>(slot)] = virtualKey;
  keys_.KeyDown(virtualKey);
}

int KeyInput::Release(int slot) {
  if (slot < 0 || slot >= Slots) return 0;
  // The code it went down as: the layout may have changed while it was held.
  const int vk = std::exchange(heldAs_[static_cast<size_t>(slot)], 0);
  if (vk == 0 || AnotherHeld(slot, vk)) return 0;
  keys_.KeyUp(vk);
  return vk;
}

namespace {

Modifiers ModifiersOf(unsigned m) {
  return Modifiers{(m & KMOD_CTRL) != 0, (m & KMOD_SHIFT) != 0, (m & KMOD_ALT) != 0};
}

// The event being handled, on the one thread that handles events.
bool inKeyEvent = false;
Modifiers keyEventModifiers;

}  // namespace

Modifiers HeldModifiers() {
  if (inKeyEvent) return keyEventModifiers;
  return ModifiersOf(SDL_GetModState());
}

KeyEventModifiers::KeyEventModifiers(Uint16 eventMod)
    : hadOuter_(inKeyEvent), outer_(keyEventModifiers) {
  inKeyEvent = true;
  keyEventModifiers = ModifiersOf(eventMod);
}

KeyEventModifiers::KeyEventModifiers() : hadOuter_(inKeyEvent), outer_(keyEventModifiers) {
  inKeyEvent = false;
}

KeyEventModifiers::~KeyEventModifiers() {
  inKeyEvent = hadOuter_;
  keyEventModifiers = outer_;
}

void KeyInput::ReleaseAll() {
  heldAs_.fill(0);
  keys_.ReleaseAll();
}

}  // namespace quarn::platform
