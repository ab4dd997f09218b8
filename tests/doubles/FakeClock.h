#pragma once

#include "platform/Clock.h"
#include "platform/WallTimer.h"

#include <QList>
#include <QPointer>

// A wall timer that fires when its FakeClock reaches its deadline.
class FakeWallTimer final : public WallTimer
{
public:
    using WallTimer::WallTimer;
    void setDeadline(const QDateTime& at) override { m_deadline = at; }
    QDateTime deadline() const override { return m_deadline; }
    void fire() { emit fired(); }

private:
    QDateTime m_deadline;
};

// A clock that only moves when the test moves it. Its wall timers fire as it passes their
// deadlines, and all of them when it is set, as a set system clock wakes the real ones.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(9, 0))) : m_now(now) {}
    QDateTime now() const override { return m_now; }
    qint64 monotonicMs() const override { return m_monotonic; }
    WallTimer* createWallTimer(QObject* parent) const override
    {
        auto* timer = new FakeWallTimer(parent);
        m_timers.append(timer);
        return timer;
    }

    void set(const QDateTime& now)
    {
        m_now = now;
        fireTimers(true);
    }
    // Wall clock and monotonic clock move together.
    void advance(qint64 ms)
    {
        m_now = m_now.addMSecs(ms);
        m_monotonic += ms;
        fireTimers(false);
    }

private:
    void fireTimers(bool clockSet)
    {
        const QList<QPointer<FakeWallTimer>> timers = m_timers;
        for (const QPointer<FakeWallTimer>& timer : timers)
            if (timer && timer->isActive() && (clockSet || timer->deadline() <= m_now))
                timer->fire();
    }

    QDateTime m_now;
    qint64 m_monotonic = 1000000;
    mutable QList<QPointer<FakeWallTimer>> m_timers;
};
