// RunCheck.h — a run proved against a zone: replayed headless from a fresh load, it wins, and in
// the ticks it says it wins in. `quarn-zone verify`, `quarn --verify` and the records' proof of a
// kept run all ask this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarn {

struct RunVerdict {
  enum class Kind {
    Wins,         // it wins, in Ticks; in the Claimed ticks when it claims a time
    Unreadable,   // the run cannot be read, or a line of it is wrong: Detail
    OtherZone,    // the run is of another zone: Detail is the zone it names
    ZoneFails,    // the zone does not open: Detail
    ReloadFails,  // reloading the zone inside the run fails before any win: Detail
    NoWin,        // played to its end, the run never wins (Played ticks)
    TimeDiffers,  // it wins, but in Ticks, not in the Claimed ticks
  };
  Kind What = Kind::NoWin;
  // From the run's last opening to its first win, the winning tick included: the time the game
  // records for the win.
  int64_t Ticks = 0;
  std::optional<int64_t> Claimed;
  int64_t Played = 0;  // ticks the run played in all, less those gone back
  std::string Detail;
  bool Proved() const { return What == Kind::Wins; }
};

// Replays runText (read from runName, which names it in messages) against the zone file zonePath.
// A run whose head names a zone ("# zóna: TITLE") is of that zone only. claimed is the time the
// run's head gives, if it gives one.
RunVerdict CheckRun(const std::string& zonePath, std::string_view runText,
                    const std::string& runName, std::optional<int64_t> claimed);

}  // namespace quarn
