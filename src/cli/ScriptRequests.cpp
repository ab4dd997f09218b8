#include "cli/ScriptRequests.h"

#include "agenda/core/AgendaChange.h"
#include "platform/RequestChannel.h"

namespace ScriptRequests {

namespace {

const QString command = QStringLiteral("command");

QJsonObject okAnswer()
{
    return {{QStringLiteral("ok"), true}};
}

} // namespace

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
        return okAnswer();
    }
    if (request == settingsRequest() && handlers.rereadSettings) {
        handlers.rereadSettings();
        return okAnswer();
    }
    if (request == syncRequest() && handlers.syncGate) {
        if (const Result free = handlers.syncGate(); !free) {
            QJsonObject wait = RequestChannel::refusal(free.error());
            wait.insert(QStringLiteral("busy"), true);
            return wait;
        }
        return okAnswer();
    }
    if (!handlers.apply)
        return RequestChannel::refusal(QStringLiteral("请求格式不对，未执行。"));
    const ResultOf<AgendaChange> change = AgendaChange::fromFields(request);
    if (!change)
        return RequestChannel::refusal(change.error());
    if (const Result made = handlers.apply(*change); !made)
        return RequestChannel::refusal(made.error());
    return okAnswer();
}

} // namespace ScriptRequests
