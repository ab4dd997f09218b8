#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>

#include <functional>

class TextFiles;
class WallTimer;
struct Services;

// The due times the phone gave its tasks, reminded of here: "写周报 今天 09:30 到期" at the
// task's alarm, or its due time, with 完成 and 十分钟后再提醒. The sync writes what to remind of
// (caldav.reminders); the program reads it after each sync and sleeps on a wall timer between.
class TimedReminders final : public QObject
{
    Q_OBJECT
public:
    static constexpr char fileName[] = "caldav.reminders";

    struct Reminder
    {
        QString text;
        QDateTime due;
        QDateTime at;
        bool putOff = false; // by 十分钟后再提醒: kept whatever the next sync says
        bool operator==(const Reminder&) const = default;
    };
    // The file's form: a JSON array of {"text", "due", "at"}.
    static QByteArray format(const QList<Reminder>& reminders);
    static QList<Reminder> parse(const QByteArray& bytes);

    // stillThere: whether the agenda holds an item of that text now.
    TimedReminders(const Services& services, std::function<bool(const QString&)> stillThere,
                   QObject* parent = nullptr);

    void reload();
    QDateTime nextReminder() const;

signals:
    // 完成 was pressed: the item is done, and goes as 删除日程 takes it.
    void completeRequested(const QString& text);

private:
    void arm();
    void fired();
    void say(const Reminder& reminder);
    void onAction(int handle, const QString& key);

    const Services& m_services;
    std::function<bool(const QString&)> m_stillThere;
    WallTimer* m_timer;
    QList<Reminder> m_reminders; // still to come, put-off ones included
    QHash<int, Reminder> m_said; // by notification, for its buttons
};
