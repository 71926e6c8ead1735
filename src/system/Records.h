// Records.h — the player's record per zone (won, best times) and the saved best runs, kept
// between runs of the game and shared safely by two games running at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

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
// False with the line that is wrong when text is not such a file.
bool ParseRecords(std::string_view text, RecordMap& records, std::string& error);

// Seconds of game time at 64 ticks a second, one decimal, with a decimal comma: "42,5".
std::string SecondsText(int64_t ticks);

// The records file of one folder. Every change locks the folder's lock file, reads the file
// again, merges and writes it whole, so two games at once lose nothing of each other's.
class RecordStore {
 public:
  explicit RecordStore(std::filesystem::path folder);

  // Reads the file. A damaged or unreadable one is moved aside (never deleted) and the game
  // goes on with fresh records; Notice() then says so once.
  void Load();
  const RecordMap& All() const { return records_; }
  const ZoneRecord* Find(const std::string& key) const;

  // Merges a won run into the file. ticks is empty for a run that cannot be timed. Returns
  // true when the time is the best of its kind so far (the run is worth keeping).
  bool AddWin(const std::string& key, const std::string& title, const std::string& file,
              std::optional<int64_t> ticks, bool rewound);

  // A message for the player (Czech) about a file set aside or a write that failed, once:
  // taking it clears it.
  std::string TakeNotice();

  std::filesystem::path FilePath() const { return folder_ / "records.txt"; }

  // For `quarn --records`: reads without moving anything. False with a reason when the file
  // exists but cannot be read or is damaged; a missing file is no records.
  static bool ReadOnly(const std::filesystem::path& folder, RecordMap& records, std::string& error);

 private:
  // Reads the file into records; a damaged file is moved aside.
  void ReadLocked(RecordMap& records);

  std::filesystem::path folder_;
  RecordMap records_;
  std::string notice_;
};

// Saved runs: one key script per zone and kind (with or without going back), named by the
// content key and the zone's file name.
std::optional<std::filesystem::path> FindRun(const std::filesystem::path& runFolder,
                                             const std::string& key, bool rewound);
// The fastest saved run of the zone, of either kind.
std::optional<std::filesystem::path> BestRun(const std::filesystem::path& runFolder,
                                             const std::string& key, const ZoneRecord* record);
// Writes script as the zone's run of that kind, replacing the one kept before. False with a
// reason on failure.
bool SaveRun(const std::filesystem::path& runFolder, const std::string& key,
             const std::filesystem::path& zoneFile, bool rewound, const std::string& script,
             std::string& error);

}  // namespace quarn::system
