#include "agenda/core/DueReminder.h"

#include "agenda/core/AgendaFile.h"
#include "calendar/core/DateText.h"
#include "platform/Services.h"
#include "platform/WallTimer.h"
#include "platform/files/Settings.h"

namespace {

const QString title = QStringLiteral("Kestrin日程提醒");

QString part(const QString& what, const QStringList& texts, bool named)
{
    if (texts.isEmpty())
        return {};
    QString text = QStringLiteral("%1 %2 件").arg(what).arg(texts.size());
    if (named)
        text += u'：' + texts.mid(0, 3).join(QStringLiteral("、")) +
                (texts.size() > 3 ? QStringLiteral("等") : QString());
    return text;
}

} // namespace

std::optional<QTime> DueReminder::chosenTime(const QString& settingsPath)
{
    const QTime time = QTime::fromString(Settings::value(settingsPath, Settings::Key::RemindTime).toString(),
                                         QStringLiteral("HH:mm"));
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

Result DueReminder::choose(const QString& settingsPath, std::optional<QTime> time)
{
    return Settings::set(settingsPath, Settings::Key::RemindTime,
                         time ? QVariant(time->toString(QStringLiteral("HH:mm"))) : QVariant());
}

QString DueReminder::digest(const QList<AgendaItem>& items, QDate today)
{
    QStringList due, tomorrow, overdue;
    // Today's timed items first, by their time, with it: "今天到期 2 件：15:00 开会、写周报".
    QList<const AgendaItem*> todays;
    for (const AgendaItem& item : items)
        if (item.finishDate == today)
            todays.append(&item);
    std::stable_sort(todays.begin(), todays.end(), [](const AgendaItem* a, const AgendaItem* b) {
        return a->time.isValid() && (!b->time.isValid() || a->time < b->time);
    });
    for (const AgendaItem* item : todays)
        due.append(item->time.isValid() ? DateText::formatTime(item->time) + u' ' + item->text : item->text);
    for (const AgendaItem& item : items) {
        const qint64 left = today.daysTo(item.finishDate);
        if (left == 1)
            tomorrow.append(item.text);
        else if (left < 0)
            overdue.append(item.text);
    }
    // The first kind there is gets its texts: what is most pressing, in a few words.
    QStringList parts;
    bool named = false;
    for (const auto& [what, texts] :
         {std::pair{QStringLiteral("今天到期"), due}, std::pair{QStringLiteral("明天到期"), tomorrow},
          std::pair{QStringLiteral("逾期"), overdue}}) {
        if (texts.isEmpty())
            continue;
        parts.append(part(what, texts, !named));
        named = true;
    }
    return parts.join(u'；');
}

DueReminder::DueReminder(const Services& services, QObject* parent)
    : QObject(parent), m_services(services), m_timer(services.clock.createWallTimer(this))
{
    m_timer->setObjectName(QStringLiteral("dueReminderTimer"));
    connect(m_timer, &WallTimer::fired, this, &DueReminder::fired);
    connect(&m_services.notifications, &Notifications::actionInvoked, this, &DueReminder::onAction);
    reload();
}

void DueReminder::reload()
{
    const QString path = m_services.path(Settings::fileName);
    m_time = chosenTime(path);
    m_said = Settings::value(path, Settings::Key::RemindSaid).toDate();
    arm();
}

QDateTime DueReminder::nextWord() const
{
    return m_timer->deadline();
}

void DueReminder::arm()
{
    const QDateTime now = m_services.clock.now();
    QDateTime next;
    if (m_time) {
        const QDate today = now.date();
        const QDateTime todays(today, *m_time);
        if (m_said == today)
            next = QDateTime(today.addDays(1), *m_time);
        else if (todays > now)
            next = todays;
        else
            next = now; // today's moment went by while the machine slept: the word is due now
    }
    if (m_again.isValid() && (!next.isValid() || m_again < next))
        next = m_again;
    m_timer->setDeadline(next);
}

void DueReminder::fired()
{
    const QDateTime now = m_services.clock.now();
    const bool putOff = m_again.isValid() && now >= m_again;
    const bool daily = m_time && m_said != now.date() && now >= QDateTime(now.date(), *m_time);
    if (putOff)
        m_again = QDateTime();
    if (putOff || daily)
        say();
    arm();
}

void DueReminder::say()
{
    const QDate today = m_services.clock.today();
    if (m_said != today) {
        m_said = today;
        // Kept so that a restart the same day says nothing again; a file that cannot take it only
        // means a second word after a restart.
        (void)Settings::set(m_services.path(Settings::fileName), Settings::Key::RemindSaid, today);
    }
    const AgendaFile::Load load =
        AgendaFile::load(m_services.files, m_services.path(AgendaFile::fileName), today);
    const QString text = load.result ? digest(load.items, today) : QString();
    if (text.isEmpty())
        return;
    m_words.append(m_services.notifications.notify(
        title, text,
        {{QStringLiteral("open-agenda"), QStringLiteral("打开日程")},
         {QStringLiteral("remind-later"), QStringLiteral("一小时后再提醒")}}));
}

void DueReminder::onAction(int handle, const QString& key)
{
    if (!m_words.contains(handle))
        return;
    if (key == QStringLiteral("open-agenda")) {
        emit agendaWanted();
    } else if (key == QStringLiteral("remind-later")) {
        m_again = m_services.clock.now().addSecs(3600);
        arm();
    }
}
