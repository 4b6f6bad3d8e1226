#include "controls/SuperTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Generous: the machine is shared, so no test relies on tight timing.
constexpr int PatienceMs = 10000;

// Runs the event loop until the condition holds or the time is up.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = PatienceMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void RunEventsFor(int ms)
{
    WaitUntil([] { return false; }, ms);
}

// Records what a timer reports, in order.
struct Recorder {
    std::vector<std::int32_t> timeValues;
    std::string events;
    int stops = 0;

    void Attach(TSuperTimer& timer)
    {
        timer.OnTimer = [this, &timer](QObject*) {
            timeValues.push_back(timer.TimeValue());
            events += 'T';
        };
        timer.OnStop = [this](QObject*) {
            ++stops;
            events += 'S';
        };
    }
    int ticks() const { return static_cast<int>(timeValues.size()); }
};

}  // namespace

TEST(SuperTimer, ClockComparisonHoldsAcrossTheWrap)
{
    EXPECT_TRUE(TimerClockReached(1000, 1000));
    EXPECT_TRUE(TimerClockReached(1001, 1000));
    EXPECT_FALSE(TimerClockReached(999, 1000));
    // Due just after the wrap, the clock still just before it: not yet; then reached.
    EXPECT_FALSE(TimerClockReached(0xFFFFFFF0u, 0x10u));
    EXPECT_TRUE(TimerClockReached(0x10u, 0x10u));
    EXPECT_TRUE(TimerClockReached(0x20u, 0xFFFFFFF0u));
    // Past the signed boundary of the count.
    EXPECT_TRUE(TimerClockReached(0x80000005u, 0x7FFFFFFBu));
    EXPECT_FALSE(TimerClockReached(0x7FFFFFFBu, 0x80000005u));
}

TEST(SuperTimer, StartsDisabledWithItsDefaults)
{
    TSuperTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(timer.ThreadPriority(), tpHigher);
    EXPECT_FALSE(timer.CountDown());
    EXPECT_EQ(timer.TimeValue(), 0);
    EXPECT_EQ(timer.StopTick(), -1);
    EXPECT_EQ(timer.Ticks(), 0);
}

TEST(SuperTimer, DeliversNothingUntilEnabledThenTicksOnTheUserInterfaceThread)
{
    TSuperTimer timer;
    timer.SetInterval(30);
    Recorder recorder;
    recorder.Attach(timer);
    std::vector<std::thread::id> threads;
    const auto record = timer.OnTimer;
    timer.OnTimer = [&](QObject* sender) {
        EXPECT_EQ(sender, &timer);
        threads.push_back(std::this_thread::get_id());
        record(sender);
    };

    RunEventsFor(300);
    EXPECT_EQ(recorder.ticks(), 0);

    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.ticks() >= 3; }));
    for (const std::thread::id id : threads)
        EXPECT_EQ(id, std::this_thread::get_id());
    // Each interval is timed from the actual firing of the one before.
    EXPECT_GE(recorder.timeValues[0], 30);
    EXPECT_GE(recorder.timeValues[1] - recorder.timeValues[0], 30);
    EXPECT_GE(recorder.timeValues[2] - recorder.timeValues[1], 30);
}

TEST(SuperTimer, CountingUpStopsItselfAfterTheTickThatReachesStopTick)
{
    TSuperTimer timer;
    timer.SetInterval(100);
    timer.SetStopTick(5);
    Recorder recorder;
    recorder.Attach(timer);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.stops > 0; }));
    EXPECT_FALSE(timer.Enabled());

    // The stop follows the first tick whose clock reaches five intervals; on a quiet machine
    // that is the fifth tick, and never a later one.
    ASSERT_GE(recorder.ticks(), 1);
    EXPECT_LE(recorder.ticks(), 5);
    EXPECT_GE(recorder.timeValues.back(), 500);
    for (std::size_t i = 0; i + 1 < recorder.timeValues.size(); ++i)
        EXPECT_LT(recorder.timeValues[i], 500);
    EXPECT_EQ(recorder.events, std::string(recorder.timeValues.size(), 'T') + "S");

    RunEventsFor(400);
    EXPECT_EQ(recorder.stops, 1);
    EXPECT_EQ(recorder.events.back(), 'S');
}

TEST(SuperTimer, CountingDownFromZeroStopsAfterOneTick)
{
    TSuperTimer timer;
    timer.SetInterval(40);
    timer.SetCountDown(true);
    Recorder recorder;
    recorder.Attach(timer);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.stops > 0; }));
    RunEventsFor(200);
    EXPECT_EQ(recorder.events, "TS");
    EXPECT_LE(timer.TimeValue(), 0);
    EXPECT_FALSE(timer.Enabled());
}

TEST(SuperTimer, CountingDownStopsWhenTheClockRunsOut)
{
    TSuperTimer timer;
    timer.SetInterval(50);
    timer.SetCountDown(true);
    timer.SetTimeValue(200);
    Recorder recorder;
    recorder.Attach(timer);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.stops > 0; }));
    EXPECT_LE(recorder.timeValues.back(), 0);
    for (std::size_t i = 0; i + 1 < recorder.timeValues.size(); ++i)
        EXPECT_GT(recorder.timeValues[i], 0);
    EXPECT_LE(recorder.ticks(), 4);
}

