#include "agenda/core/AgendaChange.h"

#include "calendar/core/DateText.h"

namespace {

const QString commandField = QStringLiteral("command"), textField = QStringLiteral("text"),
              setField = QStringLiteral("set"), finishField = QStringLiteral("finish"),
              repeatField = QStringLiteral("repeat"), dayField = QStringLiteral("day"),
              timeField = QStringLiteral("time"), parentField = QStringLiteral("parent"),
              priorityField = QStringLiteral("priority"), tagsField = QStringLiteral("tags"),
              subtasksField = QStringLiteral("subtasks");

const QString badRequest = QStringLiteral("请求格式不对，未执行。");

// Exactly these fields, all strings: a field the program does not know is a client it does not
// know, and guessing what it meant could write the wrong item.
bool holdsExactly(const QJsonObject& request, const QStringList& fields)
{
    if (request.size() != fields.size() + 1)
        return false;
    return std::all_of(fields.cbegin(), fields.cend(),
                       [&request](const QString& field) { return request.value(field).isString(); });
}

// The rule a request's kind and day make, as repeat.txt writes them; none without a kind.
ResultOf<RepeatWords> ruleIn(const QJsonObject& request)
{
    if (!request.contains(repeatField))
        return RepeatWords{};
    const QString kindText = request.value(repeatField).toString(),
                  dayText = request.value(dayField).toString();
    const std::optional<RepeatRule::Kind> kind = RepeatRule::kindNamed(kindText);
    if (kind && dayText.isEmpty())
        return RepeatWords{*kind, std::nullopt};
    if (const std::optional<RepeatRule> rule = RepeatRule::fromFields(kindText, dayText))
        return RepeatWords{rule->kind, rule};
    return Result::failed(QStringLiteral("请求中的重复方式“%1 %2”不对，未执行。").arg(kindText, dayText));
}

void insertRule(QJsonObject& request, const RepeatWords& words)
{
    request.insert(repeatField, RepeatRule::kindName(words.kind));
    request.insert(dayField, words.rule ? words.rule->dayField() : QString());
}

ResultOf<ItemStructure::Priority> priorityIn(const QJsonObject& request)
{
    const QString name = request.value(priorityField).toString();
    if (const std::optional<ItemStructure::Priority> priority = ItemStructure::priorityNamed(name))
        return *priority;
    return Result::failed(QStringLiteral("请求中的优先级“%1”不对，未执行。").arg(name));
}

QStringList tagsIn(const QJsonObject& request)
{
    return request.value(tagsField).toString().split(u',', Qt::SkipEmptyParts);
}

ResultOf<ItemStructure> structureIn(const QJsonObject& request)
{
    ItemStructure structure;
    structure.parent = request.value(parentField).toString();
    if (request.contains(priorityField)) {
        const ResultOf<ItemStructure::Priority> priority = priorityIn(request);
        if (!priority)
            return priority.result();
        structure.priority = *priority;
    }
    structure.tags = tagsIn(request);
    return structure;
}

ResultOf<AgendaChange> addIn(const QJsonObject& request)
{
    const ResultOf<RepeatWords> words = ruleIn(request);
    if (!words)
        return words.result();
    const bool timed = request.contains(timeField);
    // Dates as the file writes them: the words were read where they were typed.
    const QDate setDate = DateText::read(request.value(setField).toString());
    const QDate finishDate = DateText::read(request.value(finishField).toString());
    const QTime timeOfDay = timed ? DateText::readTime(request.value(timeField).toString()) : QTime();
    if (!setDate.isValid() || !finishDate.isValid() || (timed && !timeOfDay.isValid()))
        return Result::failed(QStringLiteral("请输入有效日期！"));
    AgendaItem item{request.value(textField).toString(), setDate,  finishDate, 0,
                    words->ruleFor(finishDate),          timeOfDay};
    const ResultOf<ItemStructure> structure = structureIn(request);
    if (!structure)
        return structure.result();
    item.structure = *structure;
    return AgendaChange::add(item);
}

} // namespace

QString AgendaChange::notDone() const
{
    switch (kind) {
    case Add:
        return QStringLiteral("日程未添加。");
    case Modify:
        return QStringLiteral("日程未修改。");
    case Complete:
        return QStringLiteral("日程未完成。");
    case SetTime:
        return QStringLiteral("提醒时间未更改。");
    case SetRepeat:
        return QStringLiteral("重复方式未更改。");
    case SetParent:
        return QStringLiteral("父任务未更改。");
    case SetPriority:
        return QStringLiteral("优先级未更改。");
    case SetTags:
        return QStringLiteral("标签未更改。");
    }
    Q_UNREACHABLE();
    return {};
}

