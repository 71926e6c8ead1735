// SafeFile.cpp — whole-file writes through exclusive temporary files, private folders, and the
// check that a folder is the player's own.
#include "SafeFile.h"

#include <fcntl.h>
#include <ctime>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "base/Text.h"
#include "base/Writing.h"
#include "Storage.h"

namespace quarn::system {

namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& p) { return ShowControls(p.string()); }

std::string Failed(const std::string& what, const fs::path& p, int error) {
  return what + " " + Quoted(p) + ": " + FileErrorInCzech(error) + ".";
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Moves from onto to; with keep, fails with EEXIST rather than replace a file already at to.
int Rename(const fs::path& from, const fs::path& to, bool keep) {
  if (!keep) return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  return MoveWithoutReplacing(from, to);
}

void SyncFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The file a write to file lands in: file itself, or, when file is a symbolic link, the file
// the link leads to (through further links). A link that leads round in a circle is refused.
fs::path WriteTarget(const fs::path& file, std::string& problem) {
  fs::path at = file;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    std::error_code ec;
    const fs::path to = fs::read_symlink(at, ec);
    if (ec) {
      problem = Failed("Odkaz nelze přečíst:", at, ec.value());
      return at;
    }
    at = to.is_absolute() || !at.has_parent_path() ? to : at.parent_path() / to;
  }
  problem = Failed("Soubor nelze uložit:", file, ELOOP);
  return at;
}

}  // namespace

Result<void> FolderTrusted(const fs::path& folder) {
  std::error_code ec;
  fs::path absolute = fs::absolute(folder, ec);
  if (ec) return Fail(Failed("Složku nelze najít:", folder, ec.value()));
  // Only what exists can be checked; what is missing will be made by the player's own hand.
  fs::path existing = absolute;
  while (!fs::exists(existing, ec) && existing.has_relative_path())
    existing = existing.parent_path();
  const fs::path real = fs::canonical(existing, ec);
  if (ec) return Fail(Failed("Složku nelze najít:", existing, ec.value()));
  const uid_t me = geteuid();
  fs::path at;
  for (const fs::path& part : real) {
    at /= part;
    struct stat st {};
    if (stat(at.c_str(), &st) != 0) return Fail(Failed("Složku nelze prověřit:", at, errno));
    if (!S_ISDIR(st.st_mode)) {
      return Fail("Cesta " + Quoted(absolute) + " nevede do složky: " + Quoted(at) + " je soubor.");
    }
    const bool last = at == real && existing == absolute;
    const bool owned = st.st_uid == me || (st.st_uid == 0 && !last);
    if (!owned) {
      return Fail("Složka " + Quoted(at) +
                  " nepatří tobě, ale jinému uživateli; hra ji nepoužije.");
    }
    if ((st.st_mode & S_IWOTH) && !(st.st_mode & S_ISVTX)) {
      return Fail("Do složky " + Quoted(at) + " smí zapisovat kdokoli; hra ji nepoužije.");
    }
  }
  return {};
}

Result<void> MakePrivateFolder(const fs::path& folder) {
  if (auto trusted = FolderTrusted(folder); !trusted) return trusted;
  std::error_code ec;
  const fs::path absolute = fs::absolute(folder, ec);
  fs::path at;
  for (const fs::path& part : absolute) {
    at /= part;
    // A folder already there may answer other than EEXIST (the root, in a page's storage).
    if (mkdir(at.c_str(), 0700) != 0 && errno != EEXIST && !fs::is_directory(at, ec)) {
      return Fail(Failed("Složku nelze vytvořit:", at, errno));
    }
  }
  // Made by someone else between the check and the mkdir: the check says so now.
  return FolderTrusted(folder);
}

