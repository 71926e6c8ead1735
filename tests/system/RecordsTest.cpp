// RecordsTest.cpp — the player's records: the zone key, the file format, damage, two games at
// once, and the saved runs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>

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

// However long the notes, a zone file has its key (its wins are recorded): a file past 64 MB of
// notes keys as the same zone with short notes does.
TEST_F(TempFolderTest, AZoneWithNotesPast64MegabytesHasItsKey) {
  const fs::path file = Root() / "dlouhe-poznamky.qrn";
  Write(file, Header + Rows + "\nPoznámky:\n");
  const auto key = ZoneContentKey(file);
  ASSERT_TRUE(key);
  fs::resize_file(file, (std::uintmax_t{64} << 20) + 4096);  // sparse: no disk taken
  EXPECT_EQ(ZoneContentKey(file), key);
}

TEST(RecordFormatTest, TextsWithTabsAndLineEndsComeBackAsTheyWere) {
  RecordMap records;
  records["0123456789abcdef"] = {true, 2720, std::nullopt, "Tab\there\nand \\ back", "/z/a b.qrn"};
  records["fedcba9876543210"] = {false, std::nullopt, 99, "", ""};
  const std::string text = FormatRecords(records);
  EXPECT_EQ(text.substr(0, text.find('\n')), "quarn-records 1");
  const auto back = ParseRecords(text);
  ASSERT_TRUE(back.Ok()) << back.Error().Message;
  EXPECT_EQ(*back, records);
}

TEST(RecordFormatTest, DamageOfAnyKindIsNoticed) {
  const std::string good = "quarn-records 1\n0123456789abcdef\t1\t10\t-\tT\tF\n";
  EXPECT_TRUE(ParseRecords(good).Ok());
  EXPECT_TRUE(ParseRecords("").Ok());
  for (const std::string& bad :
       {std::string("quarn-records 9\n"), good.substr(0, good.size() - 3),
        std::string("quarn-records 1\n0123456789abcdeg\t1\t10\t-\tT\tF\n"),
        std::string("quarn-records 1\n0123456789abcdef\t2\t10\t-\tT\tF\n"),
        std::string("quarn-records 1\n0123456789abcdef\t1\tten\t-\tT\tF\n"),
        std::string("quarn-records 1\n0123456789abcdef\t1\t10\t-\tT\n"),
        std::string("quarn-records 1\n0123456789abcdef\t1\t10\t-\tT\\x\tF\n"),
        std::string("\x01\x02\xff garbage\n")}) {
    EXPECT_FALSE(ParseRecords(bad).Ok()) << bad;
  }
}

// Two games' records of a zone merge to the shorter time of each kind, whichever is older or
// newer and whichever has a time at all; won if either was; title and file from the newer one
// unless it has none. Any policy but "the shorter" (the newer, the older, the first present) fails.
TEST(RecordMergeTest, TheShorterTimeOfEachKindWinsInEitherOrder) {
  std::mt19937 rng(7);
  auto time = [&]() -> std::optional<int64_t> {
    const int roll = static_cast<int>(rng() % 4);
    if (roll == 0) return std::nullopt;
    return static_cast<int64_t>(rng() % (roll == 1 ? 3 : 5000)) + 1;  // ties now and then
  };
  for (int i = 0; i < 500; ++i) {
    const ZoneRecord a{rng() % 2 == 0, time(), time(), "Starý", "/a.qrn"};
    const ZoneRecord b{rng() % 2 == 0, time(), time(), i % 5 == 0 ? "" : "Nový",
                       i % 5 == 0 ? "" : "/b.qrn"};
    auto shorter = [](std::optional<int64_t> x, std::optional<int64_t> y) {
      if (!x) return y;
      if (!y) return x;
      return std::optional<int64_t>(std::min(*x, *y));
    };
    for (const auto& [older, newer] : {std::pair{a, b}, std::pair{b, a}}) {
      const ZoneRecord m = MergeRecord(older, newer);
      EXPECT_EQ(m.Won, a.Won || b.Won);
      EXPECT_EQ(m.BestPlain, shorter(a.BestPlain, b.BestPlain)) << i;
      EXPECT_EQ(m.BestRewind, shorter(a.BestRewind, b.BestRewind)) << i;
      const bool blank = newer.Title.empty() && newer.File.empty();
      EXPECT_EQ(m.Title, blank ? older.Title : newer.Title);
      EXPECT_EQ(m.File, blank ? older.File : newer.File);
    }
  }
}

