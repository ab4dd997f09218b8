#pragma once

#include "alarm/AlarmRowMenu.h"
#include "alarm/FormAware.h"
#include "alarm/core/AlarmTable.h"
#include "alarm/core/SavedAlarms.h"
#include "uikit/Panel.h"

#include <QPointer>

class AlarmRuntime;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QTimer;
struct Services;

// The alarm panel PictureClock: three alarms set and confirmed here, handed to the runtime that
// rings them, and the notice it shows. Each row's heading menu chooses its ringtone and repeat, and
// takes back a snooze.
class AlarmPanel final : public Panel
{
    Q_OBJECT
public:
    AlarmPanel(const Services& services, AlarmRuntime& runtime, QWidget* parent);

    // What opening the panel does after the panel switch.
    void onOpened();
    void applyTickRule();
    void confirmAlarms();
    void cancelAlarms();
    // The handler of Timer运行闹钟, set for the moment the check next has something to do.
    void checkAlarms();

    // What Tab goes through on this panel, in order: row by row, then confirm and cancel.
    QList<QWidget*> tabOrder() const;
    // Readies the chosen ringtones, as the program's own sounds are readied at start.
    void preloadRingtones();
    // The menu of an alarm row: its caption's and its time box's right click.
    QMenu* rowMenu() const { return m_rowMenu->menu(); }

    FormAware* notice() const { return m_notice; }
    void closeNotice();
    // Puts off every alarm that rang into the notice, and closes it.
    void snoozeNotice(int minutes);

signals:
    // Confirm and cancel both go back to the agenda panel.
    void backToAgenda();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showTimeValidity(int row, bool valid);
    // The headings' tool tips: ringtone, repeat and snooze of each row.
    void showRowTips();
    void showNotice(int row, const QString& prompt);
    // The alarms kept from the last run, back in their rows as armed.
    void showRestored(const QList<SavedAlarm>& alarms);

    const Services& m_services;
    AlarmTable& m_table;
    QCheckBox* m_ticks[alarmCount];
    QLineEdit* m_times[alarmCount];
    QComboBox* m_rings[alarmCount];
    QLineEdit* m_prompts[alarmCount];
    bool m_refused[alarmCount] = {};   // a time the last confirmation could not read, shown in red
    Repeat m_repeats[alarmCount] = {}; // as chosen in the row's menu; reaches the alarm at 确 认
    ClockAnimation m_clock;
    QTimer* m_animation;
    AlarmRuntime& m_runtime;
    QPointer<FormAware> m_notice;
    ClickLabel* m_captions[alarmCount];
    AlarmRowMenu* m_rowMenu;
};
