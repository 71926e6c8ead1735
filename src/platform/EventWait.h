// EventWait.h — sleeping until the display has news for us, a timer is due or the loop is woken.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::platform {

class Window;

// The event loop's sleep. On X it waits on the display connection itself and asks SDL to collect
// events only when the display sent some (and now and then for SDL's own upkeep): SDL's own wait
// looks into the connection a dozen times per wake, which at 64 ticks a second would be most of
// what an idle game costs. Elsewhere it is SDL's own wait.
class EventWait {
 public:
  EventWait() = default;
  ~EventWait();
  EventWait(const EventWait&) = delete;
  EventWait& operator=(const EventWait&) = delete;
  // Waits at most timeoutMs for an event; true when there may be events for SDL to collect.
  bool Wait(const std::vector<Window*>& windows, int timeoutMs);
  // The pads taken now: their device files are watched as the display is; a pad with none
  // (virtual) is looked at by SDL every PadLookMs.
  void WatchPads(const std::vector<std::string>& deviceFiles, bool someWithoutFile);
  static constexpr int PadLookMs = 8;

 private:
#ifndef __EMSCRIPTEN__
  std::vector<int> padFds_;
  bool padsUnwatched_ = false;
  // The X wait's own (a page's wait, EventWaitWeb.cpp, has none of these).
  void* display_ = nullptr;  // the X display of our windows, once known
  bool looked_ = false;
  int64_t lastCollectNs_ = 0;
#endif
};

// Ends the current wait at once; safe to call from any thread.
void WakeEventLoop();

}  // namespace quarn::platform
