// Copies.cpp — which file is edited for a zone, and copies named by one scheme.
#include "Copies.h"

#include <unistd.h>

#include <system_error>

#include "SafeFile.h"
#include "base/Text.h"

namespace quarn::system {

namespace {

namespace fs = std::filesystem;

std::string CopyFailed(const fs::path& zone, const fs::path& userZones, const std::string& why) {
  return "Zónu " + ShowControls(zone.filename().string()) +
         " nelze měnit na jejím místě a její kopii se nepodařilo uložit do složky " +
         ShowControls(userZones.string()) + ".\n" + why;
}

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return !a.empty() && !b.empty() && fs::equivalent(a, b, ec);
}

fs::path FolderOf(const fs::path& zone) {
  return zone.parent_path().empty() ? fs::path(".") : zone.parent_path();
}

}  // namespace

fs::path CopyName(const fs::path& name, int i) {
  if (i <= 1) return name.filename();
  return name.stem().string() + " (" + std::to_string(i) + ")" + name.extension().string();
}

Result<fs::path> EditableZone(const fs::path& zone, const std::optional<fs::path>& shippedCopy,
                              const fs::path& userZones) {
  const fs::path folder = FolderOf(zone);
  if (SameFolder(folder, userZones)) return zone;
  // Mended: a shipped zone is never changed where it ships, even when the player may write there
  // (a build tree): the next build or update would put the shipped zone back over the changes.
  if (shippedCopy) return CopyForEditing(zone, userZones, *shippedCopy);
  if (access(zone.c_str(), W_OK) == 0) return zone;
  return OwnCopy(zone, userZones);
}

std::optional<fs::path> ExistingCopy(const std::optional<fs::path>& shippedCopy,
                                     const fs::path& userZones) {
  if (userZones.empty() || !shippedCopy) return std::nullopt;
  const fs::path copy = userZones / *shippedCopy;
  std::error_code ec;
  if (!fs::is_regular_file(copy, ec)) return std::nullopt;
  return copy;
}

Result<fs::path> CopyForEditing(const fs::path& zone, const fs::path& userZones,
                                const fs::path& name) {
  if (userZones.empty()) {
    return Fail(CopyFailed(zone, userZones, "Hra nemá žádnou tvou složku zón, kam by ji uložila."));
  }
  const fs::path target = userZones / (name.empty() ? zone.filename() : name.filename());
  std::error_code ec;
  if (fs::is_regular_file(target, ec)) return target;
  if (fs::exists(fs::symlink_status(target, ec))) {
    return Fail(CopyFailed(zone, userZones, "V té složce už je něco jiného toho jména."));
  }
  if (auto made = MakePrivateFolder(userZones); !made) {
    return Fail(CopyFailed(zone, userZones, made.Error().Message));
  }
  const auto content = ReadWhole(zone);
  if (!content) return Fail(CopyFailed(zone, userZones, content.Error().Message));
  // The copy is written whole under a temporary name and only then named *.qrn, so the zone
  // list, read again every second, never shows half a copy.
  if (auto written = WriteWhole(target, *content, Existing::Keep); !written) {
    return Fail(CopyFailed(zone, userZones, written.Error().Message));
  }
  return target;
}

Result<fs::path> OwnCopy(const fs::path& zone, const fs::path& userZones) {
  if (userZones.empty()) return CopyForEditing(zone, userZones);
  const auto content = ReadWhole(zone);
  if (!content) return Fail(CopyFailed(zone, userZones, content.Error().Message));
  return OwnCopy(zone, *content, userZones);
}

Result<fs::path> OwnCopy(const fs::path& name, std::string_view content, const fs::path& userZones,
                         SameContent same) {
  if (userZones.empty()) {
    return Fail(CopyFailed(name, userZones, "Hra nemá žádnou tvou složku zón, kam by ji uložila."));
  }
  std::string why = MessageOf(MakePrivateFolder(userZones));
  // Mended: a zone of the player's own with the same file name is not this zone's copy; only a
  // file with the very same text is taken for one, any other name gets a number.
  for (int i = 1; why.empty() && i <= 99; ++i) {
    const fs::path target = userZones / CopyName(name, i);
    std::error_code ec;
    // Twice at most: a name taken between the look and the write (another game copying the same
    // zone at that moment) is looked at again, so that its copy is found rather than made twice.
    for (int look = 0; look < 2; ++look) {
      if (fs::exists(fs::symlink_status(target, ec))) {
        if (same == SameContent::Reuse && fs::is_regular_file(fs::symlink_status(target, ec))) {
          const auto there = ReadWhole(target);
          if (there && *there == content) return target;
        }
        break;
      }
      why = MessageOf(WriteWhole(target, content, Existing::Keep));
      if (why.empty()) return target;
      if (!fs::exists(fs::symlink_status(target, ec))) break;
      why.clear();
    }
  }
  if (why.empty()) why = "Všechna jména pro kopii jsou obsazená.";
  return Fail(CopyFailed(name, userZones, why));
}

}  // namespace quarn::system
