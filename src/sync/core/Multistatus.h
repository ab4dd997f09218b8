#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A WebDAV multistatus answer (RFC 4918), as CalDAV REPORTs and PROPFIND give it.
namespace Multistatus {

struct Response
{
    QString href;
    int status = 0; // of the response, or of the propstat that held the properties
    QByteArray etag;
    QByteArray calendarData;
    bool isCollection = false;
    bool isCalendar = false;
    bool holdsTasks = false; // supported-calendar-component-set names VTODO, or a calendar names none
    bool componentsListed = false;
    QString displayName;
    QString principal;    // current-user-principal's href
    QString calendarHome; // calendar-home-set's first href
};

struct Answer
{
    QList<Response> responses;
    QString syncToken;
};

// Fails where the body is not a whole multistatus.
ResultOf<Answer> read(const QByteArray& body);
// Whether body is an error naming the valid-sync-token precondition: a token the server forgot.
bool refusesSyncToken(const QByteArray& body);

} // namespace Multistatus