TEST(SuperTimer, PausingKeepsTheClockAndEnablingContinuesIt)
{
    TSuperTimer timer;
    timer.SetInterval(50);
    Recorder recorder;
    recorder.Attach(timer);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.ticks() >= 3; }));
    timer.SetEnabled(false);
    RunEventsFor(50);  // lets a tick already handed over finish
    const int ticksAtPause = recorder.ticks();
    const std::int32_t valueAtPause = timer.TimeValue();

    RunEventsFor(1000);
    EXPECT_EQ(recorder.ticks(), ticksAtPause);

    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.ticks() > ticksAtPause; }));
    const std::int32_t resumed = recorder.timeValues[static_cast<std::size_t>(ticksAtPause)];
    EXPECT_GE(resumed, valueAtPause + 50);
    EXPECT_LT(resumed, valueAtPause + 900);  // the second of pause is not counted
}

TEST(SuperTimer, SettingEnabledToItsValueNeitherRestartsNorRebases)
{
    TSuperTimer timer;
    timer.SetInterval(100);
    Recorder recorder;
    recorder.Attach(timer);
    timer.SetEnabled(true);
    // A rebasing setter would push the due time away at every call and starve the ticks.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 700) {
        timer.SetEnabled(true);
        RunEventsFor(20);
    }
    EXPECT_GE(recorder.ticks(), 2);

    timer.SetEnabled(false);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
}

TEST(SuperTimer, IntervalZeroDisablesAndCannotBeEnabled)
{
    TSuperTimer timer;
    timer.SetInterval(50);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 0);
    EXPECT_EQ(timer.Ticks(), 0);

    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Enabled());
    timer.SetInterval(20);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
}

TEST(SuperTimer, SwitchingDirectionTurnsTheClockWithoutAJump)
{
    TSuperTimer timer;
    timer.SetInterval(50);
    Recorder recorder;
    recorder.Attach(timer);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.ticks() >= 10; }));
    const std::int32_t last = recorder.timeValues.back();
    const int before = recorder.ticks();
    timer.SetCountDown(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.ticks() >= before + 3; }));

    const auto at = [&](int i) { return recorder.timeValues[static_cast<std::size_t>(i)]; };
    EXPECT_LT(std::abs(at(before) - last), 250);
    EXPECT_LT(at(before + 1), at(before));
    EXPECT_LT(at(before + 2), at(before + 1));
}

TEST(SuperTimer, AnOnTimerThatDisablesEndsTheTicks)
{
    TSuperTimer timer;
    timer.SetInterval(30);
    Recorder recorder;
    recorder.Attach(timer);
    const auto record = timer.OnTimer;
    timer.OnTimer = [&](QObject* sender) {
        record(sender);
        timer.SetEnabled(false);
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.ticks() >= 1; }));
    RunEventsFor(300);
    EXPECT_EQ(recorder.events, "T");  // StopTick -1 never holds when counting up
}

TEST(SuperTimer, AnOnTimerThatThrowsStopsTheTimerCleanly)
{
    TSuperTimer timer;
    timer.SetInterval(30);
    int calls = 0;
    timer.OnTimer = [&](QObject*) {
        ++calls;
        throw std::runtime_error("tick failed");
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return calls >= 1; }));
    EXPECT_FALSE(timer.Enabled());
    ASSERT_TRUE(WaitUntil([&] { return timer.Worker().FatalException() != nullptr; }));
    try {
        std::rethrow_exception(timer.Worker().FatalException());
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "tick failed");
    }
    RunEventsFor(200);
    EXPECT_EQ(calls, 1);

    // Enabled again, a fresh worker carries on.
    timer.OnTimer = [&](QObject*) { ++calls; };
    timer.SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return calls >= 3; }));
    EXPECT_EQ(timer.Worker().FatalException(), nullptr);
}

TEST(SuperTimer, AnOnStopThatThrowsLeavesTheTimerStopped)
{
    TSuperTimer timer;
    timer.SetInterval(30);
    timer.SetCountDown(true);
    timer.OnStop = [](QObject*) { throw std::runtime_error("stop failed"); };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return timer.Worker().FatalException() != nullptr; }));
    EXPECT_FALSE(timer.Enabled());
}

TEST(SuperTimer, DestructionIsCleanWhateverTheWorkerIsDoing)
{
    {
        TSuperTimer never;
        never.SetEnabled(false);
    }
    {
        TSuperTimer paused;
        paused.SetInterval(20);
        paused.SetEnabled(true);
        RunEventsFor(100);
        paused.SetEnabled(false);
    }
    {
        TSuperTimer sleeping;  // deep in its sleep: the destructor must not wait it out
        sleeping.SetInterval(60000);
        sleeping.SetEnabled(true);
        RunEventsFor(50);
    }
    int ticks = 0;
    {
        // The worker fires and then waits for this thread, which does not look at its events.
        TSuperTimer handingOver;
        handingOver.SetInterval(1);
        handingOver.OnTimer = [&](QObject*) { ++ticks; };
        handingOver.SetEnabled(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    RunEventsFor(100);  // a tick left in the queue must not reach the freed timer
    EXPECT_EQ(ticks, 0);
}

TEST(SuperTimer, AnOnTimerMayDestroyItsOwnTimer)
{
    auto* timer = new TSuperTimer;
    int ticks = 0;
    timer->SetInterval(20);
    timer->OnTimer = [&](QObject*) {
        // This closure dies with the timer: everything it captured is used before.
        ++ticks;
        delete std::exchange(timer, nullptr);
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return timer == nullptr; }));
    RunEventsFor(100);
    EXPECT_EQ(ticks, 1);
}
