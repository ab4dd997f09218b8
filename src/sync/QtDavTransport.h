#pragma once

#include "sync/core/DavTransport.h"

#include <QNetworkAccessManager>

#include <chrono>

// HTTP through QNetworkAccessManager, each exchange waited for in a local event loop. HTTPS checks
// the system's certificates; Basic and Digest are answered with the one user and password given.
class QtDavTransport final : public DavTransport
{
public:
    QtDavTransport(const QString& user, const QString& password,
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));

    DavReply send(const DavRequest& request) override;
    // Whether a server asked for a password that this transport did not have.
    bool passwordWanted() const { return m_passwordWanted; }

private:
    QNetworkAccessManager m_network;
    QString m_user;
    QString m_password;
    std::chrono::milliseconds m_timeout;
    bool m_passwordWanted = false;
};
