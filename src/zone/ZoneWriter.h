// ZoneWriter.h — the one canonical form of a zone file, written so the loader reads back the same
// zone.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "zone/Zone.h"

namespace quarn {

// A zone as its author wrote it: the header fields, the tile characters of every cell and the
// notes after the last row. Unlike ParsedZone it keeps which character made a cell ("O" or "?",
// "E" or "W"), so writing it changes nothing a player or an author could tell apart.
struct ZoneSource {
  std::string Title = "Nová zóna";
  int Width = 0;
  int Height = 0;
  int PlayerSteps = 10;
  std::array<int, 3> EnemySteps{10, 10, 10};
  std::array<std::string, 3> LaserPatterns;
  std::vector<std::string> Rows;  // Height rows of exactly Width tile characters
  std::string Notes;              // every byte after the last row, kept as it was

  char At(int x, int y) const { return Rows[static_cast<size_t>(y)][static_cast<size_t>(x)]; }
  bool operator==(const ZoneSource&) const = default;
};

// The character a row keeps for what it holds: the tile characters as they are, "." for
// everything the loader reads as floor (blanks, unlisted letters, bytes outside ASCII).
char CanonicalCharacter(char32_t c);
// Whether c is one of the zone's tile characters (".", "S", "W", "E", "O", "?", ...).
bool IsTileCharacter(char c);

// The source of a zone the loader accepted; notes are the bytes of the text after its last row.
ZoneSource SourceOf(const ParsedZone& zone, std::string_view notes);
// Reads a zone file into its source; the loader's error when it refuses the file.
Result<ZoneSource, ZoneError> ReadZoneSource(const std::string& path);
// The same from zone text; fileName is only used in errors.
Result<ZoneSource, ZoneError> ReadZoneSourceText(std::string_view text, const std::string& fileName,
                                                 ZoneLimits limits = ZoneLimits::Game);

// Whether a header text field can be written so that the loader reads it back as it is; the
// failure says why not (a double quote in a field that must be quoted).
Result<void> FieldWritable(std::string_view text);

// The canonical text: UTF-8 without a byte-order mark, LF line ends, one field a line, every row
// at full width, a text field in double quotes only when it must be (a comma, a line break or a
// leading blank), then the notes byte for byte.
std::string WriteZoneText(const ZoneSource& zone);

}  // namespace quarn
