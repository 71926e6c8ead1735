// LaunchTest.cpp — the opener gets the path as one argument, is not waited for, inherits none of
// our descriptors and leaves no zombie; copies of zones for editing.
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "TempFolder.h"
#include "system/Catalogue.h"
#include "system/Copies.h"
#include "system/Launch.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A stand-in xdg-open on PATH: writes its arguments one per line, then its process id, then
// stays alive for a long while, as an editor would.
class Opener : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    const fs::path bin = Root() / "bin";
    Write(bin / "xdg-open",
          "#!/bin/sh\n"
          "PATH=/usr/bin:/bin\n"
          "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$QUARN_TEST_OUT.part\"\n"
          "echo \"pid $$\" >> \"$QUARN_TEST_OUT.part\"\n"
          "mv \"$QUARN_TEST_OUT.part\" \"$QUARN_TEST_OUT\"\n"
          "exec sleep 30\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    setenv("PATH", bin.c_str(), 1);
    setenv("QUARN_TEST_OUT", Out().c_str(), 1);
  }
  void TearDown() override {
    for (pid_t pid : started_) kill(pid, SIGKILL);
    setenv("PATH", oldPath_.c_str(), 1);
    TempFolderTest::TearDown();
  }
  fs::path Out() const { return Root() / "args.txt"; }

  // The opener's arguments, once it has written them; remembers its pid to stop it later.
  std::vector<std::string> Arguments() {
    for (int i = 0; i < 100 && !fs::exists(Out()); ++i) std::this_thread::sleep_for(50ms);
    std::vector<std::string> lines;
    std::string text = Read(Out());
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
      lines.push_back(text.substr(at, end - at));
    }
    if (!lines.empty() && lines.back().rfind("pid ", 0) == 0) {
      started_.push_back(std::stoi(lines.back().substr(4)));
      lines.pop_back();
    }
    fs::remove(Out());
    return lines;
  }

 private:
  std::string oldPath_;
  std::vector<pid_t> started_;
};

TEST_F(Opener, EditorGetsThePathAsOneArgumentWithoutWaitOrInheritedDescriptors) {
  const fs::path zone = Root() / "Moje zóny; rm -rf ~" / "$(kdo) 'a' \"b\".qrn";
  Write(zone, "\"Zóna\"\n");
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);  // inheritable on purpose

  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(system::OpenInEditor(zone));
  EXPECT_LT(std::chrono::steady_clock::now() - before, 3s) << "the editor was waited for";
  EXPECT_EQ(Arguments(), std::vector<std::string>{zone.string()});

  // The opener lives on, yet is not our child (no zombie to come) and holds no end of our pipe.
  int status = 0;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  close(pipeEnds[1]);
  pollfd reader{pipeEnds[0], POLLIN, 0};
  ASSERT_EQ(poll(&reader, 1, 2000), 1) << "the opener keeps our pipe open";
  EXPECT_TRUE(reader.revents & POLLHUP);
  close(pipeEnds[0]);
}

TEST_F(Opener, LinksGoAsTheyAreAndRelativeZonesAsAbsolutePaths) {
  const std::string mail = "mailto:autor@quarn.example.org?subject=Quarn&body=a b";
  EXPECT_TRUE(system::OpenLink(mail));
  EXPECT_EQ(Arguments(), std::vector<std::string>{mail});
  // A relative name starting with "-" must not reach the opener as an option.
  EXPECT_TRUE(system::OpenInEditor("-x.qrn"));
  EXPECT_EQ(Arguments(), std::vector<std::string>{(fs::current_path() / "-x.qrn").string()});
}

TEST_F(Opener, NothingStartedWhenThereIsNoOpener) {
  setenv("PATH", (Root() / "empty").c_str(), 1);
  EXPECT_FALSE(system::OpenInEditor(Root() / "a.qrn"));
  EXPECT_FALSE(system::OpenLink("http://quarn.example.org/"));
  EXPECT_FALSE(system::StartDetached({}));
  EXPECT_FALSE(system::StartDetached({""}));
  // Found but not runnable.
  Write(Root() / "bin" / "not-runnable", "#!/bin/sh\n");
  setenv("PATH", (Root() / "bin").c_str(), 1);
  EXPECT_FALSE(system::StartDetached({"not-runnable"}));
  EXPECT_FALSE(fs::exists(Out()));
}

