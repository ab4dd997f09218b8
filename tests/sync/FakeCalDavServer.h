#pragma once

#include "sync/core/DavTransport.h"
#include "sync/core/SyncEntry.h"
#include "sync/core/TaskCodec.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <functional>
#include <optional>
#include <tuple>

// A task list in memory that answers CalDAV as a server does: sync-collection with tokens,
// calendar-query, calendar-multiget, PUT with If-Match and If-None-Match, GET, PROPFIND and
// MKCALENDAR, and the way to the list from the server's address (/.well-known/caldav, the
// principal /u/ and its calendar home /u/). The switches give the behaviours servers differ in.
// fault, when set, answers in the server's place, to make it fail.
class FakeCalDavServer final : public DavTransport
{
public:
    static constexpr char list[] = "/u/tasks/";

    bool exists = true;
    bool syncCollection = true;
    bool inlineData = true;    // REPORTs carry calendar-data; false: hrefs and ETags alone
    bool multiget = true;      // false: calendar-multiget is refused
    bool missingAs207 = false; // a missing list is a 207 holding a 404, not a bare 404
    bool filters = true;       // a calendar-query lists only the components it asks for
    QSet<QString> withoutData; // hrefs that a multiget answers 200 without their calendar-data
    bool rootNamesPrincipal = true;
    int forgottenTokenStatus =
        403; // RFC 6578 allows 409 as well // false: only /.well-known/caldav leads to the principal
    // The home's other calendars: path, display name, component.
    QList<std::tuple<QString, QString, QByteArray>> otherCalendars;
    std::function<std::optional<ResultOf<DavReply>>(const DavRequest&)> fault;
    QList<QByteArray> methods; // every request's, in order

    ResultOf<DavReply> send(const DavRequest& request) override
    {
        methods.append(request.method);
        if (fault)
            if (std::optional<ResultOf<DavReply>> reply = fault(request))
                return *reply;
        return answer(request);
    }
    DavReply answer(const DavRequest& request)
    {
        const QString path = request.url.path();
        if (request.method == "PROPFIND")
            return propfind(path, request);
        if (request.method == "MKCALENDAR") {
            if (path == QString::fromLatin1(list))
                exists = true;
            else
                otherCalendars.append({path, QStringLiteral("Kestrin"), "VTODO"});
            return {201, {}, {}, {}};
        }
        if (request.method == "REPORT")
            return request.body.contains("calendar-multiget") ? multigetReport(request.body)
                                                              : report(request.body);
        if (request.method == "GET") {
            if (!m_tasks.contains(path))
                return {404, {}, {}, {}};
            return {200, m_tasks[path].ics, m_tasks[path].etag, {}};
        }
        if (request.method == "PUT")
            return put(path, request);
        return {405, {}, {}, {}};
    }

    // A task written elsewhere (a phone), as its iCalendar text.
    void store(const QString& href, const QByteArray& ics)
    {
        Task& task = m_tasks[href];
        task.ics = ics;
        task.etag = "\"e" + QByteArray::number(++m_version) + '"';
        task.changed = m_version;
    }
    void storeTask(const QString& uid, const TaskValues& values, bool open = true)
    {
        store(QString::fromLatin1(list) + uid + QStringLiteral(".ics"),
              TaskCodec::write({}, uid, values, open, QDateTime(QDate(2026, 12, 6), QTime(8, 0), Qt::UTC)));
    }
    void erase(const QString& href)
    {
        m_tasks.remove(href);
        m_gone.insert(href, ++m_version);
    }
    // The tasks as they read now, by summary.
    QMap<QString, ServerTask> tasks() const
    {
        QMap<QString, ServerTask> result;
        for (auto it = m_tasks.cbegin(); it != m_tasks.cend(); ++it) {
            ServerTask task{it.key(), it->etag, it->ics, {}, {}, true, false, {}, {}};
            TaskCodec::read(task, QDate(2026, 12, 7), QDate(2026, 12, 7));
            result.insert(task.values.text, task);
        }
        return result;
    }
    int count() const { return int(m_tasks.size()); }
    QString hrefOf(const QString& summary) const { return tasks().value(summary).href; }

private:
    struct Task
    {
        QByteArray ics;
        QByteArray etag;
        int changed = 0;
    };

    DavReply put(const QString& path, const DavRequest& request)
    {
        QByteArray ifMatch, ifNoneMatch;
        for (const auto& [name, value] : request.headers) {
            if (name == "If-Match")
                ifMatch = value;
            if (name == "If-None-Match")
                ifNoneMatch = value;
        }
        const bool there = m_tasks.contains(path);
        if ((!ifMatch.isEmpty() && (!there || m_tasks[path].etag != ifMatch)) ||
            (ifNoneMatch == "*" && there))
            return {412, {}, {}, {}};
        store(path, request.body);
        return {there ? 204 : 201, {}, m_tasks[path].etag, {}};
    }

    static QByteArray calendarResponse(const QString& path, const QString& name, const QByteArray& component)
    {
        return "<d:response><d:href>" + escaped(path.toUtf8()) +
               "</d:href><d:propstat><d:prop><d:resourcetype><d:collection/><c:calendar/></d:resourcetype>"
               "<d:displayname>" +
               escaped(name.toUtf8()) +
               "</d:displayname><c:supported-calendar-component-set><c:comp name=\"" + component +
               "\"/></c:supported-calendar-component-set></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
               "</d:propstat></d:response>";
    }

