// Folders.h — where Quarn finds its data and keeps the player's own zones.
#pragma once

#include <filesystem>

namespace quarn::ui {

// The folder holding Graphics, sound and zones: the program's own folder.
std::filesystem::path DataFolder(const std::filesystem::path& programFolder);
// The player's own zones ($XDG_DATA_HOME/quarn/zones); created if missing.
std::filesystem::path UserZoneFolder();

}  // namespace quarn::ui
