// Settings.h — what the player chose in the game that the next start keeps (settings.txt in the
// state folder, one "name=value" a line).
#pragma once

#include <filesystem>

#include "base/Result.h"

namespace quarn::system {

struct PlayerSettings {
  bool Ghost = true;  // G: the ghost of the best run is shown
  bool operator==(const PlayerSettings&) const = default;
};

inline constexpr const char* SettingsFile = "settings.txt";
// The defaults when nothing is kept, the file is damaged or the folder is not the player's own;
// lines it does not know are passed over (a newer game's settings).
PlayerSettings ReadSettings(const std::filesystem::path& stateFolder);
Result<void> KeepSettings(const std::filesystem::path& stateFolder, const PlayerSettings& settings);

}  // namespace quarn::system
