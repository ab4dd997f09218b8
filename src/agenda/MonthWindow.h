#pragma once

#include "agenda/core/AgendaItem.h"
#include "agenda/core/MonthSheet.h"

#include <QWidget>

#include <functional>
#include <memory>

class Clock;
class HolidayCalendar;
class QLabel;
class QPushButton;
class QTableWidget;

// 月历: a month at a glance, its own window. Seven columns from Monday, six weeks; each day its
// number, its festival, solar term or lunar day, 休 or 班, and the items finishing on it; the
// selected day in words under the grid. Arrows move by day across months, Page Up and Down by
// month, Home to today; Enter or a double click asks for an item on that day; Esc closes.
class MonthWindow final : public QWidget
{
    Q_OBJECT
public:
    // items: the agenda as last loaded, asked for at each month shown.
    MonthWindow(const Clock& clock, const HolidayCalendar& holidays, std::function<QList<AgendaItem>()> items,
                QWidget* parent = nullptr);
    ~MonthWindow() override;

    // On today's month with today selected, in front, the keyboard in the grid.
    void present();
    // Shows date's month with date selected; again: made anew from the agenda as it is now.
    void select(QDate date, bool again = false);
    QDate selected() const { return m_selected; }
    const MonthSheet& sheet() const { return *m_sheet; }

signals:
    // Enter or a double click on a day: an item to add finishing on it.
    void addWanted(QDate day);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMonth(int year, int month);
    void showSelected();

    const Clock& m_clock;
    const HolidayCalendar& m_holidays;
    std::function<QList<AgendaItem>()> m_items;
    std::unique_ptr<MonthSheet> m_sheet;
    QDate m_selected;
    QLabel* m_title;
    QLabel* m_unknownYear;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_today;
    QTableWidget* m_grid;
    QLabel* m_dayWords;
};
