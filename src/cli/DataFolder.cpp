#include "cli/DataFolder.h"

#include "platform/Sounds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DataFolder {

QString installedSounds(const QString& exeDir)
{
    const QString sounds = QDir(exeDir).filePath(QStringLiteral("../share/kestrin/sounds"));
    return QFileInfo(sounds).isDir() ? QDir::cleanPath(sounds) : QString();
}

QString choose(const QString& exeDir)
{
    // Even a program that may write its folder (run as root) keeps its data out of /usr/bin.
    if (installedSounds(exeDir).isEmpty() && QFileInfo(exeDir).isWritable())
        return exeDir;
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::home().filePath(QStringLiteral(".local/share"));
    return QDir(data).filePath(QStringLiteral("kestrin"));
}

Result prepare(const QString& folder, const QString& exeDir)
{
    if (QFileInfo(folder).isDir())
        return Result::done();
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent) ||
        !QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return Result::failed(QStringLiteral("无法建立数据目录 %1").arg(QDir::toNativeSeparators(folder)));
    const QString sounds = installedSounds(exeDir);
    for (Sound sound : Sounds::all) {
        const QString name = QString::fromUtf8(Sounds::fileName(sound));
        if (!sounds.isEmpty())
            QFile::copy(QDir(sounds).filePath(name), QDir(folder).filePath(name));
    }
    return Result::done();
}

} // namespace DataFolder
