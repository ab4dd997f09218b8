#pragma once

#include "sync/core/SyncEntry.h"
#include "sync/schedule/SyncLink.h"

#include "platform/Result.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QUrl>

class TextFiles;

// The folder's link to a task list: the server, and what was last synced with it (the UIDs, ETags,
// agreed values and the sync token). Written whole or not at all, after the files it describes.
struct SyncState
{
    static constexpr const auto& fileName = SyncLink::fileName;

    QUrl url;
    QString user;
    bool basicAuth = false; // the server asked for Basic: the password goes with the first request
    QString token;
    QDateTime lastSuccess;
    QList<SyncEntry> entries;
    QStringList pending = {}; // hrefs of changed tasks that could not be read, read again next time

    // A missing file is no link: an empty url. A file that does not read is an error naming it.
    static ResultOf<SyncState> load(const TextFiles& files, const QString& path);
    // What a file that does not load still says of its link: the server and the user, when it
    // says that much.
    static SyncState linkIn(const TextFiles& files, const QString& path);
    Result save(TextFiles& files, const QString& path) const;
};
