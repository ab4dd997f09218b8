#include "alarm/core/AlarmRuntime.h"

#include "calendar/core/HolidayFile.h"
#include "platform/Services.h"
#include "platform/WallTimer.h"
#include "platform/files/Settings.h"

namespace {

const QString noticeTitle = QStringLiteral("Kestrin闹钟");
const QString defaultPrompt = QStringLiteral("您设置的闹钟时间已到!");

} // namespace

AlarmRuntime::AlarmRuntime(const Services& services, AlarmTable& table, QObject* parent)
    : QObject(parent), m_services(services), m_table(table), m_timer(services.clock.createWallTimer(this)),
      m_ringtones(services.path(Settings::fileName), services.path(Sound::Alarm)),
      m_saved(services.path(Settings::fileName))
{
    m_table.holidays = &m_holidays;
    readHolidays();
    m_timer->setObjectName(QStringLiteral("Timer运行闹钟"));
    connect(m_timer, &WallTimer::fired, this, &AlarmRuntime::check);
    connect(&m_services.notifications, &Notifications::actionInvoked, this,
            &AlarmRuntime::onNotificationAction);
}

void AlarmRuntime::check()
{
    const AlarmCheck found = m_table.check(m_services.clock.now());
    for (int i : found.rang)
        ring(i);
    for (const auto& [i, at] : found.missed)
        tellMissed(i, at);
    changed();
}

void AlarmRuntime::ring(int row)
{
    const AlarmRecord& record = m_table.alarms[row];
    m_services.sound.play(ringingPath(row));
    if (m_noticeRows.isEmpty())
        m_noticePrompt = defaultPrompt;
    if (!record.prompt.isEmpty())
        m_noticePrompt = record.prompt;
    if (!m_noticeRows.contains(row))
        m_noticeRows.append(row);
    emit rang(row, record.prompt);
    // The first ring of a ringing: out of sight, the notice may be missed, so the desktop tells of it,
    // with the notice's two commands where it can.
    if (record.ringsLeft == record.ringCount - 1)
        m_told[row] = false;
    if (!m_told[row] && !(inSight && inSight())) {
        m_told[row] = true;
        m_noticeNotifications.append(
            m_services.notifications.notify(noticeTitle, m_noticePrompt,
                                            {{QStringLiteral("snooze-5"), QStringLiteral("5 分钟后再响")},
                                             {QStringLiteral("dismiss"), QStringLiteral("我知道啦")}}));
    }
}

void AlarmRuntime::tellMissed(int row, const QDateTime& at)
{
    const QString& prompt = m_table.alarms[row].prompt;
    m_services.notifications.notify(noticeTitle, QStringLiteral("错过了 %1 的闹钟：%2")
                                                     .arg(at.toString(QStringLiteral("HH:mm")),
                                                          prompt.isEmpty() ? defaultPrompt : prompt));
}

void AlarmRuntime::snoozeNotice(int minutes)
{
    // Whole seconds, as kestrin.ini keeps it.
    QDateTime until = m_services.clock.now().addSecs(60 * minutes);
    until.setTime(QTime(until.time().hour(), until.time().minute(), until.time().second()));
    for (int row : std::as_const(m_noticeRows))
        m_table.snooze(row, until);
    emit closeNoticeRequested();
    noticeClosed();
    changed();
}

void AlarmRuntime::onNotificationAction(int handle, const QString& key)
{
    if (!m_noticeNotifications.contains(handle))
        return;
    if (key == QStringLiteral("snooze-5"))
        snoozeNotice(5);
    else if (key == QStringLiteral("dismiss")) {
        emit closeNoticeRequested();
        noticeClosed();
    }
}

void AlarmRuntime::noticeClosed()
{
    // Dealt with in the window: the desktop's notifications of it go too.
    for (int handle : std::as_const(m_noticeNotifications))
        m_services.notifications.withdraw(handle);
    m_noticeNotifications.clear();
    m_noticeRows.clear();
}

void AlarmRuntime::readHolidays()
{
    const ResultOf<HolidayCalendar> read = HolidayFile::load(m_services.files, m_services.appDir);
    m_holidays = read ? *read : HolidayCalendar::builtIn();
    if (!read && read.error() != m_holidayProblem) {
        m_holidayProblem = read.error();
        m_services.notifications.notify(noticeTitle,
                                        read.error() + QStringLiteral("，法定工作日按程序自带的安排。"));
    }
}

void AlarmRuntime::tellUnknownYear()
{
    const QDate today = m_services.clock.today();
    const int year = today.year() + 1;
    if (today.month() != 12 || m_holidays.knows(year))
        return;
    const bool following =
        std::any_of(m_table.alarms.cbegin(), m_table.alarms.cend(),
                    [](const AlarmRecord& r) { return r.enabled && r.repeat == Repeat::OfficialWorkdays; });
    const QString path = m_services.path(Settings::fileName);
    if (!following || Settings::value(path, Settings::Key::UnknownYearTold).toInt() == year)
        return;
    // Told once a year, across runs; a settings file that cannot be written is told at the next run.
    (void)Settings::set(path, Settings::Key::UnknownYearTold, year);
    m_services.notifications.notify(
        noticeTitle, QStringLiteral("%1 年的节假日安排尚未收录，按周一至周五响铃。国务院公布后，"
                                    "可把它存为日历文件，用 kestrin --holidays 文件 导入。")
                         .arg(year));
}

void AlarmRuntime::changed()
{
    readHolidays();
    tellUnknownYear();
    m_timer->setDeadline(m_table.nextWake());
    // A ring must start with its notice: what it plays is readied as soon as anything is armed.
    if (m_table.anyArmed()) {
        m_services.sound.preload(m_services.path(Sound::Alarm));
        preloadRingtones();
    }
    emit tableChanged();
    const QList<SavedAlarm> kept = SavedAlarms::fromTable(m_table);
    if (kept == m_lastSaved)
        return;
    // A failure is told once per change, not at every ring after it.
    m_lastSaved = kept;
    if (const Result saved = m_saved.save(kept); !saved)
        m_services.notifications.notify(noticeTitle, saved.error());
}

SavedAlarms::Loaded AlarmRuntime::restore()
{
    const SavedAlarms::Loaded loaded = m_saved.load();
    const QDateTime now = m_services.clock.now();
    for (const SavedAlarm& alarm : loaded.alarms) {
        m_table.arm(alarm.row, alarm.time, alarm.prompt, alarm.rings, now, alarm.repeat);
        if (alarm.snoozedTo.isValid())
            m_table.snooze(alarm.row, alarm.snoozedTo);
        m_table.confirmed = true;
    }
    m_lastSaved = loaded.alarms;
    emit restored(loaded.alarms);
    // A snooze that came due while the program was not running rings now, or is told as missed.
    check();
    return loaded;
}

void AlarmRuntime::preloadRingtones()
{
    for (int i = 0; i < alarmCount; ++i)
        if (const QString path = m_ringtones.ringPath(i); path != m_services.path(Sound::Alarm))
            m_services.sound.preload(path);
}

QString AlarmRuntime::ringingPath(int row, bool listening) const
{
    // A file the player cannot play would ring in silence, and so may one it has not readied yet;
    // a listen may start a little late.
    const QString path = m_ringtones.ringPath(row), fallback = m_services.path(Sound::Alarm);
    const SoundDevice::Readiness readiness = m_services.sound.readiness(path);
    const bool plays = readiness == SoundDevice::Ready || (listening && readiness == SoundDevice::Loading);
    return path == fallback || plays ? path : fallback;
}
