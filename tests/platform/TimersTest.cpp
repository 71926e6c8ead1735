// TimersTest.cpp — the heartbeat rounding and the tick schedule, against a clock we move by hand.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Timers.h"

namespace quarn::platform {
namespace {

constexpr int64_t Ms = 1'000'000;
constexpr int64_t Second = 1000 * Ms;

class FakeClock : public MonotonicClock {
 public:
  int64_t NowNs() override { return now; }
  int64_t now = 5 * Second;  // not zero: nothing may assume the clock starts at 0
};

TEST(EffectivePeriod, RoundsUpToWholeHeartbeats) {
  EXPECT_EQ(EffectivePeriodNs(2), 15'625'000);   // the design interval: 64 ticks a second
  EXPECT_EQ(EffectivePeriodNs(12), 15'625'000);  // one "Zpomalit": nothing visible changes
  EXPECT_EQ(EffectivePeriodNs(15), 15'625'000);
  EXPECT_EQ(EffectivePeriodNs(16), 31'250'000);
  EXPECT_EQ(EffectivePeriodNs(22), 31'250'000);  // two: half the rate
  EXPECT_EQ(EffectivePeriodNs(32), 46'875'000);
  EXPECT_EQ(EffectivePeriodNs(50), 62'500'000);
  EXPECT_EQ(EffectivePeriodNs(1000), 1000 * Ms);  // a whole number of heartbeats stays as it is
  EXPECT_EQ(EffectivePeriodNs(0), 15'625'000);    // never faster than the heartbeat
}

int TicksIn(int intervalMs, int64_t spanNs, int64_t pollEveryNs) {
  TickSchedule s;
  const int64_t start = 7 * Second;
  s.Start(start, EffectivePeriodNs(intervalMs));
  int ticks = 0;
  for (int64_t t = start; t <= start + spanNs; t += pollEveryNs) ticks += s.Poll(t) ? 1 : 0;
  return ticks;
}

TEST(TickSchedule, TickRatesFollowTheRoundedPeriod) {
  EXPECT_EQ(TicksIn(2, Second, Ms), 64);
  EXPECT_EQ(TicksIn(12, Second, Ms), 64);
  EXPECT_EQ(TicksIn(22, Second, Ms), 32);
  EXPECT_EQ(TicksIn(1000, 10 * Second, Ms), 10);
}

TEST(TickSchedule, LatePollsDoNotDrift) {
  // Polled at awkward moments (every 3.7 ms, so each tick runs a little late): after an hour the
  // count is still exactly 64 a second, and due times stay on the grid.
  TickSchedule s;
  const int64_t start = 123'456'789;
  s.Start(start, EffectivePeriodNs(2));
  int64_t ticks = 0;
  const int64_t hour = 3600 * Second;
  for (int64_t t = start; t <= start + hour; t += 3'700'000) ticks += s.Poll(t) ? 1 : 0;
  EXPECT_NEAR(static_cast<double>(ticks), 3600.0 * 64, 1.0);
  EXPECT_EQ((s.NextDueNs() - start) % EffectivePeriodNs(2), 0);
}

TEST(TickSchedule, BacklogAfterAStallIsDropped) {
  TickSchedule s;
  const int64_t period = EffectivePeriodNs(2);
  s.Start(0, period);
  EXPECT_FALSE(s.Poll(period - 1));
  EXPECT_TRUE(s.Poll(period));
  // A stall of a whole second: one late tick, not 64 in a row.
  const int64_t late = period + Second + 3 * Ms;
  EXPECT_TRUE(s.Poll(late));
  EXPECT_FALSE(s.Poll(late));
  EXPECT_FALSE(s.Poll(late + 1 * Ms));
  // The next tick is back on the timer's grid, the first grid point after the late one.
  EXPECT_EQ(s.NextDueNs() % period, 0);
  EXPECT_GT(s.NextDueNs(), late);
  EXPECT_LE(s.NextDueNs(), late + period);
  EXPECT_TRUE(s.Poll(s.NextDueNs()));
}

TEST(TickSchedule, StoppedScheduleNeverTicks) {
  TickSchedule s;
  EXPECT_FALSE(s.Poll(10 * Second));
  s.Start(0, Second);
  s.Stop();
  EXPECT_FALSE(s.Poll(10 * Second));
}

TEST(Timer, IntervalChangesFollowTheGameButtons) {
  FakeClock clock;
  TimerQueue queue(clock);
  int ticks = 0;
  Timer timer(queue, [&] { ++ticks; });
  ASSERT_TRUE(timer.SetInterval(2));
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.SetInterval(-8));  // "Zrychlit" below zero is refused...
  EXPECT_EQ(timer.Interval(), 2);       // ...and nothing changes
  for (int i = 0; i < 1000; ++i) {
    clock.now += Ms;
    queue.RunDue();
  }
  EXPECT_EQ(ticks, 64);

  ticks = 0;
  ASSERT_TRUE(timer.SetInterval(22));
  for (int i = 0; i < 1000; ++i) {
    clock.now += Ms;
    queue.RunDue();
  }
  EXPECT_EQ(ticks, 32);

  timer.SetEnabled(false);
  clock.now += 10 * Second;
  queue.RunDue();
  EXPECT_EQ(ticks, 32);
  EXPECT_EQ(queue.NextDueNs(), -1);
}

TEST(Timer, EnablingRestartsTheCountdownFromNow) {
  FakeClock clock;
  TimerQueue queue(clock);
  int ticks = 0;
  Timer timer(queue, [&] { ++ticks; });
  timer.SetInterval(1000);
  clock.now += 10 * Second;  // time passing while disabled earns nothing
  timer.SetEnabled(true);
  EXPECT_EQ(queue.NextDueNs(), clock.now + Second);
  timer.SetEnabled(true);  // already on: the countdown is not restarted
  EXPECT_EQ(queue.NextDueNs(), clock.now + Second);
  clock.now += Second - 1;
  queue.RunDue();
  EXPECT_EQ(ticks, 0);
  clock.now += 1;
  queue.RunDue();
  EXPECT_EQ(ticks, 1);
}

TEST(TimerQueue, CallbacksMayDestroyTimersAndTheEarliestIsWaitedFor) {
  FakeClock clock;
  TimerQueue queue(clock);
  std::unique_ptr<Timer> victim;
  int victimTicks = 0, killerTicks = 0;
  // The closing screen's tick destroys its own timer and another one due in the same pass.
  std::unique_ptr<Timer> killer;
  killer = std::make_unique<Timer>(queue, [&] {
    ++killerTicks;
    victim.reset();
    killer.reset();
  });
  victim = std::make_unique<Timer>(queue, [&] { ++victimTicks; });
  killer->SetInterval(50);
  victim->SetInterval(50);
  killer->SetEnabled(true);
  victim->SetEnabled(true);
  EXPECT_EQ(queue.NextDueNs(), clock.now + EffectivePeriodNs(50));
  clock.now += Second;
  queue.RunDue();
  EXPECT_EQ(killerTicks, 1);
  EXPECT_EQ(victimTicks, 0);
  EXPECT_FALSE(killer);
  EXPECT_EQ(queue.NextDueNs(), -1);

  Timer slow(queue, [] {}), fast(queue, [] {});
  slow.SetInterval(1000);
  fast.SetInterval(2);
  slow.SetEnabled(true);
  fast.SetEnabled(true);
  EXPECT_EQ(queue.NextDueNs(), clock.now + EffectivePeriodNs(2));
}

}  // namespace
}  // namespace quarn::platform
