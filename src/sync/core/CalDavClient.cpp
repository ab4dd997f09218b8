#include "sync/core/CalDavClient.h"

#include "sync/core/Multistatus.h"

#include <QSet>

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

QByteArray calendarQuery(const QByteArray& properties)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<c:calendar-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>" +
           properties +
           "</d:prop><c:filter><c:comp-filter name=\"VCALENDAR\"><c:comp-filter name=\"VTODO\"/>"
           "</c:comp-filter></c:filter></c:calendar-query>";
}

const QByteArray listProperties =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
    "<d:resourcetype/><c:supported-calendar-component-set/></d:prop></d:propfind>";

QString withSlash(QString path)
{
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

QByteArray multiget(const QStringList& hrefs)
{
    QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                      "<c:calendar-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                      "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
    for (const QString& href : hrefs)
        body += "<d:href>" + QString::fromUtf8(QUrl::toPercentEncoding(href, "/")).toHtmlEscaped().toUtf8() +
                "</d:href>";
    return body + "</c:calendar-multiget>";
}

// Servers name a resource by its path, some by its whole URL.
QString pathOf(const QString& href)
{
    if (href.startsWith(QStringLiteral("http://")) || href.startsWith(QStringLiteral("https://")))
        return QUrl(href).path();
    return href;
}

// Statuses that say a REPORT of this kind is not done here, rather than that something failed.
bool notSupported(int status)
{
    return status == 400 || status == 403 || status == 405 || status == 415 || status == 501;
}

} // namespace

CalDavClient::CalDavClient(DavTransport& transport, const QUrl& list) : m_transport(transport), m_list(list)
{
    m_list.setPath(withSlash(m_list.path()));
}

ResultOf<DavReply> CalDavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                                      QList<QPair<QByteArray, QByteArray>> headers)
{
    return exchange(m_transport, method, url, body, std::move(headers));
}

ResultOf<DavReply> CalDavClient::exchange(DavTransport& transport, const QByteArray& method, const QUrl& url,
                                          const QByteArray& body,
                                          QList<QPair<QByteArray, QByteArray>> headers, QUrl* landed)
{
    if (!body.isEmpty())
        headers.append(
            {"Content-Type", body.startsWith("BEGIN:") ? "text/calendar; charset=utf-8" : xmlType});
    QUrl target = url;
    DavReply reply;
    for (int hop = 0; hop < 5; ++hop) {
        const ResultOf<DavReply> sent = transport.send({method, target, headers, body});
        if (!sent)
            return Result::failed(QStringLiteral("无法连接服务器（%1）").arg(sent.error()));
        reply = *sent;
        const bool redirect = reply.status == 301 || reply.status == 302 || reply.status == 303 ||
                              reply.status == 307 || reply.status == 308;
        if (!redirect || reply.location.isEmpty())
            break;
        const QUrl next = target.resolved(QUrl::fromEncoded(reply.location));
        if (!next.isValid() ||
            (target.scheme() == QStringLiteral("https") && next.scheme() != target.scheme()))
            break;
        target = next;
    }
    if (landed)
        *landed = target;
    return reply;
}

bool CalDavClient::isMissing(const DavReply& reply)
{
    if (reply.status == 404 || reply.status == 410)
        return true;
    if (reply.status != 207)
        return false;
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(reply.body);
    return answer && answer->responses.size() == 1 &&
           (answer->responses[0].status == 404 || answer->responses[0].status == 410);
}

ResultOf<DavReply> CalDavClient::makeList(DavTransport& transport, const QUrl& url, const QString& name)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                            "<d:set><d:prop><d:displayname>" +
                            name.toHtmlEscaped().toUtf8() +
                            "</d:displayname><c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
                            "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>";
    return exchange(transport, "MKCALENDAR", url, body);
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
    const ResultOf<DavReply> found = send("PROPFIND", m_list, listProperties, {{"Depth", "0"}});
    if (!found)
        return found.result();
    if (isMissing(*found)) {
        const ResultOf<DavReply> made = makeList(m_transport, m_list, QStringLiteral("Kestrin"));
        if (!made || !made->ok())
            return Result::failed(QStringLiteral("无法建立任务列表：") +
                                  (made ? failure(*made) : made.error()));
        return Result::done();
    }
    if (found->status != 207)
        return Result::failed(failure(*found));
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(found->body);
    if (!answer)
        return answer.result();
    for (const Multistatus::Response& response : answer->responses) {
        if (!response.isCollection)
            return Result::failed(QStringLiteral("这个地址不是一个任务列表"));
        if (!response.holdsTasks)
            return Result::failed(QStringLiteral("这个日历不能存放任务（VTODO），请换一个任务列表的地址"));
    }
    return Result::done();
}

