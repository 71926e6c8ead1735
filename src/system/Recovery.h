// Recovery.h — the zone editor's recovery copies: a zone with unsaved changes is kept a few
// seconds after its last change (and at once when a signal ends the program) in
// $XDG_STATE_HOME/quarn/recovery, so that a signal, a crash or a power cut takes no more than
// those seconds of the author's work. A copy goes when its zone is saved or its changes thrown
// away; the next opening of the zone offers it back.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace quarn::system {

// The recovery folder in the state folder.
std::filesystem::path RecoveryFolder(const std::filesystem::path& stateFolder);

// The recovery copy of zone (an empty path: a new zone without a file yet) in folder: the zone's
// file name, shortened, and a key of its absolute path, so that two zones of one name do not
// share a copy and a name of 255 bytes still leaves room.
std::filesystem::path RecoveryFile(const std::filesystem::path& folder,
                                   const std::filesystem::path& zone);

// Writes text as zone's recovery copy, whole (system::WriteWhole), in folder made private when
// missing. It fails with a Czech sentence saying why not.
Result<void> KeepRecovery(const std::filesystem::path& folder, const std::filesystem::path& zone,
                          std::string_view text);

// Removes zone's recovery copy, if there is one.
void DropRecovery(const std::filesystem::path& folder, const std::filesystem::path& zone);

struct Recovered {
  std::filesystem::path File;
  std::string Text;
  std::string When;  // local time the copy was kept, "9. 12. 2026 6:05"
};

// Zone's recovery copy, when there is one (a folder refused as not the player's own is not
// read).
std::optional<Recovered> FindRecovery(const std::filesystem::path& folder,
                                      const std::filesystem::path& zone);

// How many new zones (without a file yet) may be edited at once, each with a copy of its own.
inline constexpr int NewZoneCopies = 8;

// A running editor's hold on the recovery copy of the zone it edits, so that two editors never
// share one: a second editor of the same file finds the copy taken (Busy) and touches nothing of
// it, neither offering another editor's live work as left behind nor dropping it. The hold is a
// locked file beside the copy, let go (and removed) when the claim ends or its program does; a
// program killed leaves the copy to be offered by the next editor. A new zone takes the first of
// NewZoneCopies copies no editor holds, one left behind first.
class RecoveryClaim {
 public:
  RecoveryClaim() = default;
  ~RecoveryClaim();
  RecoveryClaim(RecoveryClaim&& other) noexcept;
  RecoveryClaim& operator=(RecoveryClaim&& other) noexcept;
  RecoveryClaim(const RecoveryClaim&) = delete;
  RecoveryClaim& operator=(const RecoveryClaim&) = delete;

  // Claims zone's copy in folder (an empty path: a new zone). Where no lock can be made (a folder
  // that cannot be written) the claim still names the copy, and keeping it fails as it would.
  static RecoveryClaim Take(const std::filesystem::path& folder, const std::filesystem::path& zone);

  // Another running editor holds the copy.
  bool Busy() const { return busy_; }
  // The claim is of zone's copy in folder (any new zone's copy for an empty path).
  bool Covers(const std::filesystem::path& folder, const std::filesystem::path& zone) const;
  // The copy claimed; empty when Busy or when nothing is claimed.
  const std::filesystem::path& File() const { return file_; }

  // KeepRecovery, FindRecovery and DropRecovery on the claimed copy; a Busy claim keeps nothing
  // (and says why), finds nothing and drops nothing.
  Result<void> Keep(std::string_view text) const;
  std::optional<Recovered> Find() const;
  void Drop() const;

 private:
  void Release();

  std::filesystem::path folder_;
  std::filesystem::path file_;
  std::filesystem::path lock_;
  int fd_ = -1;
  bool busy_ = false;
  bool newZone_ = false;
};

}  // namespace quarn::system
