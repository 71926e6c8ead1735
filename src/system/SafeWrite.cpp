// SafeWrite.cpp — saves files so a crash never halves them.
#include "SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace quarn {
namespace {

std::string SystemError(const std::string& what, int error) {
  return what + " (" + std::strerror(error) + ")";
}

}  // namespace

std::optional<std::string> WriteFileSafely(const std::string& path, std::string_view text) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temp.data());  // O_CREAT | O_EXCL: never someone else's file
  if (fd < 0)
    return SystemError("nelze vytvořit dočasný soubor ve složce " + folder.string(), errno);

  // A new file gets the usual permissions, an existing one keeps its own.
  struct stat old {};
  const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  fchmod(fd, mode);

  auto fail = [&](const std::string& what) {
    const int error = errno;
    close(fd);
    unlink(temp.c_str());
    return SystemError(what, error);
  };
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("nelze zapsat " + temp);
    }
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0) return fail("nelze uložit na disk " + temp);
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    return SystemError("nelze zavřít " + temp, error);
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    return SystemError("nelze přejmenovat dočasný soubor na " + path, error);
  }
  // The rename itself reaches the disk only with the folder.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return std::nullopt;
}

}  // namespace quarn
