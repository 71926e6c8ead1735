// KeyScript.cpp — key scripts of headless replays: "N KEYS" lines, comments, line-numbered errors.
#include <charconv>
#include <fstream>
#include <sstream>

#include "Replay.h"
#include "Text.h"

namespace quarn {
namespace {

struct KeyName {
  std::string_view Name;
  int VirtualKey;
};
constexpr KeyName KeyNames[] = {
    {"left", vk::Left},   {"up", vk::Up},       {"right", vk::Right}, {"down", vk::Down},
    {"space", vk::Space}, {"enter", vk::Enter}, {"ctrl", vk::Ctrl},   {"r", vk::R},
};
constexpr int64_t MaxTicksPerLine = 1'000'000'000;

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

const std::vector<int>& KeyScript::KeysAt(int64_t t) const {
  static const std::vector<int> none;
  for (const KeyScriptStep& step : Steps) {
    if (t < step.Ticks) return step.Keys;
    t -= step.Ticks;
  }
  return none;
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
      line = line.substr(0, hash);
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;
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
    const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), step.Ticks);
    if (ec == std::errc::invalid_argument || end != count.data() + count.size()) {
      return error("the tick count must be a whole number, not '" + CutForMessage(count) + "'");
    }
    if (ec == std::errc::result_out_of_range || step.Ticks < 0 || step.Ticks > MaxTicksPerLine) {
      return error("the tick count must be from 0 to 1000000000, not " + CutForMessage(count));
    }
    const std::string_view keys = words[1];
    if (keys != "-") {
      size_t start = 0;
      while (true) {
        const size_t plus = keys.find('+', start);
        const std::string_view name = keys.substr(start, plus - start);
        int found = 0;
        for (const KeyName& k : KeyNames) {
          if (k.Name == name) found = k.VirtualKey;
        }
        if (found == 0) {
          return error("unknown key '" + CutForMessage(name) +
                       "'; keys are left, up, right, down, space, enter, ctrl, r, or '-' for none");
        }
        step.Keys.push_back(found);
        if (plus == std::string_view::npos) break;
        start = plus + 1;
      }
    }
    script.Steps.push_back(std::move(step));
  }
  return script;
}

std::variant<KeyScript, KeyScriptError> ReadKeyScript(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return KeyScriptError{path, 0, "cannot open the key script"};
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return KeyScriptError{path, 0, "cannot read the key script"};
  return ParseKeyScript(content.str(), path);
}

}  // namespace quarn
