// SafeFileTest.cpp — whole-file writes that no planted link or file can redirect, private folders,
// and refusing folders that are not the player's own.
#include <sys/stat.h>
#include <unistd.h>

#include "TempFolder.h"
#include "system/Folders.h"
#include "system/SafeFile.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using system::Existing;

size_t Entries(const fs::path& folder) {
  return static_cast<size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t ModeOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(stat(p.c_str(), &st), 0) << p;
  return st.st_mode & 07777;
}

using SafeWrite = TempFolderTest;

TEST_F(SafeWrite, WholeFilesOnlyNoLinkFollowedAndLongNamesFit) {
  const fs::path folder = Root() / "zones";
  fs::create_directories(folder);
  const fs::path file = folder / "a.qrn";
  EXPECT_EQ(MessageOf(system::WriteWhole(file, "first")), "");
  EXPECT_EQ(Read(file), "first");
  EXPECT_EQ(ModeOf(file), 0600u) << "what the game keeps is the player's alone";
  EXPECT_EQ(MessageOf(system::WriteWhole(file, "second")), "");
  EXPECT_EQ(Read(file), "second");

  // Keep: a file already there, or a link (even a dangling one), is left as it is.
  const std::string kept = MessageOf(system::WriteWhole(file, "third", Existing::Keep));
  EXPECT_NE(kept.find("už existuje"), std::string::npos) << kept;
  EXPECT_EQ(Read(file), "second");
  Write(Root() / "victim", "precious");
  fs::create_symlink(Root() / "victim", folder / "link.qrn");
  EXPECT_NE(MessageOf(system::WriteWhole(folder / "link.qrn", "evil", Existing::Keep)), "");
  EXPECT_EQ(Read(Root() / "victim"), "precious");

  // A name of 255 bytes, the most a file system takes, is written: the temporary name is short.
  const fs::path longest = folder / (std::string(251, 'z') + ".qrn");
  EXPECT_EQ(MessageOf(system::WriteWhole(longest, "long")), "");
  EXPECT_EQ(Read(longest), "long");
  // Too long a name is said plainly, in Czech, and nothing is left behind.
  const std::string tooLong =
      MessageOf(system::WriteWhole(folder / (std::string(256, 'z') + ".qrn"), "x"));
  EXPECT_NE(tooLong.find("příliš dlouhá"), std::string::npos) << tooLong;
  EXPECT_EQ(Entries(folder), 3u) << "a.qrn, link.qrn and the long one; no temporary file";

  // Reading never blocks on a pipe put where a file was expected.
  ASSERT_EQ(mkfifo((folder / "pipe.qrn").c_str(), 0600), 0);
  EXPECT_NE(MessageOf(system::ReadWhole(folder / "pipe.qrn")), "");
  EXPECT_NE(MessageOf(system::ReadWhole(folder / "gone.qrn")).find("chybí"), std::string::npos);
  const auto content = system::ReadWhole(longest);
  ASSERT_TRUE(content.Ok()) << content.Error().Message;
  EXPECT_EQ(*content, "long");
}

TEST_F(SafeWrite, ALinkIsWrittenThroughToItsFileAndPermissionsStay) {
  const fs::path real = Root() / "real" / "zone.qrn";
  Write(real, "old");
  fs::permissions(real, fs::perms(0644));
  // A link, a relative link to that link, and a link into a folder of its own.
  const fs::path link = Root() / "zones" / "link.qrn", again = Root() / "zones" / "again.qrn";
  fs::create_directories(link.parent_path());
  fs::create_symlink(real, link);
  fs::create_symlink("link.qrn", again);
  for (const fs::path& through : {link, again}) {
    const std::string content = "through " + through.filename().string();
    EXPECT_EQ(MessageOf(system::WriteWhole(through, content)), "") << through;
    EXPECT_TRUE(fs::is_symlink(through)) << through << " was replaced by a file";
    EXPECT_EQ(Read(real), content);
    EXPECT_EQ(ModeOf(real), 0644u) << "a file written again keeps its permissions";
  }
  EXPECT_EQ(Entries(Root() / "zones"), 2u);
  EXPECT_EQ(Entries(Root() / "real"), 1u) << "no temporary file left beside the real one";

  // A link that leads round in a circle is refused, in Czech, and nothing is written.
  fs::create_symlink("b.qrn", Root() / "zones" / "a.qrn");
  fs::create_symlink("a.qrn", Root() / "zones" / "b.qrn");
  EXPECT_NE(MessageOf(system::WriteWhole(Root() / "zones" / "a.qrn", "x")), "");
  EXPECT_TRUE(fs::is_symlink(Root() / "zones" / "a.qrn"));
  // A file the link's folder does not let us write is refused with a message, the link kept.
  const fs::path locked = Root() / "locked";
  Write(locked / "zone.qrn", "locked");
  fs::create_symlink(locked / "zone.qrn", Root() / "zones" / "locked.qrn");
  fs::permissions(locked, fs::perms(0500));
  if (access(locked.c_str(), W_OK) != 0) {  // root may write anywhere
    EXPECT_NE(MessageOf(system::WriteWhole(Root() / "zones" / "locked.qrn", "x")), "");
    EXPECT_EQ(Read(locked / "zone.qrn"), "locked");
    EXPECT_TRUE(fs::is_symlink(Root() / "zones" / "locked.qrn"));
  }
  fs::permissions(locked, fs::perms(0700));
}

