#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

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
            while (QLocalSocket* socket = m_server->nextPendingConnection()) {
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                emit activationRequested();
            }
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
            socket.write("activate\n");
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return Forwarded;
        }
        if (waited.elapsed() < waitMs)
            QThread::msleep(100);
    } while (waited.elapsed() < waitMs);
    return Unreachable;
}
