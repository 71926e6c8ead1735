// Ghost.h — a kept run played through once, headless, so that the game screen can show its figure
// beside the player's, tick for tick from the zone's opening, and tell at each delivery how far
// ahead or behind the player is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "Replay.h"

namespace quarn {

// Where the run's figure stands, in fine units (PlayerSteps of them a cell).
struct GhostSpot {
  int32_t X = 0, Y = 0;
  bool operator==(const GhostSpot&) const = default;
};

// The figure's place after every tick of a run since its opening (going back in the run takes
// its ticks away, as Backspace takes the player's), its deliveries and its win. About 8 bytes a
// tick: an hour of play is under 2 MB, and going back costs the ghost nothing, as its place at a
// tick is looked up.
class GhostRun {
 public:
  // Plays script on the zone headless through the session's cursor, to its win or its end (at
  // most maxTicks ticks). Fails when the zone cannot be opened or a line cannot be played.
  static std::variant<GhostRun, OpenError> Play(const std::string& zonePath,
                                                const KeyScript& script,
                                                int64_t maxTicks = int64_t{64} * 3600 * 4);

  // Ticks of the run (to its win when it won).
  int64_t Ticks() const { return static_cast<int64_t>(spots_.size()) - 1; }
  // The figure after t ticks of the run; past its end it stands where the run ended.
  GhostSpot At(int64_t t) const;
  int PlayerSteps() const { return playerSteps_; }
  // The ticks of the run when it had delivered at least this many potatoes; none if it never did.
  std::optional<int64_t> DeliveredBy(int potatoes) const;
  // The potatoes of the zone when the run opened it.
  int Potatoes() const { return potatoes_; }
  // The tick the run won in; none if it did not win.
  std::optional<int64_t> WonAt() const { return wonAt_; }
  bool Rewound() const { return rewound_; }
  // Bytes held (the benchmark's figure against the rewind budget).
  size_t MemoryBytes() const;

 private:
  std::vector<GhostSpot> spots_;  // spots_[t]: after t ticks
  // (potatoes delivered, tick): each delivery of the run's final course, in order.
  std::vector<std::pair<int, int64_t>> deliveries_;
  std::optional<int64_t> wonAt_;
  int playerSteps_ = 1;
  int potatoes_ = 0;
  bool rewound_ = false;
};

// Potatoes delivered so far in a run of a zone that opened with total of them.
int DeliveredPotatoes(const GameState& state, int total);

}  // namespace quarn
