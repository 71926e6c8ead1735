// Leftovers.cpp — finding and removing stale temporary files of the game's own naming.
#include "Leftovers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <system_error>

namespace quarn::system {

namespace fs = std::filesystem;

namespace {

bool EndsInSixRandom(const std::string& name) {
  if (name.size() < 6) return false;
  for (size_t i = name.size() - 6; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

bool IsOwnTemporaryName(const std::string& name) {
  if (!EndsInSixRandom(name) || name.empty() || name[0] != '.') return false;
  if (name.size() == 13 && name.compare(0, 7, ".quarn-") == 0) return true;
  // ".NAME.qrn.XXXXXX": a zone's own name with at least one character before ".qrn".
  return name.size() >= 13 && name.compare(name.size() - 11, 5, ".qrn.") == 0;
}

int RemoveStaleTemporaries(const fs::path& folder, std::chrono::seconds olderThan) {
  int removed = 0;
  const std::time_t now = std::time(nullptr);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!IsOwnTemporaryName(name)) continue;
    struct stat st {};
    // Only files of the player's own, never through a link.
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid())
      continue;
    if (now - st.st_mtime <= olderThan.count()) continue;
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace quarn::system
