#include "sync/core/Multistatus.h"

#include <QUrl>
#include <QXmlStreamReader>

namespace Multistatus {

namespace {

const QString dav = QStringLiteral("DAV:");
const QString caldav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

// "HTTP/1.1 404 Not Found" → 404.
int statusCode(const QString& line)
{
    const QStringList parts = line.simplified().split(u' ');
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

bool is(const QXmlStreamReader& xml, const QString& ns, QStringView name)
{
    return xml.namespaceUri() == ns && xml.name() == name;
}

// The href inside a property such as current-user-principal.
QString hrefIn(QXmlStreamReader& xml)
{
    QString href;
    while (xml.readNextStartElement()) {
        if (href.isEmpty() && is(xml, dav, u"href"))
            href = QUrl::fromPercentEncoding(xml.readElementText().trimmed().toUtf8());
        else
            xml.skipCurrentElement();
    }
    return href;
}

void readPropstat(QXmlStreamReader& xml, Response& response)
{
    Response found;
    int status = 0;
    while (xml.readNextStartElement()) {
        if (is(xml, dav, u"status")) {
            status = statusCode(xml.readElementText());
        } else if (is(xml, dav, u"prop")) {
            while (xml.readNextStartElement()) {
                if (is(xml, dav, u"getetag")) {
                    found.etag = xml.readElementText().trimmed().toUtf8();
                } else if (is(xml, caldav, u"calendar-data")) {
                    found.calendarData = xml.readElementText().toUtf8();
                } else if (is(xml, dav, u"resourcetype")) {
                    while (xml.readNextStartElement()) {
                        if (is(xml, dav, u"collection"))
                            found.isCollection = true;
                        if (is(xml, caldav, u"calendar"))
                            found.isCalendar = true;
                        xml.skipCurrentElement();
                    }
                } else if (is(xml, caldav, u"supported-calendar-component-set")) {
                    found.componentsListed = true;
                    while (xml.readNextStartElement()) {
                        if (is(xml, caldav, u"comp") && xml.attributes()
                                                                .value(QStringLiteral("name"))
                                                                .compare(u"VTODO", Qt::CaseInsensitive) == 0)
                            found.holdsTasks = true;
                        xml.skipCurrentElement();
                    }
                } else if (is(xml, dav, u"displayname")) {
                    found.displayName = xml.readElementText().trimmed();
                } else if (is(xml, dav, u"current-user-principal")) {
                    found.principal = hrefIn(xml);
                } else if (is(xml, caldav, u"calendar-home-set")) {
                    found.calendarHome = hrefIn(xml);
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    // Properties under a 404 propstat are the ones the server does not have.
    if (status < 200 || status >= 300)
        return;
    response.status = status;
    if (!found.etag.isEmpty())
        response.etag = found.etag;
    if (!found.calendarData.isEmpty())
        response.calendarData = found.calendarData;
    response.isCollection |= found.isCollection;
    response.isCalendar |= found.isCalendar;
    response.holdsTasks |= found.holdsTasks;
    response.componentsListed |= found.componentsListed;
    for (auto [field, value] : {std::pair{&Response::displayName, &found.displayName},
                                std::pair{&Response::principal, &found.principal},
                                std::pair{&Response::calendarHome, &found.calendarHome}})
        if (!value->isEmpty())
            response.*field = *value;
}

} // namespace

bool refusesSyncToken(const QByteArray& body)
{
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || !is(xml, dav, u"error"))
        return false;
    while (xml.readNextStartElement()) {
        if (is(xml, dav, u"valid-sync-token"))
            return true;
        xml.skipCurrentElement();
    }
    return false;
}

ResultOf<Answer> read(const QByteArray& body)
{
    Answer answer;
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement())
        return Result::failed(QStringLiteral("服务器的回答不是 XML"));
    if (is(xml, dav, u"error"))
        return Result::failed(QStringLiteral("服务器拒绝了请求"));
    if (!is(xml, dav, u"multistatus"))
        return Result::failed(QStringLiteral("服务器的回答不是 WebDAV 的 multistatus"));
    while (xml.readNextStartElement()) {
        if (is(xml, dav, u"sync-token")) {
            answer.syncToken = xml.readElementText().trimmed();
        } else if (is(xml, dav, u"response")) {
            Response response;
            while (xml.readNextStartElement()) {
                if (is(xml, dav, u"href"))
                    response.href = QUrl::fromPercentEncoding(xml.readElementText().trimmed().toUtf8());
                else if (is(xml, dav, u"status"))
                    response.status = statusCode(xml.readElementText());
                else if (is(xml, dav, u"propstat"))
                    readPropstat(xml, response);
                else
                    xml.skipCurrentElement();
            }
            // A calendar that names no components takes them all (RFC 4791 §5.2.3).
            if (response.isCalendar && !response.componentsListed)
                response.holdsTasks = true;
            answer.responses.append(response);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return Result::failed(QStringLiteral("服务器的回答不是完整的 XML（%1）").arg(xml.errorString()));
    return answer;
}

} // namespace Multistatus
