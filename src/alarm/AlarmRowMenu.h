#pragma once

#include "alarm/core/AlarmSchedule.h"
#include "alarm/core/AlarmTable.h"

#include <QObject>
#include <QPoint>

#include <functional>

class AlarmRuntime;
class QActionGroup;
class QLineEdit;
class QMenu;
class QWidget;
struct Services;

// The menu of an alarm row, its caption's and its time box's right click: the row's ringtone
// (choose, listen, back to the default), how it repeats, and a snooze taken back.
class AlarmRowMenu : public QObject
{
public:
    // repeats: the rows' repeats as chosen, which reach the alarms at 确 认; changed: the rows'
    // tool tips are to be shown again; panel: the alarm panel, which the menu belongs to.
    AlarmRowMenu(const Services& services, AlarmRuntime& runtime, Repeat (&repeats)[alarmCount],
                 std::function<void()> changed, QWidget* panel);

    QMenu* menu() const { return m_menu; }
    // Opens it for row at globalPos; with box, below the time box's own editing commands.
    void open(int row, QLineEdit* box, const QPoint& globalPos);

private:
    void addRingtoneChoices();
    void addRepeatChoices();
    void chooseRingtone();

    const Services& m_services;
    AlarmRuntime& m_runtime;
    Repeat (&m_repeats)[alarmCount];
    std::function<void()> m_changed;
    QMenu* m_menu;
    QActionGroup* m_repeatGroup;
    int m_row = 0;
};
