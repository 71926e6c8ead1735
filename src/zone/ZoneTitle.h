// ZoneTitle.h — a zone's title (its first field) read from the start of its file, for lists.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
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

// What tells one version of a file from another without reading it: a file rewritten, touched,
// grown or swapped for another differs in at least one of these.
struct FileStamp {
  uint64_t Device = 0, Inode = 0;
  int64_t Size = -1;
  int64_t ModifiedNs = 0, ChangedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// Whether the start of a file holds bytes no zone text has: NUL and the other control
// characters, tab, line feed, carriage return and the old end-of-file mark (Ctrl+Z) excepted.
bool LooksBinary(std::string_view start);

// The title of a zone file from its first ZoneTitleReadLimit bytes. Nothing when the file cannot
// be read as a regular file (a pipe or device put in its place is not waited on) or is no text
// (LooksBinary). stamp, when given, receives the stamp of the file that was read.
std::optional<std::string> ReadZoneTitle(const std::filesystem::path& file,
                                         FileStamp* stamp = nullptr);

// The stamp of an opened file or of the result of a stat call.
FileStamp StampOf(const struct stat& st);

}  // namespace quarn
