// GameLines.cpp — the keys named on the game screen's lines: the keyboard's or the pad's.
#include "GameLines.h"

#include "base/Keys.h"
#include "system/Records.h"

namespace quarn::ui {

LineKeys KeyboardLineKeys(const system::KeyBindings& bindings) {
  LineKeys keys;
  const system::KeyBindings own;
  using system::KeyAction;
  if (bindings.Of(KeyAction::Back) != own.Of(KeyAction::Back))
    keys.Back = system::KeyShownName(bindings.Of(KeyAction::Back));
  if (bindings.Of(KeyAction::Pause) != own.Of(KeyAction::Pause))
    keys.Pause = system::KeyShownName(bindings.Of(KeyAction::Pause));
  return keys;
}

LineKeys PadLineKeys() {
  LineKeys keys;
  keys.Again = "A";
  keys.Back = "B";
  keys.Next = "X";
  // In play B goes back: the pause leads out, and there B leaves.
  keys.Leave = "Start, B";
  keys.LeaveWon = "B";
  keys.LeavePaused = "B";
  keys.LeaveWatch = "B";
  keys.Pause = "Start";
  keys.Fast = "X";
  keys.Pad = true;
  return keys;
}

std::string PauseLineText(const LineKeys& keys, const std::string& escape) {
  return keys.Pause + " – hrát dál · " + keys.LeavePaused + " – " + escape;
}

std::string WatchLineText(const WatchMoment& watch, const LineKeys& keys) {
  const std::string leave = " · " + keys.LeaveWatch + " – konec";
  if (watch.Ended) return "Záznam skončil · " + keys.Again + " – přehrát znovu" + leave;
  const std::string line = "Přehrávání záznamu · " + system::SecondsText(watch.At) + " s · tik " +
                           std::to_string(watch.At);
  if (watch.Fast)
    return line + " · 4× rychleji · " + keys.Pause + " – pauza · " + keys.Fast +
           " – normální rychlost" + leave;
  if (watch.Paused) {
    // The pad has no keys for a tick's step or for practising from here.
    return keys.Pad ? line + " · " + keys.Pause + " – dál" + leave
                    : line + " · čárka, tečka – o tik · H – hrát odsud";
  }
  return line + " · " + keys.Pause + " – pauza · " + keys.Fast + " – rychleji" + leave;
}

std::string PractiseLineText(const LineKeys& keys) {
  return "Cvičení ze záznamu · neměří se ani neukládá · " + keys.Leave + " – konec";
}

}  // namespace quarn::ui
