// KeyScript.cpp — key scripts of headless replays: "N KEYS" lines, comments, line-numbered errors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <sstream>

#include "RealChars.h"
#include "Replay.h"
#include "base/Text.h"

namespace quarn {
namespace {

// A real number as std::from_chars reads it (no sign '+', no blanks, no hexadecimal): true when
// all of text is the number, read to the same bits in both builds (RealChars.h).
bool ReadReal(std::string_view text, double& value) { return ReadRealText(text, value); }

// 'name', built by appending (GCC 12 warns falsely about "'" + std::string(...) when optimising).
std::string InQuotes(std::string_view name) {
  std::string quoted(1, '\'');
  quoted.append(name);
  quoted += '\'';
  return quoted;
}

// "left, up, …, r": the names a key line may use.
std::string ScriptNamesText() {
  std::string text;
  for (const ScriptKeyName& k : ScriptKeyNames) {
    if (!text.empty()) text += ", ";
    text.append(k.Name);
  }
  return text;
}
constexpr int64_t MaxTicksPerLine = 1'000'000'000;
constexpr int64_t MaxRandom = 16'777'215;

// Numbers of one "name=a,b,c" field of a carry line; whole numbers unless reals are allowed.
std::optional<std::vector<double>> CarryNumbers(std::string_view text, size_t count, bool reals) {
  std::vector<double> values;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string_view part = text.substr(start, comma - start);
    double v = 0;
    if (reals) {
      if (!ReadReal(part, v) || !std::isfinite(v)) return {};
    } else {
      int64_t n = 0;
      const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), n);
      if (ec != std::errc{} || end != part.data() + part.size() || n < -1'000'000'000 ||
          n > 1'000'000'000) {
        return {};
      }
      v = static_cast<double>(n);
    }
    values.push_back(v);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (values.size() != count) return {};
  return values;
}

// "carry halted=0|1 moving=0|1 memory=D,P hold=L,U,R,D radio=N,X,Y death=F player=X,Y exit=X,Y":
// fields in any order, each at most once; a field left out keeps a fresh screen's value.
std::optional<std::string> ParseCarry(const std::vector<std::string_view>& words, CarriedState& c) {
  struct Field {
    std::string_view Name;
    size_t Count;
    bool Reals;
  };
  static constexpr Field Fields[] = {
      {"halted", 1, false}, {"moving", 1, false}, {"memory", 2, false}, {"hold", 4, false},
      {"radio", 3, true},   {"death", 1, true},   {"player", 2, false}, {"exit", 2, false}};
  std::vector<std::string_view> seen;
  for (size_t w = 1; w < words.size(); ++w) {
    const size_t eq = words[w].find('=');
    const std::string_view name = words[w].substr(0, eq);
    const Field* field = nullptr;
    for (const Field& f : Fields) {
      if (f.Name == name) field = &f;
    }
    if (eq == std::string_view::npos || field == nullptr) {
      return "expected 'name=values' with the names halted, moving, memory, hold, radio, death, "
             "player, exit; not '" +
             CutForMessage(words[w]) + "'";
    }
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
      return InQuotes(name) + " is given twice";
    }
    seen.push_back(name);
    const auto v = CarryNumbers(words[w].substr(eq + 1), field->Count, field->Reals);
    const bool flag = name == "halted" || name == "moving";
    const bool byte = name == "memory";
    auto bad = [&] {
      return InQuotes(name) + " needs " + std::to_string(field->Count) +
             (flag   ? " value, 0 or 1"
              : byte ? " values from 0 to 255"
                     : " numbers") +
             " (commas between), not '" + CutForMessage(words[w].substr(eq + 1)) + "'";
    };
    if (!v) return bad();
    const std::vector<double>& n = *v;
    auto whole = [&](size_t i) { return static_cast<int>(n[i]); };
    if (flag && n[0] != 0 && n[0] != 1) return bad();
    if (byte && (n[0] < 0 || n[0] > 255 || n[1] < 0 || n[1] > 255)) return bad();
    if (name == "halted") c.Halted = n[0] != 0;
    if (name == "moving") c.Moving = n[0] != 0 ? FlagTrue : FlagFalse;
    if (name == "memory") c.MoveMemory = {static_cast<uint8_t>(n[0]), static_cast<uint8_t>(n[1])};
    if (name == "hold") {
      for (size_t i = 0; i < 4; ++i) {
        if (n[i] < 0 || n[i] > 1000) return bad();
        c.HoldCounts[i] = whole(i);
      }
    }
    if (name == "radio") {
      if (n[0] != std::floor(n[0]) || n[0] < -3 || n[0] > 255) return bad();
      c.RadioCounter = static_cast<int>(n[0]);
      c.RadioX = n[1];
      c.RadioY = n[2];
    }
    if (name == "death") c.DeathPhase = static_cast<float>(n[0]);
    // Whether the figure and the exit fit the zone is seen when the line is played.
    if (name == "player") c.PlayerX = whole(0), c.PlayerY = whole(1);
    if (name == "exit") c.ExitX = whole(0), c.ExitY = whole(1);
  }
  return std::nullopt;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace

