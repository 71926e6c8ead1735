// RecordsTest.cpp — the player's records: the zone key, the file format, damage, two games at
// once, and the saved runs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempFolder.h"
#include "system/Records.h"

namespace quarn::system {
namespace {

using test::TempFolderTest;
namespace fs = std::filesystem;

const std::string Header = "\"Chodba\"\n4\n3\n4\n8\n8\n8\n01\n01\n01\n";
const std::string Rows = "WWWW\nWS.E\nWWWW";

TEST(ContentKeyTest, NotesAfterTheRowsDoNotCountButEveryRowAndHeaderFieldDoes) {
  const auto key = ContentKey(Header + Rows + "\n");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->size(), 16u);
  EXPECT_EQ(ContentKey(Header + Rows), key);
  EXPECT_EQ(ContentKey(Header + Rows + "\nPoznámka autora: projdi to zleva.\n\nWWWW\n"), key);
  EXPECT_NE(ContentKey(Header + "WWWW\nWSE.\nWWWW\n"), key);
  EXPECT_NE(ContentKey("\"Jiná chodba\"" + Header.substr(8) + Rows + "\n"), key);
  EXPECT_FALSE(ContentKey("not a zone at all"));
}

TEST(RecordFormatTest, TextsWithTabsAndLineEndsComeBackAsTheyWere) {
  RecordMap records;
  records["0123456789abcdef"] = {true, 2720, std::nullopt, "Tab\there\nand \\ back", "/z/a b.qrn"};
  records["fedcba9876543210"] = {false, std::nullopt, 99, "", ""};
  const std::string text = FormatRecords(records);
  EXPECT_EQ(text.substr(0, text.find('\n')), "quarn-records 1");
  RecordMap back;
  std::string error;
  ASSERT_TRUE(ParseRecords(text, back, error)) << error;
  EXPECT_EQ(back, records);
}

TEST(RecordFormatTest, DamageOfAnyKindIsNoticed) {
  const std::string good = "quarn-records 1\n0123456789abcdef\t1\t10\t-\tT\tF\n";
  RecordMap r;
  std::string error;
  EXPECT_TRUE(ParseRecords(good, r, error));
  EXPECT_TRUE(ParseRecords("", r, error));
  for (const std::string& bad :
       {std::string("quarn-records 9\n"), good.substr(0, good.size() - 3),
        std::string("quarn-records 1\n0123456789abcdeg\t1\t10\t-\tT\tF\n"),
        std::string("quarn-records 1\n0123456789abcdef\t2\t10\t-\tT\tF\n"),
        std::string("quarn-records 1\n0123456789abcdef\t1\tten\t-\tT\tF\n"),
        std::string("quarn-records 1\n0123456789abcdef\t1\t10\t-\tT\n"),
        std::string("quarn-records 1\n0123456789abcdef\t1\t10\t-\tT\\x\tF\n"),
        std::string("\x01\x02\xff garbage\n")}) {
    EXPECT_FALSE(ParseRecords(bad, r, error)) << bad;
  }
}

TEST(RecordFormatTest, SecondsOfGameTimeHaveADecimalComma) {
  EXPECT_EQ(SecondsText(2720), "42,5");
  EXPECT_EQ(SecondsText(0), "0,0");
  EXPECT_EQ(SecondsText(63), "1,0");
  EXPECT_EQ(SecondsText(64 * 600 + 3), "600,0");
}

using RecordStoreTest = TempFolderTest;

TEST_F(RecordStoreTest, WinsKeepTheBestOfEachKindAndSayWhenARunIsWorthKeeping) {
  const fs::path folder = Root() / "state" / "quarn";
  RecordStore store(folder);
  store.Load();
  EXPECT_TRUE(store.All().empty());
  EXPECT_TRUE(store.AddWin("0123456789abcdef", "Chodba", "/a.qrn", 500, false));
  EXPECT_FALSE(store.AddWin("0123456789abcdef", "Chodba", "/a.qrn", 600, false));
  EXPECT_TRUE(store.AddWin("0123456789abcdef", "Chodba", "/a.qrn", 700, true));
  EXPECT_TRUE(store.AddWin("0123456789abcdef", "Chodba 2", "/b.qrn", 400, false));
  // A run changed by a debugging button: won, but no time and nothing to keep.
  EXPECT_FALSE(store.AddWin("1111111111111111", "Ladění", "/c.qrn", std::nullopt, false));

  RecordStore again(folder);
  again.Load();
  const ZoneRecord* r = again.Find("0123456789abcdef");
  ASSERT_TRUE(r);
  EXPECT_EQ(*r, (ZoneRecord{true, 400, 700, "Chodba 2", "/b.qrn"}));
  const ZoneRecord* debug = again.Find("1111111111111111");
  ASSERT_TRUE(debug);
  EXPECT_TRUE(debug->Won);
  EXPECT_FALSE(debug->BestPlain || debug->BestRewind);
  EXPECT_EQ(again.TakeNotice(), "");
  // Only the owner may look into the folders.
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat(folder.parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(RecordStoreTest, ADamagedFileIsSetAsideNotDeletedAndThePlayerIsToldOnce) {
  const fs::path folder = Root() / "quarn";
  Write(folder / "records.txt", "quarn-records 1\nhalf a li");
  RecordStore store(folder);
  store.Load();
  EXPECT_TRUE(store.All().empty());
  const std::string notice = store.TakeNotice();
  EXPECT_NE(notice.find("odložen"), std::string::npos) << notice;
  EXPECT_EQ(store.TakeNotice(), "");
  int aside = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("records.txt.damaged-", 0) == 0) {
      ++aside;
      EXPECT_EQ(Read(entry.path()), "quarn-records 1\nhalf a li");
    }
  }
  EXPECT_EQ(aside, 1);
  // The game goes on: the next win starts a fresh, good file.
  store.AddWin("0123456789abcdef", "T", "F", 10, false);
  RecordMap read;
  std::string error;
  EXPECT_TRUE(RecordStore::ReadOnly(folder, read, error)) << error;
  EXPECT_EQ(read.size(), 1u);
  // Reading for the listing never moves a file.
  Write(folder / "records.txt", "junk");
  EXPECT_FALSE(RecordStore::ReadOnly(folder, read, error));
  EXPECT_NE(error.find("records.txt"), std::string::npos);
  EXPECT_TRUE(fs::exists(folder / "records.txt"));
}

TEST_F(RecordStoreTest, TwoGamesWritingAtOnceLoseNothingOfEachOther) {
  const fs::path folder = Root() / "quarn";
  constexpr int PerGame = 40;
  std::vector<pid_t> games;
  for (int g = 0; g < 2; ++g) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Each game loaded the records before the other wrote anything.
      RecordStore store(folder);
      store.Load();
      for (int i = 0; i < PerGame; ++i) {
        char key[17];
        std::snprintf(key, sizeof key, "%015x%d", i, g);
        store.AddWin(key, "Z", "F", 100 + i, false);
        store.AddWin("00000000000000ff", "Sdílená", "F", 1000 - 10 * i - g, g == 1);
      }
      ::_exit(0);
    }
    games.push_back(pid);
  }
  for (pid_t pid : games) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  RecordMap records;
  std::string error;
  ASSERT_TRUE(RecordStore::ReadOnly(folder, records, error)) << error;
  EXPECT_EQ(records.size(), 2u * PerGame + 1);
  const ZoneRecord& shared = records.at("00000000000000ff");
  EXPECT_EQ(shared.BestPlain, 1000 - 10 * (PerGame - 1));
  EXPECT_EQ(shared.BestRewind, 1000 - 10 * (PerGame - 1) - 1);
  // No temporary file is left behind.
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "records.txt" || name == "records.lock") << name;
  }
}

