#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace {

QString housekeepingDir()
{
    // The program directory may be read-only, and the user's data folder is no place for this.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

QString keyFor(const QString& appDir)
{
    const QString canonical = QFileInfo(appDir).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash((canonical.isEmpty() ? appDir : canonical).toUtf8(),
                                                     QCryptographicHash::Sha1);
    return QDir(housekeepingDir())
        .filePath(QStringLiteral("kestrin-") + QString::fromLatin1(hash.toHex().left(16)));
}

} // namespace

SingleInstance::SingleInstance(const QString& appDir, QObject* parent)
    : QObject(parent), m_key(keyFor(appDir))
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
    return keyFor(appDir) + QStringLiteral(".lock");
}

SingleInstance::Claim SingleInstance::claim(int waitMs)
{
    if (m_lock->tryLock(0)) {
        QLocalServer::removeServer(m_key);
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = m_server->nextPendingConnection())
                serve(socket);
        });
        if (!m_server->listen(m_key))
            m_listenError = m_server->errorString();
        return First;
    }
    // The first copy may still be starting up: give its server a moment to listen.
    QElapsedTimer waited;
    waited.start();
    do {
        QLocalSocket socket;
        socket.connectToServer(m_key);
        if (socket.waitForConnected(200)) {
            socket.write(QJsonDocument(QJsonObject{{QStringLiteral("command"), QStringLiteral("activate")}})
                             .toJson(QJsonDocument::Compact) +
                         '\n');
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return Forwarded;
        }
        if (waited.elapsed() < waitMs)
            QThread::msleep(100);
    } while (waited.elapsed() < waitMs);
    return Unreachable;
}

QJsonObject SingleInstance::refusal(const QString& message)
{
    return {{QStringLiteral("ok"), false}, {QStringLiteral("message"), message}};
}

void SingleInstance::serve(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A client that never finishes its line holds nothing for long.
    auto* timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    connect(timeout, &QTimer::timeout, socket, [socket] { socket->abort(); });
    timeout->start(3000);
    auto reply = [socket](const QJsonObject& answer) {
        socket->write(QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n');
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, timeout, reply] {
        if (!timeout->isActive())
            return; // answered already
        const qsizetype end = socket->peek(maxRequest + 1).indexOf('\n');
        if (end < 0) {
            if (socket->bytesAvailable() > maxRequest) {
                timeout->stop();
                reply(refusal(QStringLiteral("请求过长，未执行。")));
            }
            return;
        }
        timeout->stop();
        reply(answer(socket->read(end + 1).chopped(1)));
    });
}

QJsonObject SingleInstance::answer(const QByteArray& line)
{
    // What a second start of an earlier version sends.
    if (line.trimmed() == "activate") {
        emit activationRequested();
        return {{QStringLiteral("ok"), true}};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return refusal(QStringLiteral("请求格式不对，未执行。"));
    const QJsonObject request = document.object();
    if (request.value(QStringLiteral("command")).toString() == QStringLiteral("activate")) {
        emit activationRequested();
        return {{QStringLiteral("ok"), true}};
    }
    if (!requestHandler)
        return refusal(QStringLiteral("不认识的请求，未执行。"));
    return requestHandler(request);
}

std::optional<QJsonObject> SingleInstance::send(const QString& appDir, const QJsonObject& request, int waitMs)
{
    QLocalSocket socket;
    socket.connectToServer(keyFor(appDir));
    if (!socket.waitForConnected(waitMs))
        return std::nullopt;
    socket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    QByteArray line;
    QElapsedTimer waited;
    waited.start();
    while (!line.endsWith('\n') && waited.elapsed() < waitMs) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(int(waitMs - waited.elapsed())))
            break;
        line += socket.readAll();
    }
    const QJsonDocument answer = QJsonDocument::fromJson(line.trimmed());
    if (!answer.isObject())
        return std::nullopt;
    return answer.object();
}
