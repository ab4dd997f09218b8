#include "CommandLine.h"

#include <QDir>
#include <QFileInfo>

CommandLine CommandLine::parse(const QStringList& arguments, const QString& exeDir)
{
    CommandLine result;
    result.AppDir = exeDir;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            result.action = Help;
            return result;
        }
        if (arg == QStringLiteral("--dir") && i + 1 < arguments.size()) {
            result.AppDir = arguments[++i];
            continue;
        }
        if (arg.startsWith(QStringLiteral("--dir="))) {
            result.AppDir = arg.mid(6);
            continue;
        }
        result.action = Error;
        result.error = arg == QStringLiteral("--dir") ? QStringLiteral("--dir needs a directory")
                                                      : QStringLiteral("unknown option: ") + arg;
        return result;
    }
    if (!QFileInfo(result.AppDir).isDir()) {
        result.action = Error;
        result.error = QStringLiteral("not a directory: ") + result.AppDir;
        return result;
    }
    result.AppDir = QDir(result.AppDir).absolutePath();
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral("usage: kestrin [--dir DIR]   (DIR holds agenda.txt, my.log and the sounds; "
                          "default: the program's directory)");
}
