#include "alarm/core/SavedAlarms.h"

#include "alarm/core/TimeText.h"
#include "platform/Settings.h"

#include <QDir>
#include <QSettings>

namespace {

QString group()
{
    return Settings::name(Settings::Key::Alarms);
}
constexpr int maxRings = 8;

QString rowKey(int row)
{
    return QStringLiteral("alarm%1").arg(row + 1);
}

// Reads the entry of one row; a problem in words when it cannot.
ResultOf<SavedAlarm> readEntry(const QSettings& settings, int row)
{
    SavedAlarm alarm;
    alarm.row = row;
    const QString timeText = settings.value(QStringLiteral("time")).toString();
    const std::optional<QTime> time = TimeText::parse(timeText);
    if (!time)
        return ResultOf<SavedAlarm>::failed(QStringLiteral("时间“%1”无法读取").arg(timeText));
    alarm.time = *time;
    bool number = false;
    const QString ringsText = settings.value(QStringLiteral("rings")).toString();
    alarm.rings = ringsText.toInt(&number);
    if (!number || alarm.rings < 1 || alarm.rings > maxRings)
        return ResultOf<SavedAlarm>::failed(
            QStringLiteral("响铃次数“%1”不在 1 到 %2 之间").arg(ringsText).arg(maxRings));
    const QString repeatText = settings.value(QStringLiteral("repeat")).toString();
    const std::optional<Repeat> repeat = AlarmSchedule::fromKey(repeatText);
    if (!repeat || *repeat == Repeat::None)
        return ResultOf<SavedAlarm>::failed(QStringLiteral("重复方式“%1”无法读取").arg(repeatText));
    alarm.repeat = *repeat;
    alarm.prompt = settings.value(QStringLiteral("prompt")).toString();
    if (settings.contains(QStringLiteral("snoozed"))) {
        const QString snoozed = settings.value(QStringLiteral("snoozed")).toString();
        alarm.snoozedTo = QDateTime::fromString(snoozed, Qt::ISODate);
        if (!alarm.snoozedTo.isValid())
            return ResultOf<SavedAlarm>::failed(QStringLiteral("推迟时间“%1”无法读取").arg(snoozed));
    }
    return alarm;
}

} // namespace

SavedAlarms::SavedAlarms(const QString& settingsPath) : m_path(settingsPath) {}

SavedAlarms::Loaded SavedAlarms::load() const
{
    Loaded loaded;
    QStringList unread;
    // What QSettings did read still counts.
    const Result read = Settings::read(m_path, [&](QSettings& settings) {
        settings.beginGroup(group());
        const QStringList rows = settings.childGroups();
        for (int row = 0; row < alarmCount; ++row) {
            if (!rows.contains(rowKey(row)))
                continue;
            settings.beginGroup(rowKey(row));
            const auto entry = readEntry(settings, row);
            settings.endGroup();
            if (entry)
                loaded.alarms.append(*entry);
            else
                unread.append(QStringLiteral("%1 中闹钟 %2 的设置有误（%3），此闹钟未恢复。")
                                  .arg(QDir::toNativeSeparators(m_path))
                                  .arg(row + 1)
                                  .arg(entry.error()));
        }
    });
    if (!read)
        loaded.problems.append(read.error() + QStringLiteral("，其中能读取的闹钟照常恢复。"));
    loaded.problems += unread;
    return loaded;
}

QList<SavedAlarm> SavedAlarms::fromTable(const AlarmTable& table)
{
    QList<SavedAlarm> saved;
    for (int row = 0; row < alarmCount; ++row) {
        const AlarmRecord& r = table.alarms[row];
        if (r.enabled && r.repeat != Repeat::None)
            saved.append({row, r.time, r.ringCount, r.prompt, r.repeat, r.snoozedTo});
    }
    return saved;
}

Result SavedAlarms::save(const QList<SavedAlarm>& alarms) const
{
    const Result saved = Settings::change(m_path, [&](QSettings& settings) {
        settings.remove(group());
        settings.beginGroup(group());
        for (const SavedAlarm& alarm : alarms) {
            settings.beginGroup(rowKey(alarm.row));
            settings.setValue(QStringLiteral("time"), TimeText::format(alarm.time));
            settings.setValue(QStringLiteral("rings"), alarm.rings);
            settings.setValue(QStringLiteral("repeat"), AlarmSchedule::key(alarm.repeat));
            settings.setValue(QStringLiteral("prompt"), alarm.prompt);
            if (alarm.snoozedTo.isValid())
                settings.setValue(QStringLiteral("snoozed"), alarm.snoozedTo.toString(Qt::ISODate));
            settings.endGroup();
        }
        settings.endGroup();
    });
    if (!saved)
        return Result::failed(saved.error() + QStringLiteral("，闹钟未保存。"));
    return Result::done();
}
