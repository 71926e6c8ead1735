// RecoveryTest.cpp — the editor's recovery copies, one per zone, and telling a file changed by
// another program from one only touched.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <set>

#include "TempFolder.h"
#include "system/FileStamp.h"
#include "system/Recovery.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

using Recovery = TempFolderTest;

TEST_F(Recovery, OneCopyPerZoneKeptFoundAndDroppedPrivately) {
  const fs::path folder = Root() / "state" / "quarn" / "recovery";
  const fs::path a = Root() / "one" / "zone.qrn", b = Root() / "two" / "zone.qrn";
  const fs::path longest = Root() / (std::string(251, 'z') + ".qrn");
  EXPECT_FALSE(system::FindRecovery(folder, a));
  EXPECT_EQ(MessageOf(system::KeepRecovery(folder, a, "A")), "");
  EXPECT_EQ(MessageOf(system::KeepRecovery(folder, b, "B")), "");
  EXPECT_EQ(MessageOf(system::KeepRecovery(folder, {}, "new")), "");
  EXPECT_EQ(MessageOf(system::KeepRecovery(folder, longest, "long")), "");
  struct stat st {};
  ASSERT_EQ(stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // Two zones of one name in two folders, a new zone and a name of 255 bytes: four copies.
  for (const auto& [zone, text] : std::vector<std::pair<fs::path, std::string>>{
           {a, "A"}, {b, "B"}, {{}, "new"}, {longest, "long"}}) {
    const auto found = system::FindRecovery(folder, zone);
    ASSERT_TRUE(found) << zone;
    EXPECT_EQ(found->Text, text);
    EXPECT_NE(found->When.find(". "), std::string::npos) << found->When;
  }
  // A relative path names the same zone as its absolute one.
  const fs::path was = fs::current_path();
  fs::current_path(Root());
  const auto relative = system::FindRecovery(folder, "one/zone.qrn");
  fs::current_path(was);
  ASSERT_TRUE(relative);
  EXPECT_EQ(relative->Text, "A");
  // A zone opened through a link, or through a linked folder, is the file itself: one copy.
  fs::create_directories(a.parent_path());
  Write(a, "zone");
  fs::create_symlink(a, Root() / "link.qrn");
  fs::create_directory_symlink(a.parent_path(), Root() / "linked");
  for (const fs::path& other : {Root() / "link.qrn", Root() / "linked" / "zone.qrn"}) {
    const auto through = system::FindRecovery(folder, other);
    ASSERT_TRUE(through) << other;
    EXPECT_EQ(through->Text, "A");
  }
  system::DropRecovery(folder, a);
  EXPECT_FALSE(system::FindRecovery(folder, a));
  EXPECT_EQ(system::FindRecovery(folder, b)->Text, "B");

  // A folder others may write is neither read nor written.
  fs::permissions(folder, fs::perms(0777));
  EXPECT_FALSE(system::FindRecovery(folder, b));
  EXPECT_NE(MessageOf(system::KeepRecovery(folder, a, "A")), "");
  system::DropRecovery(folder, b);
  fs::permissions(folder, fs::perms(0700));
  EXPECT_TRUE(system::FindRecovery(folder, b)) << "a refused folder is not changed either";
}

// Two editors of one zone never share its copy: the second finds it held (in another program, or
// through a link to the same file), and touches none of it; a killed editor's copy is offered to
// the next. New zones take copies of their own, one left behind first.
TEST_F(Recovery, AClaimedCopyIsNobodyElsesAndAKilledEditorsCopyIsOfferedToTheNext) {
  const fs::path folder = Root() / "recovery";
  const fs::path zone = Root() / "zone.qrn";
  Write(zone, "zone");
  fs::create_symlink(zone, Root() / "link.qrn");

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    system::RecoveryClaim claim = system::RecoveryClaim::Take(folder, zone);
    const bool kept = !claim.Busy() && claim.Keep("their work").Ok();
    (void)!write(ready[1], kept ? "y" : "n", 1);
    pause();
    _exit(0);
  }
  char said = 0;
  ASSERT_EQ(read(ready[0], &said, 1), 1);
  ASSERT_EQ(said, 'y');
  for (const fs::path& opened : {zone, Root() / "link.qrn"}) {
    system::RecoveryClaim mine = system::RecoveryClaim::Take(folder, opened);
    EXPECT_TRUE(mine.Busy()) << opened;
    EXPECT_FALSE(mine.Find()) << "another editor's live copy is not offered";
    mine.Drop();
    EXPECT_FALSE(mine.Keep("mine").Ok());
    EXPECT_FALSE(mine.Covers(folder, zone));
  }
  EXPECT_EQ(system::FindRecovery(folder, zone)->Text, "their work") << "nothing of it touched";

  kill(other, SIGKILL);
  waitpid(other, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  {
    system::RecoveryClaim mine = system::RecoveryClaim::Take(folder, Root() / "link.qrn");
    ASSERT_FALSE(mine.Busy()) << "a killed editor holds nothing";
    EXPECT_TRUE(mine.Covers(folder, zone));
    ASSERT_TRUE(mine.Find());
    EXPECT_EQ(mine.Find()->Text, "their work");
    // While held here, the same program's second claim is refused too.
    EXPECT_TRUE(system::RecoveryClaim::Take(folder, zone).Busy());
  }
  // Let go: the lock's file goes with it; the copy stays until it is dropped.
  size_t locks = 0;
  for (const auto& entry : fs::directory_iterator(folder)) locks += entry.path().extension() == ".claim";
  EXPECT_EQ(locks, 0u);
  EXPECT_FALSE(system::RecoveryClaim::Take(folder, zone).Busy());

  // New zones: each editor its own copy; a copy left behind is taken before an empty place.
  std::vector<system::RecoveryClaim> editors;
  std::set<fs::path> copies;
  for (int i = 0; i < system::NewZoneCopies; ++i) {
    editors.push_back(system::RecoveryClaim::Take(folder, {}));
    ASSERT_FALSE(editors.back().Busy()) << i;
    EXPECT_TRUE(editors.back().Covers(folder, {}));
    EXPECT_FALSE(editors.back().Covers(folder, zone));
    EXPECT_TRUE(editors.back().Keep("new " + std::to_string(i)).Ok());
    copies.insert(editors.back().File());
  }
  EXPECT_EQ(copies.size(), size_t(system::NewZoneCopies));
  EXPECT_TRUE(system::RecoveryClaim::Take(folder, {}).Busy()) << "every place held";
  EXPECT_NE(system::RecoveryClaim::Take(folder, {}).Keep("x").Error().Message.find("editor"),
            std::string::npos);
  editors[0].Drop();
  editors[0] = {};
  editors[5] = {};  // ended without saving: its copy is left behind
  const system::RecoveryClaim next = system::RecoveryClaim::Take(folder, {});
  ASSERT_TRUE(next.Find());
  EXPECT_EQ(next.Find()->Text, "new 5");
}

using Stamps = TempFolderTest;

TEST_F(Stamps, AChangeByAnotherProgramIsToldATouchIsNot) {
  const fs::path file = Root() / "zone.qrn";
  Write(file, "first");
  system::FileIdentity seen{*system::StampOfFile(file), system::BytesKey("first")};
  EXPECT_FALSE(system::ChangedSince(file, seen));
  // Touched: a new stamp, the same bytes.
  utime(file.c_str(), nullptr);
  struct timespec later[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
  utimensat(AT_FDCWD, file.c_str(), later, 0);
  EXPECT_FALSE(system::ChangedSince(file, seen));
  EXPECT_EQ(seen.Stamp, *system::StampOfFile(file)) << "the stamp is brought up to date";
  // The same size and time, other bytes: the key tells them apart.
  const system::FileStamp before = seen.Stamp;
  Write(file, "other");
  struct timespec same[2] = {
      {0, UTIME_OMIT}, {before.ModifiedNs / 1'000'000'000, before.ModifiedNs % 1'000'000'000}};
  utimensat(AT_FDCWD, file.c_str(), same, 0);
  EXPECT_TRUE(system::ChangedSince(file, seen));
  // Swapped for another file, and gone.
  system::FileIdentity now{*system::StampOfFile(file), system::BytesKey("other")};
  Write(Root() / "swap", "other!");
  fs::rename(Root() / "swap", file);
  EXPECT_TRUE(system::ChangedSince(file, now));
  fs::remove(file);
  EXPECT_TRUE(system::ChangedSince(file, now));
}

}  // namespace
}  // namespace quarn::test
