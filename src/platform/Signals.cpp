// Signals.cpp — a self-pipe between the signal handler and a watcher thread that wakes the loop.
#include "Signals.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "EventWait.h"

namespace quarn::platform {
namespace {

constexpr int Watched[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> received{0};
std::atomic<int (*)()> writingCount{nullptr};

int FilesBeingWritten() {
  const auto count = writingCount.load();
  return count ? count() : 0;
}
int wakeFds[2] = {-1, -1};  // [0] read by the watcher, [1] written by the handler

struct Watcher {
  std::thread Thread;
  std::mutex Lock;
  std::condition_variable Ended;
  bool Done = false;
  struct sigaction Previous[3] = {};
};
Watcher* watcher = nullptr;

extern "C" void OnSignal(int signal) {
  const int saved = errno;
  int expected = 0;
  received.compare_exchange_strong(expected, signal);
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(wakeFds[1], &byte, 1);
  errno = saved;
}

void Watch(Watcher& w) {
  char byte = 0;
  for (;;) {
    const ssize_t n = read(wakeFds[0], &byte, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || byte == 0) return;  // 0: the program is ending by itself
    break;
  }
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  WakeEventLoop();
  std::unique_lock lock(w.Lock);
  const auto done = [&w] { return w.Done; };
  if (w.Ended.wait_for(lock, std::chrono::milliseconds(SignalWatch::GraceMs), done)) return;
  // Mended: a recovery copy of unsaved work (or a record) still being written when the grace
  // ran out was cut off, and the work lost without a word. A file being written is let finish,
  // for a while; then the program has its grace again to end in order.
  if (FilesBeingWritten() > 0) {
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(SignalWatch::WritingWaitMs);
    while (FilesBeingWritten() > 0 && std::chrono::steady_clock::now() < until) {
      if (w.Ended.wait_for(lock, std::chrono::milliseconds(10), done)) return;
    }
    if (FilesBeingWritten() > 0) {
      static const char gaveUp[] =
          "quarn: zápis souboru nedoběhl ani za 5 s po signálu; hra končí bez něj\n";
      [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, gaveUp, sizeof gaveUp - 1);
      _exit(128 + received.load());
    }
    if (w.Ended.wait_for(lock, std::chrono::milliseconds(SignalWatch::GraceMs), done)) return;
  }
  _exit(128 + received.load());
}

}  // namespace

int SignalReceived() { return received.load(); }

void SetWritingCount(int (*count)()) { writingCount.store(count); }

SignalWatch::SignalWatch() {
  if (watcher) return;  // the first one watches for both
  if (pipe2(wakeFds, O_CLOEXEC) != 0) throw std::runtime_error("nelze vytvořit rouru pro signály");
  // SDL's own handlers would only queue a quit event, which a window the system runs never reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  watcher = new Watcher;
  owner_ = true;
  watcher->Thread = std::thread(Watch, std::ref(*watcher));
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(Watched[i], &action, &watcher->Previous[i]);
}

SignalWatch::~SignalWatch() {
  if (!owner_) return;
  for (int i = 0; i < 3; ++i) sigaction(Watched[i], &watcher->Previous[i], nullptr);
  {
    std::lock_guard lock(watcher->Lock);
    watcher->Done = true;
  }
  watcher->Ended.notify_all();
  const char stop = 0;
  [[maybe_unused]] const ssize_t n = write(wakeFds[1], &stop, 1);
  watcher->Thread.join();
  delete watcher;
  watcher = nullptr;
  close(wakeFds[0]);
  close(wakeFds[1]);
  wakeFds[0] = wakeFds[1] = -1;
}

}  // namespace quarn::platform
