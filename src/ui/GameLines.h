// GameLines.h — the keys the lines over and under the game's board name, and the lines of a
// pause and of a watched run.
#pragma once

#include <string>

#include "system/KeyBindings.h"

namespace quarn::ui {

// What a line calls the key of each thing it offers: the keyboard's keys (with the player's own
// back and pause keys), or the pad's buttons while a pad is in use.
struct LineKeys {
  std::string Again = "Enter";    // plays again, watches again
  std::string Back = "Backspace";  // a second back
  std::string Next = "N";         // the next zone after a win
  std::string Leave = "Esc";      // in play and after a death
  std::string LeaveWon = "Esc";   // after a win
  std::string LeavePaused = "Esc";
  std::string LeaveWatch = "Esc";
  std::string Pause = "P";
  std::string Fast = "F";
  bool Pad = false;
};
LineKeys KeyboardLineKeys(const system::KeyBindings& bindings);
LineKeys PadLineKeys();

// Under the board while the play is paused: "P – hrát dál · Esc – výběr zóny".
std::string PauseLineText(const LineKeys& keys, const std::string& escape);

// Over the board while a run is watched: at tick at, fast or paused, or after its end.
struct WatchMoment {
  int64_t At = 0;
  bool Fast = false;
  bool Paused = false;
  bool Ended = false;
};
std::string WatchLineText(const WatchMoment& watch, const LineKeys& keys);
// Over the board while practising from a watched run.
std::string PractiseLineText(const LineKeys& keys);

}  // namespace quarn::ui
