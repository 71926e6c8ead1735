// Random.h — the enemies' random generator: one fixed sequence in every run of the program.
#pragma once

#include <cstdint>

namespace quarn {

// x' = (x * 1140671485 + 12820163) mod 2^24, starting from 327680; r = x / 2^24.
// Never seeded from the clock: the enemies wander the same way every time.
class Random {
 public:
  double Next() {
    state_ = (state_ * 1140671485ull + 12820163ull) & 0xFFFFFFull;
    return static_cast<double>(state_) / 16777216.0;
  }
  // The state, 0..2^24 - 1: a run that starts later in the program starts from it.
  uint32_t State() const { return static_cast<uint32_t>(state_); }
  void SetState(uint32_t state) { state_ = state & 0xFFFFFFu; }

 private:
  uint64_t state_ = 327680;
};

}  // namespace quarn
