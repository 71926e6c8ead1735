// Records.h — the player's record per zone (won, best times) and the saved best runs, kept
// between runs of the game and shared safely by two games running at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace quarn::system {

// What identifies a zone: a hash of its header and rows, so that a renamed or moved zone keeps
// its record, an edited one starts afresh, and notes written after the last row change nothing.
// Sixteen hex digits; none for text that is not a zone the loader accepts.
std::optional<std::string> ContentKey(std::string_view zoneText);
std::optional<std::string> ZoneContentKey(const std::filesystem::path& zoneFile);

struct ZoneRecord {
  bool Won = false;
  std::optional<int64_t> BestPlain;   // fewest ticks of a won run without going back
  std::optional<int64_t> BestRewind;  // fewest ticks of a won run that went back
  std::string Title;                  // as last seen
  std::string File;
  bool operator==(const ZoneRecord&) const = default;
};
using RecordMap = std::map<std::string, ZoneRecord>;  // by content key

// The best of both: won if either was, the shorter time of each kind. Title and file come from
// newer, the one seen last.
ZoneRecord MergeRecord(const ZoneRecord& older, const ZoneRecord& newer);

// The file format: a version line, then one zone a line, tab-separated (key, won, best without
// going back, best with it, title, file; "-" for no time; tabs, line ends and backslashes in
// the texts escaped).
std::string FormatRecords(const RecordMap& records);
// The records text holds; it fails naming the line that is wrong when text is not such a file.
Result<RecordMap> ParseRecords(std::string_view text);

// Seconds of game time at 64 ticks a second, one decimal, with a decimal comma: "42,5".
std::string SecondsText(int64_t ticks);

// The largest time kept, in ticks (about 490 years of play): a larger number in the records file
// is damage, and every time the game shows stays within what its arithmetic holds.
inline constexpr int64_t MaxRecordTicks = 999'999'999'999;

// Reads folder's records.txt without moving or locking anything (for `quarn --records`, and for
// a game that must not wait). It fails with a reason when the file exists but cannot be read or
// is damaged; a missing file is no records.
Result<RecordMap> ReadRecordsFile(const std::filesystem::path& folder);

// Saved runs: one key script per zone and kind (with or without going back), named by the
// content key and the zone's file name.
std::optional<std::filesystem::path> FindRun(const std::filesystem::path& runFolder,
                                             const std::string& contentKey, bool rewound);
// The fastest saved run of the zone, of either kind.
std::optional<std::filesystem::path> BestRun(const std::filesystem::path& runFolder,
                                             const std::string& contentKey,
                                             const ZoneRecord* record);
// Where a new run of the zone of that kind is written when none is kept yet.
std::filesystem::path NewRunPath(const std::filesystem::path& runFolder,
                                 const std::string& contentKey,
                                 const std::filesystem::path& zoneFile, bool rewound);
// The content key a kept run's file name begins with ("0123456789abcdef-zone.keys"), if it is such
// a name.
std::optional<std::string> KeptRunKey(std::string_view fileName);
// The time a kept run's head gives ("# čas: N tiků ..."), if it gives one within MaxRecordTicks.
std::optional<int64_t> RunTicksOf(std::string_view runText);
// What a kept run's head says after "# LABEL: " ("zóna", "soubor"), or "" when it says nothing.
std::string RunHeadLine(std::string_view runText, std::string_view label);

}  // namespace quarn::system
