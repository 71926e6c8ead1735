// PadKeys.cpp — the pad's buttons on the menus and in play.
#include "PadKeys.h"

#include "base/Keys.h"

namespace quarn::ui {
namespace {

using platform::PadButton;
using platform::PadChord;
using platform::PadKeyMap;

void Set(PadKeyMap& map, PadButton button, PadChord keys) {
  map[static_cast<size_t>(button)] = keys;
}

PadKeyMap Directions() {
  PadKeyMap map{};
  Set(map, PadButton::Left, {vk::Left, 0});
  Set(map, PadButton::Up, {vk::Up, 0});
  Set(map, PadButton::Right, {vk::Right, 0});
  Set(map, PadButton::Down, {vk::Down, 0});
  Set(map, PadButton::Y, {vk::F1, 0});
  return map;
}

}  // namespace

PadKeyMap MenuPadKeys() {
  PadKeyMap map = Directions();
  Set(map, PadButton::A, {vk::Enter, 0});
  Set(map, PadButton::B, {vk::Escape, 0});
  return map;
}

PadKeyMap GamePadKeys() {
  PadKeyMap map = Directions();
  Set(map, PadButton::A, {vk::Space, 0});
  Set(map, PadButton::B, {vk::Backspace, 0});
  Set(map, PadButton::Start, {'P', 0});
  // Ctrl goes down first and up last, as a player's fingers do it.
  Set(map, PadButton::Back, {vk::Ctrl, vk::R});
  return map;
}

PadKeyMap GamePadKeys(const GameMoment& at) {
  PadKeyMap map = GamePadKeys();
  if (at.Watching) {
    Set(map, PadButton::A, {at.WatchEnded ? vk::Enter : 0, 0});
    Set(map, PadButton::B, {vk::Escape, 0});
    Set(map, PadButton::X, {'F', 0});
    Set(map, PadButton::Back, {vk::Home, 0});
    return map;
  }
  if (at.Over) Set(map, PadButton::A, {vk::Enter, 0});
  if (at.WayOn) {
    Set(map, PadButton::B, {vk::Escape, 0});
    if (at.NextOffered) Set(map, PadButton::X, {'N', 0});
  }
  if (at.Paused) Set(map, PadButton::B, {vk::Escape, 0});
  return map;
}

}  // namespace quarn::ui
