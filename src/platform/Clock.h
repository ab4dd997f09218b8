#pragma once

#include <QDateTime>

class QObject;
class WallTimer;

// The program's one source of time, so that tests can set and advance it by hand.
class Clock
{
public:
    virtual ~Clock() = default;
    // Local wall-clock date and time.
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never jumps: unaffected by midnight or by changes of the system time.
    virtual qint64 monotonicMs() const = 0;
    // A timer for a moment of now()'s clock, owned by parent.
    virtual WallTimer* createWallTimer(QObject* parent) const = 0;

    QDate today() const { return now().date(); }
    QTime timeOfDay() const { return now().time(); }
    double secondsSinceMidnight() const { return now().time().msecsSinceStartOfDay() / 1000.0; }
};
