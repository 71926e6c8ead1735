// Launch.cpp — starting xdg-open without waiting for it, and finding a zone file the player may
// edit.
#include "Launch.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <system_error>

extern char** environ;

namespace quarn::ui {

namespace {

// Starts xdg-open on argument in a grandchild, so that no child is left for us to reap.
bool StartOpener(const std::string& argument) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    pid_t grandchild = 0;
    char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(argument.c_str()), nullptr};
    const int rc = posix_spawnp(&grandchild, "xdg-open", nullptr, nullptr, argv, environ);
    _exit(rc == 0 ? 0 : 127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void OpenLink(const std::string& link) { StartOpener(link); }

std::optional<std::filesystem::path> EditableZone(const std::filesystem::path& zone,
                                                  const std::filesystem::path& userZones,
                                                  std::string& czechError) {
  if (access(zone.c_str(), W_OK) == 0) return zone;
  std::error_code ec;
  const std::filesystem::path copy = userZones / zone.filename();
  if (!std::filesystem::exists(copy, ec)) {
    std::filesystem::create_directories(userZones, ec);
    std::filesystem::copy_file(zone, copy, ec);
    if (ec) {
      czechError = "Zónu nelze zkopírovat do " + userZones.string() + ": " + ec.message();
      return std::nullopt;
    }
  }
  return copy;
}

bool OpenInEditor(const std::filesystem::path& file) { return StartOpener(file.string()); }

}  // namespace quarn::ui
