#pragma once

#include "Controls.h"

struct Services;

// The options panel PictureOption: three switches that change only their own look.
class OptionsPanel final : public ClickLabel
{
    Q_OBJECT
public:
    OptionsPanel(const Services& services, QWidget* parent);

    void SwitchOff(int row);
    void SwitchOn(int row);
    void ToggleSwitch(int row);
    void ConfirmOptions();
    bool isOn(int row) const;

private:
    struct Row
    {
        QWidget* on;
        QWidget* off;
        QLabel* state;
    };
    const Services& m_services;
    Row m_rows[3];
};
