// KeyBindings.cpp — the player's keys: checked, mapped onto the game's own, read and kept.
#include "KeyBindings.h"

#include <cstdio>
#include <ctime>
#include <sstream>
#include <system_error>

#include "SafeFile.h"
#include "base/Keys.h"
#include "base/Text.h"

namespace quarn::system {
namespace fs = std::filesystem;
namespace {

// The game screen's keys that are no action's: Esc, Enter, F1, F11 and Alt+Enter, N, F, G, H,
// and Ctrl+R.
constexpr int Reserved[] = {vk::Escape, vk::Enter, vk::F1, vk::F11, vk::Alt, 'N',
                            'F',        'G',       'H',    vk::Ctrl, vk::R};
constexpr size_t MaxKeysBytes = 4096;

std::string Trimmed(std::string_view text) {
  const size_t from = text.find_first_not_of(" \t\r");
  if (from == std::string_view::npos) return {};
  const size_t to = text.find_last_not_of(" \t\r");
  return std::string(text.substr(from, to - from + 1));
}

}  // namespace

const std::array<KeyActionInfo, KeyActionCount>& KeyActions() {
  static const std::array<KeyActionInfo, KeyActionCount> actions = {{
      {"walk-left", "chůze vlevo", vk::Left},
      {"walk-up", "chůze nahoru", vk::Up},
      {"walk-right", "chůze vpravo", vk::Right},
      {"walk-down", "chůze dolů", vk::Down},
      {"box", "položit bednu", vk::Space},
      {"back", "zpět v čase", vk::Backspace},
      {"pause", "pauza", 'P'},
  }};
  return actions;
}

std::array<int, KeyActionCount> KeyBindings::DefaultKeys() {
  std::array<int, KeyActionCount> keys{};
  for (size_t i = 0; i < KeyActionCount; ++i) keys[i] = KeyActions()[i].DefaultKey;
  return keys;
}

std::string KeyShownName(int key) {
  switch (key) {
    case vk::Left:
      return "šipka vlevo";
    case vk::Up:
      return "šipka nahoru";
    case vk::Right:
      return "šipka vpravo";
    case vk::Down:
      return "šipka dolů";
    case vk::Space:
      return "Mezera";
    default:
      return KeyFileName(key);
  }
}

std::optional<std::string> KeyRefusal(const KeyBindings& bindings, KeyAction action, int key) {
  if (KeyFileName(key).empty()) return "Tuto klávesu hra neumí použít.";
  const std::string name = KeyShownName(key);
  for (int reserved : Reserved) {
    if (key == reserved) return "Klávesa " + name + " už ve hře slouží k něčemu jinému.";
  }
  for (size_t i = 0; i < KeyActionCount; ++i) {
    if (i != static_cast<size_t>(action) && bindings.Keys[i] == key)
      return "Klávesa " + name + " už patří akci „" + std::string(KeyActions()[i].Czech) + "“.";
  }
  return std::nullopt;
}

std::array<uint8_t, 256> KeyMapOf(const KeyBindings& bindings) {
  std::array<uint8_t, 256> map{};
  for (size_t k = 0; k < map.size(); ++k) map[k] = static_cast<uint8_t>(k);
  for (size_t i = 0; i < KeyActionCount; ++i) map[static_cast<size_t>(KeyActions()[i].DefaultKey)] = 0;
  for (size_t i = 0; i < KeyActionCount; ++i)
    map[static_cast<size_t>(bindings.Keys[i])] = static_cast<uint8_t>(KeyActions()[i].DefaultKey);
  return map;
}

std::string KeysText(const KeyBindings& bindings) {
  std::string text = "# Quarn: klávesy hráče, jedna akce na řádek\n";
  for (size_t i = 0; i < KeyActionCount; ++i)
    text += std::string(KeyActions()[i].FileName) + " = " + KeyFileName(bindings.Keys[i]) + "\n";
  return text;
}

std::variant<KeyBindings, std::string> ParseKeys(std::string_view text) {
  KeyBindings bindings;
  std::array<bool, KeyActionCount> seen{};
  std::istringstream lines{std::string(text)};
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const std::string where = "řádek " + std::to_string(number) + ": ";
    const std::string bare = Trimmed(line);
    if (bare.empty() || bare[0] == '#') continue;
    const size_t eq = bare.find('=');
    if (eq == std::string::npos) return where + "chybí „=“";
    const std::string action = Trimmed(std::string_view(bare).substr(0, eq));
    const std::string keyName = Trimmed(std::string_view(bare).substr(eq + 1));
    size_t a = 0;
    while (a < KeyActionCount && KeyActions()[a].FileName != action) ++a;
    if (a == KeyActionCount) return where + "neznámá akce „" + ShowControls(action) + "“";
    if (seen[a]) return where + "akce „" + action + "“ podruhé";
    seen[a] = true;
    const int key = KeyOfFileName(keyName);
    if (key == 0) return where + "neznámá klávesa „" + ShowControls(keyName) + "“";
    bindings.Keys[a] = key;
  }
  // Checked when all are read: two actions may swap their keys in any order of lines.
  for (size_t a = 0; a < KeyActionCount; ++a) {
    if (auto refused = KeyRefusal(bindings, static_cast<KeyAction>(a), bindings.Keys[a]))
      return *refused;
  }
  return bindings;
}

ReadBindings ReadKeyBindings(const fs::path& configFolder) {
  ReadBindings read;
  if (configFolder.empty() || !FolderTrusted(configFolder)) return read;
  const fs::path file = configFolder / KeysFile;
  std::error_code error;
  if (!fs::exists(fs::symlink_status(file, error))) return read;
  const auto text = ReadWhole(file, MaxKeysBytes);
  std::string why;
  if (text) {
    auto parsed = ParseKeys(*text);
    if (auto* bindings = std::get_if<KeyBindings>(&parsed)) {
      read.Bindings = *bindings;
      return read;
    }
    why = std::get<std::string>(parsed);
  } else {
    why = text.Error().Message;
  }
  std::fprintf(stderr, "quarn: %s: %s\n", ShowControls(file.string()).c_str(),
               ShowControls(why).c_str());
  // Set aside, under a name that no later damage will take.
  const fs::path aside = DamagedName(file);
  if (fs::rename(file, aside, error); !error) {
    read.Message = "Soubor kláves nešlo přečíst (" + ShowControls(why) + "). Je odložen jako\n" +
                   ShowControls(aside.string()) + "\na hra používá své klávesy.";
  } else {
    read.Message = "Soubor kláves nešlo přečíst (" + ShowControls(why) +
                   ").\nHra používá své klávesy.";
  }
  return read;
}

std::optional<std::string> KeepKeyBindings(const fs::path& configFolder,
                                           const KeyBindings& bindings) {
  if (configFolder.empty()) return "Hra nemá složku pro nastavení.";
  if (bindings == KeyBindings{}) {
    RemoveWritten({configFolder / KeysFile});
    return std::nullopt;
  }
  if (auto made = MakePrivateFolder(configFolder); !made) return made.Error().Message;
  if (auto written = WriteWhole(configFolder / KeysFile, KeysText(bindings), Existing::ReplaceOwn);
      !written)
    return written.Error().Message;
  return std::nullopt;
}

}  // namespace quarn::system
