// Keyboard.cpp — key state from events, and the arrow-key choice that favours the latest press.
#include "Keyboard.h"

namespace quarn {

void KeyState::KeyDown(int virtualKey) {
  if (!Valid(virtualKey)) return;
  down_[virtualKey] = true;
  pressedSince_[virtualKey] = true;
}

void KeyState::KeyUp(int virtualKey) {
  if (Valid(virtualKey)) down_[virtualKey] = false;
}

void KeyState::ReleaseAll() {
  down_.fill(false);
  pressedSince_.fill(false);
}

int16_t KeyState::GetAsyncKeyState(int virtualKey) {
  if (!Valid(virtualKey)) return 0;
  int16_t value = 0;
  if (down_[virtualKey]) value = static_cast<int16_t>(0x8000);
  if (pressedSince_[virtualKey]) value = static_cast<int16_t>(value | 1);
  pressedSince_[virtualKey] = false;
  return value;
}

void Keyboard::FlushKeys() {
  for (int key = 1; key <= 255; ++key) source_.GetAsyncKeyState(key);
}

bool Keyboard::SpaceDown() { return source_.GetAsyncKeyState(vk::Space) != 0; }

uint8_t Keyboard::ChooseArrowKey() {
  // Quirk: the strict comparison with a start of 1000 sends ties to the earlier key, and a key
  // held alone for 1000 polls is no longer chosen: the player stops until it is pressed anew.
  int best = 1000;
  int chosen = -36;
  for (int i = 1; i <= 4; ++i) {
    if (source_.GetAsyncKeyState(36 + i) != 0) {
      // Mended: the count stops at 1000; growing without bound it would overflow after 2^31
      // polls of a held key. Any count of 1000 or more acts alike (never chosen).
      if (holdCount_[i] < 1000) holdCount_[i] += 1;
      if (holdCount_[i] > 0 && holdCount_[i] < best) {
        chosen = i;
        best = holdCount_[i];
      }
    } else {
      holdCount_[i] = 0;
    }
  }
  return static_cast<uint8_t>(chosen + 36);
}

}  // namespace quarn
