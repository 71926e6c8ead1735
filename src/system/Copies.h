// Copies.h — the player's own copies of zones: which file to edit for a zone, and the one scheme
// that names copies ("a.qrn", then "a (2).qrn", "a (3).qrn", ...) wherever a copy or a new zone
// is made.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace quarn::system {

// The i-th name for a copy of name (i from 1): "a.qrn", then "a (2).qrn", "a (3).qrn", ...
std::filesystem::path CopyName(const std::filesystem::path& name, int i);

// The file to open when the player asks to edit zone. A zone in userZones is opened itself. A
// shipped zone (shippedCopy names its copy: CopyNameOf) is never changed where it ships: its copy
// userZones/shippedCopy is opened (made now, or used as it is when already there). Any other zone
// is opened itself when the player may write it, else the player's own copy of it (OwnCopy). It
// fails with a Czech sentence for the player when no copy can be had. An empty userZones means
// the player has none.
Result<std::filesystem::path> EditableZone(const std::filesystem::path& zone,
                                           const std::optional<std::filesystem::path>& shippedCopy,
                                           const std::filesystem::path& userZones);

// The player's copy of a shipped zone that is already there (userZones/shippedCopy), as
// EditableZone would open it; nothing when the zone is not shipped or has no copy yet.
std::optional<std::filesystem::path> ExistingCopy(
    const std::optional<std::filesystem::path>& shippedCopy,
    const std::filesystem::path& userZones);

// The copy of a shipped zone: userZones/name (the zone's file name unless given), made when
// missing, used as it is when there.
Result<std::filesystem::path> CopyForEditing(const std::filesystem::path& zone,
                                             const std::filesystem::path& userZones,
                                             const std::filesystem::path& name = {});

// A copy of zone in userZones that holds zone's text (see the other OwnCopy).
Result<std::filesystem::path> OwnCopy(const std::filesystem::path& zone,
                                      const std::filesystem::path& userZones);

// Whether a file already holding the very content is taken for the copy.
enum class SameContent { Reuse, NewName };

// A file in userZones (made as a private folder when missing) that holds content, named after
// name by CopyName: the first free name, never written over a file already there (another zone
// may happen to have the name). With SameContent::Reuse a file that holds content already is the
// copy. It fails with a Czech sentence when none could be written.
Result<std::filesystem::path> OwnCopy(const std::filesystem::path& name, std::string_view content,
                                      const std::filesystem::path& userZones,
                                      SameContent same = SameContent::Reuse);

}  // namespace quarn::system
