// Folders.cpp — the data folder and the player's zone folder.
#include "Folders.h"

#include <cstdlib>
#include <system_error>

namespace quarn::ui {

std::filesystem::path DataFolder(const std::filesystem::path& programFolder) {
  return programFolder;
}

std::filesystem::path UserZoneFolder() {
  std::filesystem::path base;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".local" / "share";
  } else {
    base = std::filesystem::temp_directory_path();
  }
  const std::filesystem::path folder = base / "quarn" / "zones";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

}  // namespace quarn::ui
