#pragma once

#include "platform/Result.h"

#include <QObject>

class QSocketNotifier;
class UnixSocket;

// Listens on a Unix-domain socket that only its user may reach, and hands over each connection.
class UnixServer final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~UnixServer() override;

    // Listens at path, replacing whatever socket is left there.
    Result listen(const QString& path);

signals:
    // A new connection, owned by the server until its receiver takes it.
    void connected(UnixSocket* socket);

private:
    void accept();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_path;
};
