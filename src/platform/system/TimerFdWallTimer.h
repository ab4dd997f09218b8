#pragma once

#include "platform/WallTimer.h"

class QSocketNotifier;
class QTimer;

// Linux: a timerfd on CLOCK_REALTIME, set for an absolute moment and cancelled when the clock is
// set. The program sleeps until then: no ticking to compare times.
class TimerFdWallTimer final : public WallTimer
{
public:
    explicit TimerFdWallTimer(QObject* parent = nullptr);
    ~TimerFdWallTimer() override;

    void setDeadline(const QDateTime& at) override;
    QDateTime deadline() const override { return m_deadline; }

private:
    void onReadable();
    void arm();
    // Looks at the clock every 30 s instead, where the kernel gives no timer.
    void startFallback();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_fallback = nullptr; // where the kernel gives no timer: a coarse monotonic one
    QDateTime m_deadline;
};
