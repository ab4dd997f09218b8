#pragma once

#include "platform/Result.h"

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

// The server's HTTP answer, whatever its status.
struct DavReply
{
    int status = 0;
    QByteArray body;
    QByteArray etag;
    QByteArray location = {}; // where a redirect points
    bool ok() const { return status >= 200 && status < 300; }
};

// One HTTP exchange with the task list's server, waited for. The network behind a seam, so that
// the sync's logic meets a fake server in its tests.
class DavTransport
{
public:
    virtual ~DavTransport() = default;
    // Fails when no HTTP answer came: the server unreachable, its certificate refused, a timeout.
    virtual ResultOf<DavReply> send(const DavRequest& request) = 0;
};
