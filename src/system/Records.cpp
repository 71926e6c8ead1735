// Records.cpp — the content key, the records file format, and where the saved runs are.
#include "Records.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "SafeFile.h"
#include "zone/Zone.h"
#include "zone/ZoneCheck.h"

namespace quarn::system {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view VersionLine = "quarn-records 1";
constexpr int TicksPerSecond = 64;

// The text up to the end of line `line` (counted from 1 as the loader counts: LF, CR LF or a
// lone CR end a line).
std::string_view UpToLine(std::string_view text, int line) {
  int at = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    if (at == line) return text.substr(0, i);
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++at;
  }
  return text;
}

uint64_t Fnv1a(std::string_view bytes) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i >= text.size()) return false;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return false;
    }
  }
  return true;
}

std::string TimeField(const std::optional<int64_t>& ticks) {
  return ticks ? std::to_string(*ticks) : "-";
}

bool ParseTime(std::string_view field, std::optional<int64_t>& ticks) {
  if (field == "-") {
    ticks.reset();
    return true;
  }
  // Mended: an 18-digit time was taken and overflowed when shown; a time is at most
  // MaxRecordTicks, which the game's arithmetic holds.
  if (field.empty() || field.size() > 12) return false;
  int64_t v = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > MaxRecordTicks) return false;
  ticks = v;
  return true;
}

bool IsContentKey(std::string_view contentKey) {
  if (contentKey.size() != 16) return false;
  for (char c : contentKey) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::optional<int64_t> Shorter(const std::optional<int64_t>& a, const std::optional<int64_t>& b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

std::string RunSuffix(bool rewound) { return rewound ? ".zpet.keys" : ".keys"; }

}  // namespace

std::optional<std::string> ContentKey(std::string_view zoneText) {
  auto parsed = ParseZoneText(zoneText, "");
  const auto* zone = parsed.Ok() ? &parsed.Value() : nullptr;
  if (!zone) return std::nullopt;
  const std::vector<int> lines = RowLines(zoneText, zone->Height);
  // The header and the rows count; whatever follows the last row is the author's notes.
  const std::string_view content = lines.empty() ? zoneText : UpToLine(zoneText, lines.back());
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a(content)));
  return std::string(hex);
}

std::optional<std::string> ZoneContentKey(const fs::path& zoneFile) {
  // Mended: a zone whose notes took it past 64 MB had no key, and its wins were never recorded.
  // The key is of the header and rows, which the first 64 MB hold whatever follows them.
  const auto text = ReadBeginning(zoneFile);
  if (!text) return std::nullopt;
  return ContentKey(*text);
}

ZoneRecord MergeRecord(const ZoneRecord& older, const ZoneRecord& newer) {
  ZoneRecord r;
  r.Won = older.Won || newer.Won;
  r.BestPlain = Shorter(older.BestPlain, newer.BestPlain);
  r.BestRewind = Shorter(older.BestRewind, newer.BestRewind);
  r.Title = newer.Title.empty() && newer.File.empty() ? older.Title : newer.Title;
  r.File = newer.File.empty() ? older.File : newer.File;
  return r;
}

std::string FormatRecords(const RecordMap& records) {
  std::string out(VersionLine);
  out += '\n';
  for (const auto& [contentKey, r] : records) {
    out += contentKey + '\t' + (r.Won ? "1" : "0") + '\t' + TimeField(r.BestPlain) + '\t' +
           TimeField(r.BestRewind) + '\t' + Escape(r.Title) + '\t' + Escape(r.File) + '\n';
  }
  return out;
}

Result<RecordMap> ParseRecords(std::string_view text) {
  RecordMap records;
  size_t start = 0;
  int line = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      // Every line we write ends with a line feed: a last line without one was cut short.
      return Fail("line " + std::to_string(line + 1) + " is cut short");
    }
    const std::string_view row = text.substr(start, end - start);
    start = end + 1;
    if (++line == 1) {
      if (row != VersionLine) {
        return Fail("the first line is not \"" + std::string(VersionLine) + "\"");
      }
      continue;
    }
    std::vector<std::string_view> fields;
    for (size_t from = 0;;) {
      const size_t tab = row.find('\t', from);
      fields.push_back(row.substr(from, tab == std::string_view::npos ? row.npos : tab - from));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    ZoneRecord r;
    const bool good = fields.size() == 6 && IsContentKey(fields[0]) &&
                      (fields[1] == "0" || fields[1] == "1") && ParseTime(fields[2], r.BestPlain) &&
                      ParseTime(fields[3], r.BestRewind) && Unescape(fields[4], r.Title) &&
                      Unescape(fields[5], r.File);
    if (!good) {
      return Fail("line " + std::to_string(line) + " is damaged");
    }
    r.Won = fields[1] == "1";
    const std::string contentKey(fields[0]);
    auto found = records.find(contentKey);
    records[contentKey] = found == records.end() ? r : MergeRecord(found->second, r);
  }
  if (line == 0 && !text.empty()) {
    return Fail("the file is cut short");
  }
  return records;
}

