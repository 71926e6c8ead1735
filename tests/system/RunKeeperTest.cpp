// RunKeeperTest.cpp — the keeper of won runs: the best of each kind with its run, two games and a
// kill between the writes, a held lock, a refused folder, a zone changed during play, leftovers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <set>

#include "TempFolder.h"
#include "system/Leftovers.h"
#include "system/RunKeeper.h"
#include "system/SafeFile.h"

namespace quarn::system {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string Corridor = "\"Chodba\"\n4\n3\n4\n8\n8\n8\n01\n01\n01\nWWWW\nWS.E\nWWWW\n";

class RunKeeperTest : public test::TempFolderTest {
 protected:
  fs::path State() const { return Root() / "state" / "quarn"; }
  fs::path Runs() const { return Root() / "data" / "runs"; }
  fs::path Zone() const { return Root() / "01 chodba.qrn"; }
  void SetUp() override {
    TempFolderTest::SetUp();
    Write(Zone(), Corridor);
  }
  static FinishedRun Won(RunKeeper& keeper, const fs::path& zone, std::optional<int64_t> ticks,
                         bool rewound = false) {
    FinishedRun run;
    run.Zone = keeper.Open(zone);
    run.Ticks = ticks;
    run.Rewound = rewound;
    if (ticks) run.Keys = std::to_string(*ticks) + " right\n";
    return run;
  }
  // What a fresh game sees: the best of a kind and the time in the head of its kept run.
  std::pair<std::optional<int64_t>, std::optional<int64_t>> BestAndKept(bool rewound = false) {
    RunKeeper fresh(State(), Runs());
    fresh.Load();
    const std::string key = *ZoneContentKey(Zone());
    const ZoneRecord* r = fresh.Find(key);
    const auto best = r ? (rewound ? r->BestRewind : r->BestPlain) : std::nullopt;
    const auto run = FindRun(Runs(), key, rewound);
    return {best, run ? RunTicksOf(Read(*run)) : std::nullopt};
  }
};

TEST_F(RunKeeperTest, WinsKeepTheBestOfEachKindAndItsRunAndASlowerWinChangesNeither) {
  RunKeeper keeper(State(), Runs());
  keeper.Load();
  EXPECT_TRUE(keeper.All().empty());
  keeper.Keep(Won(keeper, Zone(), 500));
  keeper.Keep(Won(keeper, Zone(), 600));  // slower: neither the best time nor the run change
  keeper.Keep(Won(keeper, Zone(), 700, true));
  EXPECT_EQ(BestAndKept(false),
            std::make_pair(std::optional<int64_t>(500), std::optional<int64_t>(500)));
  keeper.Keep(Won(keeper, Zone(), 400));
  // A run changed by a debugging button: won, but no time and nothing kept.
  Write(Root() / "ladeni.qrn", "\"Ladění\"\n3\n3\n4\n8\n8\n8\n01\n01\n01\nWWW\nSE.\nWWW\n");
  keeper.Keep(Won(keeper, Root() / "ladeni.qrn", std::nullopt));

  RunKeeper again(State(), Runs());
  again.Load();
  const ZoneRecord* r = again.Find(*ZoneContentKey(Zone()));
  ASSERT_TRUE(r);
  EXPECT_EQ(*r, (ZoneRecord{true, 400, 700, "Chodba", Zone().string()}));
  const ZoneRecord* debug = again.Find(*ZoneContentKey(Root() / "ladeni.qrn"));
  ASSERT_TRUE(debug);
  EXPECT_TRUE(debug->Won);
  EXPECT_FALSE(debug->BestPlain || debug->BestRewind);
  EXPECT_FALSE(FindRun(Runs(), *ZoneContentKey(Root() / "ladeni.qrn"), false));
  EXPECT_EQ(again.TakeNotice(), "");
  EXPECT_EQ(BestAndKept(false),
            std::make_pair(std::optional<int64_t>(400), std::optional<int64_t>(400)));
  EXPECT_EQ(BestAndKept(true),
            std::make_pair(std::optional<int64_t>(700), std::optional<int64_t>(700)));
  const std::string kept = Read(*FindRun(Runs(), *ZoneContentKey(Zone()), false));
  EXPECT_EQ(kept, "# Quarn: vyhraný průchod zónou\n# zóna: Chodba\n# soubor: " + Zone().string() +
                      "\n# čas: 400 tiků (6,3 s)\n400 right\n");
  // Only the owner may look into the folders.
  struct stat st {};
  ASSERT_EQ(::stat(State().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat(Runs().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// Two games win the zone, 288 and 471 ticks, in either order; the first one's writer is slow
// enough for the second to try while it writes, and may be killed after any of its writes. Then
// and after an equal later win the kept run is the recorded best.
TEST_F(RunKeeperTest, NoOrderOfTwoGamesAndNoKillBetweenTheWritesLeavesTheRunApartFromTheBest) {
  struct Killed {};
  for (const auto& [first, second] : {std::pair<int64_t, int64_t>{288, 471}, {471, 288}}) {
    for (int killAfter = 0; killAfter <= 2; ++killAfter) {
      const std::string what = std::to_string(first) + " then " + std::to_string(second) +
                               ", killed after write " + std::to_string(killAfter);
      fs::remove_all(Root() / "state");
      fs::remove_all(Root() / "data");
      RunKeeper other(State(), Runs(), {{}, 0ms, {}});
      other.Load();
      int writes = 0;
      RunKeeper::Options slow;
      slow.LockWait = 0ms;
      slow.Write = [&](const fs::path& file, std::string_view content) {
        // The win kept beside the records before the lock is taken is not one of the writes
        // under it (a kill before those is the next test's).
        if (file.filename().string().rfind("pending-win-", 0) == 0) return WriteWhole(file, content);
        // While this game writes, the other one wins and must wait for the lock.
        if (writes == 0) other.Keep(Won(other, Zone(), second));
        auto written = WriteWhole(file, content);
        if (++writes == killAfter) throw Killed{};
        return written;
      };
      {
        RunKeeper game(State(), Runs(), slow);
        game.Load();
        try {
          game.Keep(Won(game, Zone(), first));
        } catch (const Killed&) {
          // The game died here: it wrote nothing more.
        }
      }
      EXPECT_EQ(other.Waiting(), 1u) << what;
      EXPECT_TRUE(other.Retry()) << what;
      const auto [best, kept] = BestAndKept();
      // Both wins reached the disk, whatever was cut short: the faster one is the best.
      EXPECT_EQ(best, std::min(first, second)) << what;
      EXPECT_EQ(best, kept) << what;
      // Whatever survived, an equal win leaves them together.
      RunKeeper later(State(), Runs());
      later.Load();
      later.Keep(Won(later, Zone(), *best));
      EXPECT_EQ(BestAndKept(), std::make_pair(best, best)) << what;
    }
  }
}

TEST_F(RunKeeperTest, AnEqualWinMendsARunThatDoesNotMatchTheRecordedBest) {
  // The state an earlier game left: records say 288, the kept run is another game's 471.
  const std::string key = *ZoneContentKey(Zone());
  Write(State() / "records.txt",
        "quarn-records 1\n" + key + "\t1\t288\t-\tChodba\t" + Zone().string() + "\n");
  Write(NewRunPath(Runs(), key, Zone(), false), "# čas: 471 tiků (7,4 s)\n471 right\n");
  RunKeeper keeper(State(), Runs());
  keeper.Load();
  keeper.Keep(Won(keeper, Zone(), 300));
  EXPECT_EQ(BestAndKept().second, 471);  // slower than the best: no reason to write
  keeper.Keep(Won(keeper, Zone(), 288));
  EXPECT_EQ(BestAndKept(),
            std::make_pair(std::optional<int64_t>(288), std::optional<int64_t>(288)));
  // Once they agree, an equal win only mends: the run kept first stays, byte for byte.
  const fs::path kept = *FindRun(Runs(), key, false);
  const std::string first = Read(kept);
  FinishedRun equal = Won(keeper, Zone(), 288);
  equal.Keys = "100 right\n188 -\n";
  keeper.Keep(equal);
  EXPECT_EQ(Read(kept), first);
}

// A run that cannot be written (a full disk, an input-output error) leaves the record as it was:
// the recorded best is always the kept run's time. The win itself counts, and the player is told.
TEST_F(RunKeeperTest, ARunThatCannotBeWrittenLeavesTheBestTimeWithItsRun) {
  for (const bool firstWin : {true, false}) {
    fs::remove_all(Root() / "state");
    fs::remove_all(Root() / "data");
    if (!firstWin) {
      RunKeeper before(State(), Runs());
      before.Load();
      before.Keep(Won(before, Zone(), 500));
    }
    RunKeeper::Options failing;
    failing.Write = [](const fs::path& file, std::string_view content) -> Result<void> {
      if (file.extension() == ".keys") return Fail("na disku není místo");
      return WriteWhole(file, content);
    };
    RunKeeper keeper(State(), Runs(), failing);
    keeper.Load();
    keeper.Keep(Won(keeper, Zone(), 400));
    EXPECT_NE(keeper.TakeNotice().find("nezapíše ani jeho čas"), std::string::npos);
    const auto [best, kept] = BestAndKept();
    EXPECT_EQ(best, kept) << (firstWin ? "first win" : "after a win of 500");
    EXPECT_EQ(best, firstWin ? std::nullopt : std::optional<int64_t>(500));
    RunKeeper fresh(State(), Runs());
    fresh.Load();
    ASSERT_TRUE(fresh.Find(*ZoneContentKey(Zone())));
    EXPECT_TRUE(fresh.Find(*ZoneContentKey(Zone()))->Won);
  }
}

// A lock file that is a folder or a link locks nothing: nothing is written without the lock, the
// win waits and is saved once the lock file is mended.
TEST_F(RunKeeperTest, NoRecordIsWrittenWithoutARealLock) {
  for (const bool folder : {true, false}) {
    fs::remove_all(Root() / "state");
    fs::remove_all(Root() / "data");
    fs::create_directories(State());
    const fs::path lock = State() / "records.lock";
    if (folder) {
      fs::create_directory(lock);
    } else {
      Write(Root() / "elsewhere", "");
      fs::create_symlink(Root() / "elsewhere", lock);
    }
    RunKeeper keeper(State(), Runs());
    keeper.Load();
    keeper.Keep(Won(keeper, Zone(), 400));
    EXPECT_NE(keeper.TakeNotice().find("není obyčejný soubor"), std::string::npos);
    EXPECT_FALSE(fs::exists(State() / "records.txt")) << (folder ? "a folder" : "a link");
    EXPECT_EQ(keeper.Waiting(), 1u);
    fs::remove(lock);
    EXPECT_TRUE(keeper.Retry());
    EXPECT_EQ(BestAndKept(),
              std::make_pair(std::optional<int64_t>(400), std::optional<int64_t>(400)));
  }
}

TEST_F(RunKeeperTest, AHeldLockDelaysTheWinButNeitherFreezesTheGameNorLosesIt) {
  fs::create_directories(State());
  Write(State() / "records.txt", "quarn-records 1\nhalf a li");
  const int held = ::open((State() / "records.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  {
    RunKeeper keeper(State(), Runs(), {{}, 50ms, {}});
    const auto start = std::chrono::steady_clock::now();
    keeper.Load();
    // A starting game does not wait, and moves nothing while another game holds the lock.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 40ms);
    EXPECT_TRUE(fs::exists(State() / "records.txt"));
    keeper.Keep(Won(keeper, Zone(), 300));
    EXPECT_EQ(keeper.Waiting(), 1u);
    const std::string notice = keeper.TakeNotice();
    EXPECT_NE(notice.find("zatím nelze uložit"), std::string::npos) << notice;
    EXPECT_FALSE(keeper.Retry());
    EXPECT_EQ(keeper.TakeNotice(), "");  // told once
    ::close(held);
    // Let go: the keeper's end saves what waited, setting the damaged file aside first.
  }
  EXPECT_EQ(BestAndKept(),
            std::make_pair(std::optional<int64_t>(300), std::optional<int64_t>(300)));
  int aside = 0;
  for (const auto& entry : fs::directory_iterator(State())) {
    aside += entry.path().filename().string().rfind("records.txt.damaged-", 0) == 0;
  }
  EXPECT_EQ(aside, 1);
}

// A game ended while its win waits for another game's lock (a signal, a kill) leaves the win
// beside the records; the next start saves it, record and run, and leaves nothing behind.
TEST_F(RunKeeperTest, AWinWaitingWhenTheGameEndsIsSavedByTheNextStart) {
  fs::create_directories(State());
  const int held = ::open((State() / "records.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  Write(Root() / "titled.qrn", "\"Dlouhý\ttitul\\a\"" + Corridor.substr(8));
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    RunKeeper keeper(State(), Runs(), {{}, 20ms, {}});
    keeper.Load();
    keeper.Keep(Won(keeper, Zone(), 300));
    keeper.Keep(Won(keeper, Root() / "titled.qrn", 120, true));
    ::_exit(keeper.Waiting() == 2 ? 0 : 1);  // ended at once: no destructor, no retry
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(fs::exists(State() / "records.txt"));
  ::close(held);
  {
    RunKeeper next(State(), Runs());
    next.Load();
    EXPECT_EQ(next.Waiting(), 0u);
    const ZoneRecord* titled = next.Find(*ZoneContentKey(Root() / "titled.qrn"));
    ASSERT_TRUE(titled);
    EXPECT_EQ(titled->Title, "Dlouhý\ttitul\\a");
    EXPECT_EQ(titled->BestRewind, 120);
  }
  EXPECT_EQ(BestAndKept(),
            std::make_pair(std::optional<int64_t>(300), std::optional<int64_t>(300)));
  for (const auto& entry : fs::directory_iterator(State())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "records.txt" || name == "records.lock") << name;
  }
}

// A kept run whose head claims a time its replay does not win in: the claim counts neither when
// the records are read nor against a real win, the run is set aside (not deleted) and the player
// is told once; a real win then records its time and keeps its run.
TEST_F(RunKeeperTest, AForgedRunIsSetAsideAndBlocksNoRealWin) {
  const std::string key = *ZoneContentKey(Zone());
  Write(State() / "records.txt",
        "quarn-records 1\n" + key + "\t1\t900\t-\tChodba\t" + Zone().string() + "\n");
  const fs::path forged = NewRunPath(Runs(), key, Zone(), false);
  Write(forged, "# čas: 5 tiků (0,1 s)\n5 right\n");
  int proved = 0;
  RunKeeper::Options options;
  options.Prove = [&](const fs::path&, const std::string& text) {
    ++proved;
    // Stands for the replay: only a run of "N right" lines of 300 ticks or more wins.
    const int64_t ticks = std::stoll(text.substr(text.rfind('\n', text.size() - 2) + 1));
    return ticks >= 300 ? RunProof{RunProof::Kind::Wins, ticks} : RunProof{RunProof::Kind::Fails, 0};
  };
  RunKeeper keeper(State(), Runs(), options);
  keeper.Load();
  EXPECT_EQ(keeper.Find(key)->BestPlain, 900) << "the forged 5 ticks do not count";
  const std::string notice = keeper.TakeNotice();
  EXPECT_NE(notice.find("nevyhraje"), std::string::npos) << notice;
  EXPECT_FALSE(fs::exists(forged));
  size_t aside = 0;
  for (const auto& entry : fs::directory_iterator(Runs())) {
    aside += entry.path().filename().string().find(".damaged-") != std::string::npos;
  }
  EXPECT_EQ(aside, 1u);
  keeper.Keep(Won(keeper, Zone(), 400));
  EXPECT_EQ(BestAndKept(),
            std::make_pair(std::optional<int64_t>(400), std::optional<int64_t>(400)));
  // A forged run written meanwhile by someone else is caught at the next win too.
  Write(forged, "# čas: 7 tiků (0,1 s)\n7 right\n");
  keeper.Keep(Won(keeper, Zone(), 350));
  EXPECT_EQ(BestAndKept(),
            std::make_pair(std::optional<int64_t>(350), std::optional<int64_t>(350)));
  EXPECT_GE(proved, 2);
}

TEST_F(RunKeeperTest, ADamagedFileIsSetAsideNotDeletedAndThePlayerIsToldOnce) {
  Write(State() / "records.txt", "quarn-records 1\nhalf a li");
  RunKeeper keeper(State(), Runs());
  keeper.Load();
  EXPECT_TRUE(keeper.All().empty());
  const std::string notice = keeper.TakeNotice();
  EXPECT_NE(notice.find("odložen"), std::string::npos) << notice;
  EXPECT_EQ(keeper.TakeNotice(), "");
  int aside = 0;
  for (const auto& entry : fs::directory_iterator(State())) {
    if (entry.path().filename().string().rfind("records.txt.damaged-", 0) == 0) {
      ++aside;
      EXPECT_EQ(Read(entry.path()), "quarn-records 1\nhalf a li");
    }
  }
  EXPECT_EQ(aside, 1);
  // The game goes on: the next win starts a fresh, good file; listing it moves nothing.
  keeper.Keep(Won(keeper, Zone(), 10));
  const auto read = ReadRecordsFile(State());
  ASSERT_TRUE(read.Ok()) << read.Error().Message;
  EXPECT_EQ(read->size(), 1u);
  Write(State() / "records.txt", "junk");
  const auto junk = ReadRecordsFile(State());
  EXPECT_FALSE(junk.Ok());
  EXPECT_NE(MessageOf(junk).find("records.txt"), std::string::npos);
  EXPECT_TRUE(fs::exists(State() / "records.txt"));
}

TEST_F(RunKeeperTest, AFolderOthersMayWriteToIsNeitherReadNorChanged) {
  fs::create_directories(State());
  Write(State() / "records.txt", "quarn-records 1\nhalf a li");
  ASSERT_EQ(::chmod(State().c_str(), 0777), 0);
  RunKeeper keeper(State(), Runs());
  EXPECT_NE(keeper.Refused(), "");
  keeper.Load();
  keeper.Keep(Won(keeper, Zone(), 300));
  EXPECT_NE(keeper.TakeNotice().find("neukládají"), std::string::npos);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(State())) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"records.txt"});
  EXPECT_EQ(Read(State() / "records.txt"), "quarn-records 1\nhalf a li");
  EXPECT_FALSE(fs::exists(Runs()));
}

TEST_F(RunKeeperTest, AZoneChangedDuringPlayGetsNoRecordAndThePlayerIsTold) {
  RunKeeper keeper(State(), Runs());
  keeper.Load();
  FinishedRun run = Won(keeper, Zone(), 300);
  // Another program saves the zone while it is played (the same length, the same time).
  struct stat before {};
  ASSERT_EQ(::stat(Zone().c_str(), &before), 0);
  std::string changed = Corridor;
  changed.replace(changed.find("WS.E"), 4, "WSE.");
  Write(Root() / "new.qrn", changed);
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, (Root() / "new.qrn").c_str(), times, 0), 0);
  fs::rename(Root() / "new.qrn", Zone());
  EXPECT_NE(keeper.ContentKeyOf(Zone()), run.Zone.ContentKey);
  keeper.Keep(run);
  EXPECT_NE(keeper.TakeNotice().find("se během hry změnil"), std::string::npos);
  EXPECT_FALSE(fs::exists(State() / "records.txt"));
  EXPECT_FALSE(FindRun(Runs(), *run.Zone.ContentKey, false));
  // Opened again, the new content is what a win records.
  keeper.Keep(Won(keeper, Zone(), 200));
  EXPECT_TRUE(keeper.Find(*ZoneContentKey(Zone())));
  EXPECT_FALSE(keeper.Find(*run.Zone.ContentKey));
}

TEST_F(RunKeeperTest, TwoGamesWritingAtOnceLoseNothingOfEachOther) {
  constexpr int PerGame = 20;
  auto own = [&](int g, int i) {
    return Root() / ("z" + std::to_string(g) + "-" + std::to_string(i) + ".qrn");
  };
  for (int g = 0; g < 2; ++g) {
    for (int i = 0; i < PerGame; ++i) {
      Write(own(g, i),
            "\"Z" + std::to_string(g) + "-" + std::to_string(i) + "\"" + Corridor.substr(8));
    }
  }
  std::vector<pid_t> games;
  for (int g = 0; g < 2; ++g) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      RunKeeper keeper(State(), Runs());
      keeper.Load();
      for (int i = 0; i < PerGame; ++i) {
        keeper.Keep(Won(keeper, own(g, i), 100 + i));
        keeper.Keep(Won(keeper, Zone(), 1000 - 10 * i - g, g == 1));
      }
      ::_exit(keeper.Waiting() == 0 ? 0 : 1);
    }
    games.push_back(pid);
  }
  for (pid_t pid : games) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const auto read = ReadRecordsFile(State());
  ASSERT_TRUE(read.Ok()) << read.Error().Message;
  const RecordMap& records = *read;
  EXPECT_EQ(records.size(), 2u * PerGame + 1);
  const ZoneRecord& shared = records.at(*ZoneContentKey(Zone()));
  EXPECT_EQ(shared.BestPlain, 1000 - 10 * (PerGame - 1));
  EXPECT_EQ(shared.BestRewind, 1000 - 10 * (PerGame - 1) - 1);
  EXPECT_EQ(BestAndKept(false).second, shared.BestPlain);
  EXPECT_EQ(BestAndKept(true).second, shared.BestRewind);
  for (const auto& entry : fs::directory_iterator(State())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "records.txt" || name == "records.lock") << name;
  }
}

