#pragma once

#include "uikit/Panel.h"

class Clock;
class QTimer;

// The reminder panel Picture提醒: the overdue count and a remark, on view for a little more than
// three seconds at startup and when asked for from the tray menu.
class ReminderPanel final : public Panel
{
    Q_OBJECT
public:
    ReminderPanel(const Clock& clock, QWidget* parent);

    void setCounts(int overdueCount, const QString& remark);
    // Puts the reminder on view and starts its three seconds anew.
    void startReminder();
    // The handler of Timer提醒: more than three seconds on view ends the reminder.
    void checkReminder();
    // Ends the reminder without sending the window away (navigation does this).
    void stopReminder();
    QTimer* timer() const { return m_timer; }

signals:
    // The agenda panel comes back into view; with timedOut the window goes to the tray as well.
    void dismissed();
    void timedOut();

private:
    const Clock& m_clock;
    qint64 StartTimer = 0; // monotonic, so that a reminder shown just before midnight still times out
    QTimer* m_timer;
};
