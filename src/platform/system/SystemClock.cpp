#include "platform/system/SystemClock.h"

#include "platform/system/TimerFdWallTimer.h"

WallTimer* SystemClock::createWallTimer(QObject* parent) const
{
    return new TimerFdWallTimer(parent);
}
