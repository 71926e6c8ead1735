// ZoneList.cpp — lists the zone files of the zone folders with their titles.
#include "ZoneList.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "game/ZoneTitle.h"

namespace quarn::system {

namespace {

namespace fs = std::filesystem;

bool IsZoneName(const std::string& name) {
  constexpr std::string_view Suffix = ".qrn";
  if (name.size() < Suffix.size()) return false;
  return std::equal(Suffix.begin(), Suffix.end(), name.end() - Suffix.size(), [](char s, char c) {
    return s == std::tolower(static_cast<unsigned char>(c));
  });
}

}  // namespace

std::vector<ZoneEntry> FindZones(const std::vector<fs::path>& folders) {
  std::vector<ZoneEntry> zones;
  for (size_t k = 0; k < folders.size(); ++k) {
    const fs::path& folder = folders[k];
    std::error_code ec;
    // Mended: installed with the prefix ~/.local, the shipped zones and the player's own are
    // one folder; without this check every zone would be listed twice.
    const bool seen = std::any_of(folders.begin(), folders.begin() + k, [&](const fs::path& f) {
      std::error_code sameError;
      return fs::equivalent(f, folder, sameError);
    });
    if (seen) continue;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      // Only regular files (or links to them): opening a pipe named *.qrn would hang the list.
      std::error_code typeError;
      if (IsZoneName(it->path().filename().string()) && it->is_regular_file(typeError)) {
        files.push_back(it->path());
      }
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
      return a.filename().native() < b.filename().native();
    });
    for (fs::path& file : files) {
      std::string title = ReadZoneTitle(file);
      zones.push_back({std::move(file), std::move(title)});
    }
  }
  return zones;
}

}  // namespace quarn::system
