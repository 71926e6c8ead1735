// ZoneTitle.h — a zone's title (its first field) read from the start of its file, for lists.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quarn {

// How much of a zone file is read for its title; a title is a short first line.
inline constexpr size_t ZoneTitleReadLimit = 4096;

// The first field of zone text by the zone field syntax (byte-order mark and blanks before it
// skipped, a quoted field runs to the next quote, otherwise to a comma or a line end), converted
// to UTF-8 when it is written in Windows-1250. cut says the text is only the start of a longer
// file, so a field reaching its end may have been cut inside a character.
std::string ZoneTitleOfText(std::string_view text, bool cut = false);

// Whether the start of a file holds bytes no zone text has: NUL and the other control
// characters, tab, line feed, carriage return and the old end-of-file mark (Ctrl+Z) excepted.
bool LooksBinary(std::string_view start);

// The title of a zone file from its first ZoneTitleReadLimit bytes. Nothing when the file cannot
// be read as a regular file (a pipe or device put in its place is not waited on) or is no text
// (LooksBinary). status, when given, receives the status of the file that was read (for its stamp,
// system::StampOf).
std::optional<std::string> ReadZoneTitle(const std::filesystem::path& file,
                                         struct stat* status = nullptr);

}  // namespace quarn
