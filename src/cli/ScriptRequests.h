#pragma once

#include "platform/Result.h"

#include <QJsonObject>

#include <functional>

struct AgendaChange;

// The requests a script hands to the running copy: a change to the agenda, as its fields
// (AgendaChange::fields), already read from the words typed; {"command": "sync"}, asked before a
// sync writes the folder's files, which waits while an entry is being made; {"command":
// "calendar"} and {"command": "settings"}. Anything else is refused before it reaches the agenda.
namespace ScriptRequests {

// What the running copy does for each request.
struct Handlers
{
    // A change to the agenda, carried out where the window shows it.
    std::function<Result(const AgendaChange& change)> apply;
    // Whether a sync may write the files now, and why not.
    std::function<Result()> syncGate;
    // kestrin.ini changed from the command line: the running copy reads its choices again.
    std::function<void()> rereadSettings;
    // kestrin --calendar: the month window in front.
    std::function<void()> showMonth;
};

QJsonObject syncRequest();
// The running copy shows its month window.
QJsonObject calendarRequest();
QJsonObject settingsRequest();
// The answer to request: the handler's refusal (the gate's with "busy": true), or {"ok": true}.
QJsonObject answer(const QJsonObject& request, const Handlers& handlers);

} // namespace ScriptRequests
