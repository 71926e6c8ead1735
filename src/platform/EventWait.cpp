// EventWait.cpp — the event loop's sleep on the X connection, with SDL's wait as the fallback.
#include "EventWait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <fcntl.h>
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

void EventWait::WatchPads(const std::vector<std::string>& deviceFiles, bool someWithoutFile) {
  for (int fd : padFds_) close(fd);
  padFds_.clear();
  // Each reader of an input device gets every event of it: ours only wakes the wait, and what
  // it reads is dropped (SDL reads its own copy).
  for (const std::string& file : deviceFiles) {
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
      padFds_.push_back(fd);
    } else {
      someWithoutFile = true;
    }
  }
  padsUnwatched_ = someWithoutFile;
}

EventWait::~EventWait() {
  for (int fd : padFds_) close(fd);
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
  std::vector<pollfd> fds = {{ConnectionNumber(display), POLLIN, 0}, {WakeFd(), POLLIN, 0}};
  for (int fd : padFds_) fds.push_back({fd, POLLIN, 0});
  const int64_t upkeepMs = (lastCollectNs_ + UpkeepNs - now + 999'999) / 1'000'000;
  int64_t sleepMs = std::min<int64_t>(timeoutMs, upkeepMs);
  if (padsUnwatched_) sleepMs = std::min<int64_t>(sleepMs, PadLookMs);
  const int ready = poll(fds.data(), fds.size(), static_cast<int>(sleepMs));
  if (ready < 0 && errno == EINTR) return true;  // a signal: let the loop look at it
  if (fds[1].revents & POLLIN) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = read(WakeFd(), &count, sizeof count);
  }
  bool padNews = false;
  for (size_t i = 2; i < fds.size(); ++i) {
    if (!(fds[i].revents & POLLIN)) continue;
    padNews = true;
    char drop[512];
    while (read(fds[i].fd, drop, sizeof drop) > 0) {
    }
  }
  // A pad's event is SDL's to collect now, whatever the upkeep's time.
  if (padNews || (padsUnwatched_ && ready == 0)) return true;
  if (ready <= 0 && NowNs() - lastCollectNs_ < UpkeepNs) return false;
  lastCollectNs_ = NowNs();
  return true;
}

}  // namespace quarn::platform
