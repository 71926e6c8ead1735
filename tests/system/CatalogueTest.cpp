// CatalogueTest.cpp — zone sets from folders: which sets, in which order, with which titles and
// zones; where the start screen opens; what follows a zone.
#include <sys/stat.h>

#include <set>

#include "TempFolder.h"
#include "system/Catalogue.h"
#include "system/Settings.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using system::Catalogue;
using system::ZonePlace;
using system::ZoneSet;

std::string Zone(const std::string& title) { return "\"" + title + "\"\n3\n1\n"; }

std::vector<std::string> Titles(const Catalogue& c) {
  std::vector<std::string> titles;
  for (const ZoneSet& set : c.Sets()) titles.push_back(set.Title);
  return titles;
}

using Catalogues = TempFolderTest;

TEST_F(Catalogues, SetsFromFoldersTitlesOrderAndWhatFollowsAZone) {
  const fs::path shipped = Root() / "zones", own = Root() / "own";
  Write(shipped / "sada.txt", "\xEF\xBB\xBF Základy \r\nDvacet zón\r\nzbytek pro autora\n");
  Write(shipped / "02-b.qrn", Zone("Druhá"));
  Write(shipped / "01-a.qrn", Zone("První"));
  Write(shipped / "pro-zkusene" / "sada.txt", "Pro zkušené\n");
  Write(shipped / "pro-zkusene" / "01-a.qrn", Zone("Zkušená"));
  Write(shipped / "bez-nazvu" / "01-x.qrn", Zone("X"));           // no title file: its name
  fs::create_directories(shipped / "prazdna");                     // a set without zones
  Write(shipped / ".skryta" / "01-h.qrn", Zone("Skrytá"));          // hidden: no set
  Write(shipped / "binarni" / "sada.txt", std::string("Ti\0tul", 6));  // no text: its name
  Write(shipped / "binarni" / "01-y.qrn", Zone("Y"));
  // A title file far longer than a title: its first line counts; one whose first line does not
  // end within what is read has no title.
  Write(shipped / "dlouha" / "sada.txt", "Dlouhá\n" + std::string(1 << 20, 'x'));
  Write(shipped / "dlouha" / "01-z.qrn", Zone("Z"));
  Write(shipped / "nekonecna" / "sada.txt", std::string(1 << 20, 'y') + "\n");
  Write(own / "a.qrn", Zone("Moje"));
  Write(own / "moje-sada" / "sada.txt", "\t\nnepočítá se\n");  // a blank first line: its name
  Write(own / "moje-sada" / "01-m.qrn", Zone("M"));
  // A folder of the player's that others may write to is not read: it may be anyone's.
  Write(own / "cizi" / "01-c.qrn", Zone("Cizí"));
  ASSERT_EQ(chmod((own / "cizi").c_str(), 0777), 0);

  Catalogue c({{shipped, system::ShippedSetTitle, true}, {own, system::OwnSetTitle}});
  EXPECT_TRUE(c.Refresh());
  EXPECT_EQ(Titles(c), (std::vector<std::string>{"Základy", "bez-nazvu", "binarni", "Dlouhá",
                                                 "nekonecna", "prazdna", "Pro zkušené",
                                                 "Moje zóny", "moje-sada"}));
  const auto& sets = c.Sets();
  EXPECT_EQ(sets[0].Description, "Dvacet zón");
  EXPECT_EQ(sets[0].Within, "");
  EXPECT_TRUE(sets[0].Shipped);
  ASSERT_EQ(sets[0].Zones.size(), 2u);
  EXPECT_EQ(sets[0].Zones[0].Title, "První");
  EXPECT_EQ(sets[6].Within, "pro-zkusene");
  EXPECT_TRUE(sets[6].Shipped);
  EXPECT_TRUE(sets[5].Zones.empty());
  EXPECT_FALSE(sets[7].Shipped);
  EXPECT_EQ(sets[8].Zones.at(0).Title, "M");
  EXPECT_EQ(c.AllZones().size(), 8u);

  // The next zone is the next of the same set; a set's last has none, and the next set with
  // zones is named after it (the empty one is stepped over).
  EXPECT_EQ(c.NextInSet(shipped / "01-a.qrn")->File, shipped / "02-b.qrn");
  EXPECT_EQ(c.NextInSet(shipped / "02-b.qrn"), nullptr);
  EXPECT_EQ(c.NextInSet(Root() / "elsewhere.qrn"), nullptr);
  // N goes on to the first zone of the next set with zones, and ends after the last set's last.
  EXPECT_EQ(c.NextToPlay(shipped / "02-b.qrn")->File, shipped / "bez-nazvu" / "01-x.qrn");
  EXPECT_EQ(c.NextToPlay(shipped / "dlouha" / "01-z.qrn")->File, shipped / "pro-zkusene" / "01-a.qrn");
  EXPECT_EQ(c.NextToPlay(own / "moje-sada" / "01-m.qrn"), nullptr);
  EXPECT_EQ(c.SetsWithZones(), 7u);
  EXPECT_EQ(c.Find(shipped / "pro-zkusene" / "01-a.qrn"), (ZonePlace{6, 0}));
  ASSERT_NE(c.SetAfter(4), nullptr);
  EXPECT_EQ(c.SetAfter(4)->Title, "Pro zkušené");
  EXPECT_EQ(c.SetAfter(8), nullptr);
  EXPECT_EQ(c.ShippedFolders().size(), 7u);

  // Nothing changed: nothing is read again.
  const int64_t titles = c.Lister().TitlesRead();
  EXPECT_FALSE(c.Refresh());
  EXPECT_EQ(c.Lister().TitlesRead(), titles);
  // A new set, a retitled set and a set that went are seen at the next refresh.
  Write(own / "nova" / "01-n.qrn", Zone("N"));
  Write(shipped / "pro-zkusene" / "sada.txt", "Pro mistry\n");
  fs::remove_all(shipped / "bez-nazvu");
  EXPECT_TRUE(c.Refresh());
  EXPECT_EQ(Titles(c), (std::vector<std::string>{"Základy", "binarni", "Dlouhá", "nekonecna",
                                                 "prazdna", "Pro mistry", "Moje zóny",
                                                 "moje-sada", "nova"}));
  // A title file that went gives the set its folder's name again.
  fs::remove(shipped / "pro-zkusene" / "sada.txt");
  EXPECT_TRUE(c.Refresh());
  EXPECT_EQ(c.Sets()[5].Title, "pro-zkusene");
}

