#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

SingleInstance::SingleInstance(const QString& appDir, QObject* parent) : QObject(parent)
{
    const QString canonical = QFileInfo(appDir).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash((canonical.isEmpty() ? appDir : canonical).toUtf8(),
                                                     QCryptographicHash::Sha1);
    m_key = QStringLiteral("kestrin-") + QString::fromLatin1(hash.toHex().left(16));
    // The lock lives in the temporary directory: the program directory may be read-only, and the
    // user's data directory is no place for our housekeeping.
    m_lock = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(m_key + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0); // only a dead owner makes a lock stale, never its age
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
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
        m_server->listen(m_key);
        return true;
    }
    // The first copy may still be starting up: give its server a moment to listen.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(m_key);
        if (socket.waitForConnected(200)) {
            socket.write("activate\n");
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return false;
        }
        QThread::msleep(100);
    }
    return false;
}