int64_t KeyScript::TotalTicks() const {
  int64_t total = 0;
  for (const KeyScriptStep& step : Steps) total += step.Ticks;
  return total;
}

std::vector<int> KeyScript::KeysAt(int64_t t) const {
  for (const KeyScriptStep& step : Steps) {
    if (t < step.Ticks) return KeysOfMask(step.Keys);
    t -= step.Ticks;
  }
  return {};
}

std::string KeyScriptError::Describe() const {
  std::ostringstream out;
  out << File;
  if (Line > 0) out << ':' << Line;
  out << ": " << Message;
  return ShowControls(out.str());
}

std::variant<KeyScript, KeyScriptError> ParseKeyScript(std::string_view text,
                                                       const std::string& fileName) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  KeyScript script;
  // At most one step a line: reserved once, the steps never take twice their room while growing.
  script.Steps.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  int lineNo = 0;
  auto error = [&](const std::string& message) {
    return KeyScriptError{fileName, lineNo, message};
  };
  while (!text.empty()) {
    ++lineNo;
    const size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
    if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
      // A saved run names its zone in a comment of its head: "# zóna: TITLE".
      constexpr std::string_view ZoneComment = "# zóna: ";
      std::string_view comment = line.substr(hash);
      if (!comment.empty() && comment.back() == '\r') comment.remove_suffix(1);
      if (hash == 0 && !script.NamedZone && comment.substr(0, ZoneComment.size()) == ZoneComment) {
        script.NamedZone = std::string(comment.substr(ZoneComment.size()));
      }
      line = line.substr(0, hash);
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;
    if (words[0] == "random" || words[0] == "back") {
      const bool random = words[0] == "random";
      const int64_t most = random ? MaxRandom : MaxTicksPerLine;
      if (words.size() != 2) {
        return error("expected '" + std::string(words[0]) + " N', not '" + CutForMessage(line) +
                     "'");
      }
      KeyScriptStep step;
      step.Line = lineNo;
      step.Action = random ? KeyScriptAction::Random : KeyScriptAction::Back;
      const std::string_view n = words[1];
      int64_t value = -1;
      const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), value);
      step.Value = static_cast<int32_t>(std::clamp<int64_t>(value, 0, most));
      if (ec != std::errc{} || end != n.data() + n.size() || value < 0 || value > most) {
        return error(std::string(random ? "the generator state" : "the ticks to go back") +
                     " must be a whole number from 0 to " + std::to_string(most) + ", not '" +
                     CutForMessage(n) + "'");
      }
      script.Steps.push_back(std::move(step));
      continue;
    }
    if (words[0] == "carry") {
      KeyScriptStep step;
      step.Line = lineNo;
      step.Action = KeyScriptAction::Carry;
      CarriedState carried;
      if (auto problem = ParseCarry(words, carried)) return error(*problem);
      step.Value = static_cast<int32_t>(script.Carried.size());
      script.Carried.push_back(carried);
      script.Steps.push_back(std::move(step));
      continue;
    }
    if (words.size() == 1) {
      return error("expected 'N KEYS' (a tick count, then keys or '-'), not '" +
                   CutForMessage(words[0]) + "'");
    }
    if (words.size() > 2) {
      return error("expected 'N KEYS'; join keys with '+', without blanks: '" + CutForMessage(line) +
                   "'");
    }
    KeyScriptStep step;
    step.Line = lineNo;
    const std::string_view count = words[0];
    int64_t ticks = -1;
    const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), ticks);
    if (ec == std::errc::invalid_argument || end != count.data() + count.size()) {
      return error("the tick count must be a whole number, not '" + CutForMessage(count) + "'");
    }
    if (ec == std::errc::result_out_of_range || ticks < 0 || ticks > MaxTicksPerLine) {
      return error("the tick count must be from 0 to 1000000000, not " + CutForMessage(count));
    }
    step.Ticks = static_cast<int32_t>(ticks);
    const std::string_view keys = words[1];
    if (keys != "-") {
      size_t start = 0;
      while (true) {
        const size_t plus = keys.find('+', start);
        const std::string_view name = keys.substr(start, plus - start);
        const int found = ScriptKeyOf(name);
        if (found == 0) {
          return error("unknown key '" + CutForMessage(name) + "'; keys are " +
                       ScriptNamesText() + ", or '-' for none");
        }
        step.Keys = static_cast<KeyMask>(step.Keys | MaskOfKeys({found}));
        if (plus == std::string_view::npos) break;
        start = plus + 1;
      }
    }
    // The same keys held on: one step, as long as its count stays within a line's.
    if (!script.Steps.empty()) {
      KeyScriptStep& last = script.Steps.back();
      if (last.Action == KeyScriptAction::Keys && last.Keys == step.Keys &&
          int64_t{last.Ticks} + step.Ticks <= MaxTicksPerLine) {
        last.Ticks += step.Ticks;
        continue;
      }
    }
    script.Steps.push_back(step);
  }
  script.Steps.shrink_to_fit();
  return script;
}

