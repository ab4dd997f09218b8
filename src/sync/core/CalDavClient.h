#pragma once

#include "sync/core/DavTransport.h"
#include "sync/core/SyncEntry.h"

#include "platform/Result.h"

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
        QString error;      // nothing could be read; the reason for the user
        bool whole = false; // every task is listed: a task known before and not listed is gone
        QString token;
        QList<ServerTask> changed; // with their ics, not yet read
        QStringList gone;          // hrefs
    };
    // What changed since token, or the whole list for an empty token or one the server no longer
    // knows. Servers without sync-collection are asked with a calendar-query.
    Changes changesSince(const QString& token);

    // Writes a task. An empty ifMatch creates it and fails when something is there already.
    DavReply put(const QString& href, const QByteArray& ics, const QByteArray& ifMatch);
    DavReply get(const QString& href);

    // A new task's href inside the list.
    QString hrefFor(const QString& uid) const;
    // Why reply failed, for the user.
    static QString failure(const DavReply& reply);

private:
    DavReply send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                  QList<QPair<QByteArray, QByteArray>> headers = {});
    Changes read(const DavReply& reply, bool whole);
    QUrl urlOf(const QString& href) const;

    DavTransport& m_transport;
    QUrl m_list;
};
