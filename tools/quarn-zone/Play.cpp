// Play.cpp — quarn-zone play: plays a zone headless from a key script and prints the report.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "Commands.h"
#include "game/Replay.h"

namespace quarn::zonetool {
namespace {

constexpr const char* PlayUsage =
    "usage: quarn-zone play ZONE [--keys FILE] [--ticks N] [--answer yes|no] [--board]\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "quarn-zone play: %s\n%s", message.c_str(), PlayUsage);
  return 2;
}

}  // namespace

int RunPlay(const Args& args) {
  std::optional<std::string> zone;
  std::optional<std::string> keysFile;
  std::optional<int64_t> ticks;
  bool answerYes = false;
  bool withBoard = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--keys") {
      if (!hasValue) return UsageError("--keys needs a file");
      keysFile = args[++i];
    } else if (a == "--ticks") {
      if (!hasValue) return UsageError("--ticks needs a number");
      const std::string& v = args[++i];
      int64_t n = 0;
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (ec != std::errc{} || end != v.data() + v.size() || n < 0) {
        return UsageError("--ticks needs a whole number of 0 or more, not '" + v + "'");
      }
      ticks = n;
    } else if (a == "--answer") {
      if (!hasValue) return UsageError("--answer needs yes or no");
      const std::string& v = args[++i];
      if (v != "yes" && v != "no") return UsageError("--answer is yes or no, not '" + v + "'");
      answerYes = v == "yes";
    } else if (a == "--board") {
      withBoard = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError("unknown option '" + a + "'");
    } else if (zone) {
      return UsageError("only one zone can be played, not also '" + a + "'");
    } else {
      zone = a;
    }
  }
  if (!zone) return UsageError("which zone?");

  KeyScript script;
  if (keysFile) {
    auto parsed = ReadKeyScript(*keysFile);
    if (auto* error = std::get_if<KeyScriptError>(&parsed)) {
      std::fprintf(stderr, "quarn-zone play: %s\n", error->Describe().c_str());
      return 2;
    }
    script = std::get<KeyScript>(std::move(parsed));
  }

  Replay replay(answerYes);
  if (auto error = replay.Open(*zone)) {
    std::fprintf(stderr, "quarn-zone play: %s\n", error->Describe().c_str());
    return 2;
  }
  if (auto error = replay.Run(script, ticks)) {
    // The zone file changed under a reload: report how far play went, then fail.
    std::fputs((replay.Report(withBoard) + "\n").c_str(), stdout);
    std::fprintf(stderr, "quarn-zone play: reload failed after %lld ticks: %s\n",
                 static_cast<long long>(replay.TicksRun()), error->Describe().c_str());
    return 2;
  }
  std::fputs((replay.Report(withBoard) + "\n").c_str(), stdout);
  return 0;
}

}  // namespace quarn::zonetool
