// EventWaitWeb.cpp — the event loop's sleep in a browser: the page gets its turn while we wait.
#include "EventWait.h"
#include "WebDesktop.h"

namespace quarn::platform {

// Nothing runs beside the loop in a browser: there is never a wait to end from elsewhere.
void WakeEventLoop() {}

EventWait::~EventWait() = default;

// The page's Gamepad API reaches SDL between our sleeps; nothing is to be watched.
void EventWait::WatchPads(const std::vector<std::string>&, bool) {}

bool EventWait::Wait(const std::vector<Window*>&, int timeoutMs) {
  web::Sleep(timeoutMs);
  return true;
}

}  // namespace quarn::platform
