#pragma once

#include "alarm/core/AlarmTable.h"
#include "alarm/core/Ringtones.h"
#include "alarm/core/SavedAlarms.h"
#include "calendar/core/HolidayCalendar.h"

#include <QObject>

#include <functional>

class WallTimer;
struct Services;

// The alarms at work, without a window: each rings at its moment on the clock's wall timer, a ring
// out of sight is told to the desktop with the notice's two commands, a missed one is told as
// missed, what rang is snoozed together, and the repeating alarms are kept in kestrin.ini.
class AlarmRuntime final : public QObject
{
    Q_OBJECT
public:
    AlarmRuntime(const Services& services, AlarmTable& table, QObject* parent = nullptr);

    // Whether the user sees the program's window; out of sight, a ring is told to the desktop too.
    std::function<bool()> inSight;

    AlarmTable& table() { return m_table; }
    const AlarmTable& table() const { return m_table; }
    Ringtones& ringtones() { return m_ringtones; }
    const Ringtones& ringtones() const { return m_ringtones; }
    // The official arrangement the official-workday alarms follow, as last read.
    const HolidayCalendar& holidays() const { return m_holidays; }

    // The table changed (armed, snoozed, cancelled): the timer is set anew and what outlives the
    // run is saved.
    void changed();
    void check();
    // Arms the alarms kept from the last run, says restored() and rings what came due meanwhile;
    // returns them, with what could not be read.
    SavedAlarms::Loaded restore();
    // Puts off every alarm that rang into the notice on view, which closes.
    void snoozeNotice(int minutes);
    // The notice went, whatever closed it: its notifications go too.
    void noticeClosed();
    // Readies the chosen ringtones, as the program's own sounds are readied at start.
    void preloadRingtones();
    // The file that plays for row now: its ringtone, or clock1.wav when that cannot play now.
    // listening: a listen, which may start a little late.
    QString ringingPath(int row, bool listening = false) const;

signals:
    // row rang: its notice is to be on view, with its prompt when it has one.
    void rang(int row, const QString& prompt);
    // The notice is to close: dealt with from the desktop's notification.
    void closeNoticeRequested();
    // Something the rows' tool tips show changed.
    void tableChanged();
    // The alarms kept from the last run are armed again, as they were set.
    void restored(const QList<SavedAlarm>& alarms);

private:
    void ring(int row);
    // The shipped arrangement with the years imported into the folder; a file that does not read
    // is told once, and the shipped one serves.
    void readHolidays();
    // In December, an official-workday alarm whose next year is not known yet says so, once.
    void tellUnknownYear();
    void tellMissed(int row, const QDateTime& at);
    void onNotificationAction(int handle, const QString& key);

    const Services& m_services;
    AlarmTable& m_table;
    WallTimer* m_timer;
    Ringtones m_ringtones;
    SavedAlarms m_saved;
    QList<SavedAlarm> m_lastSaved;    // what the last save wrote, or tried to
    bool m_told[alarmCount] = {};     // the desktop was told of this alarm's ringing under way
    QList<int> m_noticeRows;          // the alarms that rang into the notice on view
    QList<int> m_noticeNotifications; // what the desktop was told of them
    QString m_noticePrompt;           // what the notice on view says
    HolidayCalendar m_holidays;
    QString m_holidayProblem; // told already
};
