// Variety.cpp — quarn-zone variety: how much of each zone repeats itself or the other zones named.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "base/Text.h"
#include "zone/Zone.h"
#include "zone/ZoneVariety.h"

namespace quarn::zonetool {
namespace {

constexpr const char* VarietyUsage =
    "usage: quarn-zone variety ZONE...\n"
    "Measures how much of each zone is copy and paste and prints one line a zone: its 8 x 8\n"
    "blocks (a block of one tile alone not counted), the share of them that equal another\n"
    "block of the zone, and the other ZONE it shares most 4 x 4 patterns with, with that share.\n"
    "A zone is over the limit when more than a third of its blocks (of three or more) repeat,\n"
    "or when half or more of the patterns it and another zone have between them are in both;\n"
    "its line then\n"
    "says which. Give every zone to compare with: quarn-zone variety zones/*.qrn zones/*/*.qrn\n"
    "Status 0 when every zone keeps the limits, 1 when any is over one or cannot be read,\n"
    "2 on a wrong command line.\n";

}  // namespace

int RunVariety(const Args& args) {
  if (WantsHelp(args)) return Help(VarietyUsage);
  for (const std::string& a : args) {
    if (a.size() > 1 && a[0] == '-') {
      return UsageError("variety", VarietyUsage, "unknown option '" + a + "'");
    }
  }
  if (args.empty()) return UsageError("variety", VarietyUsage, "which zones?");
  int status = 0;
  std::vector<std::string> names;
  std::vector<ParsedZone> zones;
  for (const std::string& path : args) {
    auto parsed = ParseZoneFile(path);
    if (!parsed.Ok()) {
      std::fprintf(stderr, "%s\n", parsed.Error().Describe().c_str());
      status = 1;
      continue;
    }
    names.push_back(ShowControls(path));
    zones.push_back(std::move(parsed.Value()));
  }
  const std::vector<ZoneVariety> measured = MeasureVariety(zones);
  for (size_t i = 0; i < zones.size(); ++i) {
    const ZoneVariety& v = measured[i];
    const std::string closest = v.Closest < 0 ? "" : names[static_cast<size_t>(v.Closest)];
    std::printf("%s: %d blocks, %.1f %% repeated, ", names[i].c_str(), v.Blocks.Whole,
                v.Blocks.Percent());
    if (v.Closest < 0) {
      std::printf("no other zone to compare with");
    } else {
      std::printf("most patterns shared with %s (%.1f %%)", closest.c_str(), v.Shared.Percent());
    }
    const std::string findings = VarietyFindings(v, closest);
    if (!findings.empty()) {
      std::printf("; %s", findings.c_str());
      status = 1;
    }
    std::printf("\n");
  }
  return status;
}

}  // namespace quarn::zonetool
