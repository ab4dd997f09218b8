#pragma once

#include <QObject>
#include <QString>

// One sync of the folder, run in the background: the network stays out of the program's process.
class SyncRunner : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start() = 0;

signals:
    // report: what the sync printed, its last line first ("同步完成：…" or "同步失败：…").
    void finished(bool ok, const QString& report);
};
