#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

#include <array>

// How many alarms the panel holds: one row each.
inline constexpr int alarmCount = 3;

// One of the alarms, as confirmed on the alarm panel.
struct AlarmRecord
{
    bool enabled = false;
    QTime time;
    QDateTime due; // the next moment at which time occurs, fixed when the alarm is confirmed
    QString prompt;
    int ringCount = 0;
};

struct AlarmTable
{
    std::array<AlarmRecord, alarmCount> alarms;
    bool confirmed = false;

    bool anyArmed() const;
    // Arms record i for the next occurrence of time at or after now.
    void arm(int i, QTime time, const QString& prompt, int rings, const QDateTime& now);
    // The alarm check: rings every armed record whose moment has come (at or after, so that an
    // alarm missed while the machine slept rings at the first check after waking), counts its
    // rings down and disarms it at zero. Returns the records that rang, in order.
    QList<int> check(const QDateTime& now);
};

// The line on the alarm notice: whole seconds first, then minutes and seconds from them.
QString elapsedText(qint64 elapsedMs);
