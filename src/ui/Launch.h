// Launch.h — handing links and zone files to the desktop's own programs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quarn::ui {

// Opens a web or mail link with the desktop's default program; the outcome is ignored.
void OpenLink(const std::string& link);
// The file the editor may change for zone: the zone itself when it is writable, else a copy of it
// in userZones. Nothing, with the reason in Czech, when no such file can be had.
std::optional<std::filesystem::path> EditableZone(const std::filesystem::path& zone,
                                                  const std::filesystem::path& userZones,
                                                  std::string& czechError);
// Starts the desktop's editor on file without waiting; false when nothing could be started.
bool OpenInEditor(const std::filesystem::path& file);

}  // namespace quarn::ui
