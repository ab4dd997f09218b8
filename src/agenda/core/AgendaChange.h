#pragma once

#include "agenda/core/AgendaItem.h"
#include "calendar/core/RepeatWords.h"
#include "platform/Result.h"

#include <QJsonObject>
#include <QString>
#include <QTime>

// One change to the agenda, already understood: dates as dates, the rule as a rule, the time as a
// time. Built where the words are typed (a command's options, the quick-add window's boxes, a
// menu's choice) and carried out by AgendaSession::apply, in the running copy or in a session a
// command opens over the folder. Its fields are what the socket to the running copy carries.
struct AgendaChange
{
    enum Kind
    {
        Add,         // item, checked against the file as it is now
        Modify,      // the item of text becomes item: the entry box's 修改日程
        Complete,    // the item of text done, as 删除日程 takes it
        SetTime,     // the item of text reminded at time; invalid for none
        SetRepeat,   // the item of text repeats as repeat says
        SetParent,   // the item of text under item.structure.parent; empty for the top level
        SetPriority, // the item of text with item.structure.priority
        SetTags,     // the item of text with item.structure.tags, replacing its own
    };
    // What a Complete does with the items under the one completed.
    enum Subtasks
    {
        LeaveSubtasks,  // they stay, drawn one level up
        WithSubtasks,   // they are done too, each with its own entry in my.log
        RefuseSubtasks, // the item is not done while it has any: the command line's --done
    };

    Kind kind = Add;
    QString text; // the item changed; Add's is item.text
    AgendaItem item;
    QTime time;
    RepeatWords repeat;
    Subtasks subtasks = LeaveSubtasks;

    static AgendaChange add(const AgendaItem& item) { return {Add, item.text, item, {}, {}}; }
    static AgendaChange modify(const QString& editedText, const AgendaItem& item)
    {
        return {Modify, editedText, item, {}, {}};
    }
    static AgendaChange complete(const QString& text, Subtasks subtasks = LeaveSubtasks)
    {
        return {Complete, text, {}, {}, {}, subtasks};
    }
    static AgendaChange setParent(const QString& text, const QString& parent)
    {
        AgendaChange change{SetParent, text, {}, {}, {}};
        change.item.structure.parent = parent;
        return change;
    }
    static AgendaChange setPriority(const QString& text, ItemStructure::Priority priority)
    {
        AgendaChange change{SetPriority, text, {}, {}, {}};
        change.item.structure.priority = priority;
        return change;
    }
    static AgendaChange setTags(const QString& text, const QStringList& tags)
    {
        AgendaChange change{SetTags, text, {}, {}, {}};
        change.item.structure.tags = tags;
        return change;
    }
    static AgendaChange setTime(const QString& text, QTime time) { return {SetTime, text, {}, time, {}}; }
    static AgendaChange setRepeat(const QString& text, const RepeatWords& repeat)
    {
        return {SetRepeat, text, {}, {}, repeat};
    }
    static AgendaChange setRepeat(const QString& text, const RepeatRule& rule)
    {
        return setRepeat(text, RepeatWords{rule.kind, rule});
    }

    // What the user is told when it was not made and nothing says why: "日程未添加。"
    QString notDone() const;

    // Its fields for the running copy: {"command": "add", "text": …, "set": "2026-12-09",
    // "finish": "2026-12-11"} with "repeat": 每周 and "day": 周五 (repeat.txt's two fields) when the
    // item repeats and "time": "15:00" when it has one; {"command": "repeat", "text", "repeat",
    // "day"}, an empty day keeping the item's own; {"command": "done", "text"}; {"command":
    // "time", "text", "time"}, "off" for none; an Add's "parent", "priority" (高) and "tags" (工作,家庭)
    // when it has them; {"command": "parent", "text", "parent"}, {"command": "priority", "text",
    // "priority"}, {"command": "tags", "text", "tags"}; a done's "subtasks": "all" or "refuse" when
    // it is not to leave them. Every field a string, and a field only when it
    // says something, so that an older copy refuses what it cannot hold rather than drop it.
    // A Modify is the panel's and is not sent.
    QJsonObject fields() const;
    // The change those fields make; refused, with why, for any other set of fields.
    static ResultOf<AgendaChange> fromFields(const QJsonObject& fields);
};
