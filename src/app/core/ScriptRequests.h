#pragma once

#include "log/core/StoreChange.h"

#include <QJsonObject>

#include <functional>

// The requests a script hands to the running copy: {"command": "add", "text": …, "set": …,
// "finish": …}, every field a string, as typed (an empty set is today). Anything else is refused
// before it reaches the agenda.
namespace ScriptRequests {

using Add =
    std::function<StoreChange(const QString& text, const QString& setText, const QString& finishText)>;

QJsonObject addRequest(const QString& text, const QString& setText, const QString& finishText);
// The answer to request: add's refusal or {"ok": true}.
QJsonObject answer(const QJsonObject& request, const Add& add);

} // namespace ScriptRequests
