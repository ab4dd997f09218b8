#include "sync/schedule/SyncSchedule.h"

#include "sync/schedule/SyncRunner.h"

#include "platform/Clock.h"
#include "platform/Notifications.h"
#include "platform/WallTimer.h"

#include <algorithm>

SyncSchedule::SyncSchedule(const Clock& clock, SyncRunner& runner, Notifications& notifications,
                           std::function<bool()> linked, QObject* parent)
    : QObject(parent), m_clock(clock), m_runner(runner), m_notifications(notifications),
      m_linked(std::move(linked)), m_timer(clock.createWallTimer(this))
{
    connect(m_timer, &WallTimer::fired, this, &SyncSchedule::run);
    connect(&m_runner, &SyncRunner::finished, this, &SyncSchedule::finished);
}

void SyncSchedule::start()
{
    run();
}

void SyncSchedule::changed()
{
    if (m_running) {
        m_again = true;
        return;
    }
    const QDateTime soon = m_clock.now().addMSecs(afterChangeMs);
    // A change delays no sync already due sooner, so a burst of changes makes one sync.
    if (!m_due.isValid() || soon < m_due)
        due(soon);
}

void SyncSchedule::networkBack()
{
    if (!m_running)
        run();
}

void SyncSchedule::setEntryBusy(bool busy)
{
    m_busy = busy;
    // The sync that came due meanwhile runs as soon as the entry ends.
    if (!busy && m_due.isValid() && m_due <= m_clock.now())
        run();
}

void SyncSchedule::due(const QDateTime& when)
{
    m_due = when;
    m_timer->setDeadline(when);
}

void SyncSchedule::run()
{
    if (m_running)
        return;
    if (!m_linked()) {
        // Nothing to sync with: look again at the next period, in case a link was made.
        due(m_clock.now().addMSecs(periodMs));
        return;
    }
    if (m_busy) {
        m_due = m_clock.now();
        return;
    }
    m_running = true;
    m_again = false;
    m_runner.start();
}

void SyncSchedule::finished(const Result& result)
{
    m_running = false;
    if (result) {
        m_failures = 0;
        if (m_notice >= 0) {
            m_notifications.withdraw(m_notice);
            m_notice = -1;
        }
        due(m_clock.now().addMSecs(m_again ? afterChangeMs : periodMs));
        return;
    }
    if (m_failures++ == 0)
        m_notice = m_notifications.notify(QStringLiteral("Kestrin 同步失败"), result.error());
    // Tried again soon at first, then less often, never less than each period.
    const qint64 wait = std::min<qint64>(qint64(firstRetryMs) << std::min(m_failures - 1, 8), periodMs);
    due(m_clock.now().addMSecs(m_again ? std::min<qint64>(wait, afterChangeMs) : wait));
}
