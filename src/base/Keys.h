// Keys.h — the virtual-key codes every screen answers, and the names key scripts give the keys
// a run is played with. The keyboard, the pad and the page's on-screen pad all hand these codes
// to the screens; each is written here once.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quarn {

namespace vk {
// Control keys.
inline constexpr int Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Ctrl = 17, Alt = 18,
                     Escape = 27, Space = 32;
// Moving in lists and in the play: the arrows and the keys of a page.
inline constexpr int PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38,
                     Right = 39, Down = 40, Insert = 45, Delete = 46;
// Letters and digits are their capital ASCII codes ('A'..'Z', '0'..'9').
inline constexpr int R = 'R';
// The number pad's digits and signs, and the function keys.
inline constexpr int Numpad0 = 96, NumpadPlus = 107, NumpadMinus = 109, F1 = 112, F5 = 116,
                     F11 = 122;
// Signs of the main keyboard.
inline constexpr int Equals = 187, Comma = 188, Minus = 189, FullStop = 190;
}  // namespace vk

// The keys a key script can name, in the order of their bits in a recorded tick (left, up,
// right, down, space, enter, ctrl, r); a script's key line joins names with '+', "-" is none.
struct ScriptKeyName {
  std::string_view Name;
  int VirtualKey;
};
inline constexpr std::array<ScriptKeyName, 8> ScriptKeyNames = {{{"left", vk::Left},
                                                                 {"up", vk::Up},
                                                                 {"right", vk::Right},
                                                                 {"down", vk::Down},
                                                                 {"space", vk::Space},
                                                                 {"enter", vk::Enter},
                                                                 {"ctrl", vk::Ctrl},
                                                                 {"r", vk::R}}};

// The script name of a key, empty for a key scripts cannot name.
constexpr std::string_view ScriptNameOf(int virtualKey) {
  for (const ScriptKeyName& k : ScriptKeyNames) {
    if (k.VirtualKey == virtualKey) return k.Name;
  }
  return {};
}
// The key of a script name, 0 for none.
constexpr int ScriptKeyOf(std::string_view name) {
  for (const ScriptKeyName& k : ScriptKeyNames) {
    if (k.Name == name) return k.VirtualKey;
  }
  return 0;
}

// The name of a key in the player's keys file and on the controls screen ("Left", "Space", "A",
// "F5", "Numpad7"), empty for a key that has none; and the key of a name (0 for none).
std::string KeyFileName(int virtualKey);
int KeyOfFileName(std::string_view name);

}  // namespace quarn
