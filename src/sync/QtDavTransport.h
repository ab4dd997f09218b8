#pragma once

#include "sync/core/DavTransport.h"

#include <QNetworkAccessManager>

#include <chrono>

// HTTP through QNetworkAccessManager, each exchange waited for in a local event loop. HTTPS checks
// the system's certificates; Basic (in UTF-8) and Digest are answered with the one user and password
// given.
class QtDavTransport final : public DavTransport
{
public:
    QtDavTransport(const QString& user, const QString& password,
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));

    ResultOf<DavReply> send(const DavRequest& request) override;
    // Whether a server asked for a password that this transport did not have.
    bool passwordWanted() const { return m_passwordWanted; }
    // Whether the server asked for Basic: then later runs send the password with the first request,
    // and a sync with nothing to do is one exchange instead of a refusal and a retry.
    bool askedForBasic() const { return m_askedForBasic; }
    void sendBasicAtOnce(bool atOnce) { m_basicAtOnce = atOnce; }

private:
    ResultOf<DavReply> exchange(const DavRequest& request);

    QNetworkAccessManager m_network;
    QString m_user;
    QString m_password;
    std::chrono::milliseconds m_timeout;
    bool m_passwordWanted = false;
    bool m_askedForBasic = false;
    bool m_basicAtOnce = false;
    bool m_qtAnswers = false; // a scheme other than Basic was asked for: Qt's authenticator answers
};
