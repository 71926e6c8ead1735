// SafeFile.h — writing what Quarn keeps for the player so that a crash never leaves half a file.
#pragma once

#include <filesystem>
#include <string>

namespace quarn::system {

// Creates folder and every missing parent with mode 0700 (the player's records are nobody
// else's business). False with a reason when it cannot.
bool MakePrivateFolders(const std::filesystem::path& folder, std::string& error);

// Replaces file with content as a whole: written to a fresh temporary file beside it (created
// exclusively, never following a link), synced, then renamed over file, and the folder synced.
// Readers see the old file or the new one, never a mixture. False with a reason on failure, when
// file is left as it was.
bool WriteWholeFile(const std::filesystem::path& file, const std::string& content,
                    std::string& error);

// The whole content of file. False with a reason when it cannot be read; missing is set when
// the file simply does not exist.
bool ReadWholeFile(const std::filesystem::path& file, std::string& content, std::string& error,
                   bool& missing);

}  // namespace quarn::system
