#pragma once

#include "sync/core/DavTransport.h"
#include "sync/core/SyncEntry.h"
#include "sync/core/TaskCodec.h"

#include <QMap>
#include <QRegularExpression>

#include <functional>
#include <optional>

// A task list in memory that answers CalDAV as a server does: sync-collection with tokens,
// calendar-query, PUT with If-Match and If-None-Match, GET, PROPFIND and MKCALENDAR. fault, when
// set, answers in the server's place, to make it fail.
class FakeCalDavServer final : public DavTransport
{
public:
    static constexpr char list[] = "/u/tasks/";

    bool exists = true;
    bool syncCollection = true;
    std::function<std::optional<DavReply>(const DavRequest&)> fault;
    QList<QByteArray> methods; // every request's, in order

    DavReply send(const DavRequest& request) override
    {
        methods.append(request.method);
        if (fault)
            if (std::optional<DavReply> reply = fault(request))
                return *reply;
        const QString path = request.url.path();
        if (request.method == "PROPFIND")
            return exists ? DavReply{207, props, {}, {}} : DavReply{404, {}, {}, {}};
        if (request.method == "MKCALENDAR") {
            exists = true;
            return {201, {}, {}, {}};
        }
        if (request.method == "REPORT")
            return report(request.body);
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
                        403,
                        "<?xml version=\"1.0\"?><d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>",
                        {},
                        {}};
                since = token.mid(1).toInt();
            }
        }
        QByteArray out = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" "
                         "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
        for (auto it = m_tasks.cbegin(); it != m_tasks.cend(); ++it) {
            if (it->changed <= since)
                continue;
            out +=
                "<d:response><d:href>" + escaped(it.key().toUtf8()) +
                "</d:href><d:propstat><d:prop><d:getetag>" + escaped(it->etag) +
                "</d:getetag><c:calendar-data>" + escaped(it->ics) +
                "</c:calendar-data></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
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

    static inline const QByteArray props =
        "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
        "<d:response><d:href>/u/tasks/</d:href><d:propstat><d:prop><d:resourcetype><d:collection/>"
        "<c:calendar/></d:resourcetype><c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
        "</c:supported-calendar-component-set></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>"
        "</d:response></d:multistatus>";

    QMap<QString, Task> m_tasks;
    QMap<QString, int> m_gone;
    int m_version = 0;
};
