#pragma once

#include "alarm/FormAware.h"
#include "alarm/core/AlarmTable.h"
#include "alarm/core/Ringtones.h"
#include "alarm/core/SavedAlarms.h"
#include "uikit/Panel.h"

#include <QPointer>

class QActionGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QTimer;
class WallTimer;
struct Services;

// The alarm panel PictureClock: three alarms set and confirmed here, and the alarm check that
// rings them. Each row's heading menu chooses its ringtone and repeat, and takes back a snooze.
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
    // The handler of Timer运行闹钟, set for the moment the check next has something to do.
    void checkAlarms();
    // Puts the repeating alarms kept in kestrin.ini back into their rows, armed as if confirmed.
    // Returns what could not be read, for the user.
    QStringList restoreSaved();

    // What Tab goes through on this panel, in order: row by row, then confirm and cancel.
    QList<QWidget*> tabOrder() const;
    // Readies the chosen ringtones, as the program's own sounds are readied at start.
    void preloadRingtones();
    // The menu of an alarm row: its caption's and its time box's right click.
    QMenu* rowMenu() const { return m_rowMenu; }

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
    void openRowMenu(int row, QLineEdit* box, const QPoint& globalPos);
    void addRepeatChoices();
    void chooseRingtone();
    // The headings' tool tips: ringtone, repeat and snooze of each row.
    void showRowTips();
    void ring(int row);
    void tellMissed(int row, const QDateTime& at);
    void onNoticeAction(int handle, const QString& key);
    void onNoticeDismissed();
    // Sets Timer运行闹钟 for the next moment anything is due, and saves what changed for the next run.
    void afterChange();
    // The file that plays for row now: its ringtone, or clock1.wav when that cannot play now.
    QString ringingPath(int row, bool ringing = true) const;

    const Services& m_services;
    AlarmTable& m_table;
    QCheckBox* m_ticks[alarmCount];
    QLineEdit* m_times[alarmCount];
    QComboBox* m_rings[alarmCount];
    QLineEdit* m_prompts[alarmCount];
    bool m_refused[alarmCount] = {};   // a time the last confirmation could not read, shown in red
    bool m_told[alarmCount] = {};      // the desktop was told of this alarm's ringing under way
    Repeat m_repeats[alarmCount] = {}; // as chosen in the row's menu; reaches the alarm at 确 认
    ClockAnimation m_clock;
    QTimer* m_animation;
    WallTimer* m_alarmTimer;
    QPointer<FormAware> m_notice;
    QList<int> m_noticeRows;          // the alarms that rang into the notice on view
    QList<int> m_noticeNotifications; // what the desktop was told of them
    Ringtones m_ringtones;
    SavedAlarms m_saved;
    QList<SavedAlarm> m_lastSaved; // what the last save wrote, or tried to
    ClickLabel* m_captions[alarmCount];
    QMenu* m_rowMenu;
    QActionGroup* m_repeatGroup;
    int m_menuRow = 0;
};
