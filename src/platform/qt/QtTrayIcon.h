#pragma once

#include "platform/TrayIcon.h"

#include <QPointer>

class QIcon;
class QMenu;
class QObject;
class QSystemTrayIcon;

class QtTrayIcon final : public TrayIcon
{
public:
    explicit QtTrayIcon(QObject* owner = nullptr);
    ~QtTrayIcon() override;
    bool available() const override;
    // What add() shows: the picture, and the menu the platform pops up on a right release.
    void setIcon(const QIcon& icon);
    void setContextMenu(QMenu* menu);
    void add() override;
    void setToolTip(const QString& text) override;
    void remove() override;
    void showMessage(const QString& title, const QString& text) override;

private:
    QPointer<QSystemTrayIcon> m_icon;
};
