#include "cli/ScriptRequests.h"

#include "platform/RequestChannel.h"

namespace ScriptRequests {

namespace {

const QString command = QStringLiteral("command"), text = QStringLiteral("text"), set = QStringLiteral("set"),
              finish = QStringLiteral("finish"), repeat = QStringLiteral("repeat");

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

// The words, or the refusal that says they do not read.
ResultOf<RepeatWords> wordsIn(const QJsonObject& request)
{
    return request.contains(repeat) ? RepeatWords::parse(request.value(repeat).toString())
                                    : ResultOf<RepeatWords>(RepeatWords{});
}

} // namespace

QJsonObject addRequest(const QString& textValue, const QString& setText, const QString& finishText,
                       const QString& repeatWords)
{
    QJsonObject request{
        {command, QStringLiteral("add")}, {text, textValue}, {set, setText}, {finish, finishText}};
    if (!repeatWords.isEmpty())
        request.insert(repeat, repeatWords);
    return request;
}

QJsonObject repeatRequest(const QString& textValue, const QString& repeatWords)
{
    return {{command, QStringLiteral("repeat")}, {text, textValue}, {repeat, repeatWords}};
}

QJsonObject doneRequest(const QString& textValue)
{
    return {{command, QStringLiteral("done")}, {text, textValue}};
}

QJsonObject syncRequest()
{
    return {{command, QStringLiteral("sync")}};
}

QJsonObject settingsRequest()
{
    return {{command, QStringLiteral("settings")}};
}

QJsonObject answer(const QJsonObject& request, const Handlers& handlers)
{
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
    const ResultOf<RepeatWords> words = wordsIn(request);
    if (handlers.add && (holdsExactly(request, QStringLiteral("add"), {text, set, finish}) ||
                         holdsExactly(request, QStringLiteral("add"), {text, set, finish, repeat}))) {
        if (!words)
            return RequestChannel::refusal(words.error());
        return answerWith(
            handlers.add(itemText, request.value(set).toString(), request.value(finish).toString(), *words),
            QStringLiteral("日程未添加。"));
    }
    if (handlers.repeat && holdsExactly(request, QStringLiteral("repeat"), {text, repeat})) {
        if (!words)
            return RequestChannel::refusal(words.error());
        return answerWith(handlers.repeat(itemText, *words), QStringLiteral("重复方式未更改。"));
    }
    if (handlers.done && holdsExactly(request, QStringLiteral("done"), {text}))
        return answerWith(handlers.done(itemText), QStringLiteral("日程未完成。"));
    return RequestChannel::refusal(QStringLiteral("请求格式不对，未执行。"));
}

} // namespace ScriptRequests