Result<void> WriteWhole(const fs::path& file, std::string_view content, Existing existing) {
  // An end forced by a signal lets this write finish (a while), not cut it off half-way.
  const WritingFile writing;
  // Mended: a file reached through a symbolic link was replaced by a regular file, so that the
  // link was gone and the file it led to kept its old content. The link's own file is written
  // instead, as text editors do; the link stays as it was.
  std::string problem;
  struct stat at {};
  if (existing == Existing::ReplaceOwn && lstat(file.c_str(), &at) == 0 && S_ISLNK(at.st_mode)) {
    return Fail("Soubor " + Quoted(file) +
                " je odkaz jinam; hra ve svých složkách odkazy nenásleduje a nepřepíše ho. "
                "Odkaz odstraň nebo přesuň.");
  }
  const fs::path target = existing == Existing::Replace ? WriteTarget(file, problem) : file;
  if (!problem.empty()) return Fail(problem);
  if (lstat(target.c_str(), &at) == 0 && !S_ISREG(at.st_mode) && !S_ISLNK(at.st_mode)) {
    return Fail("Soubor " + Quoted(target) +
                " není obyčejný soubor, ale složka, zařízení nebo roura; hra ho nepřepíše.");
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  // A short name of our own, whatever the length of file's name; mkstemp creates it exclusively,
  // so a link or a file someone placed there is never written through.
  std::string name = (folder / ".quarn-XXXXXX").string();
  const Descriptor fd(mkostemp(name.data(), O_CLOEXEC));
  if (fd.Get() < 0) return Fail(Failed("Do složky nelze zapsat:", folder, errno));
  const fs::path temporary = name;
  auto fail = [&](int error) {
    unlink(temporary.c_str());
    return Fail(Failed("Soubor nelze uložit:", file, error));
  };
  // A new file is the player's alone; a file written again keeps the permissions it had.
  struct stat old {};
  if (lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) && old.st_uid == geteuid()) {
    fchmod(fd.Get(), old.st_mode & 0777);
  }
  if (!WriteAll(fd.Get(), content)) return fail(errno);
  if (fsync(fd.Get()) != 0) return fail(errno);
  if (const int error = Rename(temporary, target, existing == Existing::Keep)) return fail(error);
  SyncFolder(folder);
  // In a browser the page's storage is written out here, after each whole file.
  StorageChanged();
  return {};
}

namespace {

// Reads a regular file from its start: all of it, or with whole false at most maxBytes of it.
Result<std::string> ReadStart(const fs::path& file, size_t maxBytes, bool whole) {
  // Without blocking: a pipe put in place of the file must not stop the game.
  const Descriptor fd(open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.Get() < 0) return Fail(Failed("Soubor nelze otevřít:", file, errno));
  struct stat st {};
  if (fstat(fd.Get(), &st) != 0) return Fail(Failed("Soubor nelze otevřít:", file, errno));
  if (!S_ISREG(st.st_mode)) {
    return Fail("Soubor " + Quoted(file) +
                " není obyčejný soubor, ale složka, zařízení nebo roura.");
  }
  if (whole && static_cast<unsigned long long>(st.st_size) > maxBytes) {
    return Fail("Soubor " + Quoted(file) + " je příliš velký.");
  }
  std::string content;
  char buffer[65536];
  while (true) {
    const size_t want = whole ? sizeof buffer : std::min(sizeof buffer, maxBytes - content.size());
    if (want == 0) break;
    const ssize_t n = read(fd.Get(), buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(Failed("Soubor nelze přečíst:", file, errno));
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
    if (whole && content.size() > maxBytes) {
      return Fail("Soubor " + Quoted(file) + " je příliš velký.");
    }
  }
  return content;
}

}  // namespace

void RemoveWritten(const std::vector<fs::path>& files) {
  if (files.empty()) return;
  for (const fs::path& file : files) unlink(file.c_str());
  SyncFolder(files.front().has_parent_path() ? files.front().parent_path() : fs::path("."));
  StorageChanged();
}

Result<std::string> ReadWhole(const fs::path& file, size_t maxBytes) {
  return ReadStart(file, maxBytes, true);
}

Result<std::string> ReadBeginning(const fs::path& file, size_t maxBytes) {
  return ReadStart(file, maxBytes, false);
}

std::string LocalStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &t);
  return text;
}

std::filesystem::path DamagedName(const std::filesystem::path& file) {
  const std::string stamp = LocalStamp();
  std::filesystem::path aside = file;
  aside += ".damaged-" + stamp;
  std::error_code error;
  for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(aside, error)); ++n) {
    aside = file;
    aside += ".damaged-" + stamp + "-" + std::to_string(n);
  }
  return aside;
}

}  // namespace quarn::system
