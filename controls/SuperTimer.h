#pragma once
// A periodic timer whose intervals are measured by a worker thread of its own. The worker
// sleeps through most of each interval, spins on the millisecond clock for the rest, and hands
// each tick to the user-interface thread synchronously: at most one tick is ever outstanding,
// and a busy user-interface thread delays the worker instead of queueing ticks.

#include "controls/NotifyEvent.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TSuperTimer;

// Whether the 32-bit millisecond clock, now, has reached the due time; true for due times up
// to about 24 days behind, so that the wrap of the clock every 49.7 days never stalls a timer.
bool TimerClockReached(std::uint32_t now, std::uint32_t due);

// The worker of one TSuperTimer. Created paused: its thread starts at the first Resume.
class TTimerThread {
public:
    explicit TTimerThread(TSuperTimer& timer);
    ~TTimerThread();
    TTimerThread(const TTimerThread&) = delete;
    TTimerThread& operator=(const TTimerThread&) = delete;

    // Starts the thread, or starts it again when an error ended the previous one.
    void Resume();
    // Tells the loop to end, wakes it wherever it waits and joins it.
    void Terminate();
    void ApplyPriority(TThreadPriority priority);
    // What ended the loop early (an error of OnTimer or OnStop), or null.
    std::exception_ptr FatalException() const;

private:
    void Run();
    void Execute();

    TSuperTimer& timer_;
    std::thread thread_;
    bool running_ = false;  // guarded by the timer's mutex
    std::atomic<int> threadId_{0};
    std::exception_ptr fatal_;
};

class TSuperTimer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Interval READ IntervalValue WRITE SetIntervalValue)
    Q_PROPERTY(bool CountDown READ CountDown WRITE SetCountDown)
public:
    explicit TSuperTimer(QObject* owner = nullptr);
    ~TSuperTimer() override;

    bool Enabled() const;
    // Enabling with Interval 0 is refused: the timer would have no period.
    void SetEnabled(bool value);
    std::uint16_t Interval() const;
    // 0 disables the timer first. A running timer picks a new value up at its next tick.
    void SetInterval(std::uint16_t value);
    TThreadPriority ThreadPriority() const;
    void SetThreadPriority(TThreadPriority value);
    bool CountDown() const;
    // Turns the running clock around from its present value, without a jump.
    void SetCountDown(bool value);

    // The running clock in milliseconds; a running timer continues from a new value.
    std::int32_t TimeValue() const;
    void SetTimeValue(std::int32_t value);
    // Whole intervals at which the timer stops itself; 0 or below: never when counting up.
    std::int32_t StopTick() const;
    void SetStopTick(std::int32_t value);
    // TimeValue divided by Interval, truncated; 0 while Interval is 0.
    std::int32_t Ticks() const;

    // The worker, for its error after an OnTimer or OnStop handler threw.
    const TTimerThread& Worker() const { return *worker_; }

    TNotifyEvent OnTimer;
    TNotifyEvent OnStop;

protected:
    // Runs on the user-interface thread at each tick: OnTimer, then the stop test.
    virtual void Tick();

private:
    friend class TTimerThread;
    class TickRelay;

    int IntervalValue() const { return Interval(); }
    void SetIntervalValue(int value) { SetInterval(static_cast<std::uint16_t>(value)); }
    void RebaseLocked(std::uint32_t now);
    // Called from the relay on the user-interface thread.
    void DeliverTick();

    // Guards the run fields, the pause and the hand-off between the two threads.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> enabled_{false};
    std::atomic<std::uint16_t> interval_{1000};
    std::atomic<TThreadPriority> priority_{tpHigher};
    std::atomic<std::int32_t> timeValue_{0};
    std::atomic<bool> countDown_{false};
    std::int32_t stopTick_ = -1;
    std::atomic<std::uint32_t> nextDue_{0};
    std::int32_t baseValue_ = 0;
    std::uint32_t startTime_ = 0;
    bool ending_ = false;
    bool tickPending_ = false;
    std::exception_ptr tickError_;
    bool inTick_ = false;
    TickRelay* relay_;
    std::unique_ptr<TTimerThread> worker_;
};
