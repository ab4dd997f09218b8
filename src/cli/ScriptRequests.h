#pragma once

#include "agenda/core/AgendaItem.h"
#include "calendar/core/RepeatWords.h"
#include "platform/Result.h"
#include "platform/StoreChange.h"

#include <QJsonObject>

#include <functional>

// The requests a script hands to the running copy, each already read from the words typed:
// {"command": "add", "text": …, "set": "2026-12-09", "finish": "2026-12-11"} with "repeat": 每周
// and "day": 周五 (repeat.txt's two fields) when the item repeats, every field a string;
// {"command": "repeat", "text": …, "repeat": …, "day": …}, an empty day keeping the item's own;
// {"command": "done", "text": …}; and {"command": "sync"}, asked before a sync writes the folder's
// files, which waits while an entry is being made. Anything else is refused before it reaches the
// agenda.
namespace ScriptRequests {

// What the running copy does for each request.
struct Handlers
{
    std::function<StoreChange(const AgendaItem& item)> add;
    std::function<StoreChange(const QString& text, const RepeatWords& repeat)> repeat;
    std::function<StoreChange(const QString& text)> done;
    std::function<StoreChange(const QString& text, QTime time)> setTime;
    // Whether a sync may write the files now, and why not.
    std::function<Result()> syncGate;
    // kestrin.ini changed from the command line: the running copy reads its choices again.
    std::function<void()> rereadSettings;
    // kestrin --calendar: the month window in front.
    std::function<void()> showMonth;
};

QJsonObject addRequest(const AgendaItem& item);
QJsonObject repeatRequest(const QString& text, const RepeatWords& words);
QJsonObject doneRequest(const QString& text);
// An invalid time: no reminder ("off").
QJsonObject timeRequest(const QString& text, QTime time);
QJsonObject syncRequest();
// The running copy shows its month window.
QJsonObject calendarRequest();
QJsonObject settingsRequest();
// The answer to request: the handler's refusal (the gate's with "busy": true), or {"ok": true}.
QJsonObject answer(const QJsonObject& request, const Handlers& handlers);

} // namespace ScriptRequests