TEST(LeftoversTest, OnlyOurOwnStaleTemporaryFilesGo) {
  EXPECT_TRUE(IsOwnTemporaryName(".quarn-a1B2c3"));
  EXPECT_TRUE(IsOwnTemporaryName(".01 chodba.qrn.Xy12Zq"));
  for (const char* other : {".quarn-a1B2c", "quarn-a1B2c3", ".quarn-a1B2c3d", ".qrn.abcdef",
                            ".a.qrn.abc-ef", ".bashrc", "records.txt", ".a.qrn"}) {
    EXPECT_FALSE(IsOwnTemporaryName(other)) << other;
  }
  const fs::path folder = fs::temp_directory_path() / "quarn-LeftoversTest";
  fs::remove_all(folder);
  fs::create_directories(folder);
  auto make = [&](const std::string& name, int ageSeconds) {
    std::ofstream(folder / name) << "x";
    const auto when = fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds);
    fs::last_write_time(folder / name, when);
  };
  make(".quarn-OLD111", 120);
  make(".zona.qrn.OLD222", 3600);
  make(".quarn-NEW333", 5);  // perhaps another game writing right now
  make(".bashrc", 3600);     // not ours
  make("records.txt", 3600);
  fs::create_symlink(folder / "records.txt", folder / ".quarn-LNK444");
  fs::last_write_time(folder / "records.txt", fs::file_time_type::clock::now() - 3600s);
  EXPECT_EQ(RemoveStaleTemporaries(folder), 2);
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) left.insert(entry.path().filename());
  EXPECT_EQ(left,
            (std::set<std::string>{".quarn-NEW333", ".bashrc", "records.txt", ".quarn-LNK444"}));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace quarn::system
