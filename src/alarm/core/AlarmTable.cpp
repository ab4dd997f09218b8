#include "alarm/core/AlarmTable.h"

#include <QList>

#include <cmath>

namespace {

// After a regular ringing: a one-time alarm is done, a repeating one moves on to its next day, and
// never to a day already past (after a sleep) nor again to the day it rang (the clock set back).
void moveOn(AlarmRecord& r, const QDateTime& now, const HolidayCalendar* holidays)
{
    if (r.repeat == Repeat::None) {
        r.enabled = false;
        return;
    }
    const QDateTime nextDay(r.due.date().addDays(1), QTime(0, 0));
    r.due = AlarmSchedule::next(r.time, r.repeat, std::max(nextDay, now), holidays);
}

QDateTime earlier(const QDateTime& a, const QDateTime& b)
{
    if (!a.isValid())
        return b;
    return b.isValid() && b < a ? b : a;
}

} // namespace

bool AlarmTable::anyArmed() const
{
    for (const AlarmRecord& r : alarms)
        if (r.active())
            return true;
    return false;
}

void AlarmTable::arm(int i, QTime time, const QString& prompt, int rings, const QDateTime& now, Repeat repeat)
{
    AlarmRecord& r = alarms[i];
    r.enabled = true;
    r.time = time;
    r.repeat = repeat;
    r.prompt = prompt;
    r.ringCount = rings;
    r.ringsLeft = 0;
    r.due = AlarmSchedule::next(time, repeat, now, holidays);
}

void AlarmTable::disarm(int i)
{
    AlarmRecord& r = alarms[i];
    r.enabled = false;
    r.ringsLeft = 0;
    r.snoozedTo = QDateTime();
}

AlarmCheck AlarmTable::check(const QDateTime& now)
{
    AlarmCheck found;
    for (int i = 0; i < int(alarms.size()); ++i) {
        AlarmRecord& r = alarms[i];
        if (r.ringsLeft == 0) {
            const bool regular = r.enabled && now >= r.due;
            const bool putOff = r.snoozedTo.isValid() && now >= r.snoozedTo;
            if (!regular && !putOff)
                continue;
            // Both at once ring once, judged by the later of the two.
            QDateTime moment;
            if (putOff) {
                moment = r.snoozedTo;
                r.snoozedTo = QDateTime();
            }
            if (regular) {
                moment = std::max(moment.isValid() ? moment : r.due, r.due);
                moveOn(r, now, holidays);
            }
            if (moment.msecsTo(now) > AlarmSchedule::lateLimitMs) {
                found.missed.append({i, moment});
                continue;
            }
            r.ringsLeft = r.ringCount;
            r.nextRing = now;
        }
        if (r.ringsLeft > 0 && now >= r.nextRing) {
            found.rang.append(i);
            --r.ringsLeft;
            r.nextRing = now.addMSecs(AlarmSchedule::ringIntervalMs);
        }
    }
    return found;
}

void AlarmTable::snooze(int i, const QDateTime& until)
{
    alarms[i].snoozedTo = until;
    alarms[i].ringsLeft = 0;
}

void AlarmTable::cancelSnooze(int i)
{
    alarms[i].snoozedTo = QDateTime();
}

QDateTime AlarmTable::nextWake() const
{
    QDateTime wake;
    for (const AlarmRecord& r : alarms) {
        if (r.ringsLeft > 0) {
            wake = earlier(wake, r.nextRing);
            continue;
        }
        if (r.enabled)
            wake = earlier(wake, r.due);
        wake = earlier(wake, r.snoozedTo);
    }
    return wake;
}

QString elapsedText(qint64 elapsedMs)
{
    const qint64 seconds = std::llround(std::max<qint64>(elapsedMs, 0) / 1000.0);
    return QStringLiteral("超期时长: %1分%2秒").arg(seconds / 60).arg(seconds % 60);
}
