#pragma once

#include <QLockFile>
#include <QObject>

#include <memory>

class QLocalServer;

// One running copy per program directory, so that two copies never rewrite the same files from
// different tables. A second start asks the first to come forward and then leaves.
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& appDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy; otherwise the running copy has been asked to come forward.
    bool claim();

signals:
    void activationRequested();

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
