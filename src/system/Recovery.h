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

}  // namespace quarn::system
