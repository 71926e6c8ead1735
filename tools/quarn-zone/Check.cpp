// Check.cpp — quarn-zone check: reads zone files with the game's own loader and reports on each.
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include "Commands.h"
#include "base/Text.h"
#include "zone/Zone.h"
#include "zone/ZoneCheck.h"

namespace quarn::zonetool {
namespace {

constexpr const char* CheckUsage =
    "usage: quarn-zone check [--strict] FILE...\n"
    "Loads each zone FILE as the game does and prints a summary line for a good one and\n"
    "FILE:LINE: message for a broken one.\n"
    "  --strict   also report potatoes, targets or an exit that no play can reach, a missing\n"
    "             start, exit site, potato or target, and edges a figure can walk off\n"
    "Status 0 when every zone is good, 1 when any is reported, 2 on a wrong command line.\n";

// One line a zone author can read at a glance: what the loader found in the zone.
std::string Summary(const std::string& path, const ParsedZone& zone) {
  int targets = 0;
  std::array<bool, 3> laserGroups{};
  for (int y = 0; y < zone.Height; ++y) {
    for (int x = 0; x < zone.Width; ++x) {
      const int code = zone.CodeAt(x, y);
      if (code == tile::Target) ++targets;
      if (tile::IsLaser(code)) laserGroups[static_cast<size_t>((code - tile::LaserA) % 3)] = true;
    }
  }
  std::array<int, 3> enemies{};
  for (const ZoneEnemy& e : zone.Enemies) ++enemies[static_cast<size_t>(e.Kind - 1)];

  std::string lasers;
  for (size_t g = 0; g < 3; ++g) {
    if (laserGroups[g]) lasers += static_cast<char>('a' + g);
  }
  std::ostringstream out;
  out << ShowControls(path) << ": \"" << ShowControls(zone.Title) << "\" " << zone.Width << "x"
      << zone.Height << ", hot potatoes " << zone.Potatoes << ", targets " << targets
      << ", enemies +" << enemies[0] << " -" << enemies[1] << " *" << enemies[2]
      << ", laser groups " << (lasers.empty() ? "none" : lasers) << ", S "
      << (zone.Start ? "yes" : "no") << ", E " << (zone.Exit ? "yes" : "no");
  return out.str();
}

// Prints the strict findings of a zone that loaded; returns whether there were any.
bool ReportDeadEnds(const std::string& path, const ParsedZone& zone) {
  // The line numbers come from the header and the rows only: the notes after the last row are
  // never read, however long.
  std::ifstream file(path, std::ios::binary);
  std::string text(zone.EndOffset, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  std::vector<StrictFinding> found = FindDeadEnds(zone, RowLines(text, zone.Height));
  std::stable_sort(found.begin(), found.end(),
                   [](const StrictFinding& a, const StrictFinding& b) { return a.Line < b.Line; });
  for (const StrictFinding& f : found) {
    std::fprintf(stderr, "%s:%d: %s\n", ShowControls(path).c_str(), f.Line,
                 ShowControls(f.Message).c_str());
  }
  return !found.empty();
}

}  // namespace

int RunCheck(const Args& args) {
  if (WantsHelp(args)) return Help(CheckUsage);
  bool strict = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--strict") {
      strict = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError("check", CheckUsage, "unknown option '" + ShowControls(a) + "'");
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) return UsageError("check", CheckUsage, "which zones?");
  int status = 0;
  for (const std::string& path : files) {
    const auto parsed = ParseZoneFile(path);
    if (!parsed.Ok()) {
      std::fprintf(stderr, "%s\n", parsed.Error().Describe().c_str());
      status = 1;
    } else {
      const ParsedZone& zone = parsed.Value();
      std::printf("%s\n", Summary(path, zone).c_str());
      if (strict && ReportDeadEnds(path, zone)) status = 1;
    }
  }
  return status;
}

}  // namespace quarn::zonetool
