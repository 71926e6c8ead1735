// EventWaitWeb.cpp — the event loop's sleep in a browser: the page gets its turn while we wait.
#include "EventWait.h"
#include "WebDesktop.h"

namespace quarn::platform {

// Nothing runs beside the loop in a browser: there is never a wait to end from elsewhere.
void WakeEventLoop() {}

bool EventWait::Wait(const std::vector<Window*>&, int timeoutMs) {
  web::Sleep(timeoutMs);
  return true;
}

}  // namespace quarn::platform
