#include "platform/files/FileWatch.h"

#include <QDir>
#include <QFileInfo>

FileWatch::FileWatch(const QString& dir, const QStringList& fileNames, QObject* parent)
    : QObject(parent), m_dir(dir), m_names(fileNames)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        const QSet<QString> names = std::exchange(m_pending, {});
        watchFiles();
        for (const QString& name : m_names)
            if (names.contains(name))
                emit changed(name);
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this,
            [this](const QString& path) { noteChange(QFileInfo(path).fileName()); });
    // A file created, removed or renamed over: any of ours may be meant.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        for (const QString& name : std::as_const(m_names))
            noteChange(name);
    });
    m_watcher.addPath(dir);
    watchFiles();
}

void FileWatch::noteChange(const QString& fileName)
{
    m_pending.insert(fileName);
    m_settle.start();
}

void FileWatch::watchFiles()
{
    // A replaced file is a new file: its watch went with the old one.
    const QStringList watched = m_watcher.files();
    for (const QString& name : std::as_const(m_names)) {
        const QString path = QDir(m_dir).filePath(name);
        if (!watched.contains(path) && QFileInfo::exists(path))
            m_watcher.addPath(path);
    }
}
