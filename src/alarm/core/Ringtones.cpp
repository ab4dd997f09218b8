#include "alarm/core/Ringtones.h"

#include "platform/files/Settings.h"
#include "platform/files/WavePadding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

Ringtones::Ringtones(const QString& settingsPath, const QString& defaultPath)
    : m_settingsPath(settingsPath), m_defaultPath(defaultPath)
{
}

Ringtones::~Ringtones() = default;

QString Ringtones::chosen(int row) const
{
    return Settings::value(m_settingsPath, Settings::Key::Ringtone, row).toString();
}

Result Ringtones::checkWave(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failed(
            QStringLiteral("无法读取 %1（%2）").arg(QDir::toNativeSeparators(path), file.errorString()));
    // The sound player plays PCM and float wave files only.
    if (!withTrailingSilence(file.readAll(), 0))
        return Result::failed(
            QStringLiteral("%1 不是可以播放的 WAV 声音文件。").arg(QDir::toNativeSeparators(path)));
    return Result::done();
}

Result Ringtones::choose(int row, const QString& path)
{
    return Settings::set(m_settingsPath, Settings::Key::Ringtone, QFileInfo(path).absoluteFilePath(), row);
}

Result Ringtones::reset(int row)
{
    return Settings::set(m_settingsPath, Settings::Key::Ringtone, QVariant(), row);
}

QString Ringtones::ringPath(int row) const
{
    const QString path = chosen(row);
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : m_defaultPath;
}

QString Ringtones::describe(int row, bool playable) const
{
    const QString path = chosen(row);
    const QString fallback = QFileInfo(m_defaultPath).fileName();
    if (path.isEmpty())
        return QStringLiteral("铃声：%1（默认）").arg(fallback);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("铃声：%1（文件已不在，响铃时用 %2）")
            .arg(QDir::toNativeSeparators(path), fallback);
    if (!playable)
        return QStringLiteral("铃声：%1（无法播放，响铃时用 %2）")
            .arg(QDir::toNativeSeparators(path), fallback);
    return QStringLiteral("铃声：%1").arg(QDir::toNativeSeparators(path));
}
