#include "uikit/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class PaintWatch final : public QObject
{
public:
    PaintWatch(QWidget* widget, std::function<void()> task) : QObject(widget), m_task(std::move(task))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched == parent()) {
            watched->removeEventFilter(this);
            // The paint runs first; the task on the next turn of the event loop.
            QTimer::singleShot(0, watched, std::move(m_task));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_task;
};

} // namespace

void afterFirstPaint(QWidget* widget, std::function<void()> task)
{
    new PaintWatch(widget, std::move(task));
}
