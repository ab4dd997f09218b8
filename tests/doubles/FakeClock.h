#pragma once

#include "platform/Clock.h"

// A clock that only moves when the test moves it.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(9, 0))) : m_now(now) {}
    QDateTime now() const override { return m_now; }
    qint64 monotonicMs() const override { return m_monotonic; }

    void set(const QDateTime& now) { m_now = now; }
    // Wall clock and monotonic clock move together.
    void advance(qint64 ms)
    {
        m_now = m_now.addMSecs(ms);
        m_monotonic += ms;
    }

private:
    QDateTime m_now;
    qint64 m_monotonic = 1000000;
};
