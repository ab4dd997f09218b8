#pragma once

#include "uikit/Panel.h"

struct Services;

// The options panel PictureOption: three switches that change only their own look. Each switch
// shows its state twice: the on or the off picture, and the word beside it.
class OptionsPanel final : public Panel
{
    Q_OBJECT
public:
    OptionsPanel(const Services& services, QWidget* parent);
    // The rows' captions top down, then 确认设置: the switches themselves are for the pointer.
    QList<QWidget*> tabOrder() const;

    void switchOff(int row);
    void switchOn(int row);
    void toggleSwitch(int row);
    void confirmOptions();
    bool isOn(int row) const { return m_on[row]; }

private:
    struct Row
    {
        QWidget* on;
        QWidget* off;
        QLabel* state;
    };
    const Services& m_services;
    Row m_rows[3];
    bool m_on[3] = {true, true, true};
};
