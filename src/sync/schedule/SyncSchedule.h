#pragma once

#include "platform/Result.h"

#include <QDateTime>
#include <QObject>

#include <functional>

class Clock;
class Notifications;
class SyncRunner;
class WallTimer;

// When the running program syncs: at start, a few seconds after each change, every quarter of an
// hour, and when the network comes back; never while an entry is being made, and one at a time.
// A run of failures is told once, with its reason; a success ends it.
class SyncSchedule final : public QObject
{
    Q_OBJECT
public:
    static constexpr int afterChangeMs = 5000;
    static constexpr int periodMs = 15 * 60 * 1000;
    static constexpr int firstRetryMs = 60 * 1000;

    // linked: whether the folder has a task list now (it may be connected or cut off meanwhile).
    SyncSchedule(const Clock& clock, SyncRunner& runner, Notifications& notifications,
                 std::function<bool()> linked, QObject* parent = nullptr);

    void start();
    void changed();
    void networkBack();
    void setEntryBusy(bool busy);
    bool entryBusy() const { return m_busy; }
    bool running() const { return m_running; }
    QDateTime nextSync() const { return m_due; }

private:
    void due(const QDateTime& when);
    void run();
    void finished(const Result& result);

    const Clock& m_clock;
    SyncRunner& m_runner;
    Notifications& m_notifications;
    std::function<bool()> m_linked;
    WallTimer* m_timer;
    QDateTime m_due;
    bool m_busy = false;
    bool m_running = false;
    bool m_again = false; // a change came while a sync ran
    int m_failures = 0;
    int m_notice = -1;
};
