#include "tray/TrayController.h"

#include "tray/ReminderPanel.h"
#include "tray/core/TrayRules.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>

TrayController::TrayController(QWidget* mainWindow, TrayIcon& tray, ReminderPanel* reminder,
                               QWidget* agendaPanel)
    : QObject(mainWindow), m_window(mainWindow), m_tray(tray), m_reminder(reminder), m_agenda(agendaPanel),
      m_menu(new QMenu(mainWindow)), m_normalSize(mainWindow->size()),
      m_statesReported(!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
{
    m_menu->setObjectName(QStringLiteral("mnuTray"));
    m_menu->setTitle(QStringLiteral("Popup"));
    m_restore = m_menu->addAction(QStringLiteral("恢复(&R)"), this, &TrayController::restore);
    m_restore->setObjectName(QStringLiteral("mnuTrayRestore"));
    m_minimize = m_menu->addAction(QStringLiteral("最小化(&M)"), this, &TrayController::minimize);
    m_minimize->setObjectName(QStringLiteral("mnuTrayMinimize"));
    QAction* remind =
        m_menu->addAction(QStringLiteral("显示Kestrin提醒(&A)"), this, &TrayController::showReminder);
    remind->setObjectName(QStringLiteral("menu显示Kestrin提醒"));
    m_menu->addAction(QStringLiteral("月历(&L)"), this, &TrayController::monthWanted)
        ->setObjectName(QStringLiteral("menuMonth"));
    m_menu->addSeparator()->setObjectName(QStringLiteral("mnuTraySep"));
    QAction* close = m_menu->addAction(QStringLiteral("关闭(&C)"), this, &TrayController::quit);
    close->setObjectName(QStringLiteral("mnuTrayClose"));

    m_window->installEventFilter(this);
    m_tray.onClick = [this](TrayClick click) { onIconClicked(click); };
    connect(m_reminder, &ReminderPanel::dismissed, m_agenda, &QWidget::show);
    connect(m_reminder, &ReminderPanel::timedOut, this, &TrayController::minimize);
    // The window starts in its normal state, which enables only 最小化 until it changes.
    m_restore->setEnabled(false);
}

void TrayController::addIcon()
{
    m_tray.add();
}

void TrayController::removeIcon()
{
    m_tray.remove();
}

void TrayController::setTip(const QString& text)
{
    m_tray.setToolTip(TrayRules::tipText(text));
}

bool TrayController::onScreen() const
{
    return m_window->isVisible() && !m_window->isMinimized() && !m_offScreen;
}

void TrayController::showMenuStates(bool shown)
{
    m_minimize->setEnabled(shown);
    m_restore->setEnabled(!shown);
}

void TrayController::onIconClicked(TrayClick click)
{
    switch (TrayRules::onClick(click, !onScreen())) {
    case TrayRules::ClickAction::Restore:
        restore();
        break;
    case TrayRules::ClickAction::Minimize:
        minimize();
        break;
    case TrayRules::ClickAction::Nothing:
        break;
    }
}

void TrayController::restore()
{
    // Wayland has no request to un-minimise: a window comes back as a new one, which the
    // compositor maps and may activate.
    const bool remap = m_offScreen;
    m_offScreen = false;
    if (remap)
        m_window->hide();
    m_window->setWindowState(m_lastState);
    m_window->show();
    if (remap)
        showMenuStates(true);
    m_window->raise();
    m_window->activateWindow();
    restoreKeyboard();
}

void TrayController::restoreKeyboard()
{
    // Shown again before Qt heard that the hidden window lost the keyboard (a click on the icon
    // within some 50 ms of the hide, under openbox), the window stays Qt's focus window but not
    // its active one, and no control gets a key until the next hide.
    if (QGuiApplication::focusWindow() == m_window->windowHandle() && !m_window->isActiveWindow())
        QApplication::setActiveWindow(m_window);
    // Qt gives the focus back only to a control it still counts as the window's; one hidden or
    // let go while the window was away (the reminder changes the panel) leaves Tab nothing to move
    // from, under a window manager that activates the window before Qt maps its controls.
    QWidget* focus = m_window->focusWidget();
    const auto usable = [this](QWidget* w) {
        return w && w != m_window && w->isVisibleTo(m_window) && w->isEnabled() &&
               (w->focusPolicy() & Qt::TabFocus);
    };
    for (QWidget* w = m_window->nextInFocusChain(); !usable(focus) && w && w != m_window;
         w = w->nextInFocusChain())
        focus = w;
    if (usable(focus))
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

void TrayController::minimize()
{
    // With a tray to come back from, the window is hidden straight away rather than minimised
    // and then hidden by its resize rules: the window manager's late word of the minimise would
    // hide it again after a click on the icon had brought it back (openbox), and Wayland reports a
    // minimised window back as normal at once.
    if (m_tray.available()) {
        hideInTray();
        return;
    }
    m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
}

void TrayController::hideInTray()
{
    m_offScreen = true;
    m_window->hide();
    showMenuStates(false);
}

void TrayController::showReminder()
{
    if (!onScreen())
        restore();
    m_reminder->startReminder();
    m_agenda->hide();
}

void TrayController::quit()
{
    removeIcon();
    if (onQuit)
        onQuit();
}

bool TrayController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange)
        onWindowStateChanged();
    return QObject::eventFilter(watched, event);
}

void TrayController::onWindowStateChanged()
{
    // What the window system reports of a window the program sent away says nothing of the screen.
    if (m_offScreen)
        return;
    const TrayRules::StateChange change =
        TrayRules::onWindowState(m_window->windowState(), m_lastState, m_tray.available());
    if (change.updatesMenu) {
        m_minimize->setEnabled(change.minimizeEnabled);
        m_restore->setEnabled(change.restoreEnabled);
    }
    if (!m_statesReported && (m_window->windowState() & Qt::WindowMinimized))
        m_offScreen = true;
    switch (change.window) {
    case TrayRules::StateChange::HideInTray:
        m_window->hide();
        break;
    case TrayRules::StateChange::ShowAtNormalSize:
        m_window->show();
        m_window->resize(m_normalSize);
        break;
    case TrayRules::StateChange::Keep:
        break;
    }
    m_lastState = change.lastState;
}