std::variant<KeyScript, KeyScriptError> ReadKeyScript(const std::string& path) {
  auto text = ReadKeyScriptText(path);
  if (auto* error = std::get_if<KeyScriptError>(&text)) return std::move(*error);
  return ParseKeyScript(std::get<std::string>(text), path);
}

std::variant<std::string, KeyScriptError> ReadKeyScriptText(const std::string& path) {
  auto fail = [&](const std::string& why) { return KeyScriptError{path, 0, why}; };
  // Mended: a key script was read blindly; a pipe in its place hung the program for good, a
  // device such as /dev/zero filled the memory, and a folder played as an empty run. Without
  // blocking, a regular file only, and no more than a script can sensibly hold.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return fail(std::string("cannot open the key script: ") + std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(std::string("cannot open the key script: ") + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return fail("this is a folder, not a key script");
  if (!S_ISREG(st.st_mode)) {
    return fail("this is not a regular file but a device, a pipe or a socket");
  }
  const auto tooBig = [&] {
    return fail("the key script is larger than " + std::to_string(MaxKeyScriptBytes >> 20) +
                " MB");
  };
  if (st.st_size > MaxKeyScriptBytes) return tooBig();
  std::string content;
  content.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(std::string("cannot read the key script: ") + std::strerror(errno));
    if (n == 0) break;
    // The file may grow while it is read.
    if (static_cast<int64_t>(content.size()) + n > MaxKeyScriptBytes) return tooBig();
    content.append(buffer, static_cast<size_t>(n));
  }
  return content;
}

}  // namespace quarn