ResultOf<CalDavClient::Changes> CalDavClient::read(const DavReply& reply, bool whole)
{
    Changes changes;
    changes.whole = whole;
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(reply.body);
    if (!answer)
        return answer.result();
    changes.token = answer->syncToken;
    for (const Multistatus::Response& response : answer->responses) {
        const QString href = pathOf(response.href);
        if (response.isCollection || withSlash(href) == m_list.path())
            continue;
        if (response.status == 404) {
            changes.gone.append(href);
        } else if (response.status >= 200 && response.status < 300) {
            ServerTask task;
            task.href = href;
            task.etag = response.etag;
            task.ics = response.calendarData;
            changes.changed.append(task);
        }
    }
    return changes;
}

ResultOf<CalDavClient::Changes> CalDavClient::changesSince(const QString& token)
{
    ResultOf<DavReply> reply = send("REPORT", m_list, syncCollection(token));
    if (!reply)
        return reply.result();
    if (reply->status == 207) {
        ResultOf<Changes> changes = read(*reply, token.isEmpty());
        if (changes && token.isEmpty())
            keepTasksOnly(*changes);
        return changes;
    }
    if (!token.isEmpty() && (reply->status == 403 || reply->status == 409) &&
        Multistatus::refusesSyncToken(reply->body))
        return changesSince({});
    // No sync-collection here: every task, with its ETag.
    if (notSupported(reply->status)) {
        reply = send("REPORT", m_list, calendarQuery("<d:getetag/><c:calendar-data/>"), {{"Depth", "1"}});
        if (!reply)
            return reply.result();
        if (reply->status == 207)
            return read(*reply, true);
    }
    return Result::failed(failure(*reply));
}

// A calendar may hold events beside the tasks, and sync-collection cannot filter: where the server
// can tell which are tasks, the others are neither read nor named. Elsewhere they are read and
// left aside as they come.
void CalDavClient::keepTasksOnly(Changes& changes)
{
    const ResultOf<DavReply> reply = send("REPORT", m_list, calendarQuery("<d:getetag/>"), {{"Depth", "1"}});
    if (!reply || reply->status != 207)
        return;
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(reply->body);
    if (!answer)
        return;
    QSet<QString> tasks;
    for (const Multistatus::Response& response : answer->responses)
        tasks.insert(pathOf(response.href));
    changes.notTasks = int(
        changes.changed.removeIf([&tasks](const ServerTask& task) { return !tasks.contains(task.href); }));
}

CalDavClient::Bodies CalDavClient::fetch(const QStringList& hrefs)
{
    Bodies bodies;
    for (qsizetype from = 0; from < hrefs.size(); from += batchSize) {
        const QStringList batch = hrefs.mid(from, batchSize);
        if (m_multiget && readBatch(batch, bodies))
            continue;
        for (const QString& href : batch) {
            const ResultOf<DavReply> got = get(href);
            if (!got)
                bodies.unread.insert(href, got.error());
            else if (got->ok())
                bodies.read.insert(href, {href, got->etag, got->body, {}, {}, true, false, {}, {}});
            else if (got->status == 404 || got->status == 410)
                bodies.gone.append(href);
            else
                bodies.unread.insert(href, failure(*got));
        }
    }
    return bodies;
}

// false when the server does not do multiget, and the batch is to be read another way.
bool CalDavClient::readBatch(const QStringList& hrefs, Bodies& bodies)
{
    const ResultOf<DavReply> sent = send("REPORT", m_list, multiget(hrefs));
    const DavReply reply = sent ? *sent : DavReply();
    if (sent && notSupported(reply.status)) {
        m_multiget = false;
        return false;
    }
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(reply.body);
    const Result batch = !sent                 ? sent.result()
                         : reply.status != 207 ? Result::failed(failure(reply))
                         : answer              ? Result::done()
                                               : answer.result();
    const QList<Multistatus::Response> responses = batch ? answer->responses : QList<Multistatus::Response>();
    for (const Multistatus::Response& response : responses) {
        const QString href = pathOf(response.href);
        if (!hrefs.contains(href))
            continue;
        if (response.status == 404 || response.status == 410)
            bodies.gone.append(href);
        else if (response.status >= 200 && response.status < 300 && !response.calendarData.isEmpty())
            bodies.read.insert(href,
                               {href, response.etag, response.calendarData, {}, {}, true, false, {}, {}});
    }
    for (const QString& href : hrefs)
        if (!bodies.read.contains(href) && !bodies.gone.contains(href))
            bodies.unread.insert(href, batch ? QStringLiteral("服务器没有给出它的内容") : batch.error());
    return true;
}

ResultOf<DavReply> CalDavClient::put(const QString& href, const QByteArray& ics, const QByteArray& ifMatch)
{
    if (ifMatch.isEmpty())
        return send("PUT", urlOf(href), ics, {{"If-None-Match", "*"}});
    return send("PUT", urlOf(href), ics, {{"If-Match", ifMatch}});
}

ResultOf<DavReply> CalDavClient::get(const QString& href)
{
    return send("GET", urlOf(href), {});
}

QString CalDavClient::failure(const DavReply& reply)
{
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
