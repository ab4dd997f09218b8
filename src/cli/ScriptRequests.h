#pragma once

#include "calendar/core/RepeatWords.h"
#include "platform/Result.h"
#include "platform/StoreChange.h"

#include <QJsonObject>

#include <functional>

// The requests a script hands to the running copy: {"command": "add", "text": …, "set": …,
// "finish": …} with "repeat": … when the item repeats, every field a string, as typed (an empty
// set is today); {"command": "repeat", "text": …, "repeat": …}; {"command": "done", "text": …};
// and {"command": "sync"}, asked before a sync writes the folder's files, which waits while an
// entry is being made. Anything else is refused before it reaches the agenda.
namespace ScriptRequests {

// What the running copy does for each request.
struct Handlers
{
    std::function<StoreChange(const QString& text, const QString& setText, const QString& finishText,
                              const RepeatWords& repeat)>
        add;
    std::function<StoreChange(const QString& text, const RepeatWords& repeat)> repeat;
    std::function<StoreChange(const QString& text)> done;
    // Whether a sync may write the files now, and why not.
    std::function<Result()> syncGate;
    // kestrin.ini changed from the command line: the running copy reads its choices again.
    std::function<void()> rereadSettings;
};

// repeatWords: empty for an item that does not repeat.
QJsonObject addRequest(const QString& text, const QString& setText, const QString& finishText,
                       const QString& repeatWords = {});
QJsonObject repeatRequest(const QString& text, const QString& repeatWords);
QJsonObject doneRequest(const QString& text);
QJsonObject syncRequest();
QJsonObject settingsRequest();
// The answer to request: the handler's refusal (the gate's with "busy": true), or {"ok": true}.
QJsonObject answer(const QJsonObject& request, const Handlers& handlers);

} // namespace ScriptRequests
