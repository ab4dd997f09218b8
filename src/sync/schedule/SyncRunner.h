#pragma once

#include "platform/Result.h"

#include <QObject>

// One sync of the folder, run in the background: the network stays out of the program's process.
class SyncRunner : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start() = 0;

signals:
    // The sync ended; a failure says why in the sync's own last line ("同步失败：…").
    void finished(const Result& result);
};
