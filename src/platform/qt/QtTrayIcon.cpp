#include "platform/qt/QtTrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace {

QtMessageHandler nextHandler = nullptr;

// Qt's tray icon reaches for an X11 signal that its Wayland platform does not have, and says so
// at every start: a fault of Qt's, with nothing in it for the user.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg &&
        text.endsWith(
            QLatin1String("No such signal QPlatformNativeInterface::systemTrayWindowChanged(QScreen*)")))
        return;
    nextHandler(type, context, text);
}

} // namespace

QtTrayIcon::QtTrayIcon(QObject* owner)
{
    static const bool installed = [] {
        nextHandler = qInstallMessageHandler(quietHandler);
        return true;
    }();
    Q_UNUSED(installed);
    m_icon = new QSystemTrayIcon(owner);

    QObject::connect(m_icon, &QSystemTrayIcon::activated, m_icon,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (!onClick)
                             return;
                         switch (reason) {
                         case QSystemTrayIcon::Trigger:
                             onClick(TrayClick::LeftRelease);
                             break;
                         case QSystemTrayIcon::Context:
                             onClick(TrayClick::RightRelease);
                             break;
                         case QSystemTrayIcon::DoubleClick:
                             onClick(TrayClick::DoubleClick);
                             break;
                         default:
                             onClick(TrayClick::Other);
                         }
                     });
}

QtTrayIcon::~QtTrayIcon()
{
    remove();
    delete m_icon; // before the application goes: deleted with it, the icon crashed at exit
}

bool QtTrayIcon::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::setIcon(const QIcon& icon)
{
    if (m_icon)
        m_icon->setIcon(icon);
}

void QtTrayIcon::setContextMenu(QMenu* menu)
{
    // The platform pops the menu up on a right release; that is all a right release does.
    if (m_icon)
        m_icon->setContextMenu(menu);
}

void QtTrayIcon::add()
{
    if (m_icon)
        m_icon->show();
}

void QtTrayIcon::setToolTip(const QString& text)
{
    if (m_icon)
        m_icon->setToolTip(text);
}

void QtTrayIcon::remove()
{
    if (m_icon)
        m_icon->hide();
}

void QtTrayIcon::showMessage(const QString& title, const QString& text)
{
    if (m_icon && m_icon->isVisible())
        m_icon->showMessage(title, text, m_icon->icon());
}
