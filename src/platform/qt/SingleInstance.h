#pragma once

#include <QLockFile>
#include <QObject>

#include <memory>

class QLocalServer;

// One running copy per program directory, so that two copies never rewrite the same files from
// different tables. A second start asks the first to come forward and then leaves. The lock and
// the socket live in the user's runtime folder (mode 0700) where there is one, so that no other
// user can take the name first.
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    enum Claim
    {
        First,       // this is the copy that runs
        Forwarded,   // a running copy was asked to come forward
        Unreachable, // a copy holds the lock but did not answer
    };

    explicit SingleInstance(const QString& appDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // waitMs: how long a copy that is still starting up gets to answer.
    Claim claim(int waitMs = 3000);
    QString lockFilePath() const;
    // The lock that the copy running for appDir holds: whoever else rewrites its files takes it too.
    static QString lockFilePathFor(const QString& appDir);
    // Why the first copy cannot be reached by later starts, when it cannot; empty otherwise.
    QString listenError() const { return m_listenError; }

signals:
    void activationRequested();

private:
    QString m_key; // the socket's full path
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    QString m_listenError;
};