QJsonObject AgendaChange::fields() const
{
    switch (kind) {
    case Add: {
        QJsonObject request{{commandField, QStringLiteral("add")},
                            {textField, item.text},
                            {setField, DateText::format(item.setDate)},
                            {finishField, DateText::format(item.finishDate)}};
        if (item.repeat.kind != RepeatRule::None)
            insertRule(request, RepeatWords{item.repeat.kind, item.repeat});
        // Only with a time: a running copy from before times refuses the field it does not know.
        if (item.time.isValid())
            request.insert(timeField, DateText::formatTime(item.time));
        if (!item.structure.parent.isEmpty())
            request.insert(parentField, item.structure.parent);
        if (item.structure.priority != ItemStructure::NoPriority)
            request.insert(priorityField, ItemStructure::priorityName(item.structure.priority));
        if (!item.structure.tags.isEmpty())
            request.insert(tagsField, item.structure.tags.join(u','));
        return request;
    }
    case SetParent:
        return {{commandField, QStringLiteral("parent")},
                {textField, text},
                {parentField, item.structure.parent}};
    case SetPriority:
        return {{commandField, QStringLiteral("priority")},
                {textField, text},
                {priorityField, ItemStructure::priorityName(item.structure.priority)}};
    case SetTags:
        return {{commandField, QStringLiteral("tags")},
                {textField, text},
                {tagsField, item.structure.tags.join(u',')}};
    case SetTime:
        return {{commandField, QStringLiteral("time")},
                {textField, text},
                {timeField, time.isValid() ? DateText::formatTime(time) : QStringLiteral("off")}};
    case SetRepeat: {
        QJsonObject request{{commandField, QStringLiteral("repeat")}, {textField, text}};
        insertRule(request, repeat);
        return request;
    }
    case Complete: {
        QJsonObject request{{commandField, QStringLiteral("done")}, {textField, text}};
        if (subtasks != LeaveSubtasks)
            request.insert(subtasksField,
                           subtasks == WithSubtasks ? QStringLiteral("all") : QStringLiteral("refuse"));
        return request;
    }
    case Modify:
        break;
    }
    return {};
}

ResultOf<AgendaChange> AgendaChange::fromFields(const QJsonObject& request)
{
    const QString name = request.value(commandField).toString();
    const QString itemText = request.value(textField).toString();
    if (name == QStringLiteral("add")) {
        QStringList fields{textField, setField, finishField};
        if (request.contains(repeatField))
            fields << repeatField << dayField;
        for (const QString& optional : {timeField, parentField, priorityField, tagsField})
            if (request.contains(optional))
                fields << optional;
        if (holdsExactly(request, fields))
            return addIn(request);
    } else if (name == QStringLiteral("time") && holdsExactly(request, {textField, timeField})) {
        const QString value = request.value(timeField).toString();
        const QTime timeOfDay = DateText::readTime(value);
        if (!timeOfDay.isValid() && value != QStringLiteral("off"))
            return Result::failed(QStringLiteral("请求中的时间“%1”不对，未执行。").arg(value));
        return setTime(itemText, timeOfDay);
    } else if (name == QStringLiteral("repeat") &&
               holdsExactly(request, {textField, repeatField, dayField})) {
        const ResultOf<RepeatWords> words = ruleIn(request);
        if (!words)
            return words.result();
        return setRepeat(itemText, *words);
    } else if (name == QStringLiteral("done") && holdsExactly(request, {textField})) {
        return complete(itemText);
    } else if (name == QStringLiteral("done") && holdsExactly(request, {textField, subtasksField})) {
        const QString subtasks = request.value(subtasksField).toString();
        if (subtasks == QStringLiteral("all"))
            return complete(itemText, WithSubtasks);
        if (subtasks == QStringLiteral("refuse"))
            return complete(itemText, RefuseSubtasks);
    } else if (name == QStringLiteral("parent") && holdsExactly(request, {textField, parentField})) {
        return setParent(itemText, request.value(parentField).toString());
    } else if (name == QStringLiteral("priority") && holdsExactly(request, {textField, priorityField})) {
        const ResultOf<ItemStructure::Priority> priority = priorityIn(request);
        if (!priority)
            return priority.result();
        return setPriority(itemText, *priority);
    } else if (name == QStringLiteral("tags") && holdsExactly(request, {textField, tagsField})) {
        return setTags(itemText, tagsIn(request));
    }
    return Result::failed(badRequest);
}
