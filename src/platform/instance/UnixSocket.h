#pragma once

#include <QIODevice>

#include <memory>

class QSocketNotifier;

// A connected Unix-domain stream socket as a QIODevice, for the few lines the running copy and a
// second start or a script exchange. QLocalSocket would do it too, but Qt Network brings Kerberos
// and proxy libraries that the start would load for nothing.
class UnixSocket final : public QIODevice
{
public:
    // Takes a connected descriptor and makes it non-blocking.
    explicit UnixSocket(int fd, QObject* parent = nullptr);
    ~UnixSocket() override;

    // The socket listening at path, connected; nullptr when none listens there.
    static std::unique_ptr<UnixSocket> connectTo(const QString& path);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool canReadLine() const override;
    void close() override;
    // Blocks until more arrives, the peer closes or msecs pass.
    bool waitForReadyRead(int msecs) override;
    // Writes go out before write() returns.
    bool waitForBytesWritten(int) override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    // Takes in what the peer has sent. Returns whether anything came.
    bool drain();

    int m_fd;
    QSocketNotifier* m_notifier;
    QByteArray m_received;
    bool m_ended = false; // the peer closed its end
};
