#pragma once

#include "agenda/core/AgendaItem.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>

class WallTimer;
struct Services;

// Items reminded at their time: "开会 · 今天 15:00" with 完成, 十分钟后再提醒 and 打开日程, and one
// ring of the alarm's sound. A moment the machine slept or was off through is told on waking the
// same day ("错过了 15:00 的提醒：开会"), never for a day gone by and never twice: the moment up to
// which everything was told is kept in kestrin.ini. It sleeps on a wall timer between reminders.
class ItemReminders final : public QObject
{
    Q_OBJECT
public:
    explicit ItemReminders(const Services& services, QObject* parent = nullptr);

    // The agenda as a load left it: each timed item at its finish date's time.
    void setItems(const QList<AgendaItem>& items);
    QDateTime nextReminder() const;

signals:
    // 完成 was pressed: the item is done, as 删除日程 takes it.
    void completeRequested(const QString& text);
    // 打开日程 was pressed.
    void agendaWanted();

private:
    struct Reminder
    {
        QString text;
        QDateTime at;  // when to tell it
        QDateTime due; // the item's own moment, which the notification names
    };

    void arm();
    void fired();
    void tell(const QList<Reminder>& due, const QDateTime& now);
    void keepToldThrough(const QDateTime& moment);
    void onAction(int handle, const QString& key);

    const Services& m_services;
    WallTimer* m_timer;
    QList<Reminder> m_items;     // from the agenda
    QList<Reminder> m_putOff;    // by 十分钟后再提醒
    QDateTime m_toldThrough;     // every moment up to this one was told (or gone by)
    bool m_kept = false;         // whether kestrin.ini holds it
    bool m_loaded = false;       // the first load tells what went by since the last run
    QHash<int, Reminder> m_told; // by notification, for its buttons
};
