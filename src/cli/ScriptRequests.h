#pragma once

#include "platform/Result.h"
#include "platform/StoreChange.h"

#include <QJsonObject>

#include <functional>

// The requests a script hands to the running copy: {"command": "add", "text": …, "set": …,
// "finish": …}, every field a string, as typed (an empty set is today); and {"command": "sync"},
// asked before a sync writes the folder's files, which waits while an entry is being made.
// Anything else is refused before it reaches the agenda.
namespace ScriptRequests {

using Add =
    std::function<StoreChange(const QString& text, const QString& setText, const QString& finishText)>;

// Whether a sync may write the files now, and why not.
using SyncGate = std::function<Result()>;

QJsonObject addRequest(const QString& text, const QString& setText, const QString& finishText);
QJsonObject syncRequest();
// kestrin.ini changed from the command line: the running copy reads its choices again.
QJsonObject settingsRequest();
// The answer to request: add's or the gate's refusal (the gate's with "busy": true), or {"ok": true}.
QJsonObject answer(const QJsonObject& request, const Add& add, const SyncGate& syncGate = {},
                   const std::function<void()>& rereadSettings = {});

} // namespace ScriptRequests
