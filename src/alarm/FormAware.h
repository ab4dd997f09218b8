#pragma once

#include <QWidget>

class Clock;
class ClickLabel;
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
// It lives from the first ring until "我知道啦!"; closing it deletes it.
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

private:
    const Clock& m_time;
    qint64 m_noticeStart; // monotonic, so that a notice left open over midnight keeps counting
    QTimer* m_timer;
    ClickLabel* m_prompt;
    ClickLabel* m_elapsed;
    ClockAnimation m_clock;
};
