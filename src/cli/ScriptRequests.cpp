#include "cli/ScriptRequests.h"

#include "platform/RequestChannel.h"

namespace ScriptRequests {

namespace {

const QString command = QStringLiteral("command"), text = QStringLiteral("text"), set = QStringLiteral("set"),
              finish = QStringLiteral("finish");

} // namespace

QJsonObject addRequest(const QString& textValue, const QString& setText, const QString& finishText)
{
    return {{command, QStringLiteral("add")}, {text, textValue}, {set, setText}, {finish, finishText}};
}

QJsonObject syncRequest()
{
    return {{command, QStringLiteral("sync")}};
}

QJsonObject settingsRequest()
{
    return {{command, QStringLiteral("settings")}};
}

QJsonObject answer(const QJsonObject& request, const Add& add, const SyncGate& syncGate,
                   const std::function<void()>& rereadSettings)
{
    if (request == settingsRequest() && rereadSettings) {
        rereadSettings();
        return {{QStringLiteral("ok"), true}};
    }
    if (request == syncRequest() && syncGate) {
        if (const Result free = syncGate(); !free) {
            QJsonObject wait = RequestChannel::refusal(free.error());
            wait.insert(QStringLiteral("busy"), true);
            return wait;
        }
        return {{QStringLiteral("ok"), true}};
    }
    // Exactly the four fields, all strings: a field the program does not know is a client it does
    // not know, and guessing what it meant could write the wrong item.
    const bool wellFormed = request.size() == 4 && request.value(command) == QStringLiteral("add") &&
                            request.value(text).isString() && request.value(set).isString() &&
                            request.value(finish).isString();
    if (!wellFormed)
        return RequestChannel::refusal(QStringLiteral("请求格式不对，未执行。"));
    const StoreChange change =
        add(request.value(text).toString(), request.value(set).toString(), request.value(finish).toString());
    if (change.status == StoreChange::Done)
        return {{QStringLiteral("ok"), true}};
    return RequestChannel::refusal(change.message.isEmpty() ? QStringLiteral("日程未添加。")
                                                            : change.message);
}

} // namespace ScriptRequests
