// RunCheck.cpp — replaying a run to the tick of its first win.
#include "RunCheck.h"

#include <filesystem>
#include <variant>

#include "Replay.h"
#include "base/Text.h"
#include "zone/ZoneTitle.h"

namespace quarn {

RunVerdict CheckRun(const std::string& zonePath, std::string_view runText,
                    const std::string& runName, std::optional<int64_t> claimed) {
  using Verdict = RunVerdict::Kind;
  RunVerdict check;
  check.Claimed = claimed;
  auto parsed = ParseKeyScript(runText, runName);
  if (auto* error = std::get_if<KeyScriptError>(&parsed)) {
    check.What = Verdict::Unreadable;
    check.Detail = error->Describe();
    return check;
  }
  const KeyScript& script = std::get<KeyScript>(parsed);
  if (script.NamedZone) {
    // Compared as a kept run's head writes the title, and as watching a run compares it.
    const std::string title = ShowControls(
        ReadZoneTitle(zonePath).value_or(std::filesystem::path(zonePath).filename().string()));
    if (*script.NamedZone != title) {
      check.What = Verdict::OtherZone;
      check.Detail = *script.NamedZone;
      return check;
    }
  }
  Replay replay(false);
  if (auto error = replay.Open(zonePath)) {
    check.What = Verdict::ZoneFails;
    check.Detail = error->Describe();
    return check;
  }
  // The win comes inside its tick, which the run has not taken in yet: that tick counts, as the
  // game screen counts it. A win undone by a later "back" does not count; the first win that
  // stands does.
  std::optional<int64_t> won;
  Game& game = replay.GetGame();
  game.OnWin = [&] {
    if (!won || game.Wins() == 1) won = replay.Recorder().RunTicks() + 1;
  };
  const auto failed = replay.Run(script);
  game.OnWin = nullptr;
  check.Played = replay.TicksRun();
  if (won && game.Wins() > 0) {
    check.Ticks = *won;
    check.What = claimed && *claimed != *won ? Verdict::TimeDiffers : Verdict::Wins;
  } else if (failed) {
    check.What = Verdict::ReloadFails;
    check.Detail = failed->Describe();
  } else {
    check.What = Verdict::NoWin;
  }
  return check;
}

}  // namespace quarn
