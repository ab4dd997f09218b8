#include "cli/ScriptRequests.h"

#include "calendar/core/DateText.h"
#include "platform/RequestChannel.h"

namespace ScriptRequests {

namespace {

const QString command = QStringLiteral("command"), text = QStringLiteral("text"), set = QStringLiteral("set"),
              finish = QStringLiteral("finish"), repeat = QStringLiteral("repeat"),
              day = QStringLiteral("day"), time = QStringLiteral("time");

// Exactly these fields, all strings: a field the program does not know is a client it does not
// know, and guessing what it meant could write the wrong item.
bool holdsExactly(const QJsonObject& request, const QString& name, const QStringList& fields)
{
    if (request.size() != fields.size() + 1 || request.value(command) != name)
        return false;
    return std::all_of(fields.cbegin(), fields.cend(),
                       [&request](const QString& field) { return request.value(field).isString(); });
}

QJsonObject answerWith(const StoreChange& change, const QString& otherwise)
{
    if (change.status == StoreChange::Done)
        return {{QStringLiteral("ok"), true}};
    return RequestChannel::refusal(change.message.isEmpty() ? otherwise : change.message);
}

// The rule a request's kind and day make, as repeat.txt writes them; none without a kind.
ResultOf<RepeatWords> ruleIn(const QJsonObject& request)
{
    if (!request.contains(repeat))
        return RepeatWords{};
    const QString kindText = request.value(repeat).toString(), dayText = request.value(day).toString();
    const std::optional<RepeatRule::Kind> kind = RepeatRule::kindNamed(kindText);
    if (kind && dayText.isEmpty())
        return RepeatWords{*kind, std::nullopt};
    if (const std::optional<RepeatRule> rule = RepeatRule::fromFields(kindText, dayText))
        return RepeatWords{rule->kind, rule};
    return Result::failed(QStringLiteral("请求中的重复方式“%1 %2”不对，未执行。").arg(kindText, dayText));
}

void insertRule(QJsonObject& request, const RepeatWords& words)
{
    request.insert(repeat, RepeatRule::kindName(words.kind));
    request.insert(day, words.rule ? words.rule->dayField() : QString());
}

} // namespace

QJsonObject addRequest(const AgendaItem& item)
{
    QJsonObject request{{command, QStringLiteral("add")},
                        {text, item.text},
                        {set, DateText::format(item.setDate)},
                        {finish, DateText::format(item.finishDate)}};
    if (item.repeat.kind != RepeatRule::None)
        insertRule(request, RepeatWords{item.repeat.kind, item.repeat});
    // Only with a time: a running copy from before times refuses the field it does not know.
    if (item.time.isValid())
        request.insert(time, DateText::formatTime(item.time));
    return request;
}

QJsonObject timeRequest(const QString& textValue, QTime timeValue)
{
    return {{command, QStringLiteral("time")},
            {text, textValue},
            {time, timeValue.isValid() ? DateText::formatTime(timeValue) : QStringLiteral("off")}};
}

QJsonObject repeatRequest(const QString& textValue, const RepeatWords& words)
{
    QJsonObject request{{command, QStringLiteral("repeat")}, {text, textValue}};
    insertRule(request, words);
    return request;
}

QJsonObject doneRequest(const QString& textValue)
{
    return {{command, QStringLiteral("done")}, {text, textValue}};
}

QJsonObject syncRequest()
{
    return {{command, QStringLiteral("sync")}};
}

QJsonObject calendarRequest()
{
    return {{command, QStringLiteral("calendar")}};
}

QJsonObject settingsRequest()
{
    return {{command, QStringLiteral("settings")}};
}

QJsonObject answer(const QJsonObject& request, const Handlers& handlers)
{
    if (request == calendarRequest() && handlers.showMonth) {
        handlers.showMonth();
        return {{QStringLiteral("ok"), true}};
    }
    if (request == settingsRequest() && handlers.rereadSettings) {
        handlers.rereadSettings();
        return {{QStringLiteral("ok"), true}};
    }
    if (request == syncRequest() && handlers.syncGate) {
        if (const Result free = handlers.syncGate(); !free) {
            QJsonObject wait = RequestChannel::refusal(free.error());
            wait.insert(QStringLiteral("busy"), true);
            return wait;
        }
        return {{QStringLiteral("ok"), true}};
    }
    const QString itemText = request.value(text).toString();
    const ResultOf<RepeatWords> words = ruleIn(request);
    QStringList addFields{text, set, finish};
    if (request.contains(repeat))
        addFields << repeat << day;
    const bool timed = request.contains(time);
    if (timed)
        addFields << time;
    if (handlers.add && holdsExactly(request, QStringLiteral("add"), addFields)) {
        if (!words)
            return RequestChannel::refusal(words.error());
        // Dates as the file writes them: the words were read where they were typed.
        const QDate setDate = DateText::read(request.value(set).toString());
        const QDate finishDate = DateText::read(request.value(finish).toString());
        const QTime timeOfDay = timed ? DateText::readTime(request.value(time).toString()) : QTime();
        if (!setDate.isValid() || !finishDate.isValid() || (timed && !timeOfDay.isValid()))
            return RequestChannel::refusal(QStringLiteral("请输入有效日期！"));
        return answerWith(
            handlers.add({itemText, setDate, finishDate, 0, words->ruleFor(finishDate), timeOfDay}),
            QStringLiteral("日程未添加。"));
    }
    if (handlers.setTime && holdsExactly(request, QStringLiteral("time"), {text, time})) {
        const QString value = request.value(time).toString();
        const QTime timeOfDay = DateText::readTime(value);
        if (!timeOfDay.isValid() && value != QStringLiteral("off"))
            return RequestChannel::refusal(QStringLiteral("请求中的时间“%1”不对，未执行。").arg(value));
        return answerWith(handlers.setTime(itemText, timeOfDay), QStringLiteral("提醒时间未更改。"));
    }
    if (handlers.repeat && holdsExactly(request, QStringLiteral("repeat"), {text, repeat, day})) {
        if (!words)
            return RequestChannel::refusal(words.error());
        return answerWith(handlers.repeat(itemText, *words), QStringLiteral("重复方式未更改。"));
    }
    if (handlers.done && holdsExactly(request, QStringLiteral("done"), {text}))
        return answerWith(handlers.done(itemText), QStringLiteral("日程未完成。"));
    return RequestChannel::refusal(QStringLiteral("请求格式不对，未执行。"));
}

} // namespace ScriptRequests
