#include "sync/core/CalDavClient.h"

#include "sync/core/Multistatus.h"

namespace {

const QByteArray xmlType = "application/xml; charset=utf-8";

QByteArray syncCollection(const QString& token)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<d:sync-collection xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
           "<d:sync-token>" +
           token.toHtmlEscaped().toUtf8() +
           "</d:sync-token><d:sync-level>1</d:sync-level>"
           "<d:prop><d:getetag/><c:calendar-data/></d:prop></d:sync-collection>";
}

const QByteArray calendarQuery =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<c:calendar-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
    "<d:prop><d:getetag/><c:calendar-data/></d:prop>"
    "<c:filter><c:comp-filter name=\"VCALENDAR\"><c:comp-filter name=\"VTODO\"/>"
    "</c:comp-filter></c:filter></c:calendar-query>";

const QByteArray listProperties =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
    "<d:resourcetype/><c:supported-calendar-component-set/></d:prop></d:propfind>";

const QByteArray newList = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                           "<c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                           "<d:set><d:prop><d:displayname>Kestrin</d:displayname>"
                           "<c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
                           "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>";

QString withSlash(QString path)
{
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

} // namespace

CalDavClient::CalDavClient(DavTransport& transport, const QUrl& list) : m_transport(transport), m_list(list)
{
    m_list.setPath(withSlash(m_list.path()));
}

DavReply CalDavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                            QList<QPair<QByteArray, QByteArray>> headers)
{
    if (!body.isEmpty())
        headers.append(
            {"Content-Type", body.startsWith("BEGIN:") ? "text/calendar; charset=utf-8" : xmlType});
    return m_transport.send({method, url, headers, body});
}

QUrl CalDavClient::urlOf(const QString& href) const
{
    QUrl url = m_list;
    url.setPath(href);
    return url;
}

QString CalDavClient::hrefFor(const QString& uid) const
{
    return m_list.path() + uid + QStringLiteral(".ics");
}

Result CalDavClient::prepare()
{
    const DavReply found = send("PROPFIND", m_list, listProperties, {{"Depth", "0"}});
    if (found.status == 404) {
        const DavReply made = send("MKCALENDAR", m_list, newList);
        if (!made.ok())
            return Result::failed(QStringLiteral("无法建立任务列表：") + failure(made));
        return Result::done();
    }
    if (found.status != 207)
        return Result::failed(failure(found));
    const Multistatus::Answer answer = Multistatus::read(found.body);
    if (!answer.error.isEmpty())
        return Result::failed(answer.error);
    for (const Multistatus::Response& response : answer.responses) {
        if (!response.isCollection)
            return Result::failed(QStringLiteral("这个地址不是一个任务列表"));
        if (!response.holdsTasks)
            return Result::failed(QStringLiteral("这个日历不能存放任务（VTODO），请换一个任务列表的地址"));
    }
    return Result::done();
}

CalDavClient::Changes CalDavClient::read(const DavReply& reply, bool whole)
{
    Changes changes;
    changes.whole = whole;
    const Multistatus::Answer answer = Multistatus::read(reply.body);
    if (!answer.error.isEmpty()) {
        changes.error = answer.error;
        return changes;
    }
    changes.token = answer.syncToken;
    for (const Multistatus::Response& response : answer.responses) {
        if (response.isCollection || withSlash(response.href) == m_list.path())
            continue;
        if (response.status == 404) {
            changes.gone.append(response.href);
        } else if (response.status >= 200 && response.status < 300) {
            ServerTask task;
            task.href = response.href;
            task.etag = response.etag;
            task.ics = response.calendarData;
            changes.changed.append(task);
        }
    }
    return changes;
}

CalDavClient::Changes CalDavClient::changesSince(const QString& token)
{
    DavReply reply = send("REPORT", m_list, syncCollection(token));
    if (reply.status == 207)
        return read(reply, token.isEmpty());
    if (!token.isEmpty() && (reply.status == 403 || reply.status == 409) &&
        Multistatus::read(reply.body).validSyncTokenRefused)
        return changesSince({});
    // No sync-collection here: every task, with its ETag.
    if (reply.status == 400 || reply.status == 403 || reply.status == 405 || reply.status == 501) {
        reply = send("REPORT", m_list, calendarQuery, {{"Depth", "1"}});
        if (reply.status == 207)
            return read(reply, true);
    }
    Changes failed;
    failed.error = failure(reply);
    return failed;
}

DavReply CalDavClient::put(const QString& href, const QByteArray& ics, const QByteArray& ifMatch)
{
    if (ifMatch.isEmpty())
        return send("PUT", urlOf(href), ics, {{"If-None-Match", "*"}});
    return send("PUT", urlOf(href), ics, {{"If-Match", ifMatch}});
}

DavReply CalDavClient::get(const QString& href)
{
    return send("GET", urlOf(href), {});
}

QString CalDavClient::failure(const DavReply& reply)
{
    if (reply.status == 0)
        return QStringLiteral("无法连接服务器（%1）").arg(reply.error);
    switch (reply.status) {
    case 401:
        return QStringLiteral("用户名或密码不对");
    case 403:
        return QStringLiteral("服务器拒绝访问（HTTP 403）");
    case 404:
    case 410:
        return QStringLiteral("任务列表不存在了（HTTP %1）").arg(reply.status);
    default:
        if (reply.status >= 500)
            return QStringLiteral("服务器出错（HTTP %1）").arg(reply.status);
        return QStringLiteral("服务器回答 HTTP %1").arg(reply.status);
    }
}
