// SafeFile.cpp — private folders, whole-file replacement by rename, and plain reading.
#include "SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace quarn::system {

namespace fs = std::filesystem;

namespace {

std::string Reason(const std::string& what, const fs::path& path, int err) {
  return what + " " + path.string() + ": " + std::strerror(err);
}

}  // namespace

bool MakePrivateFolders(const fs::path& folder, std::string& error) {
  fs::path built;
  for (const fs::path& part : folder) {
    built /= part;
    if (built == built.root_path()) continue;
    if (::mkdir(built.c_str(), 0700) == 0) continue;
    const int err = errno;
    struct stat st {};
    if (err == EEXIST && ::stat(built.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    error = Reason("cannot create the folder", built, err == EEXIST ? ENOTDIR : err);
    return false;
  }
  return true;
}

bool WriteWholeFile(const fs::path& file, const std::string& content, std::string& error) {
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  if (!MakePrivateFolders(folder, error)) return false;
  // mkstemp opens with O_CREAT | O_EXCL: an attacker's link in its place is refused.
  std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    error = Reason("cannot create a file in", folder, errno);
    return false;
  }
  const fs::path temporary(name.data());
  auto fail = [&](const std::string& what) {
    error = Reason(what, temporary, errno);
    ::close(fd);
    ::unlink(temporary.c_str());
    return false;
  };
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write");
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) return fail("cannot sync");
  if (::close(fd) != 0) {
    error = Reason("cannot write", temporary, errno);
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), file.c_str()) != 0) {
    error = Reason("cannot replace", file, errno);
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself survives a power cut only once the folder is synced.
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool ReadWholeFile(const fs::path& file, std::string& content, std::string& error,
                   bool& missing) {
  missing = false;
  content.clear();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    missing = errno == ENOENT;
    error = Reason("cannot open", file, errno);
    return false;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = Reason("cannot read", file, errno);
      ::close(fd);
      return false;
    }
    content.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

}  // namespace quarn::system
