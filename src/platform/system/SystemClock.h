#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

// The machine's clock, with wall timers the kernel wakes (TimerFdWallTimer).
class SystemClock final : public Clock
{
public:
    SystemClock() { m_started.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override { return m_started.elapsed(); }
    WallTimer* createWallTimer(QObject* parent) const override;

private:
    QElapsedTimer m_started;
};
