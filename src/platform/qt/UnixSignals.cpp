#include "platform/qt/UnixSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

int UnixSignals::s_fds[2] = {-1, -1};

UnixSignals::UnixSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_fds) != 0)
        return;
    m_notifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char c = 0;
        [[maybe_unused]] ssize_t n = ::read(s_fds[1], &c, 1);
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = &UnixSignals::handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void UnixSignals::handler(int)
{
    // Only async-signal-safe work here: the event loop does the rest.
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(s_fds[0], &c, 1);
}
