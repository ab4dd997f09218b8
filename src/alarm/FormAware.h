#pragma once

#include <QWidget>

class Clock;
class ClickLabel;
class QMenu;
class QTimer;

// The ringing clock of the alarm panel and the notice: two pictures shown by turns.
struct ClockAnimation
{
    QWidget* first = nullptr;
    QWidget* second = nullptr;
    bool showingFirst = true; // both start visible, the first on top

    void step();
};

// The alarm notice window: the alarm's prompt, a ringing clock and how long the alarm has waited.
// It lives from the first ring until "我知道啦!" or a snooze from its menu; closing it deletes it.
class FormAware final : public QWidget
{
    Q_OBJECT
public:
    FormAware(const Clock& clock, QWidget* owner);

    void setPrompt(const QString& prompt);
    // What the message line says now.
    QString prompt() const;
    // One tick of Timer显示动画闹钟: the next clock picture and the elapsed time.
    void tick();
    // The snooze menu of a right click, the menu key or Shift+F10.
    QMenu* snoozeMenu() const { return m_snoozeMenu; }

signals:
    // A snooze was chosen; the notice closes right after.
    void snoozeChosen(int minutes);
    // The notice closes, whatever closed it.
    void dismissed();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const Clock& m_time;
    qint64 m_noticeStart; // monotonic, so that a notice left open over midnight keeps counting
    QTimer* m_timer;
    ClickLabel* m_prompt;
    ClickLabel* m_elapsed;
    ClockAnimation m_clock;
    QMenu* m_snoozeMenu;
};