    DavReply propfind(const QString& path, const DavRequest& request)
    {
        const QByteArray open = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
                                "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
        const QByteArray notFound = open + "<d:response><d:href>" + escaped(path.toUtf8()) +
                                    "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>"
                                    "</d:multistatus>";
        if (path == QString::fromLatin1(list)) {
            if (exists)
                return {207,
                        open + calendarResponse(path, QStringLiteral("tasks"), "VTODO") + "</d:multistatus>",
                        {},
                        {}};
            return missingAs207 ? DavReply{207, notFound, {}, {}} : DavReply{404, {}, {}, {}};
        }
        if (path == QStringLiteral("/.well-known/caldav"))
            return {301, {}, {}, "/u/"};
        const QByteArray principal =
            "<d:current-user-principal><d:href>/u/</d:href></d:current-user-principal>";
        if (path == QStringLiteral("/") && rootNamesPrincipal)
            return {
                207,
                open + "<d:response><d:href>/</d:href><d:propstat><d:prop><d:resourcetype/>" + principal +
                    "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response></d:multistatus>",
                {},
                {}};
        if (path != QStringLiteral("/u/"))
            return {207, notFound, {}, {}};
        QByteArray out = open +
                         "<d:response><d:href>/u/</d:href><d:propstat><d:prop><d:resourcetype><d:collection/>"
                         "<d:principal/></d:resourcetype>" +
                         principal +
                         "<c:calendar-home-set><d:href>/u/</d:href></c:calendar-home-set></d:prop>"
                         "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
        bool deep = false;
        for (const auto& [name, value] : request.headers)
            deep |= name == "Depth" && value == "1";
        if (deep) {
            if (exists)
                out += calendarResponse(QString::fromLatin1(list), QStringLiteral("tasks"), "VTODO");
            for (const auto& [calendar, name, component] : otherCalendars)
                out += calendarResponse(calendar, name, component);
        }
        return {207, out + "</d:multistatus>", {}, {}};
    }

    DavReply multigetReport(const QByteArray& body)
    {
        if (!multiget)
            return {501, {}, {}, {}};
        QByteArray out = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
                         "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
        const QRegularExpression href(QStringLiteral("<d:href>(.*?)</d:href>"));
        for (const QRegularExpressionMatch& match : href.globalMatch(QString::fromUtf8(body))) {
            const QString path = QUrl::fromPercentEncoding(match.captured(1).toUtf8());
            if (!m_tasks.contains(path)) {
                out += "<d:response><d:href>" + escaped(path.toUtf8()) +
                       "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
                continue;
            }
            const QByteArray data =
                withoutData.contains(path)
                    ? QByteArray()
                    : "<c:calendar-data>" + escaped(m_tasks[path].ics) + "</c:calendar-data>";
            out += "<d:response><d:href>" + escaped(path.toUtf8()) +
                   "</d:href><d:propstat><d:prop><d:getetag>" + escaped(m_tasks[path].etag) + "</d:getetag>" +
                   data + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
        }
        return {207, out + "</d:multistatus>", {}, {}};
    }

    static QByteArray escaped(const QByteArray& text)
    {
        return QString::fromUtf8(text).toHtmlEscaped().toUtf8();
    }

    DavReply report(const QByteArray& body)
    {
        const bool query = body.contains("calendar-query");
        if (!query && !syncCollection)
            return {403, {}, {}, {}};
        int since = 0;
        if (!query) {
            const QString token = QRegularExpression(QStringLiteral("<d:sync-token>(.*)</d:sync-token>"))
                                      .match(QString::fromUtf8(body))
                                      .captured(1);
            if (!token.isEmpty()) {
                if (!token.startsWith(QStringLiteral("t")))
                    return {
                        forgottenTokenStatus,
                        "<?xml version=\"1.0\"?><d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>",
                        {},
                        {}};
                since = token.mid(1).toInt();
            }
        }
        QByteArray out = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
                         "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
        for (auto it = m_tasks.cbegin(); it != m_tasks.cend(); ++it) {
            if (it->changed <= since || (query && filters && !it->ics.contains("BEGIN:VTODO")))
                continue;
            const QByteArray data =
                inlineData ? "<c:calendar-data>" + escaped(it->ics) + "</c:calendar-data>" : QByteArray();
            out += "<d:response><d:href>" + escaped(it.key().toUtf8()) +
                   "</d:href><d:propstat><d:prop><d:getetag>" + escaped(it->etag) + "</d:getetag>" + data +
                   "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
        }
        for (auto it = m_gone.cbegin(); since > 0 && it != m_gone.cend(); ++it) {
            if (it.value() > since)
                out += "<d:response><d:href>" + escaped(it.key().toUtf8()) +
                       "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
        }
        if (!query)
            out += "<d:sync-token>t" + QByteArray::number(m_version) + "</d:sync-token>";
        out += "</d:multistatus>";
        return {207, out, {}, {}};
    }

    QMap<QString, Task> m_tasks;
    QMap<QString, int> m_gone;
    int m_version = 0;
};