TEST_F(RecordStoreTest, SavedRunsAreKeptPerKindAndTheBetterOneReplacesTheOld) {
  const fs::path runs = Root() / "runs";
  std::string error;
  EXPECT_FALSE(FindRun(runs, "0123456789abcdef", false));
  ASSERT_TRUE(SaveRun(runs, "0123456789abcdef", "/z/01 chodba.qrn", false, "10 right\n", error))
      << error;
  ASSERT_TRUE(SaveRun(runs, "0123456789abcdef", "/z/01 chodba.qrn", true, "5 right\n", error));
  const auto plain = FindRun(runs, "0123456789abcdef", false);
  const auto rewound = FindRun(runs, "0123456789abcdef", true);
  ASSERT_TRUE(plain && rewound);
  EXPECT_NE(*plain, *rewound);
  EXPECT_EQ(plain->filename(), "0123456789abcdef-01_chodba.keys");
  // Renamed, the zone keeps its slot: the better run replaces the one file.
  ASSERT_TRUE(SaveRun(runs, "0123456789abcdef", "/y/jiná.qrn", false, "8 right\n", error));
  EXPECT_EQ(FindRun(runs, "0123456789abcdef", false), plain);
  EXPECT_EQ(Read(*plain), "8 right\n");
  ZoneRecord record{true, 8, 5, "", ""};
  EXPECT_EQ(BestRun(runs, "0123456789abcdef", &record), rewound);
  record.BestRewind = 9;
  EXPECT_EQ(BestRun(runs, "0123456789abcdef", &record), plain);
  EXPECT_FALSE(BestRun(runs, "fedcba9876543210", nullptr));
}

}  // namespace
}  // namespace quarn::system