TEST_F(Catalogues, AFolderReachedTwiceIsListedOnceWithItsSets) {
  // Installed into ~/.local, the shipped zones and the player's own are one folder.
  const fs::path zones = Root() / "zones";
  Write(zones / "01-a.qrn", Zone("A"));
  Write(zones / "dalsi" / "01-a.qrn", Zone("B"));
  Catalogue c({{zones, system::ShippedSetTitle, true}, {Root() / "." / "zones", system::OwnSetTitle}});
  c.Refresh();
  EXPECT_EQ(Titles(c), (std::vector<std::string>{"Základy", "dalsi"}));
  // A folder given alone is titled by its name.
  Catalogue alone(std::vector<system::CatalogueRoot>{zones / ""});
  alone.Refresh();
  EXPECT_EQ(alone.Sets().at(0).Title, "zones");
  Catalogue none(std::vector<system::CatalogueRoot>{Root() / "missing"});
  EXPECT_FALSE(none.Refresh());
  EXPECT_TRUE(none.Sets().empty());
}

TEST_F(Catalogues, TheStartOpensWhereThePlayerWas) {
  const fs::path shipped = Root() / "zones";
  for (const char* name : {"01-a.qrn", "02-b.qrn", "03-c.qrn"}) Write(shipped / name, Zone(name));
  Write(shipped / "s2" / "01-d.qrn", Zone("d"));
  Write(shipped / "s2" / "02-e.qrn", Zone("e"));
  Catalogue c({{shipped, system::ShippedSetTitle, true}});
  c.Refresh();
  std::set<fs::path> won;
  const auto isWon = [&](const fs::path& zone) { return won.contains(zone); };
  auto opening = [&](const std::optional<fs::path>& last) {
    return system::OpeningPlace(c, last, isWon);
  };
  // Nothing played, or a zone no longer listed: the first zone.
  EXPECT_EQ(opening(std::nullopt), (ZonePlace{0, 0}));
  EXPECT_EQ(opening(Root() / "gone.qrn"), (ZonePlace{0, 0}));
  // Played and not won: that zone again.
  EXPECT_EQ(opening(shipped / "02-b.qrn"), (ZonePlace{0, 1}));
  // Won: the first zone of its set not won yet, which may lie before it.
  won = {shipped / "02-b.qrn"};
  EXPECT_EQ(opening(shipped / "02-b.qrn"), (ZonePlace{0, 0}));
  won = {shipped / "01-a.qrn", shipped / "02-b.qrn"};
  EXPECT_EQ(opening(shipped / "02-b.qrn"), (ZonePlace{0, 2}));
  // Its set all won: the first not won of the sets after it.
  won = {shipped / "01-a.qrn", shipped / "02-b.qrn", shipped / "03-c.qrn", shipped / "s2" / "01-d.qrn"};
  EXPECT_EQ(opening(shipped / "03-c.qrn"), (ZonePlace{1, 1}));
  // All won: the zone played last. A relative name of the same file is the same zone.
  won.insert(shipped / "s2" / "02-e.qrn");
  EXPECT_EQ(opening(shipped / "01-a.qrn"), (ZonePlace{0, 0}));
  EXPECT_EQ(opening(shipped / "s2" / ".." / "03-c.qrn"), (ZonePlace{0, 2}));

  // Kept in the state folder byte for byte, a tab and a line end in the name included.
  const fs::path state = Root() / "state";
  EXPECT_FALSE(system::ReadLastZone(state));
  const fs::path odd = shipped / "a\tb\nc.qrn";
  ASSERT_TRUE(system::KeepLastZone(state, odd));
  EXPECT_EQ(system::ReadLastZone(state), odd);
  ASSERT_TRUE(system::KeepLastZone(state, shipped / "02-b.qrn"));
  EXPECT_EQ(system::ReadLastZone(state), shipped / "02-b.qrn");
  Write(state / system::LastZoneFile, "");
  EXPECT_FALSE(system::ReadLastZone(state));
}

TEST_F(Catalogues, TheGhostSettingIsKeptAndADamagedFileIsTheDefault) {
  const fs::path state = Root() / "state";
  EXPECT_TRUE(system::ReadSettings(state).Ghost);
  ASSERT_TRUE(system::KeepSettings(state, system::PlayerSettings{false}));
  EXPECT_FALSE(system::ReadSettings(state).Ghost);
  // A newer game's line is passed over; what is not a setting changes nothing.
  Write(state / system::SettingsFile, "sound=loud\nghost=off\n");
  EXPECT_FALSE(system::ReadSettings(state).Ghost);
  Write(state / system::SettingsFile, "\x01garbage ghost=off\n");
  EXPECT_TRUE(system::ReadSettings(state).Ghost);
  ASSERT_TRUE(system::KeepSettings(state, system::PlayerSettings{true}));
  EXPECT_TRUE(system::ReadSettings(state).Ghost);
}

}  // namespace
}  // namespace quarn::test
