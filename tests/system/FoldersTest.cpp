// FoldersTest.cpp — where the data folder is looked for, and where a player's zones go.
#include <cstdlib>

#include "TempFolder.h"
#include "system/Folders.h"
#include "system/SafeFile.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using system::DataFolder;
using system::UserZoneFolder;

using DataFolderLookup = TempFolderTest;

TEST_F(DataFolderLookup, ProgramFolderThenShareBesideItThenTheBuiltInFolder) {
  unsetenv("QUARN_DATA_DIR");
  const fs::path bin = Root() / "prefix" / "bin";
  fs::create_directories(bin);
  // Nothing beside the program: the folder chosen at build time.
  EXPECT_EQ(DataFolder(bin), fs::path(QUARN_INSTALL_DATA_DIR));

  // An install moved as a whole: prefix/share/quarn.
  fs::create_directories(Root() / "prefix" / "share" / "quarn");
  EXPECT_EQ(DataFolder(bin), fs::canonical(Root() / "prefix" / "share" / "quarn"));

  // A folder of the program's own that holds the data wins, in any letter case.
  fs::create_directories(bin / "graphics");
  EXPECT_EQ(DataFolder(bin), bin);
  fs::remove(bin / "graphics");
  fs::create_directories(bin / "Zones");
  EXPECT_EQ(DataFolder(bin), bin);
  EXPECT_EQ(system::ShippedZoneFolder(bin), bin / "Zones");
  // A file named like a data folder is not one.
  fs::remove(bin / "Zones");
  Write(bin / "Graphics", "");
  EXPECT_NE(DataFolder(bin), bin);
  EXPECT_EQ(system::ShippedZoneFolder(bin), bin / "zones");
}

TEST_F(DataFolderLookup, EnvironmentOverridesEverything) {
  fs::create_directories(Root() / "Graphics");
  setenv("QUARN_DATA_DIR", "/somewhere/else", 1);
  EXPECT_EQ(DataFolder(Root()), fs::path("/somewhere/else"));
  setenv("QUARN_DATA_DIR", "", 1);
  EXPECT_EQ(DataFolder(Root()), Root());
}

using PlayerZones = TempFolderTest;

TEST_F(PlayerZones, XdgDataHomeWhenAbsoluteElseHomeAndCreatedOnFirstUse) {
  setenv("HOME", (Root() / "home").c_str(), 1);
  setenv("XDG_DATA_HOME", (Root() / "data").c_str(), 1);
  EXPECT_EQ(UserZoneFolder(), Root() / "data" / "quarn" / "zones");
  EXPECT_TRUE(system::MakePrivateFolder(UserZoneFolder()).Ok());
  EXPECT_TRUE(fs::is_directory(Root() / "data" / "quarn" / "zones"));

  const fs::path fromHome = Root() / "home" / ".local" / "share" / "quarn" / "zones";
  for (const char* ignored : {"", "relative/data"}) {
    setenv("XDG_DATA_HOME", ignored, 1);
    EXPECT_EQ(UserZoneFolder(), fromHome) << "XDG_DATA_HOME=" << ignored;
  }
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserZoneFolder(), fromHome);
  EXPECT_TRUE(system::MakePrivateFolder(UserZoneFolder()).Ok());
  EXPECT_TRUE(fs::is_directory(fromHome));
  EXPECT_FALSE(fs::exists(fs::current_path() / "relative"));

  // A folder that cannot be made is still named; whoever writes there meets the failure.
  Write(Root() / "blocked", "a file, not a folder");
  setenv("XDG_DATA_HOME", (Root() / "blocked").c_str(), 1);
  EXPECT_EQ(UserZoneFolder(), Root() / "blocked" / "quarn" / "zones");
  EXPECT_FALSE(system::MakePrivateFolder(UserZoneFolder()).Ok());
}

}  // namespace
}  // namespace quarn::test
