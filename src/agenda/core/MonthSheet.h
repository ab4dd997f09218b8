#pragma once

#include "agenda/core/AgendaItem.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class HolidayCalendar;

// A month at a glance: six weeks from Monday, each day with its lunar day, festival or solar term,
// the official arrangement's 休 or 班, and the agenda's items finishing on it (a repeating item on
// every occurrence the weeks hold). What the month window draws and `kestrin --month` prints.
class MonthSheet
{
public:
    struct Day
    {
        QDate date;
        bool inMonth = false;
        QString note;  // the first that applies: festival, solar term, lunar day (初一: the month)
        QString lunar; // 冬月初七, 闰六月初一
        QString marks; // festival and solar term, both when both apply: 清明, 冬至
        QChar mark;    // 休, 班, or none
        QStringList
            items; // texts, a repeating item's with its rule, a subtask's with its parent: 交房租（每月）
        int overdue = 0; // of those, finishing before today
    };

    MonthSheet(int year, int month, const QList<AgendaItem>& items, QDate today,
               const HolidayCalendar& holidays);

    int year() const { return m_year; }
    int month() const { return m_month; }
    // 2026年12月 · 丙午年 冬月
    QString title() const;
    // Whether the holiday arrangement of the month's year is held: 休 and 班 show only then.
    bool yearKnown() const { return m_yearKnown; }
    // 42 days, Monday first.
    const QList<Day>& days() const { return m_days; }
    const Day* day(QDate date) const;

    // 12月15日 星期二 · 农历冬月初七：交房租（每月）、写周报
    static QString dayWords(const Day& day);
    // 2026年2月17日 星期二 正月初一 春节 休 1 件：给爷爷拜年, what a screen reader says of a day.
    static QString accessibleName(const Day& day);
    // The month as text for a terminal, in columns aligned for wide characters.
    QString text() const;

private:
    int m_year, m_month;
    bool m_yearKnown = false;
    QString m_lunarTitle; // 丙午年 冬月
    QList<Day> m_days;
};
