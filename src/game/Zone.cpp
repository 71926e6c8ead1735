// Zone.cpp — reads a zone file into a ParsedZone: field syntax, header limits, the tile characters.
#include "Zone.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Text.h"

namespace quarn {
namespace {

struct Field {
  std::string Text;
  int Line = 0;
  bool Unclosed = false;  // began with a double quote that no other quote closes
};

// Splits zone text into fields. A field ends at a comma or a line end; blanks before a field are
// skipped; a field that begins with a double quote runs to the next double quote and may hold
// commas (what follows the closing quote up to the comma or line end is dropped).
std::vector<Field> SplitFields(std::string_view text) {
  std::vector<Field> fields;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int line = 1;
  size_t i = 0;
  const size_t n = text.size();
  auto atLineEnd = [&](size_t k) { return k >= n || text[k] == '\n' || text[k] == '\r'; };
  while (i < n) {
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    Field field{{}, line, false};
    if (i < n && text[i] == '"') {
      const size_t close = text.find('"', i + 1);
      const size_t end = close == std::string_view::npos ? n : close;
      field.Unclosed = close == std::string_view::npos;
      field.Text = std::string(text.substr(i + 1, end - i - 1));
      for (char c : field.Text) line += c == '\n' ? 1 : 0;
      i = close == std::string_view::npos ? n : close + 1;
      while (!atLineEnd(i) && text[i] != ',') ++i;
    } else {
      const size_t start = i;
      while (!atLineEnd(i) && text[i] != ',') ++i;
      field.Text = std::string(text.substr(start, i - start));
    }
    fields.push_back(std::move(field));
    if (i >= n) break;
    if (text[i] == ',') {
      ++i;
      // A comma that ends a line does not start another field on that line.
      if (atLineEnd(i) && i < n) {
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        ++i;
        ++line;
      }
    } else {
      if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      ++i;
      ++line;
    }
  }
  return fields;
}

class Reader {
 public:
  Reader(std::vector<Field> fields, const std::string& fileName)
      : fields_(std::move(fields)), file_(fileName) {}

  bool AtEnd() const { return next_ >= fields_.size(); }
  const Field& Take() { return fields_[next_++]; }
  int LastLine() const { return fields_.empty() ? 1 : fields_.back().Line; }
  int LineOfPrevious() const { return next_ == 0 ? 1 : fields_[next_ - 1].Line; }

  // Why the file ended early, when an unclosed double quote swallowed the rest of it.
  std::string EndHint() const {
    if (fields_.empty() || !fields_.back().Unclosed) return "";
    return " (the double quote that opens line " + std::to_string(fields_.back().Line) +
           " is never closed)";
  }

  ZoneError Error(int line, std::string field, std::string message) const {
    return ZoneError{file_, line, std::move(field), std::move(message)};
  }

  // Reads a whole number in [min, max]; the name is the field's name for a zone author.
  std::optional<ZoneError> Number(const char* name, long min, long max, int& out) {
    if (AtEnd()) {
      return Error(LastLine(), name, std::string("the file ends before the ") + name + EndHint());
    }
    const Field& f = Take();
    std::string_view t = f.Text;
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    long value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec == std::errc::invalid_argument || end != t.data() + t.size()) {
      return Error(f.Line, name, std::string("the ") + name + " must be a whole number, not '" +
                                     f.Text + "'");
    }
    if (ec == std::errc::result_out_of_range || value < min || value > max) {
      std::ostringstream msg;
      msg << "the " << name << " must be ";
      if (min == -Unbounded && max == Unbounded) {
        msg << "between " << -Unbounded << " and " << Unbounded;
      } else if (max == Unbounded) {
        msg << "at least " << min;
      } else {
        msg << "from " << min << " to " << max;
      }
      msg << ", not " << f.Text;
      return Error(f.Line, name, msg.str());
    }
    out = static_cast<int>(value);
    return std::nullopt;
  }

  static constexpr long Unbounded = 1L << 30;

 private:
  std::vector<Field> fields_;
  size_t next_ = 0;
  std::string file_;
};

constexpr long MaxPlayerSteps = 10000;  // 20 seconds a cell at the fastest tick

constexpr const char* EnemyStepNames[3] = {"steps of enemy kind 1 (+)", "steps of enemy kind 2 (-)",
                                           "steps of enemy kind 3 (*)"};
constexpr const char* PatternNames[3] = {"laser pattern a", "laser pattern b", "laser pattern c"};

}  // namespace

std::string ZoneError::Describe() const {
  std::ostringstream out;
  out << File;
  if (Line > 0) out << ':' << Line;
  out << ": " << Message;
  return out.str();
}

