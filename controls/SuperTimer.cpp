#include "controls/SuperTimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <chrono>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// The sleep ends this early; the rest of the interval is spun on the clock for precision.
constexpr std::uint16_t SpinMilliseconds = 50;

const QEvent::Type TickEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// A 32-bit millisecond count that wraps like the system clock it stands for.
std::uint32_t ClockMs()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

int NiceValue(TThreadPriority priority)
{
    switch (priority) {
    case tpIdle: return 19;
    case tpLowest: return 10;
    case tpLower: return 5;
    case tpNormal: return 0;
    case tpHigher: return -5;
    case tpHighest: return -10;
    case tpTimeCritical: return -20;
    }
    return 0;
}

}  // namespace

bool TimerClockReached(std::uint32_t now, std::uint32_t due)
{
    // Unsigned difference, so that the comparison holds across the wrap of the clock.
    return now - due < 0x80000000u;
}

// Runs the ticks that the worker posts, on the thread the timer was created on. It outlives
// a timer destroyed by its own tick handler, so that the handler can return into it.
class TSuperTimer::TickRelay : public QObject {
public:
    TSuperTimer* timer = nullptr;

protected:
    // Only the worker posts events of a user type here: each is a tick.
    void customEvent(QEvent*) override
    {
        if (timer != nullptr)
            timer->DeliverTick();
    }
};

TTimerThread::TTimerThread(TSuperTimer& timer) : timer_(timer) {}

TTimerThread::~TTimerThread() { Terminate(); }

void TTimerThread::Resume()
{
    {
        std::lock_guard lock(timer_.mutex_);
        if (running_)
            return;  // waiting for the enabled flag, which the caller has just set
    }
    // Never started, or left its loop after an error: a fresh thread takes over.
    if (thread_.joinable())
        thread_.join();
    {
        std::lock_guard lock(timer_.mutex_);
        running_ = true;
        fatal_ = nullptr;
    }
    thread_ = std::thread([this] { Run(); });
}

void TTimerThread::Terminate()
{
    {
        std::lock_guard lock(timer_.mutex_);
        timer_.ending_ = true;
    }
    timer_.wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void TTimerThread::ApplyPriority(TThreadPriority priority)
{
    const int id = threadId_;
    if (id == 0)
        return;  // not started yet: the thread applies it itself when it starts
    // Raising the priority needs privileges; without them the thread keeps what it has.
    setpriority(PRIO_PROCESS, static_cast<id_t>(id), NiceValue(priority));
}

std::exception_ptr TTimerThread::FatalException() const
{
    std::lock_guard lock(timer_.mutex_);
    return fatal_;
}

void TTimerThread::Run()
{
    threadId_ = static_cast<int>(gettid());
    ApplyPriority(timer_.priority_);
    try {
        Execute();
    } catch (...) {
        std::lock_guard lock(timer_.mutex_);
        fatal_ = std::current_exception();
    }
    threadId_ = 0;  // its id may soon belong to another thread
}

void TTimerThread::Execute()
{
    TSuperTimer& t = timer_;
    std::unique_lock lock(t.mutex_);
    for (;;) {
        t.wake_.wait(lock, [&] { return t.enabled_ || t.ending_; });
        if (t.ending_)
            return;
        const std::uint16_t interval = t.interval_;
        if (interval > SpinMilliseconds) {
            const auto sleep = std::chrono::milliseconds(interval - SpinMilliseconds);
            if (t.wake_.wait_for(lock, sleep, [&] { return !t.enabled_ || t.ending_; }))
                continue;
        }
        lock.unlock();
        std::uint32_t now = ClockMs();
        while (!TimerClockReached(now, t.nextDue_) && t.enabled_)
            now = ClockMs();
        lock.lock();
        // Paused, or enabled again with a new due time, while spinning: start over.
        if (!t.enabled_ || t.ending_ || !TimerClockReached(now, t.nextDue_))
            continue;

        // The next interval is timed from this actual firing, not from when it was due.
        t.nextDue_ = now + t.interval_;
        const std::uint32_t elapsed = now - t.startTime_;
        const std::uint32_t base = static_cast<std::uint32_t>(t.baseValue_);
        t.timeValue_ = static_cast<std::int32_t>(t.countDown_ ? base - elapsed : base + elapsed);

        t.tickPending_ = true;
        QCoreApplication::postEvent(t.relay_, new QEvent(TickEventType));
        t.wake_.wait(lock, [&] { return !t.tickPending_ || t.ending_; });
        if (t.ending_)
            return;
        if (t.tickError_) {
            // Decided under the lock, so that an enabling from now on starts a new thread.
            running_ = false;
            const std::exception_ptr error = std::exchange(t.tickError_, nullptr);
            std::rethrow_exception(error);
        }
    }
}

TSuperTimer::TSuperTimer(QObject* owner)
    : QObject(owner), relay_(new TickRelay), worker_(std::make_unique<TTimerThread>(*this))
{
    relay_->timer = this;
}

TSuperTimer::~TSuperTimer()
{
    // The worker never waits on this thread without also waking on the end flag, so the
    // join cannot deadlock, not even while a tick is handed over.
    worker_->Terminate();
    relay_->timer = nullptr;
    if (inTick_)
        relay_->deleteLater();
    else
        delete relay_;
}

bool TSuperTimer::Enabled() const { return enabled_; }

void TSuperTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    if (value && interval_ == 0)
        return;
    {
        std::lock_guard lock(mutex_);
        if (value) {
            const std::uint32_t now = ClockMs();
            baseValue_ = timeValue_;
            startTime_ = now;
            nextDue_ = now + interval_;
        }
        enabled_ = value;
    }
    wake_.notify_all();
    if (value)
        worker_->Resume();
}

