#include "platform/instance/UnixServer.h"

#include "platform/instance/UnixSocket.h"

#include <QFile>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

UnixServer::~UnixServer()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_path.constData());
}

Result UnixServer::listen(const QString& path)
{
    m_path = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_path.size() >= qsizetype(sizeof address.sun_path))
        return Result::failed(QStringLiteral("路径过长：%1").arg(path));
    std::memcpy(address.sun_path, m_path.constData(), size_t(m_path.size()));
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return Result::failed(QString::fromLocal8Bit(std::strerror(errno)));
    // Only the lock's holder gets here: a socket left at the path is a dead copy's.
    ::unlink(m_path.constData());
    // Linux gives the socket file the mode of the socket itself: the user's alone from the start.
    ::fchmod(m_fd, S_IRUSR | S_IWUSR);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(m_path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(m_fd, SOMAXCONN) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        ::close(m_fd);
        m_fd = -1;
        return Result::failed(why);
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixServer::accept);
    return Result::done();
}

void UnixServer::accept()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        emit connected(new UnixSocket(fd, this));
    }
}
