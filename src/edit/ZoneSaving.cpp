// ZoneSaving.cpp — saving a zone under another name, putting it among the player's zones, and its
// notes.
#include <system_error>

#include "FileChoice.h"
#include "ZoneModel.h"
#include "system/Copies.h"
#include "system/SafeFile.h"

namespace quarn::edit {
namespace fs = std::filesystem;

SaveResult ZoneModel::SaveAs(const fs::path& path, bool overwrite) {
  if (stroke_) EndStroke();
  const fs::path folder = CleanFolder(path.has_parent_path() ? path.parent_path() : ".");
  if (std::string refused = RefusedFolder(path); !refused.empty()) {
    return SaveResult{std::nullopt, false, true, refused};
  }
  if (std::string why = WriteProblem(folder, ChooserLimits{folders_.Refused, folders_.Protected});
      !why.empty()) {
    return SaveResult{std::nullopt, false, true, why};
  }
  const fs::path file = folder / path.filename();
  if (auto written = system::WriteWhole(
          file, Text(), overwrite ? system::Existing::Replace : system::Existing::Keep);
      !written) {
    return SaveResult{std::nullopt, false, true, written.Error().Message};
  }
  return Written(file, false);
}

bool ZoneModel::AmongOwnZones() const {
  std::error_code ec;
  return !path_.empty() && !folders_.Copies.empty() &&
         fs::equivalent(path_.has_parent_path() ? path_.parent_path() : ".", folders_.Copies, ec);
}

SaveResult ZoneModel::PutIntoOwnZones() {
  if (stroke_) EndStroke();
  if (folders_.Copies.empty()) {
    return SaveResult{std::nullopt, true, true,
                      "hra nemá tvou složku zón (nelze ji vytvořit, nebo není jen tvoje)"};
  }
  if (AmongOwnZones()) return SaveResult{path_, false, false, ""};
  fs::path name = path_.empty() ? fs::path(NewZoneName) : path_.filename();
  if (name.extension() != ".qrn") name += ".qrn";
  const auto target = system::OwnCopy(name, Text(), folders_.Copies);
  if (!target) return SaveResult{std::nullopt, true, true, target.Error().Message};
  return Written(*target, true);
}

bool ZoneModel::SetNotes(std::string_view notes) {
  if (notes == zone_.Notes) return false;
  if (stroke_) EndStroke();
  ZoneSource next = zone_;
  next.Notes = std::string(notes);
  ReplaceAsOneStep(std::move(next));
  return true;
}

}  // namespace quarn::edit
