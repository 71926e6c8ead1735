// CommandLine.h — what the quarn program is asked to do.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarn::ui {

struct Options {
  bool Help = false;
  bool Version = false;
  bool NoSound = false;
  bool TracePlayer = false;  // print the player's fine position whenever it changes
  std::optional<std::string> Zone;
  // Lists the zones of this folder instead of the zone folders (tests, trying zones out).
  std::optional<std::string> Zones;
  // Opens this zone file in the zone editor (a new zone to be saved there when it is missing).
  std::optional<std::string> Edit;
  std::string Error;  // non-empty: the arguments make no sense
};

Options ParseCommandLine(const std::vector<std::string>& args);
std::string Usage();

}  // namespace quarn::ui