std::string SecondsText(int64_t ticks) {
  // Tenths, rounded half up; whole seconds first, so that no time can overflow.
  ticks = std::max<int64_t>(ticks, 0);
  const int64_t tenths = ticks / TicksPerSecond * 10 +
                         ((ticks % TicksPerSecond) * 10 + TicksPerSecond / 2) / TicksPerSecond;
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

Result<RecordMap> ReadRecordsFile(const fs::path& folder) {
  const fs::path file = folder / "records.txt";
  // "Not there yet" is a first run, not a fault.
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 && errno == ENOENT) return RecordMap{};
  const auto text = ReadWhole(file);
  if (!text) return text.Error();
  auto records = ParseRecords(*text);
  if (!records) return Fail(file.string() + ": " + records.Error().Message);
  return records;
}

std::optional<fs::path> FindRun(const fs::path& runFolder, const std::string& contentKey,
                                bool rewound) {
  std::error_code ec;
  const std::string suffix = RunSuffix(rewound);
  for (fs::directory_iterator it(runFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(contentKey + "-", 0) != 0 || name.size() < suffix.size()) continue;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
    // "X.zpet.keys" also ends in ".keys": a run without going back is not that one.
    if (!rewound && name.size() >= 10 && name.compare(name.size() - 10, 10, ".zpet.keys") == 0)
      continue;
    return it->path();
  }
  return std::nullopt;
}

std::optional<fs::path> BestRun(const fs::path& runFolder, const std::string& contentKey,
                                const ZoneRecord* record) {
  auto plain = FindRun(runFolder, contentKey, false);
  auto rewound = FindRun(runFolder, contentKey, true);
  if (plain && rewound && record && record->BestPlain && record->BestRewind) {
    return *record->BestRewind < *record->BestPlain ? rewound : plain;
  }
  return plain ? plain : rewound;
}

fs::path NewRunPath(const fs::path& runFolder, const std::string& contentKey,
                    const fs::path& zoneFile, bool rewound) {
  std::string stem;
  for (char c : zoneFile.stem().string()) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_';
    stem += plain ? c : '_';
  }
  return runFolder / (contentKey + "-" + stem.substr(0, 60) + RunSuffix(rewound));
}

std::string RunHeadLine(std::string_view runText, std::string_view label) {
  const std::string mark = "# " + std::string(label) + ": ";
  size_t from = std::string_view::npos;
  if (runText.starts_with(mark)) {
    from = mark.size();
  } else if (const size_t at = runText.find("\n" + mark); at != std::string_view::npos) {
    from = at + 1 + mark.size();
  }
  if (from == std::string_view::npos) return "";
  return std::string(runText.substr(from, runText.find('\n', from) - from));
}

std::optional<std::string> KeptRunKey(std::string_view fileName) {
  if (fileName.size() < 17 || fileName[16] != '-') return std::nullopt;
  for (const char c : fileName.substr(0, 16)) {
    if ((c < '0' || c > '9') && (c < 'a' || c > 'f')) return std::nullopt;
  }
  return std::string(fileName.substr(0, 16));
}

std::optional<int64_t> RunTicksOf(std::string_view runText) {
  // Only the head: the comments before the first line of keys.
  constexpr std::string_view Time = "# čas: ";
  while (!runText.empty() && runText.front() == '#') {
    const size_t eol = runText.find('\n');
    const std::string_view line = runText.substr(0, eol);
    if (line.substr(0, Time.size()) == Time) {
      std::string_view digits = line.substr(Time.size());
      digits = digits.substr(0, digits.find(' '));
      std::optional<int64_t> ticks;
      if (digits != "-" && ParseTime(digits, ticks)) return ticks;
      return std::nullopt;
    }
    if (eol == std::string_view::npos) break;
    runText.remove_prefix(eol + 1);
  }
  return std::nullopt;
}

}  // namespace quarn::system
