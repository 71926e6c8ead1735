// Recovery.cpp — naming, keeping, finding and dropping the zone editor's recovery copies.
#include "Recovery.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <system_error>

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
  if (auto made = MakePrivateFolder(folder); !made) return made;
  return WriteWhole(RecoveryFile(folder, zone), text, Existing::ReplaceOwn);
}

void DropRecovery(const fs::path& folder, const fs::path& zone) {
  if (folder.empty() || !FolderTrusted(folder)) return;
  std::error_code ec;
  fs::remove(RecoveryFile(folder, zone), ec);
}

std::optional<Recovered> FindRecovery(const fs::path& folder, const fs::path& zone) {
  if (folder.empty() || !FolderTrusted(folder)) return std::nullopt;
  Recovered found;
  found.File = RecoveryFile(folder, zone);
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

}  // namespace quarn::system
