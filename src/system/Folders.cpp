// Folders.cpp — the data folder lookup and the player's zone folder.
#include "Folders.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

#include "SafeFile.h"

#ifndef QUARN_INSTALL_DATA_DIR
#define QUARN_INSTALL_DATA_DIR "/usr/local/share/quarn"
#endif

namespace quarn::system {

namespace {

namespace fs = std::filesystem;

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

// The subfolder of folder called name in any letter case; folder and file names are matched
// without regard to case, so "graphics" or "Zones" count too. The exact spelling wins.
std::optional<fs::path> Subfolder(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::is_directory(folder / name, ec)) return folder / name;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (SameIgnoringCase(it->path().filename().string(), name) && it->is_directory(typeError)) {
      return it->path();
    }
  }
  return std::nullopt;
}

bool HoldsData(const fs::path& folder) {
  return Subfolder(folder, "Graphics") || Subfolder(folder, "zones");
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

fs::path HomeFolder() {
  const std::string home = Environment("HOME");
  if (!home.empty()) return home;
  // Mended: a program started without HOME (from some service managers) would otherwise put
  // the player's zones in a folder relative to wherever it was started.
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

}  // namespace

fs::path DataFolder(const fs::path& programFolder) {
  if (const std::string over = Environment("QUARN_DATA_DIR"); !over.empty()) return over;
  if (HoldsData(programFolder)) return programFolder;
  std::error_code ec;
  const fs::path share = programFolder / ".." / "share" / "quarn";
  if (fs::is_directory(share, ec)) {
    const fs::path real = fs::canonical(share, ec);
    return ec ? share : real;
  }
  return QUARN_INSTALL_DATA_DIR;
}

fs::path ShippedZoneFolder(const fs::path& dataFolder) {
  return Subfolder(dataFolder, "zones").value_or(dataFolder / "zones");
}

// An XDG base folder: the variable when it holds an absolute path, else fallback under HOME.
static fs::path XdgFolder(const char* variable, const fs::path& fallback) {
  const fs::path xdg = Environment(variable);
  return xdg.is_absolute() ? xdg : HomeFolder() / fallback;
}

fs::path UserZoneFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share") / "quarn" / "zones"; }

fs::path StateFolder() { return XdgFolder("XDG_STATE_HOME", ".local/state") / "quarn"; }

fs::path ConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config") / "quarn"; }

fs::path RunFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share") / "quarn" / "runs"; }

}  // namespace quarn::system
