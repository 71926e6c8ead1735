// ZoneList.h — the zones the start screen lists: files and titles, in a settled order.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quarn::system {

struct ZoneEntry {
  std::filesystem::path File;
  std::string Title;  // the zone's first field in UTF-8; "" when the file cannot be read
};

// The zones of each folder in the order the folders are given: the regular files whose names
// end in ".qrn" in any letter case, ascending by file name within a folder. A missing or
// unreadable folder adds nothing.
std::vector<ZoneEntry> FindZones(const std::vector<std::filesystem::path>& folders);

}  // namespace quarn::system
