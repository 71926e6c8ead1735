// ZoneWriter.cpp — writes a zone in its canonical form.
#include "ZoneWriter.h"

#include <algorithm>
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

Result<ZoneSource, ZoneError> ReadZoneSourceText(std::string_view text, const std::string& fileName,
                                                 ZoneLimits limits) {
  auto parsed = ParseZoneText(text, fileName, limits);
  if (!parsed.Ok()) return parsed.Error();
  const ParsedZone& zone = parsed.Value();
  return SourceOf(zone, text.substr(std::min(zone.EndOffset, text.size())));
}

Result<ZoneSource, ZoneError> ReadZoneSource(const std::string& path) {
  auto parsed = ParseZoneFile(path);
  if (!parsed.Ok()) return parsed.Error();
  const ParsedZone& zone = parsed.Value();
  // The loader stops at the last row; the notes are read here, whole, to be kept.
  std::ifstream file(path, std::ios::binary);
  file.seekg(static_cast<std::streamoff>(zone.EndOffset));
  std::ostringstream notes;
  if (file && file.peek() != std::char_traits<char>::eof()) notes << file.rdbuf();
  return SourceOf(zone, notes.str());
}

Result<void> FieldWritable(std::string_view text) {
  if (NeedsQuotes(text) && text.find('"') != std::string_view::npos) {
    return Fail(
        "text s čárkou, zalomením řádku nebo mezerou na začátku nesmí obsahovat uvozovky (\")");
  }
  return {};
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

}  // namespace quarn
