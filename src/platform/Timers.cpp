// Timers.cpp — the heartbeat rounding, the drift-free schedule and the timer queue.
#include "Timers.h"

#include <algorithm>
#include <chrono>

namespace quarn::platform {

int64_t EffectivePeriodNs(int intervalMs) {
  const int64_t ns = std::max<int64_t>(intervalMs, 0) * 1'000'000;
  const int64_t beats = std::max<int64_t>((ns + TimerGranularityNs - 1) / TimerGranularityNs, 1);
  return beats * TimerGranularityNs;
}

int64_t SteadyClock::NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void TickSchedule::Start(int64_t nowNs, int64_t periodNs) {
  running_ = true;
  periodNs_ = std::max<int64_t>(periodNs, 1);
  nextDueNs_ = nowNs + periodNs_;
}

bool TickSchedule::Poll(int64_t nowNs) {
  if (!running_ || nowNs < nextDueNs_) return false;
  const int64_t missed = (nowNs - nextDueNs_) / periodNs_;
  nextDueNs_ += (missed + 1) * periodNs_;
  return true;
}

Timer::Timer(TimerQueue& queue, std::function<void()> onTick)
    : queue_(queue), onTick_(std::move(onTick)) {
  queue_.timers_.push_back(this);
}

Timer::~Timer() { std::erase(queue_.timers_, this); }

bool Timer::SetInterval(int ms) {
  if (ms < 0) return false;
  intervalMs_ = ms;
  if (schedule_.Running()) schedule_.Start(queue_.clock_.NowNs(), EffectivePeriodNs(ms));
  return true;
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == schedule_.Running()) return;
  if (enabled) {
    schedule_.Start(queue_.clock_.NowNs(), EffectivePeriodNs(intervalMs_));
  } else {
    schedule_.Stop();
  }
}

bool TimerQueue::Contains(const Timer* t) const {
  return std::find(timers_.begin(), timers_.end(), t) != timers_.end();
}

void TimerQueue::RunDue() {
  // A callback may destroy timers (closing a screen) or create new ones: walk a copy and skip
  // any that are gone.
  // A callback may run RunDue again (a modal loop): that one walks a copy of its own.
  std::vector<Timer*> snapshot;
  snapshot.swap(snapshot_);
  snapshot.assign(timers_.begin(), timers_.end());
  for (Timer* t : snapshot) {
    if (!Contains(t) || !t->schedule_.Poll(clock_.NowNs())) continue;
    // A copy, so that a callback that destroys its own timer does not pull the code from under us.
    const std::function<void()> onTick = t->onTick_;
    if (onTick) onTick();
  }
  snapshot.swap(snapshot_);
}

int64_t TimerQueue::NextDueNs() const {
  int64_t next = -1;
  for (const Timer* t : timers_) {
    if (!t->schedule_.Running()) continue;
    if (next < 0 || t->schedule_.NextDueNs() < next) next = t->schedule_.NextDueNs();
  }
  return next;
}

}  // namespace quarn::platform
