// Launch.cpp — starting the link opener and the editor without a shell and without waiting, on a
// desktop (the page's links and downloads are web/Launch.cpp's).
#include "Launch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace quarn::system {

namespace fs = std::filesystem;

namespace {

// The spawn settings, made before the fork because making them may allocate, which a child of
// a program with threads (sound, display) must not do.
class SpawnSettings {
 public:
  SpawnSettings() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attr_);
    // The standard streams go to /dev/null: an editor that lives on must not keep the terminal
    // or a pipe of whoever started Quarn open, nor read keys meant for us.
    posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions_, 1, 2);
    // Nothing else of ours: the display connection, the sound device, zone files.
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    // A session of its own, so a Ctrl+C or a hang-up meant for Quarn does not reach the editor;
    // every signal at its default and none blocked, whatever Quarn set for itself.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr_, &none);
    posix_spawnattr_setsigdefault(&attr_, &all);
    posix_spawnattr_setflags(&attr_,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSettings() {
    posix_spawnattr_destroy(&attr_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  const posix_spawn_file_actions_t* Actions() const { return &actions_; }
  const posix_spawnattr_t* Attributes() const { return &attr_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attr_;
};

}  // namespace

bool StartDetached(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return false;
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const SpawnSettings settings;

  // Two generations: a short-lived middle child starts the program and ends at once, so the
  // program belongs to the system's reaper and never lingers as our zombie, and Quarn's own
  // handling of SIGCHLD stays as it is.
  const pid_t middle = fork();
  if (middle < 0) return false;
  if (middle == 0) {
    pid_t program = 0;
    const int rc = posix_spawnp(&program, args[0], settings.Actions(), settings.Attributes(),
                                args.data(), environ);
    _exit(rc == 0 ? 0 : 127);
  }
  int status = 0;
  while (waitpid(middle, &status, 0) < 0) {
    // With SIGCHLD ignored the system reaps the middle child itself and its answer is lost;
    // the start is then taken as made.
    if (errno != EINTR) return errno == ECHILD;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OpenLink(const std::string& link) { return StartDetached({"xdg-open", link}); }

bool OpenInEditor(const fs::path& file) {
  // Mended: a relative name such as "-x.qrn" would be taken by the opener for an option.
  std::error_code ec;
  const fs::path absolute = fs::absolute(file, ec);
  return StartDetached({"xdg-open", (ec ? file : absolute).string()});
}

}  // namespace quarn::system
