#pragma once

#include <QDate>
#include <QList>
#include <QString>

// One thing to do. Items are identified by their exact text.
struct AgendaItem
{
    QString Content;
    QDate SetDate;
    QDate FinishDate;
    int DaysLeft = 0; // FinishDate minus the day of the load; negative means overdue
};

// The agenda as the last load left it, always in file order.
struct AgendaTable
{
    QList<AgendaItem> Agenda;
    int OverdueCount = 0;
    QDate Today;

    int AgendaCount() const { return int(Agenda.size()); }
};
