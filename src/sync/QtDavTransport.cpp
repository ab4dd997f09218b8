#include "sync/QtDavTransport.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QNetworkReply>

QtDavTransport::QtDavTransport(const QString& user, const QString& password,
                               std::chrono::milliseconds timeout)
    : m_user(user), m_password(password), m_timeout(timeout)
{
    // Qt asks again only with the credentials refused, and then gives up with the server's 401.
    // It would send Basic in Latin-1, a Chinese character as '?': it answers only the other
    // schemes, and Basic goes out from send() in UTF-8.
    QObject::connect(&m_network, &QNetworkAccessManager::authenticationRequired,
                     [this](QNetworkReply*, QAuthenticator* authenticator) {
                         if (m_password.isEmpty()) {
                             m_passwordWanted = true;
                             return;
                         }
                         if (!m_qtAnswers)
                             return;
                         authenticator->setUser(m_user);
                         authenticator->setPassword(m_password);
                     });
}

ResultOf<DavReply> QtDavTransport::send(const DavRequest& request)
{
    ResultOf<DavReply> answer = exchange(request);
    if (!answer || answer->status != 401 || m_password.isEmpty())
        return answer;
    // Asked once for a password: answered once, so that a refused one ends with the 401.
    if (m_askedForBasic) {
        if (m_basicAtOnce)
            return answer;
        m_basicAtOnce = true;
    } else {
        if (m_qtAnswers)
            return answer;
        m_qtAnswers = true;
    }
    return exchange(request);
}

ResultOf<DavReply> QtDavTransport::exchange(const DavRequest& request)
{
    QNetworkRequest http(request.url);
    for (const auto& [name, value] : request.headers)
        http.setRawHeader(name, value);
    http.setTransferTimeout(int(m_timeout.count()));
    if (m_basicAtOnce && !m_password.isEmpty())
        http.setRawHeader("Authorization", "Basic " + (m_user + u':' + m_password).toUtf8().toBase64());
    http.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // Qt would follow a redirect of a PROPFIND or REPORT as a GET without its body: the client
    // follows them itself.
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = m_network.sendCustomRequest(http, request.method, request.body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    DavReply answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen())
        answer.body = reply->readAll();
    answer.etag = reply->rawHeader("ETag");
    answer.location = reply->rawHeader("Location");
    if (answer.status == 401)
        m_askedForBasic = reply->rawHeader("WWW-Authenticate").trimmed().toLower().startsWith("basic");
    const QString why = reply->errorString();
    const QNetworkReply::NetworkError error = reply->error();
    reply->deleteLater();
    if (answer.status != 0)
        return answer;
    switch (error) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return Result::failed(QStringLiteral("服务器没有应答"));
    case QNetworkReply::SslHandshakeFailedError:
        return Result::failed(QStringLiteral("证书被拒绝：") + why);
    default:
        return Result::failed(why);
    }
}
