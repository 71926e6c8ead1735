// ZoneTitle.h — a zone's title (its first field) read from the start of its file, for lists.
#pragma once

#include <cstddef>
#include <filesystem>
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

// The title of a zone file from its first ZoneTitleReadLimit bytes; "" when it cannot be read.
std::string ReadZoneTitle(const std::filesystem::path& file);

}  // namespace quarn
