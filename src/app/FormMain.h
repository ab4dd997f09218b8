#pragma once

#include "agenda/core/AgendaItem.h"
#include "app/Sessions.h"
#include "platform/Result.h"

#include <QWidget>

#include <functional>

class AgendaPanel;
class AlarmPanel;
class ClickLabel;
class HelpPanel;
class LogPanel;
class Navigation;
class OptionsPanel;
class ReminderPanel;
class TrayController;
class TrayIcon;
struct Services;

// The main window: the navigation strip, the summary line and the six panels in one rectangle,
// each panel over the session of its area.
class FormMain final : public QWidget
{
    Q_OBJECT
public:
    FormMain(const Services& services, TrayIcon& tray, const Sessions& sessions);

    // Shows the window and puts the icon in the notification area.
    void showAtStart();
    // Greets the user with the overdue reminder, once the agenda is loaded.
    void greet();
    // The agenda in front, as the daily word's 打开日程 asks.
    void showAgenda();
    // Brings the window to the front, as a second start of the program asks. token: its XDG
    // activation token, which lets the window take the focus on Wayland; empty where none.
    void activate(const QString& token = QString());

    AgendaPanel* agendaPanel() const { return m_agenda; }
    // What writes the agenda as iCalendar to a file, for the agenda list's 导出日程….
    void setCalendarExport(std::function<Result(const QString& file)> exporter);
    AlarmPanel* alarmPanel() const { return m_alarm; }
    LogPanel* logPanel() const { return m_log; }
    HelpPanel* helpPanel() const { return m_help; }
    OptionsPanel* optionsPanel() const { return m_options; }
    ReminderPanel* reminderPanel() const { return m_reminder; }
    TrayController* tray() const { return m_tray; }
    Navigation* navigation() const { return m_navigation; }
    const AgendaTable& agendaTable() const;

signals:
    // 月历 was asked for: Ctrl+M in the window, the agenda list's menu, the tray menu.
    void monthWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The panels, bottom first, and the window's own controls over them.
    void createPanels(const Services& services, const Sessions& sessions);
    // The navigation's labels and icons, and what opening a panel does.
    void attachNavigation(const Services& services);
    // Tab: the navigation first, then the panel on view, then the maker's line.
    void chainTabs();
    void attachTray(TrayIcon& tray);
    // What the navigation's labels open, and the summary that follows each load.
    void connectCommands();
    void showSummary(int agendaCount, int overdueCount);
    ClickLabel* label(const char* name) const;

    const Services& m_services;
    AgendaPanel* m_agenda;
    ReminderPanel* m_reminder;
    AlarmPanel* m_alarm;
    LogPanel* m_log;
    HelpPanel* m_help;
    OptionsPanel* m_options;
    TrayController* m_tray;
    Navigation* m_navigation;
};
