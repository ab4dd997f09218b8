#include "agenda/core/ItemReminders.h"

#include "calendar/core/DateText.h"
#include "platform/Services.h"
#include "platform/WallTimer.h"
#include "platform/files/Settings.h"

#include <algorithm>

namespace {

const QString title = QStringLiteral("Kestrin日程提醒");
// Later than this after its moment, a reminder is told as missed: the machine slept through it.
constexpr qint64 lateAfterSecs = 120;

QString dayWord(QDate day, QDate today)
{
    if (day == today)
        return QStringLiteral("今天");
    if (day == today.addDays(1))
        return QStringLiteral("明天");
    return DateText::monthDay(day);
}

} // namespace

ItemReminders::ItemReminders(const Services& services, QObject* parent)
    : QObject(parent), m_services(services), m_timer(services.clock.createWallTimer(this))
{
    m_timer->setObjectName(QStringLiteral("itemRemindersTimer"));
    connect(m_timer, &WallTimer::fired, this, &ItemReminders::fired);
    connect(&m_services.notifications, &Notifications::actionInvoked, this, &ItemReminders::onAction);
    m_toldThrough =
        Settings::value(m_services.path(Settings::fileName), Settings::Key::ItemsToldThrough).toDateTime();
    // A first run, or a file without the key: what went by before it is no news. The key is
    // written once there is a time to remind of: kestrin.ini is the user's file too.
    m_kept = m_toldThrough.isValid();
    if (!m_kept)
        m_toldThrough = m_services.clock.now();
}

void ItemReminders::setItems(const QList<AgendaItem>& items)
{
    const QDateTime now = m_services.clock.now();
    const QList<Reminder> before = m_items;
    bool goneBy = false;
    m_items.clear();
    for (const AgendaItem& item : items) {
        if (!item.time.isValid())
            continue;
        const QDateTime at(item.finishDate, item.time);
        // A time set (or an item added) after its moment went by is nothing missed; only at the
        // first load is a moment gone by since the last run told.
        const bool known = std::any_of(before.cbegin(), before.cend(),
                                       [&](const Reminder& r) { return r.text == item.text && r.at == at; });
        if (m_loaded && at <= now && !known) {
            goneBy = true;
            continue;
        }
        m_items.append({item.text, at, at});
    }
    m_loaded = true;
    // Nor after a restart; unless a moment still to be told lies before it (a reload on waking
    // that came before the timer).
    const bool toTell = std::any_of(m_items.cbegin(), m_items.cend(),
                                    [&](const Reminder& r) { return r.at > m_toldThrough && r.at <= now; });
    if (goneBy && now > m_toldThrough && !toTell)
        keepToldThrough(now);
    else if (!m_kept && !m_items.isEmpty())
        keepToldThrough(m_toldThrough);
    // A put-off reminder goes with its item.
    m_putOff.removeIf([this](const Reminder& r) {
        return std::none_of(m_items.cbegin(), m_items.cend(),
                            [&r](const Reminder& item) { return item.text == r.text; });
    });
    arm();
}

QDateTime ItemReminders::nextReminder() const
{
    return m_timer->deadline();
}

void ItemReminders::arm()
{
    QDateTime next;
    for (const QList<Reminder>* list : {&m_items, &m_putOff})
        for (const Reminder& r : *list)
            if (r.at > m_toldThrough && (!next.isValid() || r.at < next))
                next = r.at;
    m_timer->setDeadline(next);
}

void ItemReminders::fired()
{
    const QDateTime now = m_services.clock.now();
    QList<Reminder> due;
    bool passed = false; // a moment went by: told now, or of a day gone
    for (const Reminder& r : std::as_const(m_items)) {
        if (r.at > m_toldThrough && r.at <= now) {
            passed = true;
            if (r.at.date() == now.date())
                due.append(r);
        }
    }
    m_putOff.removeIf([&](const Reminder& r) {
        if (r.at > now)
            return false;
        due.append(r);
        return true;
    });
    if (passed || !due.isEmpty())
        keepToldThrough(now);
    else
        m_toldThrough = now;
    std::sort(due.begin(), due.end(), [](const Reminder& a, const Reminder& b) { return a.at < b.at; });
    tell(due, now);
    arm();
}

void ItemReminders::tell(const QList<Reminder>& due, const QDateTime& now)
{
    if (due.isEmpty())
        return;
    const QList<Notifications::Action> actions{
        {QStringLiteral("complete"), QStringLiteral("完成")},
        {QStringLiteral("remind-in-10"), QStringLiteral("十分钟后再提醒")},
        {QStringLiteral("open-agenda"), QStringLiteral("打开日程")}};
    for (const Reminder& r : due) {
        const QString time = DateText::formatTime(r.due.time());
        const QString text =
            now.toSecsSinceEpoch() - r.at.toSecsSinceEpoch() > lateAfterSecs
                ? QStringLiteral("错过了 %1 的提醒：%2").arg(time, r.text)
                : QStringLiteral("%1 · %2 %3").arg(r.text, dayWord(r.due.date(), now.date()), time);
        m_told.insert(m_services.notifications.notify(title, text, actions), r);
    }
    // One ring, so that a reminder is noticed away from the screen.
    m_services.play(Sound::Alarm);
}

void ItemReminders::keepToldThrough(const QDateTime& moment)
{
    m_toldThrough = moment;
    m_kept = true;
    // A file that cannot take it only means a missed reminder told again after a restart.
    (void)Settings::set(m_services.path(Settings::fileName), Settings::Key::ItemsToldThrough,
                        moment.toString(Qt::ISODate));
}

void ItemReminders::onAction(int handle, const QString& key)
{
    const auto told = m_told.constFind(handle);
    if (told == m_told.cend())
        return;
    const Reminder reminder = *told;
    m_told.erase(told);
    if (key == QStringLiteral("complete")) {
        emit completeRequested(reminder.text);
    } else if (key == QStringLiteral("remind-in-10")) {
        m_putOff.append({reminder.text, m_services.clock.now().addSecs(600), reminder.due});
        arm();
    } else if (key == QStringLiteral("open-agenda")) {
        emit agendaWanted();
    }
}
