#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a clean exit of the event loop with exit code 0.
class UnixSignals final : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);

private:
    static void handler(int signal);
    static int s_fds[2];
    QSocketNotifier* m_notifier = nullptr;
};
