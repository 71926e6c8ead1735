// Launch.h — starting other programs: the browser or mail program for a link, the text editor
// for a zone. Quarn never waits for them and never hears how they end.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarn::system {

// Starts argv[0] (looked up on PATH) with the arguments argv[1..] as they are, no shell between.
// The program gets /dev/null for its standard streams, none of Quarn's other descriptors, a
// session of its own, and is reaped by the system, not by Quarn. False when it could not be
// started (not found, not executable, no process to be had).
bool StartDetached(const std::vector<std::string>& argv);

// Opens a web or mail link with the player's default program (xdg-open); the outcome is ignored.
void OpenLink(const std::string& link);

// The file to open when the player asks to edit zone: the zone itself when the player may write
// it, else its copy in userZones (made now; a copy already there is used as it is). nullopt, with
// a Czech sentence for the player in czechError, when the copy cannot be made.
std::optional<std::filesystem::path> EditableZone(const std::filesystem::path& zone,
                                                  const std::filesystem::path& userZones,
                                                  std::string& czechError);

// The copy step of EditableZone on its own, whatever the zone's permissions.
std::optional<std::filesystem::path> CopyForEditing(const std::filesystem::path& zone,
                                                    const std::filesystem::path& userZones,
                                                    std::string& czechError);

// Opens file in the player's text editor (xdg-open with the path as one argument); false when
// nothing could be started.
bool OpenInEditor(const std::filesystem::path& file);

}  // namespace quarn::system
