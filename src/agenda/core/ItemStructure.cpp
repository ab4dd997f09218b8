#include "agenda/core/ItemStructure.h"

#include <QRegularExpression>

QString ItemStructure::priorityName(Priority priority)
{
    switch (priority) {
    case High:
        return QStringLiteral("高");
    case Medium:
        return QStringLiteral("中");
    case Low:
        return QStringLiteral("低");
    case NoPriority:
        break;
    }
    return QStringLiteral("无");
}

std::optional<ItemStructure::Priority> ItemStructure::priorityNamed(QStringView name)
{
    if (name.size() != 1)
        return std::nullopt;
    switch (name.front().unicode()) {
    case u'高':
        return High;
    case u'中':
        return Medium;
    case u'低':
        return Low;
    case u'无':
        return NoPriority;
    }
    return std::nullopt;
}

ItemStructure::Priority ItemStructure::priorityOf(int icalPriority)
{
    if (icalPriority >= 1 && icalPriority <= 4)
        return High;
    if (icalPriority == 5)
        return Medium;
    if (icalPriority >= 6 && icalPriority <= 9)
        return Low;
    return NoPriority;
}

int ItemStructure::icalPriority(Priority priority)
{
    switch (priority) {
    case High:
        return 1;
    case Medium:
        return 5;
    case Low:
        return 9;
    case NoPriority:
        break;
    }
    return 0;
}

QStringList ItemStructure::splitTags(QStringView typed)
{
    static const QRegularExpression separators(QStringLiteral("[,，、]"));
    QStringList tags;
    for (const QString& part : typed.toString().split(separators)) {
        const QString tag = part.trimmed();
        if (!tag.isEmpty() && !tags.contains(tag))
            tags.append(tag);
    }
    return tags;
}

QString ItemStructure::tagProblem(const QString& tag)
{
    if (tag.contains(u'"') || tag.contains(u'\r') || tag.contains(u'\n'))
        return QStringLiteral("标签“%1”不能包含双引号或换行").arg(tag);
    return {};
}
