#include "platform/Clock.h"

#include "platform/TimerFdWallTimer.h"

WallTimer* SystemClock::createWallTimer(QObject* parent) const
{
    return new TimerFdWallTimer(parent);
}
