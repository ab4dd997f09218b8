#include "alarm/core/SavedAlarms.h"

#include "alarm/core/TimeText.h"
#include "platform/files/Settings.h"

#include <QDir>
#include <QSettings>

namespace {

using Key = Settings::Key;

constexpr int maxRings = 8;

// Reads the entry of one row; a problem in words when it cannot.
ResultOf<SavedAlarm> readEntry(const QSettings& settings, int row)
{
    SavedAlarm alarm;
    alarm.row = row;
    const QString timeText = settings.value(Settings::name(Key::AlarmTime, row)).toString();
    const ResultOf<QTime> time = TimeText::parse(timeText);
    if (!time)
        return ResultOf<SavedAlarm>::failed(QStringLiteral("时间“%1”无法读取").arg(timeText));
    alarm.time = *time;
    bool number = false;
    const QString ringsText = settings.value(Settings::name(Key::AlarmRings, row)).toString();
    alarm.rings = ringsText.toInt(&number);
    if (!number || alarm.rings < 1 || alarm.rings > maxRings)
        return ResultOf<SavedAlarm>::failed(
            QStringLiteral("响铃次数“%1”不在 1 到 %2 之间").arg(ringsText).arg(maxRings));
    const QString repeatText = settings.value(Settings::name(Key::AlarmRepeat, row)).toString();
    const std::optional<Repeat> repeat = AlarmSchedule::fromKey(repeatText);
    if (!repeat || *repeat == Repeat::None)
        return ResultOf<SavedAlarm>::failed(QStringLiteral("重复方式“%1”无法读取").arg(repeatText));
    alarm.repeat = *repeat;
    alarm.prompt = settings.value(Settings::name(Key::AlarmPrompt, row)).toString();
    if (settings.contains(Settings::name(Key::AlarmSnoozed, row))) {
        const QString snoozed = settings.value(Settings::name(Key::AlarmSnoozed, row)).toString();
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
        for (int row = 0; row < alarmCount; ++row) {
            settings.beginGroup(Settings::name(Key::Alarm, row));
            const bool kept = !settings.childKeys().isEmpty();
            settings.endGroup();
            if (!kept)
                continue;
            const auto entry = readEntry(settings, row);
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
        unread.prepend(read.error() + QStringLiteral("，其中能读取的闹钟照常恢复。"));
    loaded.problems = unread;
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
        settings.remove(Settings::name(Key::Alarms));
        for (const SavedAlarm& alarm : alarms) {
            settings.setValue(Settings::name(Key::AlarmTime, alarm.row), TimeText::format(alarm.time));
            settings.setValue(Settings::name(Key::AlarmRings, alarm.row), alarm.rings);
            settings.setValue(Settings::name(Key::AlarmRepeat, alarm.row), AlarmSchedule::key(alarm.repeat));
            settings.setValue(Settings::name(Key::AlarmPrompt, alarm.row), alarm.prompt);
            if (alarm.snoozedTo.isValid())
                settings.setValue(Settings::name(Key::AlarmSnoozed, alarm.row),
                                  alarm.snoozedTo.toString(Qt::ISODate));
        }
    });
    if (!saved)
        return Result::failed(saved.error() + QStringLiteral("，闹钟未保存。"));
    return Result::done();
}
