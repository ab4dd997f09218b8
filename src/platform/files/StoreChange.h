#pragma once

#include "platform/Result.h"
#include "platform/files/FileStamp.h"

#include <QString>

// What a change to a data file came to, for a window to show.
struct [[nodiscard]] StoreChange
{
    enum Status
    {
        Done,             // written
        Refused,          // nothing written; message says why
        ChangedElsewhere, // nothing written: the file changed since it was read, and must be read again
        Failed,           // a write failed; message says which file and why
        Nothing,          // nothing to do: no such item, or a table that did not load
    };
    Status status = Nothing;
    QString message;       // for the user; empty when there is nothing to say
    bool archived = false; // entries were added to my.log

    // What the user is to be told: done, or nothing to do, or why not; notDone when a change that
    // was not made comes without a reason.
    Result result(const QString& notDone) const
    {
        if (status == Done || status == Nothing)
            return Result::done();
        return Result::failed(message.isEmpty() ? notDone : message);
    }

    static StoreChange done() { return {Done, {}, false}; }
    static StoreChange refused(const QString& why) { return {Refused, why, false}; }
    static StoreChange failed(const QString& why) { return {Failed, why, false}; }
    // Another writer of the folder (a sync, a script) held it for longer than a write takes.
    static StoreChange folderBusy()
    {
        return {Failed,
                QStringLiteral("另一个程序（同步或脚本）一直在写入数据文件夹，未能保存，请稍后再试。"),
                false};
    }
    static StoreChange changedElsewhere(const QString& fileName)
    {
        return {ChangedElsewhere, FileStamp::changedElsewhere(fileName), false};
    }
};
