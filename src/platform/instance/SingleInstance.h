#pragma once

#include "platform/Result.h"

#include <QJsonObject>
#include <QLockFile>
#include <QObject>

#include <functional>
#include <memory>

class UnixServer;
class UnixSocket;

// One running copy per program directory, so that two copies never rewrite the same files from
// different tables. A second start asks the first to come forward and then leaves; a script hands
// its change to the running copy. The lock and the socket live in the user's runtime folder (mode
// 0700) where there is one, so that no other user can take the name first.
//
// The socket speaks RequestChannel's protocol: {"command": "activate", "token": …} brings the
// window forward, any other request goes to requestHandler.
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
    // For the first copy: opens the socket that later starts and scripts reach it by.
    Result listen();
    QString lockFilePath() const;
    // The lock that the copy running for appDir holds: whoever else rewrites its files takes it too.
    static QString lockFilePathFor(const QString& appDir);

    // Answers the requests other than activate; no handler refuses them.
    std::function<QJsonObject(const QJsonObject& request)> requestHandler;
    // The answer of the copy running for appDir; a failure when none runs or it did not answer.
    static ResultOf<QJsonObject> send(const QString& appDir, const QJsonObject& request, int waitMs = 5000);

signals:
    // token: the second start's XDG activation token, where its launcher gave one.
    void activationRequested(const QString& token);

private:
    void serve(UnixSocket* socket);

    QString m_key; // the socket's full path
    std::unique_ptr<QLockFile> m_lock;
    UnixServer* m_server = nullptr;
};