int16_t CodeOfCharacter(char c, const std::array<std::string, 3>& laserPatterns) {
  switch (c) {
    case 'S': return tile::Start;
    case 'W': case 'E': return tile::Wall;
    case 'O': case '?': return tile::AirDoor;
    case 'Q': return tile::SlamDoor;
    case 'R': return tile::HotPotato;
    case 'C': return tile::Target;
    case 'D': return tile::LockedDoor;
    case 'K': return tile::Key;
    case 'B': return tile::Boxes;
    case '+': return tile::Enemy1;
    case '-': return tile::Enemy2;
    case '*': return tile::Enemy3;
    case 'T': return tile::Time;
    case 'a': case 'b': case 'c': {
      const int g = c - 'a';
      // A door starts active only when its pattern begins with "0"; an empty pattern leaves it open.
      const bool active = !laserPatterns[g].empty() && laserPatterns[g][0] == '0';
      return static_cast<int16_t>((active ? tile::LaserA : tile::LaserOpenA) + g);
    }
    default: return tile::Space;
  }
}

std::variant<ParsedZone, ZoneError> ParseZoneText(std::string_view text, const std::string& fileName) {
  Reader in(SplitFields(text), fileName);
  ParsedZone zone;

  if (in.AtEnd()) return in.Error(1, "title", "the file is empty; a zone starts with its title");
  zone.Title = ToUtf8(in.Take().Text);
  if (auto e = in.Number("width", 1, MaxBoardWidth, zone.Width)) return *e;
  if (auto e = in.Number("height", 1, MaxBoardHeight, zone.Height)) return *e;
  // The upper bound keeps every fine position of the player far inside an int.
  if (auto e = in.Number("player steps", 1, MaxPlayerSteps, zone.PlayerSteps)) return *e;
  std::array<int, 3> stepLines{};
  for (int k = 0; k < 3; ++k) {
    // Any whole number is read here; steps below 1 are refused only for kinds the zone uses.
    if (auto e = in.Number(EnemyStepNames[k], -Reader::Unbounded, Reader::Unbounded,
                           zone.EnemySteps[k])) {
      return *e;
    }
    stepLines[k] = in.LineOfPrevious();
  }
  for (int g = 0; g < 3; ++g) {
    if (in.AtEnd()) {
      return in.Error(in.LastLine(), PatternNames[g],
                      std::string("the file ends before the ") + PatternNames[g] + in.EndHint());
    }
    zone.LaserPatterns[g] = in.Take().Text;
  }

  zone.Codes.assign(static_cast<size_t>(zone.Width * zone.Height), 0);
  for (int y = 0; y < zone.Height; ++y) {
    if (in.AtEnd()) {
      std::ostringstream msg;
      msg << "the file ends before row " << y + 1 << "; the header promises " << zone.Height
          << " rows" << in.EndHint();
      return in.Error(in.LastLine(), "row " + std::to_string(y + 1), msg.str());
    }
    const Field& row = in.Take();
    const std::vector<char32_t> chars = CodePoints(row.Text);
    for (int x = 0; x < zone.Width && x < static_cast<int>(chars.size()); ++x) {
      const char32_t cp = chars[static_cast<size_t>(x)];
      if (cp >= 0x80) continue;  // no tile character lies outside ASCII
      const char c = static_cast<char>(cp);
      const int16_t code = CodeOfCharacter(c, zone.LaserPatterns);
      zone.Codes[static_cast<size_t>(y * zone.Width + x)] = code;
      if (c == 'S') zone.Start = std::make_pair(x, y);
      if (c == 'E') zone.Exit = std::make_pair(x, y);
      if (c == 'R') ++zone.Potatoes;
      if (code >= tile::Enemy1 && code <= tile::Enemy3) {
        const int kind = code - 12;
        if (zone.Enemies.size() >= static_cast<size_t>(MaxEnemies)) {
          return in.Error(row.Line, "row " + std::to_string(y + 1),
                          "row " + std::to_string(y + 1) + " holds enemy number 102 (column " +
                              std::to_string(x + 1) + "); a zone holds at most 101 enemies");
        }
        // Mended: a kind the zone uses needs at least one step per cell; with fewer, its fine
        // position would be divided by zero.
        const int steps = zone.EnemySteps[kind - 1];
        if (steps < 1) {
          return in.Error(stepLines[kind - 1], EnemyStepNames[kind - 1],
                          std::string("the ") + EnemyStepNames[kind - 1] +
                              " must be at least 1, because the zone has such enemies (row " +
                              std::to_string(y + 1) + ")");
        }
        const long fx = static_cast<long>(steps) * x;
        const long fy = static_cast<long>(steps) * y;
        if (fx > 32767 || fy > 32767) {
          std::ostringstream msg;
          msg << "the enemy at column " << x + 1 << " of row " << y + 1 << " is too far out for its "
              << EnemyStepNames[kind - 1] << " (" << steps
              << "): its fine position must stay below 32768";
          return in.Error(row.Line, "row " + std::to_string(y + 1), msg.str());
        }
        zone.Enemies.push_back(ZoneEnemy{x, y, kind});
      }
    }
  }
  return zone;
}

std::variant<ParsedZone, ZoneError> ParseZoneFile(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return ZoneError{path, 0, "", "this is a folder, not a zone file"};
  std::ifstream file(path, std::ios::binary);
  if (!file) return ZoneError{path, 0, "", "cannot open the zone file"};
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return ZoneError{path, 0, "", "cannot read the zone file"};
  return ParseZoneText(content.str(), path);
}

}  // namespace quarn
