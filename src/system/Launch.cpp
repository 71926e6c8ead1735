// Launch.cpp — starting the link opener and the editor without a shell and without waiting.
#include "Launch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <system_error>

extern char** environ;

namespace quarn::system {

namespace fs = std::filesystem;

#ifndef __EMSCRIPTEN__
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
#endif

bool StartDetached(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return false;
#ifdef __EMSCRIPTEN__
  return false;  // a page starts no programs
#else
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
#endif
}

#ifdef __EMSCRIPTEN__
// In a browser a link opens in a new tab, and a zone for a text editor is downloaded instead.
bool OpenLink(const std::string& link) {
  EM_ASM({ window.open(UTF8ToString($0), "_blank", "noopener"); }, link.c_str());
  return true;
}

bool OpenInEditor(const fs::path& file) {
  EM_ASM(
      {
        var path = UTF8ToString($0);
        var a = document.createElement("a");
        a.href = URL.createObjectURL(new Blob([FS.readFile(path)], {type : "text/plain"}));
        a.download = path.split("/").pop();
        document.body.appendChild(a);
        a.click();
        a.remove();
      },
      file.string().c_str());
  return true;
}

// The page compresses the file and makes the link (web/index.html): the browser has the
// compressor, and the clipboard is the page's.
void ShareZoneLink(const fs::path& zone, const std::string& title, const fs::path& run,
                   const std::string& time) {
  EM_ASM({ Module.quarnShareZone(UTF8ToString($0), UTF8ToString($1), UTF8ToString($2),
                                 UTF8ToString($3)); },
         zone.string().c_str(), title.c_str(), run.string().c_str(), time.c_str());
}

void TellLinkRun(const std::string& said) {
  EM_ASM({ Module.quarnLinkRun = UTF8ToString($0); }, said.c_str());
}

void ShareZoneText(const std::string& zoneText, const std::string& title) {
  // In the page's memory, not in the player's storage: the page reads it once, for the link.
  const fs::path file = "/tmp/quarn-odkaz-na-zonu.qrn";
  // A write that fails leaves no file of an earlier link: the page then says it made none.
  std::error_code ec;
  fs::remove(file, ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << zoneText;
  out.close();
  ShareZoneLink(file, title);
}
#else
bool OpenLink(const std::string& link) { return StartDetached({"xdg-open", link}); }

bool OpenInEditor(const fs::path& file) {
  // Mended: a relative name such as "-x.qrn" would be taken by the opener for an option.
  std::error_code ec;
  const fs::path absolute = fs::absolute(file, ec);
  return StartDetached({"xdg-open", (ec ? file : absolute).string()});
}
#endif

}  // namespace quarn::system
