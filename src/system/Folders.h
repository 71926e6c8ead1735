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
// XDG_DATA_HOME is unset, empty or not an absolute path). Not made here: the game makes it with
// MakePrivateFolder when it starts, and does not use it when that fails (without HOME the folder
// may lie in /tmp, where another user could have prepared it to catch what the game writes).
std::filesystem::path UserZoneFolder();

// Where the player's records live: $XDG_STATE_HOME/quarn ($HOME/.local/state when XDG_STATE_HOME
// is unset, empty or not absolute). Not created here: only a write needs it.
std::filesystem::path StateFolder();

// The best winning runs as key scripts: $XDG_DATA_HOME/quarn/runs (as for UserZoneFolder). Not
// created here.
std::filesystem::path RunFolder();

// The player's settings of the controls: $XDG_CONFIG_HOME/quarn ($HOME/.config when
// XDG_CONFIG_HOME is unset, empty or not absolute). Holds gamecontrollerdb.txt, the player's own
// pad mappings in SDL's format, read at the start. Not created here.
std::filesystem::path ConfigFolder();

}  // namespace quarn::system
