// EventWait.cpp — the event loop's sleep on the X connection, with SDL's wait as the fallback.
#include "EventWait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "Window.h"

namespace quarn::platform {
namespace {

// SDL keeps some state of its own between events (delayed focus changes, the screen saver kept
// off): it gets to look at least this often, events or not.
constexpr int64_t UpkeepNs = 250'000'000;

int WakeFd() {
  static const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  return fd;
}

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

void WakeEventLoop() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(WakeFd(), &one, sizeof one);
}

bool EventWait::Wait(const std::vector<Window*>& windows, int timeoutMs) {
  if (!looked_ && !windows.empty()) {
    looked_ = true;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(windows.front()->Native(), &info) && info.subsystem == SDL_SYSWM_X11)
      display_ = info.info.x11.display;
  }
  Display* display = static_cast<Display*>(display_);
  if (!display || WakeFd() < 0) return SDL_WaitEventTimeout(nullptr, timeoutMs) == 1;

  const int64_t now = NowNs();
  // Events SDL already holds, events Xlib already read off the connection (a present's round
  // trip reads them), or upkeep due: no sleeping.
  if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || XEventsQueued(display, QueuedAlready) > 0 ||
      now - lastCollectNs_ >= UpkeepNs) {
    lastCollectNs_ = now;
    return true;
  }
  // Requests still in Xlib's buffer go out before the sleep.
  XFlush(display);
  pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {WakeFd(), POLLIN, 0}};
  const int64_t upkeepMs = (lastCollectNs_ + UpkeepNs - now + 999'999) / 1'000'000;
  const int ready = poll(fds, 2, static_cast<int>(std::min<int64_t>(timeoutMs, upkeepMs)));
  if (ready < 0 && errno == EINTR) return true;  // a signal: let the loop look at it
  if (fds[1].revents & POLLIN) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = read(WakeFd(), &count, sizeof count);
  }
  if (ready <= 0 && NowNs() - lastCollectNs_ < UpkeepNs) return false;
  lastCollectNs_ = NowNs();
  return true;
}

}  // namespace quarn::platform
