// Check.cpp — quarn-zone check: reads zone files with the game's own loader and reports on each.
#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <variant>

#include "Commands.h"
#include "game/Zone.h"

namespace quarn::zonetool {
namespace {

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
  out << path << ": \"" << zone.Title << "\" " << zone.Width << "x" << zone.Height
      << ", hot potatoes " << zone.Potatoes << ", targets " << targets << ", enemies +"
      << enemies[0] << " -" << enemies[1] << " *" << enemies[2] << ", laser groups "
      << (lasers.empty() ? "none" : lasers) << ", S " << (zone.Start ? "yes" : "no") << ", E "
      << (zone.Exit ? "yes" : "no");
  return out.str();
}

}  // namespace

int RunCheck(const Args& args) {
  if (args.empty()) {
    std::fputs("usage: quarn-zone check FILE...\n", stderr);
    return 2;
  }
  int status = 0;
  for (const std::string& path : args) {
    const auto parsed = ParseZoneFile(path);
    if (const auto* error = std::get_if<ZoneError>(&parsed)) {
      std::fprintf(stderr, "%s\n", error->Describe().c_str());
      status = 1;
    } else {
      std::printf("%s\n", Summary(path, std::get<ParsedZone>(parsed)).c_str());
    }
  }
  return status;
}

}  // namespace quarn::zonetool