TEST(RecordFormatTest, SecondsOfGameTimeHaveADecimalComma) {
  EXPECT_EQ(SecondsText(2720), "42,5");
  EXPECT_EQ(SecondsText(0), "0,0");
  EXPECT_EQ(SecondsText(63), "1,0");
  EXPECT_EQ(SecondsText(64 * 600 + 3), "600,0");
  // The longest time kept is shown whole, with no overflow on the way.
  EXPECT_EQ(SecondsText(MaxRecordTicks), "15625000000,0");
}

TEST(RecordFormatTest, NoTimeLongerThanTheGameCanShowIsTaken) {
  const auto line = [](const std::string& plain, const std::string& rewound) {
    return "quarn-records 1\n0123456789abcdef\t1\t" + plain + "\t" + rewound + "\tT\tF\n";
  };
  const auto r = ParseRecords(line(std::to_string(MaxRecordTicks), "0"));
  ASSERT_TRUE(r.Ok()) << r.Error().Message;
  EXPECT_EQ(r->at("0123456789abcdef").BestPlain, MaxRecordTicks);
  for (const std::string& absurd :
       {std::to_string(MaxRecordTicks + 1), std::string("999999999999999999"),
        std::string("9223372036854775807"), std::string("0000000000000")}) {
    EXPECT_FALSE(ParseRecords(line(absurd, "-")).Ok()) << absurd;
    EXPECT_FALSE(ParseRecords(line("-", absurd)).Ok()) << absurd;
  }
}

TEST(RecordFormatTest, AKeptRunsHeadGivesItsTime) {
  EXPECT_EQ(RunTicksOf("# Quarn: vyhraný průchod zónou\n# zóna: A\n# soubor: /a.qrn\n"
                       "# čas: 288 tiků (4,5 s), s vracením\nrandom 5\n288 right\n"),
            288);
  EXPECT_FALSE(RunTicksOf("# zóna: A\n10 right\n# čas: 5 tiků\n"));
  EXPECT_FALSE(RunTicksOf("# čas: 99999999999999999 tiků\n"));
  EXPECT_FALSE(RunTicksOf("10 right\n"));
}

TEST(SavedRunsTest, KeptPerKindAndFoundByTheZonesContentKey) {
  using test::TempFolderTest;
  const fs::path runs = fs::temp_directory_path() / "quarn-SavedRunsTest";
  fs::remove_all(runs);
  fs::create_directories(runs);
  EXPECT_FALSE(FindRun(runs, "0123456789abcdef", false));
  const fs::path plain = NewRunPath(runs, "0123456789abcdef", "/z/01 chodba.qrn", false);
  const fs::path rewound = NewRunPath(runs, "0123456789abcdef", "/z/01 chodba.qrn", true);
  EXPECT_EQ(plain.filename(), "0123456789abcdef-01_chodba.keys");
  EXPECT_EQ(rewound.filename(), "0123456789abcdef-01_chodba.zpet.keys");
  std::ofstream(plain) << "10 right\n";
  std::ofstream(rewound) << "5 right\n";
  EXPECT_EQ(FindRun(runs, "0123456789abcdef", false), plain);
  EXPECT_EQ(FindRun(runs, "0123456789abcdef", true), rewound);
  ZoneRecord record{true, 8, 5, "", ""};
  EXPECT_EQ(BestRun(runs, "0123456789abcdef", &record), rewound);
  record.BestRewind = 9;
  EXPECT_EQ(BestRun(runs, "0123456789abcdef", &record), plain);
  EXPECT_FALSE(BestRun(runs, "fedcba9876543210", nullptr));
  fs::remove_all(runs);
}

}  // namespace
}  // namespace quarn::system