using EditCopy = TempFolderTest;

TEST_F(EditCopy, OwnZonesInPlaceShippedOnesAlwaysCopiedNeverANamesake) {
  const fs::path shipped = Root() / "bin" / "zones", mine = Root() / "mine";
  const fs::path other = Root() / "other" / "a.qrn";
  const system::Catalogue sets({{shipped, "Základy", true}, {mine, "Moje zóny", false}});
  auto copyName = [&](const fs::path& zone) { return system::CopyNameOf(sets, zone); };
  Write(other, "\"A\"\n");
  Write(mine / "own.qrn", "\"Moje\"\n");
  EXPECT_EQ(system::EditableZone(other, copyName(other), mine), other);
  EXPECT_EQ(system::EditableZone(mine / "own.qrn", copyName(mine / "own.qrn"), mine),
            mine / "own.qrn");
  EXPECT_FALSE(fs::exists(mine / "a.qrn"));

  // A shipped zone the player could write (a build tree, which the next build puts back) is
  // edited in the player's folder, never where it ships.
  Write(shipped / "10-rychlik.qrn", "\"Rychlík\"\n");
  const auto copy = system::EditableZone(shipped / "10-rychlik.qrn",
                                         copyName(shipped / "10-rychlik.qrn"), mine);
  ASSERT_TRUE(copy) << MessageOf(copy);
  EXPECT_EQ(*copy, mine / "10-rychlik.qrn");
  EXPECT_EQ(Read(*copy), "\"Rychlík\"\n");
  EXPECT_EQ(system::ExistingCopy(copyName(shipped / "10-rychlik.qrn"), mine), *copy);

  // A zone of the same file name in another shipped set has a copy of its own.
  Write(shipped / "dalsi" / "10-rychlik.qrn", "\"Jiný rychlík\"\n");
  EXPECT_FALSE(system::ExistingCopy(copyName(shipped / "dalsi" / "10-rychlik.qrn"), mine));
  const auto second = system::EditableZone(shipped / "dalsi" / "10-rychlik.qrn",
                                           copyName(shipped / "dalsi" / "10-rychlik.qrn"), mine);
  ASSERT_TRUE(second) << MessageOf(second);
  EXPECT_EQ(*second, mine / "dalsi-10-rychlik.qrn");
  EXPECT_EQ(Read(*second), "\"Jiný rychlík\"\n");
  EXPECT_EQ(Read(*copy), "\"Rychlík\"\n");

  // Without a folder of the player's own there is nowhere to copy to, and the player is told.
  const auto nowhere =
      system::EditableZone(shipped / "10-rychlik.qrn", copyName(shipped / "10-rychlik.qrn"), "");
  EXPECT_FALSE(nowhere);
  EXPECT_NE(MessageOf(nowhere).find("nemá"), std::string::npos) << MessageOf(nowhere);

  // A zone the player may not write, from a folder named on the command line, has its own copy:
  // the player's different zone of the same name is not opened in its place, nor touched.
  Write(mine / "a.qrn", "\"Jiná zóna\"\n");
  const auto own = system::OwnCopy(other, mine);
  ASSERT_TRUE(own) << MessageOf(own);
  EXPECT_EQ(*own, mine / "a (2).qrn");
  EXPECT_EQ(Read(*own), "\"A\"\n");
  EXPECT_EQ(Read(mine / "a.qrn"), "\"Jiná zóna\"\n");
  EXPECT_EQ(system::OwnCopy(other, mine), own) << "the same copy again, not a third";
}

