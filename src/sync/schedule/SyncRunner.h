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
    // The agenda written to file as iCalendar, by the helper that alone loads libical; waits for
    // it (an export of 10,000 items takes well under a second).
    virtual Result exportCalendar(const QString& file)
    {
        return Result::failed(QStringLiteral("没有同步程序，无法导出 %1。").arg(file));
    }

signals:
    // The sync ended; a failure says why in the sync's own last line ("同步失败：…").
    void finished(const Result& result);
};
