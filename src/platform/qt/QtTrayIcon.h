#pragma once

#include "platform/TrayIcon.h"

#include <QPointer>

class QObject;
class QSystemTrayIcon;

class QtTrayIcon final : public TrayIcon
{
public:
    explicit QtTrayIcon(QObject* owner = nullptr);
    ~QtTrayIcon() override;
    bool available() const override;
    void add(const QIcon& icon, QMenu* menu) override;
    void setToolTip(const QString& text) override;
    void remove() override;
    void showMessage(const QString& title, const QString& text) override;

private:
    QPointer<QSystemTrayIcon> m_icon;
};