using PrivateFolders = TempFolderTest;

// Whatever leads there, a folder, a pipe or a device is never replaced by a file; in the game's
// own folders a link is not followed at all, and neither it nor what it leads to changes.
TEST_F(SafeWrite, NoFolderPipeOrDeviceIsReplacedAndOwnFoldersFollowNoLink) {
  const fs::path folder = Root() / "state";
  fs::create_directories(folder / "a folder");
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  fs::create_symlink(folder / "pipe", folder / "to the pipe");
  fs::create_symlink("/dev/null", folder / "to a device");
  for (const Existing mode : {Existing::Replace, Existing::ReplaceOwn}) {
    for (const char* name : {"a folder", "pipe", "to the pipe", "to a device"}) {
      const auto written = system::WriteWhole(folder / name, "data", mode);
      ASSERT_FALSE(written) << name;
      EXPECT_NE(written.Error().Message.find(mode == Existing::ReplaceOwn && name[0] == 't'
                                                 ? "odkaz jinam"
                                                 : "není obyčejný soubor"),
                std::string::npos)
          << written.Error().Message;
    }
    EXPECT_TRUE(fs::is_directory(folder / "a folder"));
    EXPECT_TRUE(fs::is_fifo(folder / "pipe"));
    EXPECT_TRUE(fs::is_symlink(folder / "to the pipe"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
  }
  // A link to a regular file: followed in the player's zones, refused in the game's own folders.
  Write(Root() / "elsewhere.txt", "theirs");
  fs::create_symlink(Root() / "elsewhere.txt", folder / "run.keys");
  EXPECT_FALSE(system::WriteWhole(folder / "run.keys", "ours", Existing::ReplaceOwn));
  EXPECT_EQ(Read(Root() / "elsewhere.txt"), "theirs");
  EXPECT_TRUE(fs::is_symlink(folder / "run.keys"));
  EXPECT_TRUE(system::WriteWhole(folder / "own.keys", "ours", Existing::ReplaceOwn));
  EXPECT_TRUE(system::WriteWhole(folder / "own.keys", "ours again", Existing::ReplaceOwn));
  EXPECT_EQ(Read(folder / "own.keys"), "ours again");
  EXPECT_TRUE(system::WriteWhole(folder / "run.keys", "ours", Existing::Replace));
  EXPECT_EQ(Read(Root() / "elsewhere.txt"), "ours");
  // No temporary file is left by the refusals.
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_NE(entry.path().filename().string().rfind(".quarn-", 0), 0u) << entry.path();
  }
}

TEST_F(PrivateFolders, MadeForThePlayerAloneAndForeignOrOpenFoldersRefused) {
  const fs::path zones = Root() / "data" / "quarn" / "zones";
  EXPECT_EQ(MessageOf(system::MakePrivateFolder(zones)), "");
  for (const fs::path& made : {Root() / "data", Root() / "data" / "quarn", zones}) {
    EXPECT_EQ(ModeOf(made), 0700u) << made;
  }
  EXPECT_EQ(MessageOf(system::FolderTrusted(zones)), "");
  // A shared folder with the sticky bit (as /tmp) is fine above the player's own.
  EXPECT_EQ(MessageOf(system::FolderTrusted(fs::temp_directory_path() / "not-made-yet" / "zones")),
            "");

  // A folder anyone may write to, on the way or at the end, could be swapped under the game.
  const fs::path open = Root() / "open";
  fs::create_directories(open / "zones");
  chmod(open.c_str(), 0777);
  const std::string refused = MessageOf(system::FolderTrusted(open / "zones"));
  EXPECT_NE(refused.find("kdokoli"), std::string::npos) << refused;
  EXPECT_NE(MessageOf(system::MakePrivateFolder(open / "more" / "zones")), "");
  EXPECT_FALSE(fs::exists(open / "more")) << "nothing is made in a refused folder";

  // A folder that belongs to another user, as a prepared /tmp/.local would.
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
  const fs::path foreign = Root() / "home" / ".local";
  fs::create_directories(foreign);
  ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
  EXPECT_NE(MessageOf(system::FolderTrusted(foreign / "share" / "quarn" / "zones")).find("nepatří"),
            std::string::npos);

  // The player's zone folder under it is refused, with a reason, and not made.
  setenv("HOME", (Root() / "home").c_str(), 1);
  unsetenv("XDG_DATA_HOME");
  const std::string why = MessageOf(system::MakePrivateFolder(system::UserZoneFolder()));
  EXPECT_NE(why.find("nepatří"), std::string::npos) << why;
  EXPECT_FALSE(fs::exists(foreign / "share"));
}

}  // namespace
}  // namespace quarn::test
