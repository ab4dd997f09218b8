#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

struct DavRequest
{
    QByteArray method;
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

struct DavReply
{
    int status = 0; // 0: no answer; error says why
    QByteArray body;
    QByteArray etag;
    QString error;            // a failure below HTTP: unreachable, refused certificate, timeout
    QByteArray location = {}; // where a redirect points
    bool ok() const { return status >= 200 && status < 300; }
};

// One HTTP exchange with the task list's server, waited for. The network behind a seam, so that
// the sync's logic meets a fake server in its tests.
class DavTransport
{
public:
    virtual ~DavTransport() = default;
    virtual DavReply send(const DavRequest& request) = 0;
};
