#include "platform/instance/SingleInstance.h"

#include "platform/RequestChannel.h"
#include "platform/files/HousekeepingPath.h"
#include "platform/instance/UnixServer.h"
#include "platform/instance/UnixSocket.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QThread>

SingleInstance::SingleInstance(const QString& appDir, QObject* parent)
    : QObject(parent), m_key(housekeepingPathFor(appDir))
{
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    m_lock->setStaleLockTime(0); // only a dead owner makes a lock stale, never its age
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath() const
{
    return m_key + QStringLiteral(".lock");
}

QString SingleInstance::lockFilePathFor(const QString& appDir)
{
    return housekeepingPathFor(appDir) + QStringLiteral(".lock");
}

SingleInstance::Claim SingleInstance::claim(int waitMs)
{
    // The first copy may still be starting up: give its server a moment to listen. A script's
    // --add holds the lock too, for as long as it writes, and listens on nothing: once it lets go,
    // this is the first copy after all.
    QElapsedTimer waited;
    waited.start();
    do {
        if (m_lock->tryLock(0))
            return First;
        if (const auto socket = UnixSocket::connectTo(m_key)) {
            QJsonObject activate{{QStringLiteral("command"), QStringLiteral("activate")}};
            // The launcher's leave for a window to take the focus on Wayland: this process is
            // leaving, the running copy's window is the one to use it.
            if (const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN"); !token.isEmpty())
                activate.insert(QStringLiteral("token"), token);
            socket->write(RequestChannel::encode(activate));
            return Forwarded;
        }
        if (waited.elapsed() < waitMs)
            QThread::msleep(100);
    } while (waited.elapsed() < waitMs);
    return Unreachable;
}

Result SingleInstance::listen()
{
    if (!m_server) {
        m_server = new UnixServer(this);
        connect(m_server, &UnixServer::connected, this, &SingleInstance::serve);
    }
    return m_server->listen(m_key);
}

void SingleInstance::serve(UnixSocket* socket)
{
    connect(socket, &QIODevice::aboutToClose, socket, &QObject::deleteLater);
    RequestChannel::serve(socket, 3000, [this](const QJsonObject& request) {
        if (request.value(QStringLiteral("command")) == QStringLiteral("activate")) {
            emit activationRequested(request.value(QStringLiteral("token")).toString());
            return QJsonObject{{QStringLiteral("ok"), true}};
        }
        if (!requestHandler)
            return RequestChannel::refusal(QStringLiteral("不认识的请求，未执行。"));
        return requestHandler(request);
    });
}

ResultOf<QJsonObject> SingleInstance::send(const QString& appDir, const QJsonObject& request, int waitMs)
{
    const auto socket = UnixSocket::connectTo(housekeepingPathFor(appDir));
    if (!socket)
        return Result::failed(QStringLiteral("没有正在运行的 Kestrin"));
    socket->write(RequestChannel::encode(request));
    QByteArray line;
    QElapsedTimer waited;
    waited.start();
    while (!line.endsWith('\n') && waited.elapsed() < waitMs) {
        if (!socket->bytesAvailable() && !socket->waitForReadyRead(int(waitMs - waited.elapsed())))
            break;
        line += socket->readAll();
    }
    const QJsonDocument answer = QJsonDocument::fromJson(line.trimmed());
    if (!answer.isObject())
        return Result::failed(QStringLiteral("正在运行的 Kestrin 没有应答"));
    return answer.object();
}
