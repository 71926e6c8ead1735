// Settings.cpp — reading and keeping the player's settings.
#include "Settings.h"

#include <sstream>
#include <string>

#include "SafeFile.h"

namespace quarn::system {

PlayerSettings ReadSettings(const std::filesystem::path& stateFolder) {
  PlayerSettings settings;
  if (stateFolder.empty() || !FolderTrusted(stateFolder)) return settings;
  const auto text = ReadWhole(stateFolder / SettingsFile, 64 * 1024);
  if (!text) return settings;
  std::istringstream lines(*text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line == "ghost=off") settings.Ghost = false;
    if (line == "ghost=on") settings.Ghost = true;
  }
  return settings;
}

Result<void> KeepSettings(const std::filesystem::path& stateFolder, const PlayerSettings& settings) {
  if (stateFolder.empty()) return Fail("Hra nemá složku pro svůj stav.");
  if (auto made = MakePrivateFolder(stateFolder); !made) return made;
  return WriteWhole(stateFolder / SettingsFile,
                    std::string("ghost=") + (settings.Ghost ? "on" : "off") + "\n",
                    Existing::ReplaceOwn);
}

}  // namespace quarn::system
