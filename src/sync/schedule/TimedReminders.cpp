#include "sync/schedule/TimedReminders.h"

#include "platform/Services.h"
#include "platform/WallTimer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

QByteArray TimedReminders::format(const QList<Reminder>& reminders)
{
    QJsonArray list;
    for (const Reminder& r : reminders)
        list.append(QJsonObject{{QStringLiteral("text"), r.text},
                                {QStringLiteral("due"), r.due.toString(Qt::ISODate)},
                                {QStringLiteral("at"), r.at.toString(Qt::ISODate)}});
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

QList<TimedReminders::Reminder> TimedReminders::parse(const QByteArray& bytes)
{
    QList<Reminder> reminders;
    for (const QJsonValue& value : QJsonDocument::fromJson(bytes).array()) {
        const QJsonObject o = value.toObject();
        const Reminder r{o.value(QStringLiteral("text")).toString(),
                         QDateTime::fromString(o.value(QStringLiteral("due")).toString(), Qt::ISODate),
                         QDateTime::fromString(o.value(QStringLiteral("at")).toString(), Qt::ISODate)};
        if (!r.text.isEmpty() && r.at.isValid())
            reminders.append(r);
    }
    return reminders;
}

TimedReminders::TimedReminders(const Services& services, std::function<bool(const QString&)> stillThere,
                               QObject* parent)
    : QObject(parent), m_services(services), m_stillThere(std::move(stillThere)),
      m_timer(services.clock.createWallTimer(this))
{
    m_timer->setObjectName(QStringLiteral("timedRemindersTimer"));
    connect(m_timer, &WallTimer::fired, this, &TimedReminders::fired);
    connect(&m_services.notifications, &Notifications::actionInvoked, this, &TimedReminders::onAction);
    reload();
}

void TimedReminders::reload()
{
    const TextFiles::Read read = m_services.files.read(m_services.path(fileName));
    const QDateTime now = m_services.clock.now();
    // What is still to come; a past moment was said already, or slept through before the start.
    QList<Reminder> next;
    for (const Reminder& r : std::as_const(m_reminders))
        if (r.putOff)
            next.append(r);
    if (read && *read)
        for (const Reminder& r : parse(**read))
            if (r.at > now)
                next.append(r);
    m_reminders = next;
    arm();
}

QDateTime TimedReminders::nextReminder() const
{
    return m_timer->deadline();
}

void TimedReminders::arm()
{
    const auto next = std::min_element(m_reminders.cbegin(), m_reminders.cend(),
                                       [](const Reminder& a, const Reminder& b) { return a.at < b.at; });
    m_timer->setDeadline(next == m_reminders.cend() ? QDateTime() : next->at);
}

void TimedReminders::fired()
{
    const QDateTime now = m_services.clock.now();
    QList<Reminder> due;
    m_reminders.removeIf([&](const Reminder& r) {
        if (r.at > now)
            return false;
        // A moment slept through is said on waking the same day, never for a day past.
        if (r.at.date() == now.date())
            due.append(r);
        return true;
    });
    for (const Reminder& r : due)
        if (m_stillThere(r.text))
            say(r);
    arm();
}

void TimedReminders::say(const Reminder& reminder)
{
    const QDate today = m_services.clock.today();
    const QDate day = reminder.due.isValid() ? reminder.due.date() : reminder.at.date();
    const QString when = day == today ? QStringLiteral("今天")
                         : day == today.addDays(1)
                             ? QStringLiteral("明天")
                             : QStringLiteral("%1月%2日").arg(day.month()).arg(day.day());
    const QTime time = (reminder.due.isValid() ? reminder.due : reminder.at).time();
    const int handle = m_services.notifications.notify(
        QStringLiteral("Kestrin日程提醒"),
        QStringLiteral("%1 %2 %3 到期").arg(reminder.text, when, time.toString(QStringLiteral("HH:mm"))),
        {{QStringLiteral("complete"), QStringLiteral("完成")},
         {QStringLiteral("remind-in-10"), QStringLiteral("十分钟后再提醒")}});
    m_said.insert(handle, reminder);
}

void TimedReminders::onAction(int handle, const QString& key)
{
    const auto said = m_said.constFind(handle);
    if (said == m_said.cend())
        return;
    const Reminder reminder = *said;
    m_said.erase(said);
    if (key == QStringLiteral("complete")) {
        emit completeRequested(reminder.text);
    } else if (key == QStringLiteral("remind-in-10")) {
        m_reminders.append({reminder.text, reminder.due, m_services.clock.now().addSecs(600), true});
        arm();
    }
}
