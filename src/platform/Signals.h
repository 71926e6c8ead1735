// Signals.h — SIGTERM, SIGINT and SIGHUP end the program within a second, whatever it is doing.
#pragma once

namespace quarn::platform {

// While one exists, SIGTERM, SIGINT and SIGHUP ask the program to end: the event loop is woken by a
// quit event and ends as if the window were closed, so the screens and the sound device are shut
// down in order. Should the program still run after GraceMs (stuck in a window the system runs,
// or in a long load), it ends at once with status 128 + the signal; the system frees the sound
// device of an ended process. A file being written whole then (unsaved changes kept, a win) is let
// finish first, for at most WritingWaitMs (said on stderr when it is not). While one exists, a
// second one does nothing.
class SignalWatch {
 public:
  static constexpr int GraceMs = 500;
  static constexpr int WritingWaitMs = 5000;

  SignalWatch();
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

 private:
#ifndef __EMSCRIPTEN__
  bool owner_ = false;  // a page has no signals to watch (SignalsWeb.cpp)
#endif
};

// The signal that asked the program to end, or 0.
int SignalReceived();

// How the signal watcher learns how many files the program is writing whole right now (none
// when never set); it must be safe to call from another thread.
void SetWritingCount(int (*count)());

}  // namespace quarn::platform
