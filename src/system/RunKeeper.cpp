// RunKeeper.cpp — the records lock with a bounded wait, wins waiting in memory, the kept run
// written before the record, and kept runs counted when their record was lost.
#include "RunKeeper.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <system_error>
#include <thread>
#include <utility>

#include "SafeFile.h"
#include "base/Text.h"

namespace quarn::system {

namespace fs = std::filesystem;

namespace {

// Holds the folder's lock file locked while it lives, waiting at most wait for another game to
// let go. Without a lock file (a folder that cannot be written) the write that follows fails
// and says so; the game goes on. A lock file that is no regular file (a folder, a link, a device)
// locks nothing: the records are then not written at all.
class RecordsLock {
 public:
  RecordsLock(const fs::path& folder, std::chrono::milliseconds wait) {
    fd_ = ::open((folder / "records.lock").c_str(),
                 O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd_ < 0) {
      notAFile_ = errno == ELOOP || errno == EISDIR || errno == ENXIO;
      return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
      notAFile_ = true;
      return;
    }
    const auto until = std::chrono::steady_clock::now() + wait;
    while (true) {
      if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        return;
      }
      if (errno != EWOULDBLOCK && errno != EINTR) return;
      if (std::chrono::steady_clock::now() >= until) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~RecordsLock() {
    if (fd_ >= 0) ::close(fd_);  // closing lets go of the lock
  }
  RecordsLock(const RecordsLock&) = delete;
  RecordsLock& operator=(const RecordsLock&) = delete;
  // False while another game holds the lock, and when the lock file is no file to lock.
  bool MayWrite() const { return held_ || (fd_ < 0 && !notAFile_); }
  bool NotAFile() const { return notAFile_; }

 private:
  int fd_ = -1;
  bool held_ = false;
  bool notAFile_ = false;
};

// A won run not yet in the records, kept beside them until it is: a game ended by a signal or
// killed while it waits for another game's lock leaves it for the next start to save.
constexpr std::string_view PendingHead = "quarn-vyhra 1\n";
constexpr std::string_view PendingPrefix = "pending-win-";

std::string EscapeLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeLine(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

std::string PendingText(const FinishedRun& run) {
  std::string text(PendingHead);
  text += EscapeLine(run.Zone.ContentKey.value_or("")) + "\n";
  text += EscapeLine(run.Zone.File.string()) + "\n";
  text += EscapeLine(run.Zone.Title) + "\n";
  text += (run.Ticks ? std::to_string(*run.Ticks) : std::string("-")) + "\n";
  text += std::string(run.Rewound ? "1" : "0") + "\n";
  return text + run.Keys;
}

std::optional<FinishedRun> ParsePending(std::string_view text) {
  if (text.substr(0, PendingHead.size()) != PendingHead) return std::nullopt;
  text.remove_prefix(PendingHead.size());
  std::string lines[5];
  for (std::string& line : lines) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    line = UnescapeLine(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  FinishedRun run;
  if (lines[0].size() != 16) return std::nullopt;
  run.Zone.ContentKey = lines[0];
  run.Zone.File = lines[1];
  run.Zone.Title = lines[2];
  if (lines[3] != "-") {
    char* end = nullptr;
    const long long ticks = std::strtoll(lines[3].c_str(), &end, 10);
    if (end == lines[3].c_str() || *end != '\0' || ticks < 0 || ticks > MaxRecordTicks) {
      return std::nullopt;
    }
    run.Ticks = ticks;
  }
  run.Rewound = lines[4] == "1";
  run.Keys = std::string(text);
  if (!run.Ticks) run.Keys.clear();
  return run;
}

std::optional<int64_t>& BestOf(ZoneRecord& r, bool rewound) {
  return rewound ? r.BestRewind : r.BestPlain;
}

// The time a kept run proves against a best time: its head's when that is no better or nothing
// replays it; what replaying gives when it wins; none, the run set aside, when it does not win.
std::optional<int64_t> ProvenTicks(const fs::path& file, const std::string& text,
                                   std::optional<int64_t> head, std::optional<int64_t> best,
                                   const RunProver& prove, std::vector<std::string>& told) {
  if (!head || (best && *head >= *best) || !prove) return head;
  const RunProof proof = prove(file, text);
  if (proof.What == RunProof::Kind::Wins) return proof.Ticks;
  // A run whose zone is gone or changed cannot be replayed: its head is believed, as before.
  if (proof.What == RunProof::Kind::Unknown) return head;
  const fs::path aside = DamagedName(file);
  std::error_code ec;
  fs::rename(file, aside, ec);
  told.push_back("Uložený průchod " + ShowControls(file.filename().string()) +
                 " zónu nevyhraje, ač to o sobě tvrdí; jeho čas se nepočítá" +
                 (ec ? std::string(".") : " a je odložen jako " +
                                              ShowControls(aside.filename().string()) + "."));
  return std::nullopt;
}

}  // namespace

std::vector<std::string> AddKeptRuns(const fs::path& runFolder, RecordMap& records,
                                     const RunProver& prove) {
  std::vector<std::string> told;
  std::error_code ec;
  std::vector<fs::path> runs;
  for (fs::directory_iterator it(runFolder, ec), end; !ec && it != end; it.increment(ec)) {
    runs.push_back(it->path());
  }
  for (const fs::path& path : runs) {
    const std::string name = path.filename().string();
    if (name.size() < 17 || name[16] != '-') continue;
    const std::string contentKey = name.substr(0, 16);
    const bool rewound = name.size() >= 10 && name.compare(name.size() - 10, 10, ".zpet.keys") == 0;
    if (FindRun(runFolder, contentKey, rewound) != path) continue;
    const auto text = ReadWhole(path);
    if (!text) continue;
    std::optional<int64_t> best;
    if (const auto found = records.find(contentKey); found != records.end()) {
      best = BestOf(found->second, rewound);
    }
    const auto ticks = ProvenTicks(path, *text, RunTicksOf(*text), best, prove, told);
    if (!ticks) continue;
    // Mended: a game killed after writing its run and before its record left a kept run faster
    // than the record; the run is the proof of the win.
    ZoneRecord& r = records[contentKey];
    std::optional<int64_t>& kept = BestOf(r, rewound);
    if (!kept || *ticks < *kept) {
      r.Won = true;
      kept = ticks;
    }
    // A zone the records never heard of is named as the run's head names it.
    if (r.Title.empty()) r.Title = RunHeadLine(*text, "zóna");
    if (r.File.empty()) r.File = RunHeadLine(*text, "soubor");
  }
  return told;
}

std::string RunText(const FinishedRun& run, const fs::path& shownFile) {
  // Texts from outside are escaped, so that no line end in a title breaks the head.
  std::string head = "# Quarn: vyhraný průchod zónou\n";
  head += "# zóna: " + ShowControls(run.Zone.Title) + "\n";
  head += "# soubor: " + ShowControls(shownFile.string()) + "\n";
  if (run.Ticks) {
    head += "# čas: " + std::to_string(*run.Ticks) + " tiků (" + SecondsText(*run.Ticks) + " s)" +
            (run.Rewound ? ", s vracením" : "") + "\n";
  }
  return head + run.Keys;
}

RunKeeper::RunKeeper(fs::path state, fs::path runs, Options options)
    : state_(std::move(state)), runs_(std::move(runs)), options_(std::move(options)) {
  if (!options_.Write) {
    options_.Write = [](const fs::path& file, std::string_view content) {
      return WriteWhole(file, content, Existing::ReplaceOwn);
    };
  }
  if (!state_.empty()) {
    refused_ = MessageOf(FolderTrusted(state_));
    // Mended: a refused folder was still read, its records moved aside and a lock file made in
    // it. Now nothing of it is touched, and no run is kept without its record.
    if (!refused_.empty()) {
      Tell("Záznamy o hraných zónách se neukládají. " + refused_);
      state_.clear();
    }
  }
  if (state_.empty()) runs_.clear();
  if (!runs_.empty()) {
    if (auto trusted = FolderTrusted(runs_); !trusted) {
      Tell("Průchody zónami se neukládají. " + trusted.Error().Message);
      runs_.clear();
    }
  }
}

RunKeeper::~RunKeeper() {
  if (!waiting_.empty() && !Retry()) {
    std::fprintf(stderr,
                 "quarn: záznamy: výhry (%zu) nelze uložit, %s drží jiná hra; čekají ve složce "
                 "%s a uloží je příští spuštění hry\n",
                 waiting_.size(), ShowControls((state_ / "records.lock").string()).c_str(),
                 ShowControls(state_.string()).c_str());
  }
}

void RunKeeper::KeepPending(const FinishedRun& run) {
  static int counter = 0;
  const fs::path file = state_ / (std::string(PendingPrefix) + LocalStamp() + "-" +
                                  std::to_string(::getpid()) + "-" + std::to_string(++counter) +
                                  ".txt");
  if (MakePrivateFolder(state_) && options_.Write(file, PendingText(run))) {
    pending_.push_back(file);
  }
}

void RunKeeper::TakePending() {
  std::error_code ec;
  for (fs::directory_iterator it(state_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(PendingPrefix, 0) != 0) continue;
    if (std::find(pending_.begin(), pending_.end(), it->path()) != pending_.end()) continue;
    const auto text = ReadWhole(it->path());
    const auto run = text ? ParsePending(*text) : std::nullopt;
    if (!run) continue;  // another game's half-written or foreign file: left as it is
    waiting_.push_back(*run);
    pending_.push_back(it->path());
  }
}

void RunKeeper::Tell(const std::string& message) {
  if (notice_.find(message) != std::string::npos) return;
  std::fprintf(stderr, "quarn: %s\n", ShowControls(message, "\n").c_str());
  notice_ += (notice_.empty() ? "" : "\n\n") + message;
}

std::string RunKeeper::TakeNotice() { return std::exchange(notice_, std::string()); }

void RunKeeper::Load() {
  if (state_.empty()) return;
  RecordMap records;
  if (!ReadLocked(records, false)) {
    // Damaged: moved aside only under the lock, and only if no other game holds it now.
    RecordsLock lock(state_, std::chrono::milliseconds(0));
    if (lock.MayWrite()) ReadLocked(records, true);
  }
  CountKeptRuns(records);
  records_ = std::move(records);
  // Wins an ended game left waiting are saved now if no other game holds the lock, or at the
  // next chance.
  TakePending();
  if (!waiting_.empty()) {
    const auto wait = std::exchange(options_.LockWait, std::chrono::milliseconds(0));
    Retry();
    options_.LockWait = wait;
  }
}

bool RunKeeper::ReadLocked(RecordMap& records, bool mayMoveAside) {
  const fs::path file = RecordsFile();
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 && errno == ENOENT) {
    records.clear();
    return true;
  }
  const auto text = ReadWhole(file);
  auto parsed = text ? ParseRecords(*text) : Result<RecordMap>(text.Error());
  if (parsed) {
    records = std::move(parsed).Value();
    return true;
  }
  const std::string error = parsed.Error().Message;
  records.clear();
  if (!mayMoveAside) return false;
  std::fprintf(stderr, "quarn: záznamy: %s\n", ShowControls(error).c_str());
  // Set aside, under a name that no later damage will take.
  const fs::path aside = DamagedName(file);
  if (::rename(file.c_str(), aside.c_str()) == 0) {
    Tell("Záznamy o hraných zónách nešlo přečíst. Soubor je odložen jako\n" +
         ShowControls(aside.string()) + "\na hra pokračuje s novými záznamy.");
  } else {
    Tell("Záznamy o hraných zónách nešlo přečíst (" + ShowControls(file.string()) + ": " +
         FileErrorInCzech(errno) + ").\nHra pokračuje s novými záznamy, ale neuloží je.");
  }
  return false;
}

void RunKeeper::CountKeptRuns(RecordMap& records) {
  if (runs_.empty()) return;
  for (const std::string& message : AddKeptRuns(runs_, records, options_.Prove)) Tell(message);
}

const ZoneRecord* RunKeeper::Find(const std::string& contentKey) const {
  auto it = records_.find(contentKey);
  return it == records_.end() ? nullptr : &it->second;
}

std::optional<std::string> RunKeeper::ContentKeyOf(const fs::path& zone) {
  // One stat a file: the stamp (inode, size, times) tells a changed or swapped file.
  struct stat st {};
  if (::stat(zone.c_str(), &st) != 0) return std::nullopt;
  const FileStamp stamp = StampOf(st);
  auto it = contentKeys_.find(zone);
  if (it != contentKeys_.end() && it->second.Stamp == stamp) return it->second.ContentKey;
  const auto contentKey = ZoneContentKey(zone);
  contentKeys_[zone] = KnownContentKey{stamp, contentKey};
  return contentKey;
}

OpenedZone RunKeeper::Open(const fs::path& zone) {
  OpenedZone opened;
  std::error_code ec;
  opened.File = fs::absolute(zone, ec);
  if (ec) opened.File = zone;
  opened.ContentKey = ContentKeyOf(opened.File);
  opened.Title = ReadZoneTitle(opened.File).value_or(opened.File.filename().string());
  return opened;
}

std::optional<fs::path> RunKeeper::BestRunOf(const std::string& contentKey) {
  if (runs_.empty()) return std::nullopt;
  return BestRun(runs_, contentKey, Find(contentKey));
}

void RunKeeper::Keep(const FinishedRun& run) {
  if (state_.empty() || !run.Zone.ContentKey) return;
  // Mended: a zone changed on disk during play got the win, and the kept run, under its new
  // content, which the run may not even win.
  if (ContentKeyOf(run.Zone.File) != run.Zone.ContentKey) {
    Tell("Soubor zóny se během hry změnil:\n" + ShowControls(run.Zone.File.string()) +
         "\nVýhra v zóně, jak byla otevřena, se proto nezaznamená a průchod se neuloží.");
    return;
  }
  waiting_.push_back(run);
  // On disk before the wait for the lock, so that no end of the game loses it.
  KeepPending(run);
  Retry();
}

bool RunKeeper::Retry() {
  if (waiting_.empty() || state_.empty()) return true;
  if (auto made = MakePrivateFolder(state_); !made) {
    Tell("Záznam o výhře nelze uložit:\n" + made.Error().Message);
    waiting_.clear();
    return true;
  }
  RecordsLock lock(state_, options_.LockWait);
  if (lock.NotAFile()) {
    // Written without the lock, two games would overwrite each other's wins: the wins wait, as
    // for a held lock, until the lock file is mended.
    if (!toldWaiting_) {
      Tell("Záznam o výhře nelze uložit: zámek záznamů " +
           ShowControls((state_ / "records.lock").string()) +
           " není obyčejný soubor (je to složka nebo odkaz) a bez zámku hra záznamy "
           "nezapisuje.\nOdstraň ho; výhra počká, dokud hra běží.");
      toldWaiting_ = true;
    }
    return false;
  }
  if (!lock.MayWrite()) {
    // Mended: a held lock froze the game for as long as it was held, and a win was lost when the
    // game was closed meanwhile. The win waits here and is saved at the next chance.
    if (!toldWaiting_) {
      Tell(
          "Záznam o výhře zatím nelze uložit: záznamy právě zapisuje jiná hra.\n"
          "Výhra se neztratí, hra ji uloží, jakmile to půjde.");
      toldWaiting_ = true;
    }
    return false;
  }
  toldWaiting_ = false;
  RecordMap disk;
  ReadLocked(disk, true);
  // What this game knew and the file does not (a file set aside meanwhile) is kept too.
  for (const auto& [k, r] : records_) {
    auto it = disk.find(k);
    disk[k] = it == disk.end() ? r : MergeRecord(r, it->second);
  }
  for (const FinishedRun& run : std::exchange(waiting_, {})) Apply(run, disk);
  if (auto written = options_.Write(RecordsFile(), FormatRecords(disk)); !written) {
    Tell("Záznam o výhře nelze uložit:\n" + written.Error().Message);
  } else {
    RemoveWritten(std::exchange(pending_, {}));
  }
  records_ = std::move(disk);
  return true;
}

void RunKeeper::Apply(const FinishedRun& run, RecordMap& disk) {
  const std::string& contentKey = *run.Zone.ContentKey;
  ZoneRecord& r = disk[contentKey];
  std::optional<int64_t>& best = BestOf(r, run.Rewound);
  auto kept = runs_.empty() ? std::nullopt : FindRun(runs_, contentKey, run.Rewound);
  std::optional<int64_t> keptTicks;
  if (kept) {
    // A kept run's time counts as replaying it gives it: a forged head blocks no real win.
    const auto text = ReadWhole(*kept);
    std::vector<std::string> told;
    keptTicks = text ? ProvenTicks(*kept, *text, RunTicksOf(*text), best, options_.Prove, told)
                     : std::nullopt;
    for (const std::string& message : told) Tell(message);
    if (!told.empty()) kept.reset();
  }
  if (keptTicks && (!best || *keptTicks < *best)) best = keptTicks;
  // Mended: the run was written after the lock was let go, so two games or a kill between the
  // writes left the record and the kept run apart, and an equal later win did not mend it. The
  // run goes first, under the lock, when it is the best, or equals a best whose run is not kept.
  bool better = run.Ticks && (!best || *run.Ticks < *best);
  const bool mends = run.Ticks && best && *run.Ticks == *best && keptTicks != best;
  if ((better || mends) && !run.Keys.empty() && !runs_.empty()) {
    Result<void> saved = MakePrivateFolder(runs_);
    if (saved) {
      saved = options_.Write(
          kept.value_or(NewRunPath(runs_, contentKey, run.Zone.File, run.Rewound)), RunText(run));
    }
    if (!saved) {
      // The recorded best is always the time of the kept run: a time whose run could not be
      // kept is not recorded either (the win is).
      Tell("Průchod zónou nelze uložit, a proto se nezapíše ani jeho čas:\n" +
           saved.Error().Message);
      better = false;
    }
  }
  r.Won = true;
  if (better) best = run.Ticks;
  r.Title = run.Zone.Title;
  r.File = run.Zone.File.string();
}

}  // namespace quarn::system
