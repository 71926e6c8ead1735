// ZoneListTest.cpp — which files the zone list shows, in which order, with which titles.
#include <sys/stat.h>
#include <sys/time.h>

#include "TempFolder.h"
#include "system/ZoneList.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using system::FindZones;
using system::ZoneEntry;
using system::ZoneLister;

std::vector<std::string> Names(const std::vector<ZoneEntry>& zones) {
  std::vector<std::string> names;
  for (const ZoneEntry& z : zones) names.push_back(z.File.filename().string());
  return names;
}

using ZoneList = TempFolderTest;

TEST_F(ZoneList, ZoneFilesOfEachFolderByNameFoldersInTheOrderGiven) {
  const fs::path shipped = Root() / "shipped", own = Root() / "own";
  for (const char* name : {"b.qrn", "C.QRN", "a.Qrn", "notes.txt", "a.qrn.bak", "qrn"}) {
    Write(shipped / name, "\"" + std::string(name) + "\"\n1\n1\n");
  }
  fs::create_directories(shipped / "folder.qrn");
  ASSERT_EQ(mkfifo((shipped / "pipe.qrn").c_str(), 0600), 0);  // would hang a reader
  fs::create_symlink(shipped / "b.qrn", shipped / "link.qrn");
  fs::create_symlink(shipped / "gone", shipped / "dangling.qrn");
  Write(own / "0-first.qrn", "\"Moje\"\n");

  const auto zones = FindZones({shipped, Root() / "missing", own});
  // Byte order of the names: capitals before small letters.
  EXPECT_EQ(Names(zones),
            (std::vector<std::string>{"C.QRN", "a.Qrn", "b.qrn", "link.qrn", "0-first.qrn"}));
  ASSERT_EQ(zones.size(), 5u);
  EXPECT_EQ(zones[0].File, shipped / "C.QRN");
  EXPECT_EQ(zones[0].Title, "C.QRN");
  EXPECT_EQ(zones[3].Title, "b.qrn");
  EXPECT_EQ(zones[4].File, own / "0-first.qrn");
  EXPECT_EQ(zones[4].Title, "Moje");

  // One folder named twice, as when the game is installed into ~/.local, is listed once.
  EXPECT_EQ(FindZones({own, Root() / "." / "own", own}).size(), 1u);

  EXPECT_TRUE(FindZones({Root() / "missing"}).empty());
  EXPECT_TRUE(FindZones({}).empty());
}

TEST_F(ZoneList, TitlesAsTheZoneFieldSyntaxReadsThem) {
  Write(Root() / "1.qrn", "\xEF\xBB\xBF  \"Tři, dva\" navíc\r\n3\r\n");
  Write(Root() / "2.qrn", "\"\xDA\x6B\x6F\x6C\"\n3\n");  // Windows-1250
  Write(Root() / "3.qrn", "");
  Write(Root() / "4.qrn", "\"Stejný\"\n");
  Write(Root() / "5.qrn", "\"Stejný\"\n");
  const auto zones = FindZones({Root()});
  ASSERT_EQ(zones.size(), 5u);
  EXPECT_EQ(zones[0].Title, "Tři, dva");
  EXPECT_EQ(zones[1].Title, "Úkol");
  EXPECT_EQ(zones[2].Title, "");
  // Two zones of one title stay two entries, each with its own file.
  EXPECT_EQ(zones[3].Title, zones[4].Title);
  EXPECT_NE(zones[3].File, zones[4].File);
}

