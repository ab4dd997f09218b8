#pragma once

#include "TestBench.h"
#include "platform/TrayIcon.h"

// A notification area that tests click by hand.
class FakeTray final : public TrayIcon
{
public:
    bool available() const override { return hasArea; }
    void add() override
    {
        ++adds;
        added = true;
    }
    void setToolTip(const QString& text) override { tip = text; }
    void remove() override { removed = true; }
    void showMessage(const QString& title, const QString& text) override { balloons.append({title, text}); }
    void click(TrayClick c)
    {
        if (onClick)
            onClick(c);
    }
    bool hasArea = true;
    bool added = false;
    bool removed = false;
    int adds = 0;
    QString tip;
    QList<QStringList> balloons;
};

// A test bench for windows that also live in the notification area.
struct WindowBench : TestBench
{
    FakeTray tray;
};
