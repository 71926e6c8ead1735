// ZoneWriter.cpp — writes a zone in its canonical form and saves files so a crash never halves
// them.
#include "ZoneWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quarn {
namespace {

constexpr std::string_view TileCharacters = ".SWEO?QRCDKB+-*abcT";

// Whether the loader would read text back unchanged only from a quoted field: a comma or line
// break would end an unquoted one, a leading blank would be skipped, a leading quote would open
// one, and a byte-order mark at the start of the file (the title's place) would be taken for the
// file's.
bool NeedsQuotes(std::string_view text) {
  if (text.find_first_of(",\r\n") != std::string_view::npos) return true;
  if (text.starts_with("\xEF\xBB\xBF")) return true;
  return !text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '"');
}

void PutField(std::ostringstream& out, std::string_view text) {
  if (NeedsQuotes(text)) {
    out << '"' << text << "\"\n";
  } else {
    out << text << '\n';
  }
}

std::string SystemError(const std::string& what, int error) {
  return what + " (" + std::strerror(error) + ")";
}

}  // namespace

bool IsTileCharacter(char c) { return c != 0 && TileCharacters.find(c) != std::string_view::npos; }

char CanonicalCharacter(char32_t c) {
  if (c >= 0x80) return '.';
  const char ascii = static_cast<char>(c);
  return IsTileCharacter(ascii) ? ascii : '.';
}

ZoneSource SourceOf(const ParsedZone& zone, std::string_view notes) {
  ZoneSource source;
  source.Title = zone.Title;
  source.Width = zone.Width;
  source.Height = zone.Height;
  source.PlayerSteps = zone.PlayerSteps;
  source.EnemySteps = zone.EnemySteps;
  source.LaserPatterns = zone.LaserPatterns;
  source.Rows = zone.Rows;
  source.Notes = std::string(notes);
  return source;
}

std::variant<ZoneSource, ZoneError> ReadZoneSourceText(std::string_view text,
                                                       const std::string& fileName) {
  auto parsed = ParseZoneText(text, fileName);
  if (auto* error = std::get_if<ZoneError>(&parsed)) return *error;
  const ParsedZone& zone = std::get<ParsedZone>(parsed);
  return SourceOf(zone, text.substr(std::min(zone.EndOffset, text.size())));
}

std::variant<ZoneSource, ZoneError> ReadZoneSource(const std::string& path) {
  auto parsed = ParseZoneFile(path);
  if (auto* error = std::get_if<ZoneError>(&parsed)) return *error;
  const ParsedZone& zone = std::get<ParsedZone>(parsed);
  // The loader stops at the last row; the notes are read here, whole, to be kept.
  std::ifstream file(path, std::ios::binary);
  file.seekg(static_cast<std::streamoff>(zone.EndOffset));
  std::ostringstream notes;
  if (file && file.peek() != std::char_traits<char>::eof()) notes << file.rdbuf();
  return SourceOf(zone, notes.str());
}

std::optional<std::string> UnwritableField(std::string_view text) {
  if (NeedsQuotes(text) && text.find('"') != std::string_view::npos) {
    return "text s čárkou, zalomením řádku nebo mezerou na začátku nesmí obsahovat uvozovky (\")";
  }
  return std::nullopt;
}

std::string WriteZoneText(const ZoneSource& zone) {
  std::ostringstream out;
  PutField(out, zone.Title);
  out << zone.Width << '\n' << zone.Height << '\n' << zone.PlayerSteps << '\n';
  for (int steps : zone.EnemySteps) out << steps << '\n';
  for (const std::string& pattern : zone.LaserPatterns) PutField(out, pattern);
  for (int y = 0; y < zone.Height; ++y) {
    std::string row =
        y < static_cast<int>(zone.Rows.size()) ? zone.Rows[static_cast<size_t>(y)] : "";
    row.resize(static_cast<size_t>(zone.Width), '.');
    for (char& c : row) c = CanonicalCharacter(static_cast<unsigned char>(c));
    out << row << '\n';
  }
  out << zone.Notes;
  return out.str();
}

std::optional<std::string> WriteFileSafely(const std::string& path, std::string_view text) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temp.data());  // O_CREAT | O_EXCL: never someone else's file
  if (fd < 0)
    return SystemError("nelze vytvořit dočasný soubor ve složce " + folder.string(), errno);

  // A new file gets the usual permissions, an existing one keeps its own.
  struct stat old {};
  const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  fchmod(fd, mode);

  auto fail = [&](const std::string& what) {
    const int error = errno;
    close(fd);
    unlink(temp.c_str());
    return SystemError(what, error);
  };
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("nelze zapsat " + temp);
    }
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0) return fail("nelze uložit na disk " + temp);
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    return SystemError("nelze zavřít " + temp, error);
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    return SystemError("nelze přejmenovat dočasný soubor na " + path, error);
  }
  // The rename itself reaches the disk only with the folder.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return std::nullopt;
}

}  // namespace quarn
