// Recovery.cpp — naming, keeping, finding and dropping the zone editor's recovery copies.
#include "Recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>
#include <system_error>
#include <utility>

#include "FileStamp.h"
#include "SafeFile.h"

namespace quarn::system {

namespace {

namespace fs = std::filesystem;

// Letters, digits and a few marks of the zone's name, at most 40 of them: enough to tell the
// copy apart in a listing, short enough for any file system.
std::string ShortName(const fs::path& zone) {
  std::string out;
  for (const char c : zone.stem().string()) {
    if (out.size() >= 40) break;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.';
    out += plain ? c : '_';
  }
  return out.empty() ? "nova-zona" : out;
}

// The copy of the slot-th new zone: the first is the one a single new zone has always had.
fs::path NewZoneFile(const fs::path& folder, int slot) {
  fs::path first = RecoveryFile(folder, {});
  if (slot == 0) return first;
  return folder / (first.stem().string() + "-" + std::to_string(slot + 1) + ".qrn");
}

fs::path LockFileOf(const fs::path& copy) {
  fs::path lock = copy;
  lock.replace_extension(".claim");
  return lock;
}

enum class Locked { Held, Busy, NoLock };

// Locks the file lock (made when missing) without waiting. The holder before may have removed
// it as it let go, and a lock on a removed file holds nothing: the file locked must still be the
// one of that name.
Locked LockWithoutWaiting(const fs::path& lock, int& fd) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) return Locked::NoLock;
    struct stat held {}, named {};
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
      ::close(fd);
      fd = -1;
      return Locked::NoLock;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool busy = errno == EWOULDBLOCK;
      ::close(fd);
      fd = -1;
      return busy ? Locked::Busy : Locked::NoLock;
    }
    if (::lstat(lock.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      return Locked::Held;
    }
    ::close(fd);
    fd = -1;
  }
  return Locked::NoLock;
}

Result<void> KeepCopy(const fs::path& folder, const fs::path& copy, std::string_view text) {
  if (auto made = MakePrivateFolder(folder); !made) return made;
  return WriteWhole(copy, text, Existing::ReplaceOwn);
}

void DropCopy(const fs::path& folder, const fs::path& copy) {
  if (folder.empty() || copy.empty() || !FolderTrusted(folder)) return;
  std::error_code ec;
  fs::remove(copy, ec);
}

