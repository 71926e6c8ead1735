// ZoneListTest.cpp — which files the zone list shows, in which order, with which titles.
#include <sys/stat.h>

#include "TempFolder.h"
#include "system/ZoneList.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using system::FindZones;
using system::ZoneEntry;

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

}  // namespace
}  // namespace quarn::test
