#pragma once

#include "agenda/core/AgendaItem.h"
#include "calendar/core/HolidayCalendar.h"
#include "platform/Result.h"

#include <QWidget>

#include <functional>

class Clock;
class QLabel;
class QLineEdit;

// 快速添加日程: a small window for a keyboard shortcut. The item's text, a finish date in words or
// digits, or a repetition that says its day (每周五, 每月15号, 每年农历八月十五), with the date it
// means shown as it is typed; Enter adds and closes, Esc closes. A refusal is shown in the window,
// and what was typed stays.
class QuickAddWindow final : public QWidget
{
    Q_OBJECT
public:
    // add: the add itself, of the item read from what was typed; "已添加：…" or why not.
    using Add = std::function<ResultOf<QString>(const AgendaItem& item)>;
    QuickAddWindow(const Clock& clock, HolidayCalendar holidays, Add add);

    // In the middle of the screen, in front, the keyboard in the text box.
    void present();
    // The finish date box set to a day (a day chosen in the month window).
    void setDay(QDate day);
    static constexpr int closeAfterMs = 800;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showDate();
    void submit();
    void tell(const QString& text, bool refusal);

    const Clock& m_clock;
    HolidayCalendar m_holidays;
    Add m_add;
    QLineEdit* m_text;
    QLineEdit* m_date;
    QLabel* m_meaning;
    QLabel* m_status;
};
