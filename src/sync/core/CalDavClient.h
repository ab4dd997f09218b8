#pragma once

#include "sync/core/DavTransport.h"
#include "sync/core/SyncEntry.h"

#include "platform/Result.h"

#include <QHash>
#include <QStringList>

// The CalDAV requests of a sync (RFC 4791, RFC 6578) on one task list, over a transport.
class CalDavClient
{
public:
    CalDavClient(DavTransport& transport, const QUrl& list);

    // Makes sure the task list exists and holds tasks, creating it with MKCALENDAR when missing.
    Result prepare();

    struct Changes
    {
        bool whole = false; // every task is listed: a task known before and not listed is gone
        QString token;
        QList<ServerTask> changed; // not yet read; ics is empty where the server sent no body
        QStringList gone;          // hrefs
        int notTasks = 0;          // events and journals listed beside the tasks, left out
    };
    // What changed since token, or the whole list for an empty token or one the server no longer
    // knows. Servers without sync-collection are asked with a calendar-query.
    ResultOf<Changes> changesSince(const QString& token);

    struct Bodies
    {
        QHash<QString, ServerTask> read; // by href, with ics and etag
        QHash<QString, QString> unread;  // by href: why it could not be read this time
        QStringList gone;
    };
    // The tasks at hrefs, by calendar-multiget in batches, or one GET each where the server has no
    // multiget.
    Bodies fetch(const QStringList& hrefs);

    // Writes a task. An empty ifMatch creates it and fails when something is there already.
    ResultOf<DavReply> put(const QString& href, const QByteArray& ics, const QByteArray& ifMatch);
    ResultOf<DavReply> get(const QString& href);

    // A new task's href inside the list.
    QString hrefFor(const QString& uid) const;
    // Why the server refused, for the user.
    static QString failure(const DavReply& reply);
    // One exchange, following the server's redirects with the same method and body (a discovery
    // lands on the principal that way); never from HTTPS down to HTTP.
    static ResultOf<DavReply> exchange(DavTransport& transport, const QByteArray& method, const QUrl& url,
                                       const QByteArray& body,
                                       QList<QPair<QByteArray, QByteArray>> headers = {},
                                       QUrl* landed = nullptr);
    // Whether a PROPFIND's reply says the resource is not there: a 404, or a 207 holding only that.
    static bool isMissing(const DavReply& reply);
    // Creates a task list at url, shown by that name.
    static ResultOf<DavReply> makeList(DavTransport& transport, const QUrl& url, const QString& name);

    static constexpr int batchSize = 200;

private:
    ResultOf<DavReply> send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                            QList<QPair<QByteArray, QByteArray>> headers = {});
    ResultOf<Changes> read(const DavReply& reply, bool whole);
    bool readBatch(const QStringList& hrefs, Bodies& bodies);
    void keepTasksOnly(Changes& changes);
    QUrl urlOf(const QString& href) const;

    DavTransport& m_transport;
    QUrl m_list;
    bool m_multiget = true;
};
