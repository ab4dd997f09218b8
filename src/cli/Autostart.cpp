#include "cli/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace Autostart {

QString entryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(config).filePath(QStringLiteral("autostart/kestrin.desktop"));
}

QString quoteArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=%");
    const bool plain = !argument.isEmpty() && std::none_of(argument.cbegin(), argument.cend(),
                                                           [](QChar c) { return reserved.contains(c); });
    QString out = argument;
    if (!plain) {
        // Inside double quotes ", `, $ and \ take a backslash.
        out.clear();
        for (QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                out += u'\\';
            out += c;
        }
        out = u'"' + out + u'"';
    }
    // The value of a key is a string in which a backslash is written twice; % is a field code.
    return out.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%"));
}

QString entry(const QString& program, const QString& dataDir)
{
    QString exec = quoteArgument(program);
    if (!dataDir.isEmpty())
        exec += QStringLiteral(" --dir ") + quoteArgument(dataDir);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Kestrin\n"
                          "Comment=日程、闹钟与日志，住在通知区域\n"
                          "Exec=%1\n"
                          "Icon=kestrin\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec);
}

bool isOn()
{
    return QFileInfo(entryPath()).isFile();
}

Result set(bool on, const QString& program, const QString& dataDir)
{
    const QString path = entryPath();
    if (!on) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return Result::done();
        return Result::failed(QStringLiteral("无法删除 %1").arg(path));
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return Result::failed(QStringLiteral("无法建立目录 %1").arg(QFileInfo(path).absolutePath()));
    QSaveFile file(path);
    const QByteArray bytes = entry(program, dataDir).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Result::failed(QStringLiteral("无法写入 %1（%2）").arg(path, file.errorString()));
    return Result::done();
}

} // namespace Autostart
