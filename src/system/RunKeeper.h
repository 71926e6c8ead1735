// RunKeeper.h — a won run handed over once: the player's record and the kept best run decided and
// written together, under the records lock, by one keeper that every screen hands its wins to.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileStamp.h"
#include "Records.h"
#include "zone/ZoneTitle.h"

namespace quarn::system {

// A zone as it was when it was opened: a win is recorded under this content, whatever the file
// holds by the time of the win.
struct OpenedZone {
  std::filesystem::path File;      // absolute
  std::optional<std::string> ContentKey;  // the content key; none for a file that is no zone
  std::string Title;
};

// A won run as the game hands it over.
struct FinishedRun {
  OpenedZone Zone;
  // Game ticks from the opening to the win, ticks gone back not counted; none when a debugging
  // button changed the run (won, but neither timed nor kept).
  std::optional<int64_t> Ticks;
  bool Rewound = false;  // Backspace was used in the run
  // The lines after the head ("random", "carry", "N KEYS"): from a fresh load they win the zone
  // in Ticks ticks. Empty without Ticks.
  std::string Keys;
};

// The run as a key script: a head of comments (what it is, the zone's title and file, its time),
// then its keys. The head names shownFile (the edited zone when a private copy was test-played).
std::string RunText(const FinishedRun& run, const std::filesystem::path& shownFile);
inline std::string RunText(const FinishedRun& run) { return RunText(run, run.Zone.File); }

// What replaying a kept run against the zone its head names shows: it wins in Ticks, it does not
// win (a forged or damaged run), or it cannot be told (the zone is gone or no longer that zone;
// the head is then believed).
struct RunProof {
  enum class Kind { Unknown, Wins, Fails } What = Kind::Unknown;
  int64_t Ticks = 0;
};
// Replays a kept run (its file and text); empty: the run's head is taken at its word.
using RunProver = std::function<RunProof(const std::filesystem::path& run, const std::string& text)>;

// Counts the kept runs of runFolder into records: a run faster than its record (a game killed
// between writing the run and the record) is the proof of the win and its time, once prove shows
// it wins, in the ticks replaying it takes. A run that does not win is set aside
// (NAME.damaged-TIME) and named in the returned messages, one a run. The start screen, the
// records window and `quarn --records` read the records so.
std::vector<std::string> AddKeptRuns(const std::filesystem::path& runFolder, RecordMap& records,
                                     const RunProver& prove = {});

class RunKeeper {
 public:
  // Writes content as the whole of file, or fails with the reason in Czech.
  using Writer = std::function<Result<void>(const std::filesystem::path&, std::string_view)>;
  struct Options {
    Writer Write;  // WriteWhole when empty; tests slow it down or stop it half-way
    // How long a win waits for another game that holds the records lock.
    std::chrono::milliseconds LockWait{2000};
    // Replays a kept run whose head gives a time better than the record's, before that time
    // counts; empty, the head is believed.
    RunProver Prove;
  };

  // state holds records.txt and its lock, runs the kept runs; an empty state keeps nothing. A
  // state folder that is not the player's own (FolderTrusted) is neither read nor changed, and
  // neither are the runs then: Refused() says why.
  RunKeeper(std::filesystem::path state, std::filesystem::path runs, Options options);
  RunKeeper(std::filesystem::path state, std::filesystem::path runs)
      : RunKeeper(std::move(state), std::move(runs), Options{}) {}
  // A win not yet saved is tried once more, waiting as a win does.
  ~RunKeeper();
  RunKeeper(const RunKeeper&) = delete;
  RunKeeper& operator=(const RunKeeper&) = delete;

  // Reads the records, and never waits for the lock: a starting game shows its window at once. A
  // damaged file is moved aside only while no other game holds the lock (then the next win does).
  // Kept runs whose record was not written (a game killed between the two writes) count.
  void Load();
  const RecordMap& All() const { return records_; }
  const ZoneRecord* Find(const std::string& contentKey) const;
  // The content key of a zone file, read again only when the file's stamp changed.
  std::optional<std::string> ContentKeyOf(const std::filesystem::path& zone);
  // The zone as it stands now, taken when a run of it starts.
  OpenedZone Open(const std::filesystem::path& zone);
  // The zone's fastest kept run of either kind.
  std::optional<std::filesystem::path> BestRunOf(const std::string& contentKey);

  // A won run. Nothing is recorded when the zone's file no longer holds what was opened (the
  // player is told). Otherwise, under the lock: the records are read again, the run is written
  // first when it beats the best of its kind or equals a best whose kept run is not that fast,
  // then the records. When the lock stays held past LockWait the win waits in memory (the player
  // is told) for Retry.
  void Keep(const FinishedRun& run);
  // Saves the wins still waiting; false while the lock is still held. Called at the next chance:
  // the next win, back on the start screen, at the end.
  bool Retry();
  size_t Waiting() const { return waiting_.size(); }

  // A message for the player (Czech) about a file set aside, a write that failed, a win not yet
  // saved or not recorded; taking it clears it.
  std::string TakeNotice();
  const std::string& Refused() const { return refused_; }
  std::filesystem::path RecordsFile() const { return state_ / "records.txt"; }

 private:
  bool ReadLocked(RecordMap& records, bool mayMoveAside);
  void Apply(const FinishedRun& run, RecordMap& disk);
  void CountKeptRuns(RecordMap& records);
  // Writes a win beside the records until it is in them; takes those an ended game left.
  void KeepPending(const FinishedRun& run);
  void TakePending();
  void Tell(const std::string& message);

  std::filesystem::path state_, runs_;
  Options options_;
  std::string refused_;
  RecordMap records_;
  std::vector<FinishedRun> waiting_;
  std::vector<std::filesystem::path> pending_;  // the files of the waiting wins
  bool toldWaiting_ = false;
  std::string notice_;
  struct KnownContentKey {
    FileStamp Stamp;
    std::optional<std::string> ContentKey;
  };
  std::map<std::filesystem::path, KnownContentKey> contentKeys_;
};

}  // namespace quarn::system
