// Launch.h — starting other programs: the browser or mail program for a link, the text editor
// for a zone. Quarn never waits for them and never hears how they end.
#pragma once

#include <filesystem>
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

// Opens file in the player's text editor (xdg-open with the path as one argument); false when
// nothing could be started.
bool OpenInEditor(const std::filesystem::path& file);

// Only in a browser (web/Launch.cpp): a link to the page with zone's text in it (compressed into the fragment), put on
// the clipboard and shown on the page under title. Opening the link plays that zone; with run
// (a key script, its time said by time: "14,2 s") that run is raced there as the ghost.
void ShareZoneLink(const std::filesystem::path& zone, const std::string& title,
                   const std::filesystem::path& run = {}, const std::string& time = {});
// What the page says of the run of the link it opened with, once the zone plays: "Překonej čas
// 14,2 s." or why it races none.
void TellLinkRun(const std::string& said);
// The same for a zone's text that is in no file yet (the editor's zone as it is now): it goes
// to a temporary file first.
void ShareZoneText(const std::string& zoneText, const std::string& title);

}  // namespace quarn::system
