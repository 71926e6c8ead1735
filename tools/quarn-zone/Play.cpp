// Play.cpp — quarn-zone play: plays a zone headless from a key script and prints the report.
#include <cstdio>
#include <optional>
#include <string>

#include "Commands.h"
#include "run/Replay.h"

namespace quarn::zonetool {
namespace {

constexpr const char* PlayUsage =
    "usage: quarn-zone play ZONE [--keys FILE] [--ticks N] [--answer yes|no] [--board]\n"
    "Plays ZONE without a window and prints a report of the play as one JSON line.\n"
    "  --keys FILE     hold the keys of the key script FILE (lines \"TICKS KEYS\")\n"
    "  --ticks N       run N ticks (default: as long as the key script lasts)\n"
    "  --answer yes|no the answer to \"Hrát znovu?\" after a win (default: no)\n"
    "  --board         add the board's tile codes to the report\n"
    "Status 0 when the play ran, 2 when the zone, key script or command line is wrong.\n";

int UsageError(const std::string& message) { return zonetool::UsageError("play", PlayUsage, message); }

}  // namespace

int RunPlay(const Args& args) {
  if (WantsHelp(args)) return Help(PlayUsage);
  std::optional<std::string> zone;
  ReplayOptions options;
  bool answerYes = false;
  bool withBoard = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string error;
    const OptionTaken taken = TakeReplayOption(args, i, options, error);
    if (taken == OptionTaken::Failed) return UsageError(error);
    if (taken == OptionTaken::Yes) continue;
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--answer") {
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

  const std::optional<KeyScript> script = LoadKeyScript(options, "play");
  if (!script) return 2;

  Replay replay(answerYes);
  if (auto error = replay.Open(*zone)) {
    std::fprintf(stderr, "quarn-zone play: %s\n", error->Describe().c_str());
    return 2;
  }
  if (auto error = replay.Run(*script, options.Ticks)) {
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
