// Folders.h — where Quarn finds its pictures, sounds and zones, and where a player's zones go.
#pragma once

#include <filesystem>
#include <string>

namespace quarn::system {

// The folder that holds Graphics, sound and zones. In order: $QUARN_DATA_DIR when set and not
// empty; programFolder itself when it holds a Graphics or zones folder (a build tree, or the
// program unpacked with its data); programFolder/../share/quarn when that is a folder (an
// install moved anywhere as a whole); else the data folder chosen when Quarn was built.
std::filesystem::path DataFolder(const std::filesystem::path& programFolder);

// The shipped zones: dataFolder's "zones" folder in whatever letter case it is written there
// ("Zones", "ZONES"), or dataFolder/zones when there is none.
std::filesystem::path ShippedZoneFolder(const std::filesystem::path& dataFolder);

// The player's own zone folder, $XDG_DATA_HOME/quarn/zones ($HOME/.local/share when
// XDG_DATA_HOME is unset, empty or not an absolute path). Created when missing, readable by the
// player alone. When it cannot be made, or is not the player's own (see FolderProblem), it is not
// to be used: refused then gets a Czech sentence saying why.
std::filesystem::path UserZoneFolder(std::string* refused = nullptr);

// Where the player's records live: $XDG_STATE_HOME/quarn ($HOME/.local/state when XDG_STATE_HOME
// is unset, empty or not absolute). Not created here: only a write needs it.
std::filesystem::path StateFolder();

// The best winning runs as key scripts: $XDG_DATA_HOME/quarn/runs (as for UserZoneFolder). Not
// created here.
std::filesystem::path RunFolder();

}  // namespace quarn::system
