// CommandLine.h — what the quarn program is asked to do.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "system/Records.h"

namespace quarn::ui {

struct Options {
  bool Help = false;
  bool Version = false;
  bool NoSound = false;
  bool TracePlayer = false;  // print the player's fine position whenever it changes
  bool Records = false;  // print the player's records and stop
  bool Verify = false;   // prove every kept run against its zone and stop
  std::optional<std::string> Zone;
  // Lists the zones of this folder instead of the zone folders (tests, trying zones out).
  std::optional<std::string> Zones;
  // A key script played in the window of --zone; the player only watches.
  std::optional<std::string> Watch;
  std::optional<std::string> Ghost;  // --ghost RUN: a run raced as the ghost
  // Opens this zone file in the zone editor (a new zone to be saved there when it is missing).
  std::optional<std::string> Edit;
  std::string Error;  // non-empty: the arguments make no sense
};

Options ParseCommandLine(const std::vector<std::string>& args);
std::string Usage();

// The --records listing: a header line, then per zone best ticks without and with going back
// ("-" for none), title and file, tab-separated, ordered by file.
// setOf names the set of a record's zone by its content key ("-" when it is in none listed).
std::string RecordsListing(
    const std::map<std::string, system::ZoneRecord>& records,
    const std::function<std::string(const std::string& contentKey)>& setOf = {});

}  // namespace quarn::ui
