// ZoneList.h — the zone files of the zone folders with their titles, as the start screen lists
// them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quarn::ui {

struct ZoneEntry {
  std::filesystem::path File;
  std::string Title;  // the zone's first field; empty when the file cannot be read
};

// The *.qrn files of each folder in turn, each folder's files in ascending order of name.
std::vector<ZoneEntry> FindZones(const std::vector<std::filesystem::path>& folders);

}  // namespace quarn::ui
