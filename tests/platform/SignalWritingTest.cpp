// SignalWritingTest.cpp — an end forced by a signal lets a file being written finish: a write
// that outlasts the grace (a slow disk, a zone with long notes) is not cut off half-way.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/Writing.h"
#include "platform/Signals.h"

namespace quarn::platform {
namespace {

TEST(SignalWriting, AWriteInProgressFinishesBeforeTheForcedEnd) {
  const std::filesystem::path done = std::filesystem::temp_directory_path() / "quarn-signal-write";
  std::filesystem::remove(done);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    SignalWatch watch;
    SetWritingCount([] { return FilesBeingWritten(); });
    {
      const WritingFile writing;
      ::kill(::getpid(), SIGTERM);
      // Three times the grace: the program, stuck here, would have been ended long before.
      std::this_thread::sleep_for(std::chrono::milliseconds(3 * SignalWatch::GraceMs));
      std::ofstream(done) << "kept";
    }
    // No event loop reads the quit: the watcher ends the program once the write is done.
    std::this_thread::sleep_for(std::chrono::seconds(30));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  EXPECT_TRUE(std::filesystem::exists(done)) << "the write was cut off";
  std::filesystem::remove(done);
}

}  // namespace
}  // namespace quarn::platform