// Two games make an own copy of the same zone at the same moment, round after round: they end
// with one copy between them, the same file, never "zona.qrn" and "zona (2).qrn" of one text.
TEST_F(EditCopy, TwoGamesCopyingOneZoneAtOnceMakeOneCopy) {
  const fs::path zone = Root() / "elsewhere" / "zona.qrn";
  Write(zone, "\"Zóna\"\n3\n");
  for (int round = 0; round < 40; ++round) {
    const fs::path mine = Root() / ("mine" + std::to_string(round));
    fs::create_directories(mine);
    fs::permissions(mine, fs::perms::owner_all);
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> games;
    for (int g = 0; g < 2; ++g) {
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        char c = 0;
        ::close(go[1]);
        if (::read(go[0], &c, 1) != 1) ::_exit(2);  // both start together
        const auto copy = system::OwnCopy(zone, mine);
        ::_exit(copy && *copy == mine / "zona.qrn" ? 0 : 1);
      }
      games.push_back(pid);
    }
    ::close(go[0]);
    const char both[2] = {1, 1};
    ASSERT_EQ(::write(go[1], both, 2), 2);
    ::close(go[1]);
    for (pid_t pid : games) {
      int status = 0;
      ::waitpid(pid, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
    }
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(mine)) {
      ++files;
      EXPECT_EQ(entry.path().filename(), "zona.qrn") << "round " << round;
    }
    EXPECT_EQ(files, 1u) << "round " << round;
  }
}

TEST_F(EditCopy, CopyIsMadeOnceWritableAndNeverOverwritten) {
  const fs::path zone = Root() / "shipped" / "Úvod.qrn";
  Write(zone, "\"Úvod\"\n3\n");
  fs::permissions(zone, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const fs::path mine = Root() / "data" / "quarn" / "zones";  // not there yet

  const auto copy = system::CopyForEditing(zone, mine);
  ASSERT_TRUE(copy) << MessageOf(copy);
  EXPECT_EQ(*copy, mine / "Úvod.qrn");
  EXPECT_EQ(Read(*copy), "\"Úvod\"\n3\n");
  EXPECT_NE(fs::status(*copy).permissions() & fs::perms::owner_write, fs::perms::none);
  // Only the copy itself is left there; the list never sees a half-written file.
  EXPECT_EQ(std::distance(fs::directory_iterator(mine), fs::directory_iterator()), 1);

  // The player's changes are kept: the next edit opens the same copy as it is.
  Write(*copy, "\"Moje úpravy\"\n");
  EXPECT_EQ(system::CopyForEditing(zone, mine), copy);
  EXPECT_EQ(Read(*copy), "\"Moje úpravy\"\n");
}

TEST_F(EditCopy, FailedCopyGivesACzechReason) {
  const fs::path zone = Root() / "a.qrn";
  Write(zone, "\"A\"\n");
  Write(Root() / "file", "");
  const std::string error = MessageOf(system::CopyForEditing(zone, Root() / "file" / "zones"));
  EXPECT_NE(error.find("a.qrn"), std::string::npos) << error;
  EXPECT_NE(error.find("nepodařilo"), std::string::npos) << error;

  const auto gone = system::CopyForEditing(Root() / "gone.qrn", Root() / "mine");
  EXPECT_FALSE(gone);
  EXPECT_FALSE(MessageOf(gone).empty());
  EXPECT_FALSE(fs::exists(Root() / "mine" / "gone.qrn"));
  EXPECT_EQ(std::distance(fs::directory_iterator(Root() / "mine"), fs::directory_iterator()), 0);
}

TEST_F(EditCopy, ALinkPlantedInThePlayersFolderIsNeverWrittenThrough) {
  const fs::path zone = Root() / "shipped" / "a.qrn";
  Write(zone, "\"A\"\n");
  const fs::path mine = Root() / "mine";
  Write(Root() / "victim", "precious");
  fs::create_directories(mine);
  fs::create_symlink(Root() / "victim", mine / ".a.qrn.part");
  const auto copy = system::CopyForEditing(zone, mine);
  ASSERT_TRUE(copy) << MessageOf(copy);
  EXPECT_EQ(Read(*copy), "\"A\"\n");
  EXPECT_EQ(Read(Root() / "victim"), "precious");
  EXPECT_FALSE(fs::is_symlink(*copy));

  // A file name of 255 bytes is copied too.
  const fs::path longest = Root() / "shipped" / (std::string(251, 'x') + ".qrn");
  Write(longest, "\"Dlouhá\"\n");
  const auto longCopy = system::CopyForEditing(longest, mine);
  ASSERT_TRUE(longCopy) << MessageOf(longCopy);
  EXPECT_EQ(Read(*longCopy), "\"Dlouhá\"\n");
}

}  // namespace
}  // namespace quarn::test
