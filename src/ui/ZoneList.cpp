// ZoneList.cpp — listing zone files and reading their titles.
#include "ZoneList.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

#include "game/Text.h"

namespace quarn::ui {

namespace {

bool IsZoneFile(const std::filesystem::path& p) {
  std::string ext = p.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".qrn";
}

// The first field: a quoted text up to its closing quote, or the first line up to a comma.
std::string TitleOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return "";
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  if (line[start] == '"') {
    const size_t end = line.find('"', start + 1);
    return ToUtf8(line.substr(start + 1, end == std::string::npos ? end : end - start - 1));
  }
  return ToUtf8(line.substr(start, line.find(',', start) - start));
}

}  // namespace

std::vector<ZoneEntry> FindZones(const std::vector<std::filesystem::path>& folders) {
  std::vector<ZoneEntry> zones;
  for (const auto& folder : folders) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      if (entry.is_regular_file(ec) && IsZoneFile(entry.path())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
      return a.filename().string() < b.filename().string();
    });
    for (auto& f : files) zones.push_back(ZoneEntry{f, TitleOf(f)});
  }
  return zones;
}

}  // namespace quarn::ui
