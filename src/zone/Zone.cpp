// Zone.cpp — reads a zone file into a ParsedZone: field syntax, header limits, the tile characters.
#include "Zone.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ZoneWriter.h"
#include "base/Text.h"

namespace quarn {
namespace {

struct Field {
  std::string Text;
  int Line = 0;
  bool Unclosed = false;  // began with a double quote that no other quote closes
};

// Mended: fields are read one at a time, reading stops after the last row, and no more than this
// many bytes are read before it. Reading the whole file first, a zone followed by 100 MB of notes
// would take gigabytes, and /dev/zero would never end.
constexpr size_t MaxZoneBytes = size_t{8} << 20;

struct TooBig {
  int Line;
};

// Splits zone text into fields, one on each call of Next. A field ends at a comma or a line end;
// blanks before a field are skipped; a field that begins with a double quote runs to the next
// double quote and may hold commas (what follows the closing quote up to the comma or line end is
// dropped).
class FieldStream {
 public:
  explicit FieldStream(std::streambuf& in) : in_(in) {
    // Byte-order marks at the very start are skipped, however many an editor wrote.
    while (Peek() == 0xEF) {
      std::string mark;
      for (int k = 0; k < 3 && Peek() >= 0; ++k) mark += static_cast<char>(Get());
      if (mark != "\xEF\xBB\xBF") {
        pending_ = mark;  // not a mark after all: it is the start of the text
        break;
      }
    }
  }

  // The next field, or nothing at the end of the text.
  std::optional<Field> Next() {
    if (Peek() < 0) return std::nullopt;
    while (Peek() == ' ' || Peek() == '\t') Get();
    Field field{{}, line_, false};
    if (Peek() == '"') {
      Get();
      for (int c = Get(); c != '"'; c = Get()) {
        if (c < 0) {
          field.Unclosed = true;
          break;
        }
        if (c == '\n') ++line_;
        field.Text += static_cast<char>(c);
      }
      while (!AtLineEnd() && Peek() != ',') Get();
    } else {
      while (!AtLineEnd() && Peek() != ',') field.Text += static_cast<char>(Get());
    }
    if (Peek() < 0) return field;
    if (Peek() == ',') {
      Get();
      // A comma that ends a line does not start another field on that line.
      if (AtLineEnd() && Peek() >= 0) TakeLineEnd();
    } else {
      TakeLineEnd();
    }
    return field;
  }

  // Bytes of the text taken so far.
  size_t Consumed() const { return read_ - pending_.size(); }

 private:
  int Peek() {
    if (!pending_.empty()) return static_cast<unsigned char>(pending_.front());
    const auto c = in_.sgetc();
    return c == std::char_traits<char>::eof() ? -1 : c;
  }
  int Get() {
    if (!pending_.empty()) {
      const int c = static_cast<unsigned char>(pending_.front());
      pending_.erase(0, 1);
      return c;
    }
    const auto c = in_.sbumpc();
    if (c == std::char_traits<char>::eof()) return -1;
    if (++read_ > MaxZoneBytes) throw TooBig{line_};
    return c;
  }
  bool AtLineEnd() { return Peek() < 0 || Peek() == '\n' || Peek() == '\r'; }
  void TakeLineEnd() {
    if (Get() == '\r' && Peek() == '\n') Get();
    ++line_;
  }

  std::streambuf& in_;
  std::string pending_;
  size_t read_ = 0;
  int line_ = 1;
};

// Mended: a message quotes the first 40 characters of a field, then "…". Quoted whole, a 100 MB
// field would make a 100 MB line and an unreadable box.
std::string Cut(std::string_view text) { return CutForMessage(text); }

std::string Quoted(std::string_view text) { return "„" + Cut(text) + "“"; }

// "1 řádek", "3 řádky", "5 řádků".
std::string Rows(int n) {
  return std::to_string(n) + (n == 1 ? " řádek" : n >= 2 && n <= 4 ? " řádky" : " řádků");
}

class Reader {
 public:
  Reader(FieldStream& fields, const std::string& fileName) : fields_(fields), file_(fileName) {}

