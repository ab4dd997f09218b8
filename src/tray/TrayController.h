#pragma once

#include "platform/TrayIcon.h"

#include <QObject>
#include <QSize>

#include <functional>

class QAction;
class QMenu;
class QWidget;
class ReminderPanel;

// The program's life in the notification area: the icon and its clicks, the tray menu, and the
// rules that hide a minimized main window and bring it back.
class TrayController final : public QObject
{
    Q_OBJECT
signals:
    // 月历 in the tray menu.
    void monthWanted();

public:
    TrayController(QWidget* mainWindow, TrayIcon& tray, ReminderPanel* reminder, QWidget* agendaPanel);

    // The menu is menu(), for the tray's implementation to pop up.
    void addIcon();
    void removeIcon();
    void setTip(const QString& text);
    // Where the icon's mouse events arrive.
    void onIconClicked(TrayClick click);

    void restore();
    void minimize();
    void showReminder();
    void quit();

    // Unloads the windows and ends the program; the quit command calls it after removing the icon.
    std::function<void()> onQuit;

    QMenu* menu() const { return m_menu; }
    // Whether the platform tells the program that its window was minimised and restored. Wayland
    // tells neither: there the window goes to the tray by hiding, and comes back as a new window
    // (docs/ARCHITECTURE.md, "Why the unusual code exists").
    void setWindowStatesReported(bool reported) { m_statesReported = reported; }
    // The state the window comes back in: normal or maximized, never minimized.
    Qt::WindowStates lastState() const { return m_lastState; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restoreKeyboard();
    void onWindowStateChanged();
    void hideInTray();
    // Whether the user can see the window: not hidden, not minimised as far as the program knows.
    bool onScreen() const;
    void showMenuStates(bool shown);

    QWidget* m_window;
    TrayIcon& m_tray;
    ReminderPanel* m_reminder;
    QWidget* m_agenda;
    QMenu* m_menu;
    QAction* m_restore;
    QAction* m_minimize;
    Qt::WindowStates m_lastState = Qt::WindowNoState;
    QSize m_normalSize;
    bool m_statesReported;
    // Only where window states are not reported: hidden in the tray, or minimised with no report
    // of its return to come. Only restore() puts it back.
    bool m_offScreen = false;
};
