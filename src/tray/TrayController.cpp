#include "TrayController.h"

#include "ReminderPanel.h"
#include "TrayRules.h"

#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QWidget>

TrayController::TrayController(QWidget* mainWindow, TrayIcon& tray, ReminderPanel* reminder,
                               QWidget* agendaPanel)
    : QObject(mainWindow), m_window(mainWindow), m_tray(tray), m_reminder(reminder), m_agenda(agendaPanel),
      m_menu(new QMenu(mainWindow)), m_normalSize(mainWindow->size())
{
    m_menu->setObjectName(QStringLiteral("mnuTray"));
    m_menu->setTitle(QStringLiteral("Popup"));
    m_restore = m_menu->addAction(QStringLiteral("恢复(&R)"), this, &TrayController::Restore);
    m_restore->setObjectName(QStringLiteral("mnuTrayRestore"));
    m_minimize = m_menu->addAction(QStringLiteral("最小化(&M)"), this, &TrayController::Minimize);
    m_minimize->setObjectName(QStringLiteral("mnuTrayMinimize"));
    QAction* remind =
        m_menu->addAction(QStringLiteral("显示Kestrin提醒(&A)"), this, &TrayController::ShowReminder);
    remind->setObjectName(QStringLiteral("menu显示Kestrin提醒"));
    m_menu->addSeparator()->setObjectName(QStringLiteral("mnuTraySep"));
    QAction* close = m_menu->addAction(QStringLiteral("关闭(&C)"), this, &TrayController::Quit);
    close->setObjectName(QStringLiteral("mnuTrayClose"));

    m_window->installEventFilter(this);
    m_tray.onClick = [this](TrayClick click) { TrayWindowProc(click); };
    connect(m_reminder, &ReminderPanel::dismissed, m_agenda, &QWidget::show);
    connect(m_reminder, &ReminderPanel::timedOut, this, &TrayController::Minimize);
    // The window starts in its normal state, which enables only 最小化 until it changes.
    m_restore->setEnabled(false);
}

void TrayController::AddTrayIcon(const QIcon& icon)
{
    m_tray.add(icon, m_menu);
}

void TrayController::RemoveTrayIcon()
{
    m_tray.remove();
}

void TrayController::SetTrayTip(const QString& text)
{
    m_tray.setToolTip(TrayRules::tipText(text));
}

void TrayController::TrayWindowProc(TrayClick click)
{
    const bool minimized = m_window->isMinimized() || !m_window->isVisible();
    switch (TrayRules::onClick(click, minimized)) {
    case TrayRules::ClickAction::Restore:
        Restore();
        break;
    case TrayRules::ClickAction::Minimize:
        Minimize();
        break;
    case TrayRules::ClickAction::Nothing:
        break;
    }
}

void TrayController::Restore()
{
    m_window->setWindowState(m_lastState);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void TrayController::Minimize()
{
    m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
}

void TrayController::ShowReminder()
{
    if (!m_window->isVisible() || m_window->isMinimized())
        Restore();
    m_reminder->StartReminder();
    m_agenda->hide();
}

void TrayController::Quit()
{
    RemoveTrayIcon();
    if (unloadWindows)
        unloadWindows();
}

bool TrayController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange)
        applyResizeRules();
    return QObject::eventFilter(watched, event);
}

void TrayController::applyResizeRules()
{
    const TrayRules::StateChange change =
        TrayRules::onWindowState(m_window->windowState(), m_lastState, m_tray.available());
    if (change.updatesMenu) {
        m_minimize->setEnabled(change.minimizeEnabled);
        m_restore->setEnabled(change.restoreEnabled);
    }
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
