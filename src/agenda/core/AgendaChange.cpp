#include "agenda/core/AgendaChange.h"

#include "calendar/core/DateText.h"

namespace {

const QString commandField = QStringLiteral("command"), textField = QStringLiteral("text"),
              setField = QStringLiteral("set"), finishField = QStringLiteral("finish"),
              repeatField = QStringLiteral("repeat"), dayField = QStringLiteral("day"),
              timeField = QStringLiteral("time");

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
    return AgendaChange::add(
        {request.value(textField).toString(), setDate, finishDate, 0, words->ruleFor(finishDate), timeOfDay});
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
        return request;
    }
    case SetTime:
        return {{commandField, QStringLiteral("time")},
                {textField, text},
                {timeField, time.isValid() ? DateText::formatTime(time) : QStringLiteral("off")}};
    case SetRepeat: {
        QJsonObject request{{commandField, QStringLiteral("repeat")}, {textField, text}};
        insertRule(request, repeat);
        return request;
    }
    case Complete:
        return {{commandField, QStringLiteral("done")}, {textField, text}};
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
        if (request.contains(timeField))
            fields << timeField;
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
    }
    return Result::failed(badRequest);
}
