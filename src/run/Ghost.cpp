// Ghost.cpp — playing a run through once and keeping its figure's course.
#include "Ghost.h"

#include <algorithm>

#include "Session.h"

namespace quarn {

int DeliveredPotatoes(const GameState& state, int total) {
  return std::max(0, total - state.PotatoesLeft - state.PotatoesCarried);
}

std::variant<GhostRun, OpenError> GhostRun::Play(const std::string& zonePath,
                                                 const KeyScript& script, int64_t maxTicks) {
  Replay replay;
  if (auto error = replay.Open(zonePath)) return *error;
  PlaySession& session = replay.Session();
  const GameState& s = replay.State();
  GhostRun run;
  // Each opening (the zone's, a "carry" line's) starts the run's course again.
  auto keep = [&](bool opened) {
    const int64_t t = session.Recorder().RunTicks();
    if (opened) run.potatoes_ = s.PotatoesLeft + s.PotatoesCarried;
    run.spots_.resize(static_cast<size_t>(t) + 1);
    run.spots_[static_cast<size_t>(t)] = GhostSpot{s.PlayerX, s.PlayerY};
    while (!run.deliveries_.empty() && run.deliveries_.back().second > t) {
      run.deliveries_.pop_back();
    }
    const int delivered = DeliveredPotatoes(s, run.potatoes_);
    if (delivered > (run.deliveries_.empty() ? 0 : run.deliveries_.back().first) && t > 0) {
      run.deliveries_.emplace_back(delivered, t);
    }
  };
  session.Follow(script);
  keep(true);
  for (int64_t played = 0; played < maxTicks; ++played) {
    if (session.Cursor().AtEnd()) {
      // The lines after the last tick (a closing "back") still belong to the run.
      SessionStep step = session.PlayBetween();
      if (step.Error) return *step.Error;
      keep(step.Reopened);
      break;
    }
    SessionStep step = session.ScriptTick();
    if (step.Error) return *step.Error;
    if (!step.Ran) break;
    keep(step.Reopened);
    if (step.Won) {
      run.wonAt_ = session.Recorder().RunTicks();
      break;
    }
  }
  run.playerSteps_ = std::max(1, s.PlayerSteps);
  run.rewound_ = session.Recorder().UsedRewind();
  run.spots_.shrink_to_fit();
  return run;
}

GhostSpot GhostRun::At(int64_t t) const {
  if (spots_.empty()) return {};
  const int64_t last = static_cast<int64_t>(spots_.size()) - 1;
  return spots_[static_cast<size_t>(std::clamp<int64_t>(t, 0, last))];
}

std::optional<int64_t> GhostRun::DeliveredBy(int potatoes) const {
  for (const auto& [delivered, tick] : deliveries_) {
    if (delivered >= potatoes) return tick;
  }
  return std::nullopt;
}

size_t GhostRun::MemoryBytes() const {
  return spots_.capacity() * sizeof(GhostSpot) +
         deliveries_.capacity() * sizeof(deliveries_.front());
}

}  // namespace quarn
