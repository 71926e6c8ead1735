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

// Opens a web or mail link with the player's default program (xdg-open); false when no program
// could be started for it. How the program fares with the link is not known.
bool OpenLink(const std::string& link);

// The file to open when the player asks to edit zone. A zone in userZones is opened itself. A
// zone of shippedZones is never changed where it ships: its copy in userZones is opened (made
// now, or used as it is when already there). Any other zone is opened itself when the player may
// write it, else the player's own copy of it (OwnCopy). nullopt, with a Czech sentence for the
// player in czechError, when no copy can be had. An empty userZones means the player has none.
std::optional<std::filesystem::path> EditableZone(const std::filesystem::path& zone,
                                                  const std::filesystem::path& shippedZones,
                                                  const std::filesystem::path& userZones,
                                                  std::string& czechError);

// The copy of a shipped zone: userZones/<its file name>, made when missing, used as it is when
// there.
std::optional<std::filesystem::path> CopyForEditing(const std::filesystem::path& zone,
                                                    const std::filesystem::path& userZones,
                                                    std::string& czechError);

// A copy of zone in userZones that holds zone's text: under its file name when that is free, else
// numbered ("a (2).qrn"); an earlier copy with the same text is used again. Never another zone
// that happens to have the same name.
std::optional<std::filesystem::path> OwnCopy(const std::filesystem::path& zone,
                                             const std::filesystem::path& userZones,
                                             std::string& czechError);

// Opens file in the player's text editor (xdg-open with the path as one argument); false when
// nothing could be started.
bool OpenInEditor(const std::filesystem::path& file);

}  // namespace quarn::system
