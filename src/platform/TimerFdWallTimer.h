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

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_fallback = nullptr; // where no timerfd can be made: a coarse monotonic timer
    QDateTime m_deadline;
};
