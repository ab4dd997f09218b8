#pragma once

#include <QDateTime>
#include <QObject>

// A timer set for a moment on the wall clock. It fires at that moment even when the machine slept
// in between (a monotonic timer stops counting during a sleep), and at once when the clock is set,
// so that its owner looks again. One deadline at a time: on each firing its owner sets the next.
class WallTimer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // An invalid moment stops the timer; one already past fires at once.
    virtual void setDeadline(const QDateTime& at) = 0;
    virtual QDateTime deadline() const = 0;
    bool isActive() const { return deadline().isValid(); }

signals:
    void fired();
};