  bool AtEnd() {
    if (!ahead_) ahead_ = fields_.Next();
    return !ahead_;
  }
  const Field& Take() {
    AtEnd();
    taken_ = std::move(*ahead_);
    ahead_.reset();
    any_ = true;
    return taken_;
  }
  size_t Consumed() const { return fields_.Consumed(); }
  // The line of the field taken last (the last of the file once it has ended).
  int LineOfPrevious() const { return any_ ? taken_.Line : 1; }

  // Why the file ended early, when an unclosed double quote swallowed the rest of it.
  std::string EndHint() const {
    if (!any_ || !taken_.Unclosed) return "";
    return " (uvozovky otevřené na řádku " + std::to_string(taken_.Line) + " se nikde nezavírají)";
  }

  ZoneError Error(int line, std::string field, std::string message) const {
    return ZoneError{file_, line, std::move(field), std::move(message)};
  }
  ZoneError EndsBefore(const std::string& name) {
    return Error(LineOfPrevious(), name, "soubor končí, ale chybí ještě " + name + EndHint());
  }

  // Reads a whole number in [min, max]; the name is the field's name for a zone author.
  std::optional<ZoneError> Number(const std::string& name, long min, long max, int& out) {
    if (AtEnd()) return EndsBefore(name);
    const Field& f = Take();
    std::string_view t = f.Text;
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    // Only a sign followed by a digit is a sign: "+-5" is no whole number.
    if (t.size() > 1 && t.front() == '+' && t[1] >= '0' && t[1] <= '9') t.remove_prefix(1);
    long value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec == std::errc::invalid_argument || end != t.data() + t.size()) {
      return Error(f.Line, name, name + " musí být celé číslo, ne " + Quoted(f.Text));
    }
    if (ec == std::errc::result_out_of_range || value < min || value > max) {
      std::ostringstream msg;
      msg << name << " musí být ";
      if (min == -Unbounded && max == Unbounded) {
        msg << "mezi " << -Unbounded << " a " << Unbounded;
      } else if (max == Unbounded) {
        msg << "aspoň " << min;
      } else {
        msg << "od " << min << " do " << max;
      }
      msg << ", ne " << Cut(t);
      return Error(f.Line, name, msg.str());
    }
    out = static_cast<int>(value);
    return std::nullopt;
  }

  static constexpr long Unbounded = 1L << 30;

 private:
  FieldStream& fields_;
  std::optional<Field> ahead_;
  Field taken_;
  bool any_ = false;
  std::string file_;
};

constexpr long MaxPlayerSteps = 10000;  // 20 seconds a cell at the fastest tick

const std::string EnemyStepNames[3] = {"kroky nepřítele druhu 1 (+)", "kroky nepřítele druhu 2 (-)",
                                       "kroky nepřítele druhu 3 (*)"};
const std::string PatternNames[3] = {"laserový vzor a", "laserový vzor b", "laserový vzor c"};

ZoneError AtCell(ZoneError error, int x, int y) {
  error.Column = x + 1;
  error.Row = y + 1;
  return error;
}

std::string RowName(int y) { return "řádek " + std::to_string(y + 1); }

Result<ParsedZone, ZoneError> Parse(Reader& in, ZoneLimits limits) {
  const bool game = limits == ZoneLimits::Game;
  ParsedZone zone;

  if (in.AtEnd()) return in.Error(1, "název", "soubor je prázdný; zóna začíná svým názvem");
  zone.Title = ToUtf8(in.Take().Text);
  if (auto e = in.Number("šířka", 1, MaxBoardWidth, zone.Width)) return *e;
  if (auto e = in.Number("výška", 1, MaxBoardHeight, zone.Height)) return *e;
  // The upper bound keeps every fine position of the player far inside an int.
  if (auto e = in.Number("kroky hráče", 1, MaxPlayerSteps, zone.PlayerSteps)) return *e;
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
    if (in.AtEnd()) return in.EndsBefore(PatternNames[g]);
    zone.LaserPatterns[g] = in.Take().Text;
  }

