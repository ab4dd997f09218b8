#pragma once

#include <QJsonObject>
#include <QString>

#include <memory>

class AgendaSession;
struct AlarmTable;
class AlarmRuntime;
class DueReminder;
class FormMain;
class LogSession;
class NetworkWatch;
class QtMessageBoxes;
class QtTrayIcon;
class SingleInstance;
class SyncRunner;
class SyncSchedule;
class ItemReminders;
class MonthWindow;
class QuickAddWindow;
class TextFiles;
class TrayIcon;
struct Services;

// The running program put together over the services it is given: every area at work (the agenda,
// the log, the alarms, the daily word and the phone's due times), the window over them, the answers
// to scripts and second starts, and the sync schedule told of every change to the agenda. All the
// wiring is here.
class Program final
{
public:
    // plainFiles: the data folder without the day's backup, for the notes the sync keeps.
    Program(const Services& services, TrayIcon& tray, SyncRunner& syncRunner, TextFiles& plainFiles);
    ~Program();

    AgendaSession& agenda() const { return *m_agenda; }
    LogSession& log() const { return *m_log; }
    AlarmRuntime& alarms() const { return *m_alarms; }
    DueReminder& dueReminder() const { return *m_dueReminder; }
    FormMain& window() const { return *m_window; }
    SyncSchedule& syncs() const { return *m_syncs; }
    ItemReminders& itemReminders() const { return *m_itemReminders; }
    // The month window, made at its first showing; in front, on today.
    void showMonth();
    MonthWindow* monthWindow() const { return m_month.get(); }
    // Whether the folder is linked to a task list now.
    bool linked() const;
    // What the running copy answers a script: an add goes to the agenda.
    QJsonObject answer(const QJsonObject& request);
    // The desktop's own parts: the boxes over the window, the icon's picture and menu, a second
    // start's requests, and NetworkManager's word for a linked folder.
    void attach(QtMessageBoxes& messages, QtTrayIcon& tray, SingleInstance& instance);
    // Shows the window, arms the alarms kept from the last run, loads the agenda, greets the user,
    // then the first sync.
    void start();

private:
    void noteRename(const QString& oldText, const QString& newText) const;

    const Services& m_services;
    TextFiles& m_plainFiles;
    QString m_linkPath;
    std::unique_ptr<AgendaSession> m_agenda;
    std::unique_ptr<LogSession> m_log;
    std::unique_ptr<AlarmTable> m_alarmTable;
    std::unique_ptr<AlarmRuntime> m_alarms;
    std::unique_ptr<DueReminder> m_dueReminder;
    std::unique_ptr<FormMain> m_window;
    std::unique_ptr<SyncSchedule> m_syncs;
    std::unique_ptr<ItemReminders> m_itemReminders;
    std::unique_ptr<MonthWindow> m_month;
    std::unique_ptr<QuickAddWindow> m_quickAdd; // for a day of the month window
    std::unique_ptr<NetworkWatch> m_network;
};