std::uint16_t TSuperTimer::Interval() const { return interval_; }

void TSuperTimer::SetInterval(std::uint16_t value)
{
    if (value == interval_)
        return;
    if (value == 0)
        SetEnabled(false);
    interval_ = value;
}

TThreadPriority TSuperTimer::ThreadPriority() const { return priority_; }

void TSuperTimer::SetThreadPriority(TThreadPriority value)
{
    if (value == priority_)
        return;
    priority_ = value;
    worker_->ApplyPriority(value);
}

bool TSuperTimer::CountDown() const { return countDown_; }

void TSuperTimer::SetCountDown(bool value)
{
    if (value == countDown_)
        return;
    std::lock_guard lock(mutex_);
    if (enabled_) {
        // The clock's value now, in the old direction, becomes the base of the new one.
        const std::uint32_t now = ClockMs();
        const std::uint32_t elapsed = now - startTime_;
        const std::uint32_t base = static_cast<std::uint32_t>(baseValue_);
        baseValue_ = static_cast<std::int32_t>(countDown_ ? base - elapsed : base + elapsed);
        startTime_ = now;
    }
    countDown_ = value;
}

std::int32_t TSuperTimer::TimeValue() const { return timeValue_; }

void TSuperTimer::SetTimeValue(std::int32_t value)
{
    std::lock_guard lock(mutex_);
    timeValue_ = value;
    baseValue_ = value;
    startTime_ = ClockMs();
}

std::int32_t TSuperTimer::StopTick() const { return stopTick_; }

void TSuperTimer::SetStopTick(std::int32_t value) { stopTick_ = value; }

std::int32_t TSuperTimer::Ticks() const
{
    const std::int32_t interval = interval_;
    return interval == 0 ? 0 : timeValue_ / interval;
}

void TSuperTimer::Tick()
{
    const QPointer<TSuperTimer> alive(this);
    if (OnTimer)
        OnTimer(this);
    if (!alive)
        return;
    const std::int32_t ticks = Ticks();
    if (countDown_) {
        if (ticks > stopTick_ && timeValue_ > 0)
            return;
    } else if (ticks < stopTick_ || stopTick_ <= 0) {
        return;
    }
    SetEnabled(false);
    if (OnStop)
        OnStop(this);
}

void TSuperTimer::DeliverTick()
{
    TickRelay* relay = relay_;
    inTick_ = true;
    std::exception_ptr error;
    try {
        Tick();
    } catch (...) {
        error = std::current_exception();
    }
    if (relay->timer == nullptr)
        return;  // destroyed by its own handler; the worker is already gone
    inTick_ = false;
    if (error)
        SetEnabled(false);
    {
        std::lock_guard lock(mutex_);
        tickPending_ = false;
        tickError_ = error;
    }
    wake_.notify_all();
}
