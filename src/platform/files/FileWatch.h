#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

// Tells when one of some files in a directory may have changed, whoever changed it. The directory
// is watched as well, since editors and atomic rewrites replace a file instead of writing into
// it. No polling: nothing wakes while nothing changes.
class FileWatch final : public QObject
{
    Q_OBJECT
public:
    FileWatch(const QString& dir, const QStringList& fileNames, QObject* parent = nullptr);

signals:
    // After a short pause, so that a save in several steps arrives as one change.
    void changed(const QString& fileName);

private:
    void noteChange(const QString& fileName);
    void watchFiles();

    QFileSystemWatcher m_watcher;
    QString m_dir;
    QStringList m_names;
    QSet<QString> m_pending;
    QTimer m_settle;
};
