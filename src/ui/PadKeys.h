// PadKeys.h — what a pad's buttons do on each screen, as the keys they stand for.
#pragma once

#include "platform/Pads.h"

namespace quarn::ui {

// The start screen, lists, dialogs, the records and the help: the D-pad moves, A is Enter (plays,
// the dialog's default button), B is Esc (back, Ne or Zrušit, closes), Y the help (F1).
platform::PadKeyMap MenuPadKeys();
// In play: the D-pad and the stick walk, A puts a box down (space), B goes back while held
// (Backspace), Start pauses (P), Back restarts (Ctrl+R), Y the help.
platform::PadKeyMap GamePadKeys();

// Where the game screen stands, for what its buttons do there.
struct GameMoment {
  bool Paused = false;
  bool Over = false;         // dead, or won
  bool WayOn = false;        // won, and the keys that lead on are shown
  bool NextOffered = false;  // N leads to another zone
  bool Watching = false;
  bool WatchEnded = false;
};
// The game screen's buttons at a moment. In play as GamePadKeys; once over, A plays again
// (Enter); after a win X takes the next zone (N) and B leaves (Esc); paused, B leaves. B stays
// the second back after a death. Watching a run: A watches it again after its end (Enter), B
// leaves (Esc), Start pauses, X is the fast watch (F), Back watches from the start (Home), the
// D-pad seeks as the arrows do.
platform::PadKeyMap GamePadKeys(const GameMoment& at);

}  // namespace quarn::ui
