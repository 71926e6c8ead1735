// ReplayOptions.cpp — what the sub-commands share: help, usage errors, --keys and --ticks, key
// scripts.
#include <charconv>
#include <cstdio>

#include "Commands.h"
#include "base/Text.h"

namespace quarn::zonetool {

int UsageError(const char* command, const char* usage, const std::string& message) {
  std::fprintf(stderr, "quarn-zone %s: %s\n%s", command, ShowControls(message).c_str(), usage);
  return 2;
}

bool WantsHelp(const Args& args) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int Help(const char* usage) {
  std::fputs(usage, stdout);
  return 0;
}

OptionTaken TakeReplayOption(const Args& args, size_t& i, ReplayOptions& options,
                             std::string& error) {
  const std::string& a = args[i];
  if (a != "--keys" && a != "--ticks") return OptionTaken::No;
  if (i + 1 >= args.size()) {
    error = a == "--keys" ? "--keys needs a file" : "--ticks needs a number";
    return OptionTaken::Failed;
  }
  const std::string& v = args[++i];
  if (a == "--keys") {
    options.KeysFile = v;
    return OptionTaken::Yes;
  }
  int64_t n = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc{} || end != v.data() + v.size() || n < 0) {
    error = "--ticks needs a whole number of 0 or more, not '" + v + "'";
    return OptionTaken::Failed;
  }
  options.Ticks = n;
  return OptionTaken::Yes;
}

std::optional<KeyScript> LoadKeyScript(const ReplayOptions& options, const char* command) {
  if (!options.KeysFile) return KeyScript{};
  auto parsed = ReadKeyScript(*options.KeysFile);
  if (auto* error = std::get_if<KeyScriptError>(&parsed)) {
    std::fprintf(stderr, "quarn-zone %s: %s\n", command, error->Describe().c_str());
    return std::nullopt;
  }
  return std::get<KeyScript>(std::move(parsed));
}

}  // namespace quarn::zonetool
