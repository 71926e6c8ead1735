// Verify.cpp — quarn-zone verify: proves runs against a zone, one line a run, and fails with the
// number of runs that do not prove what they say.
#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <string>
#include <variant>

#include "Commands.h"
#include "base/Text.h"
#include "run/RunCheck.h"
#include "system/Records.h"

namespace quarn::zonetool {
namespace {

constexpr const char* VerifyUsage =
    "usage: quarn-zone verify ZONE RUN...\n"
    "Replays each key script RUN against ZONE from a fresh load, without a window, and prints\n"
    "one line a run: the ticks it wins in (as its head \"# čas:\" records them, when it records a\n"
    "time), or why it proves nothing: it does not win, it wins in another time than it records,\n"
    "it is a run of another zone (its \"# zóna:\" line, or the content key of a kept run's name),\n"
    "or a line of it is wrong.\n"
    "Status: the number of runs that fail (at most 125); 2 also on a wrong command line.\n";

std::string Time(int64_t ticks) {
  return std::to_string(ticks) + " ticks (" + system::SecondsText(ticks) + " s)";
}

// What the line says after "RUN: ".
std::string Said(const RunVerdict& check) {
  using Verdict = RunVerdict::Kind;
  switch (check.What) {
    case Verdict::Wins:
      return "wins in " + Time(check.Ticks) + (check.Claimed ? ", as recorded" : "");
    case Verdict::TimeDiffers:
      return "wins in " + Time(check.Ticks) + ", not in the " + std::to_string(*check.Claimed) +
             " ticks it records";
    case Verdict::NoWin:
      return "does not win (" + std::to_string(check.Played) + " ticks played)";
    case Verdict::OtherZone:
      return "is a run of another zone: " + check.Detail;
    case Verdict::Unreadable:
      return "cannot be read: " + check.Detail;
    case Verdict::ZoneFails:
      return "the zone does not open: " + check.Detail;
    case Verdict::ReloadFails:
      return "reloading the zone failed before a win: " + check.Detail;
  }
  return "";
}

}  // namespace

int RunVerify(const Args& args) {
  if (WantsHelp(args)) return Help(VerifyUsage);
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a.size() > 1 && a[0] == '-') {
      return UsageError("verify", VerifyUsage, "unknown option '" + a + "'");
    }
    files.push_back(a);
  }
  if (files.empty()) return UsageError("verify", VerifyUsage, "which zone?");
  if (files.size() < 2) return UsageError("verify", VerifyUsage, "which runs?");
  const std::string& zone = files.front();
  const auto zoneKey = system::ZoneContentKey(zone);
  int failed = 0;
  for (auto run = files.begin() + 1; run != files.end(); ++run) {
    RunVerdict check;
    auto text = ReadKeyScriptText(*run);
    const std::string name = std::filesystem::path(*run).filename().string();
    if (auto* error = std::get_if<KeyScriptError>(&text)) {
      check.What = RunVerdict::Kind::Unreadable;
      check.Detail = error->Describe();
    } else if (const auto key = system::KeptRunKey(name); key && zoneKey && *key != *zoneKey) {
      // A kept run is kept for one zone's content; an edited zone is another zone.
      check.What = RunVerdict::Kind::OtherZone;
      check.Detail = "kept for the content " + *key + ", the zone's is " + *zoneKey;
    } else {
      const std::string& content = std::get<std::string>(text);
      check = CheckRun(zone, content, *run, system::RunTicksOf(content));
    }
    if (!check.Proved()) ++failed;
    std::printf("%s: %s\n", ShowControls(*run).c_str(), ShowControls(Said(check)).c_str());
  }
  return std::min(failed, 125);
}

}  // namespace quarn::zonetool
