// ZoneList.cpp — lists the zone files of the zone folders with their titles.
#include "ZoneList.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "game/ZoneTitle.h"

namespace quarn::ui {

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
  for (const fs::path& folder : folders) {
    std::vector<fs::path> files;
    std::error_code ec;
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

}  // namespace quarn::ui
