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

}  // namespace quarn::ui
