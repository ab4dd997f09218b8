#pragma once

#include "alarm/FormAware.h"
#include "alarm/core/AlarmTable.h"
#include "alarm/core/Ringtones.h"
#include "uikit/Panel.h"

#include <QPointer>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QTimer;
struct Services;

// The alarm panel PictureClock: three alarms set and confirmed here, and the alarm check that
// rings them.
class AlarmPanel final : public Panel
{
    Q_OBJECT
public:
    AlarmPanel(const Services& services, AlarmTable& table, QWidget* parent);

    // What opening the panel does after the panel switch.
    void onOpened();
    void applyTickRule();
    void confirmAlarms();
    void cancelAlarms();
    // The handler of Timer运行闹钟.
    void checkAlarms();

    // What Tab goes through on this panel, in order: row by row, then confirm and cancel.
    QList<QWidget*> tabOrder() const;
    // Readies the chosen ringtones, as the program's own sounds are readied at start.
    void preloadRingtones();
    // The ringtone menu of an alarm row: its caption's and its time box's right click.
    QMenu* ringtoneMenu() const { return m_ringMenu; }

    FormAware* notice() const { return m_notice; }
    void closeNotice();

signals:
    // Confirm and cancel both go back to the agenda panel.
    void backToAgenda();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showTimeValidity(int row, bool valid);
    void openRingtoneMenu(int row, QLineEdit* box, const QPoint& globalPos);
    void chooseRingtone();
    void showRingtones();
    // The file that plays for row now: its ringtone, or clock1.wav when that cannot play now.
    QString ringingPath(int row, bool ringing = true) const;

    const Services& m_services;
    AlarmTable& m_table;
    QCheckBox* m_ticks[alarmCount];
    QLineEdit* m_times[alarmCount];
    QComboBox* m_rings[alarmCount];
    QLineEdit* m_prompts[alarmCount];
    bool m_refused[alarmCount] = {};
    bool m_told[alarmCount] = {}; // the desktop was told of this alarm's rings since its confirmation // a
                                  // time the last confirmation could not read, shown in red
    ClockAnimation m_clock;
    QTimer* m_animation;
    QTimer* m_alarmTimer;
    QPointer<FormAware> m_notice;
    Ringtones m_ringtones;
    ClickLabel* m_captions[alarmCount];
    QMenu* m_ringMenu;
    int m_menuRow = 0;
};
