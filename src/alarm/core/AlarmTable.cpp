#include "AlarmTable.h"

#include <QList>

#include <cmath>

bool AlarmTable::anyArmed() const
{
    for (const AlarmRecord& r : Alarms)
        if (r.Enabled)
            return true;
    return false;
}

void AlarmTable::arm(int i, QTime time, const QString& prompt, int rings, const QDateTime& now)
{
    AlarmRecord& r = Alarms[i];
    r.Enabled = true;
    r.AlarmTime = time;
    r.Prompt = prompt;
    r.RingCount = rings;
    QDateTime due(now.date(), time);
    if (due < now) // a time already past today means tomorrow
        due = due.addDays(1);
    r.Due = due;
}

QList<int> AlarmTable::check(const QDateTime& now)
{
    QList<int> rang;
    for (int i = 0; i < int(Alarms.size()); ++i) {
        AlarmRecord& r = Alarms[i];
        if (r.Enabled && now >= r.Due) {
            rang.append(i);
            --r.RingCount;
        }
        if (r.RingCount <= 0)
            r.Enabled = false;
    }
    return rang;
}

QString elapsedText(qint64 elapsedMs)
{
    const qint64 seconds = std::llround(std::max<qint64>(elapsedMs, 0) / 1000.0);
    return QStringLiteral("超期时长: %1分%2秒").arg(seconds / 60).arg(seconds % 60);
}
