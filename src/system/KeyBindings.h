// KeyBindings.h — the player's own keys for the actions of play (keys.txt in the config folder,
// one "action = key" a line).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace quarn::system {

// What the player can put on a key of his own. Restart (Ctrl+R), the help (F1) and the keys of
// the menus stay as they are.
enum class KeyAction { WalkLeft, WalkUp, WalkRight, WalkDown, Box, Back, Pause, Count };
inline constexpr size_t KeyActionCount = static_cast<size_t>(KeyAction::Count);

struct KeyActionInfo {
  std::string_view FileName;  // in keys.txt
  std::string_view Czech;     // on the controls screen
  int DefaultKey;             // the game's own key for it, which the game screen answers
};
const std::array<KeyActionInfo, KeyActionCount>& KeyActions();

// The key of each action, by KeyAction.
struct KeyBindings {
  std::array<int, KeyActionCount> Keys = DefaultKeys();
  static std::array<int, KeyActionCount> DefaultKeys();
  int Of(KeyAction a) const { return Keys[static_cast<size_t>(a)]; }
  bool operator==(const KeyBindings&) const = default;
};

// A key as the player is shown it: the arrows and the space bar in Czech ("šipka vlevo",
// "Mezera"), every other key by its name in the keys file.
std::string KeyShownName(int key);

// Why key cannot be given to action, in Czech; none when it can. A key is refused when another
// action has it, when the game screen uses it for something else (Esc, Enter, N, …), or when
// it has no name in the keys file.
std::optional<std::string> KeyRefusal(const KeyBindings& bindings, KeyAction action, int key);
// The player's key to the game's own for the game screen: the key an action was moved to gives
// the action's own key, and an action's own key given up gives nothing (0); every other key is
// itself.
std::array<uint8_t, 256> KeyMapOf(const KeyBindings& bindings);

inline constexpr const char* KeysFile = "keys.txt";
// The file's text, every action a line ("walk-left = Left").
std::string KeysText(const KeyBindings& bindings);
// Parses the file's text: an action or key unknown, an action twice, a key refused (given
// twice, or one of the game's own) make it damaged; blank lines and "#" comments are passed
// over; an action left out keeps its own key.
std::variant<KeyBindings, std::string> ParseKeys(std::string_view text);

struct ReadBindings {
  KeyBindings Bindings;
  // For the player, when the file was damaged: where it was set aside, and that the defaults
  // are used.
  std::string Message;
};
// The bindings in configFolder's keys file; the defaults when there is none. A damaged file
// (or one that is no file, or too long) is set aside as keys.txt.damaged-TIME, and the
// defaults are used.
ReadBindings ReadKeyBindings(const std::filesystem::path& configFolder);
// Writes the keys file (the defaults remove it).
std::optional<std::string> KeepKeyBindings(const std::filesystem::path& configFolder,
                                           const KeyBindings& bindings);

}  // namespace quarn::system
