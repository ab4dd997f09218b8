#include "platform/system/TimerFdWallTimer.h"

#include <QSocketNotifier>
#include <QTimer>
#include <QtDebug>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

// The fallback looks again at least this often, so that a sleep or a set clock delays it little.
constexpr qint64 fallbackStepMs = 30 * 1000;

} // namespace

TimerFdWallTimer::TimerFdWallTimer(QObject* parent) : WallTimer(parent)
{
    m_fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0) {
        qWarning("kestrin: timerfd_create: %s; the alarms are checked every 30 s instead", strerror(errno));
        startFallback();
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TimerFdWallTimer::onReadable);
}

void TimerFdWallTimer::startFallback()
{
    if (m_notifier)
        m_notifier->setEnabled(false);
    m_fallback = new QTimer(this);
    m_fallback->setSingleShot(true);
    connect(m_fallback, &QTimer::timeout, this, [this] {
        if (QDateTime::currentDateTime() >= m_deadline)
            emit fired();
        else
            arm();
    });
}

TimerFdWallTimer::~TimerFdWallTimer()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void TimerFdWallTimer::setDeadline(const QDateTime& at)
{
    m_deadline = at;
    arm();
}

void TimerFdWallTimer::arm()
{
    if (m_fallback) {
        if (!m_deadline.isValid()) {
            m_fallback->stop();
            return;
        }
        const qint64 wait = QDateTime::currentDateTime().msecsTo(m_deadline);
        m_fallback->start(int(std::clamp<qint64>(wait, 0, fallbackStepMs)));
        return;
    }
    itimerspec wake{};
    if (m_deadline.isValid()) {
        // Zero would stop the timer: a moment at or before the epoch fires at once all the same.
        const qint64 ms = std::max<qint64>(m_deadline.toMSecsSinceEpoch(), 1);
        wake.it_value.tv_sec = time_t(ms / 1000);
        wake.it_value.tv_nsec = long(ms % 1000) * 1000000;
    }
    // A timer the kernel refused would never fire: the alarm would stay silent.
    if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &wake, nullptr) != 0) {
        qWarning("kestrin: timerfd_settime: %s; this timer looks every 30 s instead", strerror(errno));
        startFallback();
        arm();
    }
}

void TimerFdWallTimer::onReadable()
{
    std::uint64_t expirations = 0;
    // ECANCELED: the clock was set. Either way the owner looks at the time and sets the next deadline.
    if (::read(m_fd, &expirations, sizeof expirations) < 0 && errno == EAGAIN)
        return;
    emit fired();
}
