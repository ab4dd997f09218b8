#include "cli/Command.h"

#include "calendar/core/TimeWords.h"

#include <QStringList>

void Command::write(std::FILE* to, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

void Command::print(std::FILE* to, const QString& text)
{
    write(to, text + u'\n');
}

void Command::printBackupProblems(const QStringList& problems)
{
    for (const QString& problem : problems)
        print(stderr, QStringLiteral("kestrin: 备份：") + problem);
}

int Command::printed(const ResultOf<QString>& outcome)
{
    if (!outcome) {
        print(stderr, QStringLiteral("kestrin: ") + outcome.error());
        return 1;
    }
    print(stdout, *outcome);
    return 0;
}

ResultOf<std::optional<QTime>> Command::timeOrOff(const QString& value, const QString& usage)
{
    if (value == QStringLiteral("off"))
        return std::optional<QTime>();
    const ResultOf<QTime> time = TimeWords::timeOfDay(value);
    if (!time)
        return Result::failed(TimeWords::split(value) ? usage : time.error());
    return std::optional<QTime>(*time);
}
