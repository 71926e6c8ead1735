// ZoneSets.h — every zone of every zone set we ship, for the tests that walk them all. The set
// "Základy" is zones/*.qrn with its winning runs in tests/run/solutions/; every subfolder of zones/
// that holds zones is a set of its own, with each zone's run beside it (X.keys beside X.qrn).
// Needs QUARN_ZONES_DIR and QUARN_SOLUTIONS_DIR.
#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace quarn::test {

struct ShippedZoneSet {
  std::string Name;     // "Základy", or the subfolder's name
  std::string Tag;      // the name as a test name may spell it: "zaklady", "pro_zkusene"
  std::filesystem::path Folder;  // where its zones are
  std::filesystem::path Runs;    // where their runs are
  std::vector<std::string> Zones;  // file names without ".qrn", sorted
  std::vector<std::string> RunNames;  // the ".keys" files in Runs, without the extension, sorted
};

struct ShippedZone {
  std::string Set, Name;  // "pro-zkusene", "07-laserovy-rytmus"
  std::filesystem::path Zone, Run;
  std::string TestName;   // "pro_zkusene_07_laserovy_rytmus"
  std::string Shown() const { return Set + "/" + Name; }
};

// How a failing test of a zone or a set names it.
inline void PrintTo(const ShippedZone& zone, std::ostream* out) { *out << zone.Shown(); }
inline void PrintTo(const ShippedZoneSet& set, std::ostream* out) { *out << set.Name; }

// The stems of the files in folder with this extension, sorted.
inline std::vector<std::string> FilesIn(const std::filesystem::path& folder, const char* ext) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ext) {
      names.push_back(entry.path().stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Letters and digits kept, anything else an underscore: what a test name may hold.
inline std::string TestTag(std::string text) {
  for (char& c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return text;
}

inline std::vector<ShippedZoneSet> ShippedZoneSets() {
  namespace fs = std::filesystem;
  std::vector<ShippedZoneSet> sets;
  const fs::path zones = QUARN_ZONES_DIR;
  sets.push_back({"Základy", "zaklady", zones, QUARN_SOLUTIONS_DIR, FilesIn(zones, ".qrn"),
                  FilesIn(QUARN_SOLUTIONS_DIR, ".keys")});
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(zones)) {
    if (entry.is_directory()) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  for (const fs::path& folder : folders) {
    std::vector<std::string> names = FilesIn(folder, ".qrn");
    if (names.empty()) continue;
    const std::string name = folder.filename().string();
    sets.push_back({name, TestTag(name), folder, folder, std::move(names), FilesIn(folder, ".keys")});
  }
  return sets;
}

inline std::vector<ShippedZone> EveryShippedZone() {
  std::vector<ShippedZone> all;
  for (const ShippedZoneSet& set : ShippedZoneSets()) {
    for (const std::string& name : set.Zones) {
      all.push_back({set.Name, name, set.Folder / (name + ".qrn"), set.Runs / (name + ".keys"),
                     set.Tag + "_" + TestTag(name)});
    }
  }
  return all;
}

}  // namespace quarn::test
