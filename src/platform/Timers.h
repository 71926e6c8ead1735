// Timers.h — periodic timers on the user-interface thread, scheduled from a monotonic clock.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quarn::platform {

// Quarn's timers fire on a 1/64 s heartbeat: a timer's period is its interval rounded up to whole
// heartbeats. The game's speeds are counted in ticks and tuned for that beat, so the 2 ms game
// tick runs 64 times a second, and a 12 ms one just as often.
inline constexpr int64_t TimerGranularityNs = 15'625'000;

// A timer's real period: its interval rounded up to a whole number of heartbeats (at least one).
int64_t EffectivePeriodNs(int intervalMs);

// Nanoseconds from an arbitrary fixed origin, never going backwards.
class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  virtual int64_t NowNs() = 0;
};

// std::chrono::steady_clock.
class SteadyClock : public MonotonicClock {
 public:
  int64_t NowNs() override;
};

// The due times of one periodic timer. Due times lie on a grid start + k × period counted in whole
// nanoseconds, so a long run does not drift; after a stall the missed ticks are dropped, not raced
// through (a busy window gets one late tick, as a coalesced timer message would give it).
class TickSchedule {
 public:
  // Starts the grid at now: the first tick is due one period later.
  void Start(int64_t nowNs, int64_t periodNs);
  void Stop() { running_ = false; }
  bool Running() const { return running_; }
  int64_t PeriodNs() const { return periodNs_; }
  int64_t NextDueNs() const { return nextDueNs_; }
  // True when a tick is due at now; the next due time then becomes the first grid point after now.
  bool Poll(int64_t nowNs);

 private:
  bool running_ = false;
  int64_t periodNs_ = TimerGranularityNs;
  int64_t nextDueNs_ = 0;
};

class TimerQueue;

// A periodic timer with an interval in milliseconds; its callback runs from TimerQueue::RunDue.
class Timer {
 public:
  Timer(TimerQueue& queue, std::function<void()> onTick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Refuses an interval below 0 (returns false, nothing changes). A new interval restarts the
  // countdown of an enabled timer.
  bool SetInterval(int ms);
  int Interval() const { return intervalMs_; }
  // Enabling a disabled timer starts its countdown; enabling an enabled one changes nothing.
  void SetEnabled(bool enabled);
  bool Enabled() const { return schedule_.Running(); }
  const TickSchedule& Schedule() const { return schedule_; }

 private:
  friend class TimerQueue;
  TimerQueue& queue_;
  std::function<void()> onTick_;
  int intervalMs_ = 0;
  TickSchedule schedule_;
};

// All timers of the program, run one at a time on the thread that calls RunDue.
class TimerQueue {
 public:
  explicit TimerQueue(MonotonicClock& clock) : clock_(clock) {}
  MonotonicClock& Clock() { return clock_; }
  // Runs each due timer once. A callback may enable, disable, create or destroy timers.
  void RunDue();
  // The earliest due time of an enabled timer, or -1 when none is enabled.
  int64_t NextDueNs() const;

 private:
  friend class Timer;
  bool Contains(const Timer* t) const;
  MonotonicClock& clock_;
  std::vector<Timer*> timers_;
  std::vector<Timer*> snapshot_;  // RunDue's copy, kept so that a tick allocates nothing
};

}  // namespace quarn::platform
