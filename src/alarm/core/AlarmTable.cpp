#include "alarm/core/AlarmTable.h"

#include <QList>

#include <cmath>

bool AlarmTable::anyArmed() const
{
    for (const AlarmRecord& r : alarms)
        if (r.enabled)
            return true;
    return false;
}

void AlarmTable::arm(int i, QTime time, const QString& prompt, int rings, const QDateTime& now)
{
    AlarmRecord& r = alarms[i];
    r.enabled = true;
    r.time = time;
    r.prompt = prompt;
    r.ringCount = rings;
    QDateTime due(now.date(), time);
    if (due < now) // a time already past today means tomorrow
        due = due.addDays(1);
    r.due = due;
}

QList<int> AlarmTable::check(const QDateTime& now)
{
    QList<int> rang;
    for (int i = 0; i < int(alarms.size()); ++i) {
        AlarmRecord& r = alarms[i];
        if (r.enabled && now >= r.due) {
            rang.append(i);
            --r.ringCount;
        }
        if (r.ringCount <= 0)
            r.enabled = false;
    }
    return rang;
}

QString elapsedText(qint64 elapsedMs)
{
    const qint64 seconds = std::llround(std::max<qint64>(elapsedMs, 0) / 1000.0);
    return QStringLiteral("超期时长: %1分%2秒").arg(seconds / 60).arg(seconds % 60);
}
