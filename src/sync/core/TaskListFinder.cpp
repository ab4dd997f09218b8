#include "sync/core/TaskListFinder.h"

#include "sync/core/CalDavClient.h"
#include "sync/core/Multistatus.h"

namespace {

const QByteArray properties =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
    "<d:resourcetype/><d:displayname/><c:supported-calendar-component-set/>"
    "<d:current-user-principal/><c:calendar-home-set/></d:prop></d:propfind>";

QUrl withSlash(QUrl url)
{
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    return url;
}

// What a reply lists; nothing when it is no multistatus.
QList<Multistatus::Response> responsesOf(const DavReply& reply)
{
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(reply.body);
    return answer ? answer->responses : QList<Multistatus::Response>();
}

} // namespace

TaskListFinder::TaskListFinder(DavTransport& transport) : m_transport(transport) {}

ResultOf<DavReply> TaskListFinder::propfind(const QUrl& url, const char* depth, QUrl* landed)
{
    return CalDavClient::exchange(m_transport, "PROPFIND", url, properties, {{"Depth", depth}}, landed);
}

ResultOf<TaskListFinder::Found> TaskListFinder::find(const QUrl& address)
{
    Found found;
    QUrl here;
    const ResultOf<DavReply> sent = propfind(withSlash(address), "0", &here);
    if (!sent)
        return sent.result();
    const DavReply& first = *sent;
    const bool serverRoot = address.path().isEmpty() || address.path() == QStringLiteral("/");
    if (CalDavClient::isMissing(first) && !serverRoot) {
        found.list = withSlash(address);
        return found;
    }
    if (first.status == 401)
        return Result::failed(CalDavClient::failure(first));
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(first.body);
    QString home, principal;
    if (first.status == 207 && answer && !answer->responses.isEmpty()) {
        const Multistatus::Response& self = answer->responses.first();
        if (self.isCalendar) {
            if (!self.holdsTasks)
                return Result::failed(
                    QStringLiteral("这个日历不能存放任务（VTODO），请换一个任务列表的地址"));
            found.list = here;
            return found;
        }
        home = self.calendarHome;
        principal = self.principal;
    } else {
        here = address;
    }
    // Not a list: the principal's calendar home, and the task lists in it.
    const ResultOf<QUrl> calendars = calendarHome(address, here, home, principal);
    if (!calendars)
        return calendars.result();
    found.home = *calendars;
    const ResultOf<QList<TaskList>> lists = listsIn(found.home);
    if (!lists)
        return lists.result();
    found.lists = *lists;
    return found;
}

ResultOf<QUrl> TaskListFinder::calendarHome(const QUrl& address, QUrl& here, QString home, QString principal)
{
    const auto failed = [](const DavReply& reply) { return Result::failed(CalDavClient::failure(reply)); };
    if (home.isEmpty() && principal.isEmpty()) {
        QUrl wellKnown = address;
        wellKnown.setPath(QStringLiteral("/.well-known/caldav"));
        // A server without the well-known address may still have its home found otherwise.
        const ResultOf<DavReply> known = propfind(wellKnown, "0", &here);
        if (known && known->status == 401)
            return failed(*known);
        if (known && known->status == 207)
            for (const Multistatus::Response& response : responsesOf(*known))
                if (principal.isEmpty())
                    principal = response.principal;
    }
    if (home.isEmpty() && !principal.isEmpty()) {
        const QUrl principalUrl = here.resolved(QUrl(principal));
        const ResultOf<DavReply> reply = propfind(principalUrl, "0", &here);
        if (!reply)
            return reply.result();
        if (reply->status != 207)
            return failed(*reply);
        for (const Multistatus::Response& response : responsesOf(*reply))
            if (home.isEmpty())
                home = response.calendarHome;
    }
    if (home.isEmpty())
        return Result::failed(
            QStringLiteral("在这个地址找不到日历（没有 calendar-home-set），请给出任务列表的完整地址"));
    return withSlash(here.resolved(QUrl(home)));
}

ResultOf<QList<TaskListFinder::TaskList>> TaskListFinder::listsIn(const QUrl& home)
{
    QUrl here = home;
    const ResultOf<DavReply> listing = propfind(home, "1", &here);
    if (!listing)
        return listing.result();
    if (listing->status != 207)
        return Result::failed(CalDavClient::failure(*listing));
    const ResultOf<Multistatus::Answer> lists = Multistatus::read(listing->body);
    if (!lists)
        return lists.result();
    QList<TaskList> found;
    for (const Multistatus::Response& response : lists->responses) {
        if (!response.isCalendar || !response.holdsTasks)
            continue;
        const QUrl url = withSlash(here.resolved(QUrl(response.href)));
        QString name = response.displayName;
        if (name.isEmpty())
            name = url.path().section(u'/', -2, -2);
        found.append({name, url});
    }
    return found;
}