TEST_F(ZoneList, UnreadableFilesAreListedByTheirNames) {
  Write(Root() / "picture.qrn", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  Write(Root() / "secret.qrn", "\"Tajné\"\n");
  chmod((Root() / "secret.qrn").c_str(), 0);
  const auto zones = FindZones({Root()});
  ASSERT_EQ(zones.size(), 2u);
  EXPECT_EQ(zones[0].Title, "picture.qrn");
  // Root reads any file; only others see the name.
  if (geteuid() != 0) {
    EXPECT_EQ(zones[1].Title, "secret.qrn");
  }
}

TEST_F(ZoneList, ATitleIsReadOnlyWhenItsFileChanged) {
  const fs::path shipped = Root() / "shipped", own = Root() / "own";
  for (int i = 0; i < 50; ++i) Write(shipped / ("z" + std::to_string(100 + i) + ".qrn"), "\"Z\"\n");
  ZoneLister lister({shipped, own});
  EXPECT_TRUE(lister.Refresh());
  EXPECT_EQ(lister.Zones().size(), 50u);
  EXPECT_EQ(lister.TitlesRead(), 50);
  // Idle: no folder and no file is read again.
  const int64_t foldersRead = lister.FoldersRead();
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(lister.Refresh());
  EXPECT_EQ(lister.TitlesRead(), 50);
  EXPECT_EQ(lister.FoldersRead(), foldersRead);

  // Edited in place, same size: only that title is read again.
  Write(shipped / "z120.qrn", "\"Y\"\n");
  EXPECT_TRUE(lister.Refresh());
  EXPECT_EQ(lister.Zones()[20].Title, "Y");
  EXPECT_EQ(lister.TitlesRead(), 51);
  // Replaced by another file through a rename, as editors save.
  Write(shipped / ".z121.tmp", "\"X\"\n");
  fs::rename(shipped / ".z121.tmp", shipped / "z121.qrn");
  // Only touched: the title is read again, and is the same.
  const timeval later[2] = {{2'000'000'000, 0}, {2'000'000'000, 0}};
  ASSERT_EQ(utimes((shipped / "z122.qrn").c_str(), later), 0);
  EXPECT_TRUE(lister.Refresh());
  EXPECT_EQ(lister.Zones()[21].Title, "X");
  EXPECT_EQ(lister.TitlesRead(), 53);

  // Added, removed, and the player's folder made later: all within one refresh.
  fs::remove(shipped / "z100.qrn");
  Write(own / "mine.qrn", "\"Moje\"\n");
  EXPECT_TRUE(lister.Refresh());
  ASSERT_EQ(lister.Zones().size(), 50u);
  EXPECT_EQ(lister.Zones().front().File, shipped / "z101.qrn");
  EXPECT_EQ(lister.Zones().back().Title, "Moje");
  // A folder swapped for another of the same name is read anew.
  fs::rename(own, Root() / "old");
  Write(own / "other.qrn", "\"Jiná\"\n");
  EXPECT_TRUE(lister.Refresh());
  EXPECT_EQ(lister.Zones().back().Title, "Jiná");
  fs::remove_all(shipped);
  EXPECT_TRUE(lister.Refresh());
  EXPECT_EQ(lister.Zones().size(), 1u);
}

TEST_F(ZoneList, AZoneThatIsALinkFollowsItsFile) {
  Write(Root() / "elsewhere" / "real.qrn", "\"Před\"\n");
  fs::create_directories(Root() / "zones");
  fs::create_symlink(Root() / "elsewhere" / "real.qrn", Root() / "zones" / "link.qrn");
  ZoneLister lister({Root() / "zones"});
  lister.Refresh();
  ASSERT_EQ(lister.Zones().size(), 1u);
  Write(Root() / "elsewhere" / "real.qrn", "\"Potom\"\n");
  EXPECT_TRUE(lister.Refresh());
  EXPECT_EQ(lister.Zones()[0].Title, "Potom");
}

TEST_F(ZoneList, APipeSwappedInForAZoneIsNotWaitedOn) {
  // Listed as a file, then swapped for a pipe no one writes to: opening it to read would block.
  const fs::path zone = Root() / "a.qrn";
  Write(zone, "\"A\"\n");
  ZoneLister lister({Root()});
  lister.Refresh();
  fs::remove(zone);
  ASSERT_EQ(mkfifo(zone.c_str(), 0600), 0);
  EXPECT_EQ(ReadZoneTitle(zone), std::nullopt);
  EXPECT_TRUE(lister.Refresh());
  EXPECT_TRUE(lister.Zones().empty());
}

}  // namespace
}  // namespace quarn::test