std::optional<Recovered> FindCopy(const fs::path& folder, const fs::path& copy) {
  if (folder.empty() || copy.empty() || !FolderTrusted(folder)) return std::nullopt;
  Recovered found;
  found.File = copy;
  struct stat st {};
  if (lstat(found.File.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  auto read = ReadWhole(found.File);
  if (!read) return std::nullopt;
  found.Text = std::move(read).Value();
  std::tm local{};
  const std::time_t when = st.st_mtim.tv_sec;
  localtime_r(&when, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%d. %d. %d %d:%02d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min);
  found.When = text;
  return found;
}

}  // namespace

fs::path RecoveryFolder(const fs::path& stateFolder) { return stateFolder / "recovery"; }

fs::path RecoveryFile(const fs::path& folder, const fs::path& zone) {
  std::error_code ec;
  // Keyed by the file itself: a zone opened through a link and by its own path has one copy.
  fs::path absolute = zone.empty() ? fs::path() : fs::weakly_canonical(fs::absolute(zone, ec), ec);
  if (ec && !zone.empty()) absolute = fs::absolute(zone, ec).lexically_normal();
  char key[17];
  std::snprintf(key, sizeof key, "%016llx",
                static_cast<unsigned long long>(BytesKey(absolute.string())));
  return folder / (ShortName(absolute.empty() ? zone : absolute) + "-" + key + ".qrn");
}

Result<void> KeepRecovery(const fs::path& folder, const fs::path& zone, std::string_view text) {
  return KeepCopy(folder, RecoveryFile(folder, zone), text);
}

void DropRecovery(const fs::path& folder, const fs::path& zone) {
  DropCopy(folder, RecoveryFile(folder, zone));
}

std::optional<Recovered> FindRecovery(const fs::path& folder, const fs::path& zone) {
  return FindCopy(folder, RecoveryFile(folder, zone));
}

RecoveryClaim RecoveryClaim::Take(const fs::path& folder, const fs::path& zone) {
  RecoveryClaim claim;
  claim.folder_ = folder;
  claim.newZone_ = zone.empty();
  const bool lockable = !folder.empty() && MakePrivateFolder(folder);
  if (!claim.newZone_) {
    claim.file_ = RecoveryFile(folder, zone);
    if (!lockable) return claim;
    const Locked locked = LockWithoutWaiting(LockFileOf(claim.file_), claim.fd_);
    if (locked == Locked::Busy) {
      claim.busy_ = true;
      claim.file_.clear();
    } else if (locked == Locked::Held) {
      claim.lock_ = LockFileOf(claim.file_);
    }
    return claim;
  }
  if (!lockable) {
    claim.file_ = NewZoneFile(folder, 0);
    return claim;
  }
  // A copy left behind by an editor that ended without saving is offered first.
  for (const bool leftBehind : {true, false}) {
    for (int slot = 0; slot < NewZoneCopies; ++slot) {
      const fs::path copy = NewZoneFile(folder, slot);
      std::error_code ec;
      if (leftBehind && !fs::is_regular_file(fs::symlink_status(copy, ec))) continue;
      const Locked locked = LockWithoutWaiting(LockFileOf(copy), claim.fd_);
      if (locked == Locked::Busy) continue;
      claim.file_ = copy;
      if (locked == Locked::Held) claim.lock_ = LockFileOf(copy);
      return claim;
    }
  }
  claim.busy_ = true;
  return claim;
}

RecoveryClaim::~RecoveryClaim() { Release(); }

RecoveryClaim::RecoveryClaim(RecoveryClaim&& other) noexcept { *this = std::move(other); }

RecoveryClaim& RecoveryClaim::operator=(RecoveryClaim&& other) noexcept {
  if (this == &other) return *this;
  Release();
  folder_ = std::move(other.folder_);
  file_ = std::move(other.file_);
  lock_ = std::move(other.lock_);
  fd_ = std::exchange(other.fd_, -1);
  busy_ = std::exchange(other.busy_, false);
  newZone_ = std::exchange(other.newZone_, false);
  other.folder_.clear();
  other.file_.clear();
  other.lock_.clear();
  return *this;
}

void RecoveryClaim::Release() {
  if (fd_ >= 0) {
    // Removed while still locked: whoever opens the name next makes a fresh file and locks it.
    ::unlink(lock_.c_str());
    ::close(fd_);
    fd_ = -1;
  }
  lock_.clear();
}

bool RecoveryClaim::Covers(const fs::path& folder, const fs::path& zone) const {
  if (busy_ || file_.empty() || folder != folder_) return false;
  return zone.empty() ? newZone_ : !newZone_ && RecoveryFile(folder, zone) == file_;
}

Result<void> RecoveryClaim::Keep(std::string_view text) const {
  if (busy_ && newZone_) {
    return Fail("Nové zóny upravuje už " + std::to_string(NewZoneCopies) +
                " jiných editorů Quarnu, víc kopií pro případ pádu se nevede.");
  }
  if (busy_) {
    return Fail("Tutéž zónu upravuje i jiný editor Quarnu, kopie pro případ pádu patří jemu.");
  }
  if (file_.empty()) return Fail("Editor nemá složku pro kopie pro případ pádu.");
  return KeepCopy(folder_, file_, text);
}

std::optional<Recovered> RecoveryClaim::Find() const {
  if (busy_) return std::nullopt;
  return FindCopy(folder_, file_);
}

void RecoveryClaim::Drop() const {
  if (!busy_) DropCopy(folder_, file_);
}

}  // namespace quarn::system
