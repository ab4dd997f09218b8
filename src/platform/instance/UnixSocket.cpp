#include "platform/instance/UnixSocket.h"

#include <QFile>
#include <QSocketNotifier>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Taken in at most this much at a time: a peer that floods is cut off by its reader, which sees
// more than any request may hold.
constexpr qsizetype maxBuffered = 1024 * 1024;
// How long a write may wait for the peer to make room.
constexpr int writeWaitMs = 3000;

} // namespace

UnixSocket::UnixSocket(int fd, QObject* parent)
    : QIODevice(parent), m_fd(fd), m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this))
{
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        if (drain())
            emit readyRead();
    });
    QIODevice::open(QIODevice::ReadWrite);
}

UnixSocket::~UnixSocket()
{
    close();
}

std::unique_ptr<UnixSocket> UnixSocket::connectTo(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return nullptr;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<UnixSocket>(fd);
}

bool UnixSocket::drain()
{
    bool any = false;
    char chunk[4096];
    while (m_received.size() < maxBuffered) {
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n > 0) {
            m_received.append(chunk, n);
            any = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            // The end: nothing more will come, and the notifier would fire for ever.
            m_ended = true;
            m_notifier->setEnabled(false);
        }
        break;
    }
    if (m_received.size() >= maxBuffered)
        m_notifier->setEnabled(false);
    return any;
}

qint64 UnixSocket::bytesAvailable() const
{
    return QIODevice::bytesAvailable() + m_received.size();
}

bool UnixSocket::canReadLine() const
{
    return m_received.contains('\n') || QIODevice::canReadLine();
}

qint64 UnixSocket::readData(char* data, qint64 maxSize)
{
    if (m_received.isEmpty())
        return m_ended ? -1 : 0;
    const qint64 n = std::min<qint64>(maxSize, m_received.size());
    std::memcpy(data, m_received.constData(), size_t(n));
    m_received.remove(0, n);
    if (!m_ended && m_fd >= 0)
        m_notifier->setEnabled(true);
    return n;
}

qint64 UnixSocket::writeData(const char* data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const ssize_t n = ::send(m_fd, data + written, size_t(size - written), MSG_NOSIGNAL);
        if (n >= 0) {
            written += n;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return written ? written : -1;
        pollfd ready{m_fd, POLLOUT, 0};
        if (::poll(&ready, 1, writeWaitMs) <= 0)
            return written ? written : -1;
    }
    return written;
}

bool UnixSocket::waitForReadyRead(int msecs)
{
    if (m_fd < 0 || m_ended)
        return false;
    pollfd ready{m_fd, POLLIN, 0};
    if (::poll(&ready, 1, msecs) <= 0)
        return false;
    if (!drain())
        return false;
    emit readyRead();
    return true;
}

void UnixSocket::close()
{
    if (m_fd < 0)
        return;
    QIODevice::close();
    m_notifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
}
