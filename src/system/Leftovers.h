// Leftovers.h — temporary files of our own that a killed game left behind, cleared at the start.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace quarn::system {

// Whether name is one of the game's own temporary names: ".quarn-XXXXXX" (the whole-file
// writer) or ".NAME.qrn.XXXXXX" (the zone writer), six letters or digits at the end.
bool IsOwnTemporaryName(const std::string& name);

// Removes from folder (not below it) the regular files of the player's with one of the game's
// own temporary names, last changed more than olderThan ago: a write in progress in another game
// takes far less. Returns how many went.
int RemoveStaleTemporaries(const std::filesystem::path& folder,
                           std::chrono::seconds olderThan = std::chrono::seconds(60));

}  // namespace quarn::system
