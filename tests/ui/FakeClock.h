// FakeClock.h — the window tests' clock: time stands still until a test moves `now`, so timers
// run when the test says and never by the machine's speed.
#pragma once

#include <cstdint>

#include "platform/Timers.h"

namespace quarn::ui {

class FakeClock : public platform::MonotonicClock {
 public:
  int64_t NowNs() override { return now; }
  int64_t now = 1'000'000'000;
};

}  // namespace quarn::ui
