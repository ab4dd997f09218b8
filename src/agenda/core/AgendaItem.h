#pragma once

#include "agenda/core/ItemStructure.h"
#include "calendar/core/RepeatRule.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QTime>

// One thing to do. Items are identified by their exact text.
struct AgendaItem
{
    QString text;
    QDate setDate;
    QDate finishDate;
    int daysLeft = 0; // finishDate minus the day of the load; negative means overdue
    RepeatRule repeat = {};
    QTime time = {}; // of the finish date, to be reminded at; invalid for none
    ItemStructure structure = {};
};

// The agenda as the last load left it, always in file order.
struct AgendaTable
{
    QList<AgendaItem> items;
    int overdueCount = 0;
    QDate today;
    // structure.txt's lines for items no longer in the agenda, by text: a subtask finds its way up
    // through a parent that left before it.
    QHash<QString, ItemStructure> gone;

    int count() const { return int(items.size()); }
};