  zone.Codes.assign(static_cast<size_t>(zone.Width * zone.Height), 0);
  for (int y = 0; y < zone.Height; ++y) {
    if (in.AtEnd()) {
      std::ostringstream msg;
      msg << "soubor končí, ale chybí ještě řádek " << y + 1 << "; hlavička slibuje "
          << Rows(zone.Height) << in.EndHint();
      return in.Error(in.LineOfPrevious(), RowName(y), msg.str());
    }
    const Field& row = in.Take();
    const std::vector<char32_t> chars = CodePoints(row.Text);
    std::string& written = zone.Rows.emplace_back(static_cast<size_t>(zone.Width), '.');
    for (int x = 0; x < zone.Width && x < static_cast<int>(chars.size()); ++x) {
      written[static_cast<size_t>(x)] = CanonicalCharacter(chars[static_cast<size_t>(x)]);
    }
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
        if (game && zone.Enemies.size() >= static_cast<size_t>(MaxEnemies)) {
          return AtCell(in.Error(row.Line, RowName(y),
                                 RowName(y) + " má 102. nepřítele (sloupec " +
                                     std::to_string(x + 1) + "); zóna smí mít nejvýš 101 nepřátel"),
                        x, y);
        }
        // Mended: steps below 1 for a kind the zone uses would divide by zero in every tick.
        const int steps = zone.EnemySteps[kind - 1];
        if (game && steps < 1) {
          return AtCell(in.Error(stepLines[kind - 1], EnemyStepNames[kind - 1],
                                 EnemyStepNames[kind - 1] +
                                     " musí být aspoň 1, protože zóna takové nepřátele má (" +
                                     RowName(y) + ")"),
                        x, y);
        }
        const long fx = static_cast<long>(steps) * x;
        const long fy = static_cast<long>(steps) * y;
        if (game && (fx > 32767 || fy > 32767)) {
          std::ostringstream msg;
          msg << "nepřítel ve sloupci " << x + 1 << " (" << RowName(y)
              << ") je příliš daleko pro své " << EnemyStepNames[kind - 1] << " (" << steps
              << "): jeho jemná poloha musí zůstat pod 32768";
          return AtCell(in.Error(row.Line, RowName(y), msg.str()), x, y);
        }
        zone.Enemies.push_back(ZoneEnemy{x, y, kind});
      }
    }
  }
  zone.EndOffset = in.Consumed();
  return zone;
}

Result<ParsedZone, ZoneError> Parse(std::streambuf& text, const std::string& fileName,
                                    ZoneLimits limits = ZoneLimits::Game) {
  FieldStream fields(text);
  Reader in(fields, fileName);
  try {
    return Parse(in, limits);
  } catch (const TooBig& big) {
    return ZoneError{fileName, big.Line, "",
                     "soubor je příliš velký: hlavička a řádky zóny mají přes " +
                         std::to_string(MaxZoneBytes >> 20) + " MB"};
  }
}

}  // namespace

std::string ZoneError::Describe() const {
  std::ostringstream out;
  out << File;
  if (Line > 0) out << ':' << Line;
  out << ": " << Message;
  // File names and quoted fields come from outside; a control character in them must not reach
  // the terminal or break the message into lines.
  return ShowControls(out.str());
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
    case 'K': return tile::DoorKey;
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

Result<ParsedZone, ZoneError> ParseZoneText(std::string_view text, const std::string& fileName,
                                            ZoneLimits limits) {
  std::stringbuf buffer{std::string(text)};
  return Parse(buffer, fileName, limits);
}

Result<ParsedZone, ZoneError> ParseZoneFile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (std::filesystem::is_directory(status)) {
    return ZoneError{path, 0, "", "toto je složka, ne soubor zóny"};
  }
  // Mended: only a regular file is opened. A pipe given as the zone would block the program for
  // good, and a device such as /dev/zero would never end.
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return ZoneError{path, 0, "", "toto není obyčejný soubor, ale zařízení, roura nebo socket"};
  }
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    // Mended: the player is told why (missing, no permission, ...), not only that it failed.
    const int why = errno;
    return ZoneError{path, 0, "",
                     "soubor zóny nelze otevřít" + (why ? ": " + FileErrorInCzech(why) : "")};
  }
  return Parse(*file.rdbuf(), path);
}

}  // namespace quarn
