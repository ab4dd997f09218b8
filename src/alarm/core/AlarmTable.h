#pragma once

#include "alarm/core/AlarmSchedule.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

#include <array>

class HolidayCalendar;

// How many alarms the panel holds: one row each.
inline constexpr int alarmCount = 3;

// One of the alarms, as confirmed on the alarm panel.
struct AlarmRecord
{
    bool enabled = false; // armed for its next regular day
    QTime time;
    Repeat repeat = Repeat::None;
    QDateTime due; // the next regular moment: fixed at confirmation, moved on after each ringing
    QString prompt;
    int ringCount = 0;   // rings each time it goes off
    int ringsLeft = 0;   // rings still to come of the ringing under way
    QDateTime nextRing;  // when the next of those is due
    QDateTime snoozedTo; // put off until then; invalid when not put off

    // Anything still to ring: a regular day, a put-off ring or the rest of a ringing.
    bool active() const { return enabled || ringsLeft > 0 || snoozedTo.isValid(); }
};

// What one alarm check found.
struct AlarmCheck
{
    QList<int> rang; // records that rang now, in order
    // Records found too late to ring, with the moment each was due.
    QList<std::pair<int, QDateTime>> missed;
};

struct AlarmTable
{
    std::array<AlarmRecord, alarmCount> alarms;
    bool confirmed = false;
    // The official arrangement that official-workday alarms follow; Monday to Friday without it.
    const HolidayCalendar* holidays = nullptr;

    bool anyArmed() const;
    // Arms record i for the next occurrence of time at or after now on repeat's days.
    void arm(int i, QTime time, const QString& prompt, int rings, const QDateTime& now,
             Repeat repeat = Repeat::None);
    // Stops record i altogether: its regular days, a snooze and a ringing under way.
    void disarm(int i);
    // The alarm check. A record whose moment has come starts to ring (unless it is found too late),
    // and a ringing record rings once per check until its rings are used up; a one-time alarm is
    // then disarmed, a repeating one waits for its next day. Rings come at least ringIntervalMs apart.
    AlarmCheck check(const QDateTime& now);
    // Puts record i off until the given moment; its regular days stay as they are.
    void snooze(int i, const QDateTime& until);
    void cancelSnooze(int i);
    // When the check next has something to do; invalid when nothing is armed.
    QDateTime nextWake() const;
};

// The line on the alarm notice: whole seconds first, then minutes and seconds from them.
QString elapsedText(qint64 elapsedMs);
