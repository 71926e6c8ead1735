// Keyboard.h — keyboard polling (ModuleKeys) and the key state it polls.
#pragma once

#include <array>
#include <cstdint>

#include "Ports.h"

namespace quarn {

// Key state built from key events, answering the way the platform's key-state query does:
// down now, or pressed since the previous query of that key.
class KeyState : public KeySource {
 public:
  void KeyDown(int virtualKey);
  void KeyUp(int virtualKey);
  // Losing the keyboard releases every key, so nothing keeps walking by itself.
  void ReleaseAll();
  int16_t GetAsyncKeyState(int virtualKey) override;

 private:
  static bool Valid(int virtualKey) { return virtualKey > 0 && virtualKey < 256; }
  std::array<bool, 256> down_{};
  std::array<bool, 256> pressedSince_{};
};

// ModuleKeys: polls the arrow keys and the space bar once per tick.
class Keyboard {
 public:
  explicit Keyboard(KeySource& source) : source_(source) {}

  // Queries every key 1..255 once, so that earlier presses do not act afterwards.
  void FlushKeys();
  bool SpaceDown();
  // The arrow key (37..40) held for the fewest polls, ties to left-up-right-down; 0 for none.
  uint8_t ChooseArrowKey();
  KeySource& Source() { return source_; }
  int HoldCount(int direction) const { return holdCount_[static_cast<size_t>(direction)]; }
  // All four counters (left, up, right, down), to keep and put back when play goes back.
  std::array<int, 4> HoldCounts() const {
    return {holdCount_[1], holdCount_[2], holdCount_[3], holdCount_[4]};
  }
  void SetHoldCounts(const std::array<int, 4>& counts) {
    for (size_t i = 0; i < 4; ++i) holdCount_[i + 1] = counts[i];
  }

 private:
  KeySource& source_;
  std::array<int, 5> holdCount_{};  // index = direction code 1..4; lives as long as the program
};

inline constexpr int DirDX(int code) { return code == 1 ? -1 : code == 3 ? 1 : 0; }
inline constexpr int DirDY(int code) { return code == 2 ? -1 : code == 4 ? 1 : 0; }

}  // namespace quarn
