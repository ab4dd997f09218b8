// The month window over a 10,000-item agenda with 200 repeating items: made at its first opening,
// and a month's change, beside a bare QCalendarWidget's month change. Run: ./build-bench/bench/
// kestrin_bench --benchmark_filter=Month (offscreen).
#include "FakeClock.h"
#include "agenda/MonthWindow.h"
#include "calendar/core/HolidayCalendar.h"

#include <QCalendarWidget>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

const QDate today(2026, 12, 9);

QList<AgendaItem> agenda()
{
    static const QList<AgendaItem> items = [] {
        QList<AgendaItem> all;
        const RepeatRule rules[] = {{RepeatRule::Daily},
                                    {RepeatRule::Weekly, 0, 5},
                                    {RepeatRule::OfficialWorkdays},
                                    {RepeatRule::Monthly, 0, 15},
                                    {RepeatRule::LunarYearly, 8, 15}};
        for (int i = 0; i < 10000; ++i) {
            AgendaItem item{QStringLiteral("日程 %1").arg(i), today.addDays(-30),
                            today.addDays(i % 400 - 100)};
            if (i % 50 == 0) // 200 repeating
                item.repeat = rules[(i / 50) % 5];
            all.append(item);
        }
        return all;
    }();
    return items;
}

void BM_MonthWindowFirstOpening(benchmark::State& state)
{
    FakeClock clock{QDateTime(today, QTime(9, 0))};
    const HolidayCalendar holidays = HolidayCalendar::builtIn();
    for (auto _ : state) {
        MonthWindow window(clock, holidays, [] { return agenda(); });
        window.present();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_MonthWindowFirstOpening)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_MonthWindowNextMonth(benchmark::State& state)
{
    FakeClock clock{QDateTime(today, QTime(9, 0))};
    const HolidayCalendar holidays = HolidayCalendar::builtIn();
    MonthWindow window(clock, holidays, [] { return agenda(); });
    window.present();
    QDate day = today;
    for (auto _ : state) {
        day = day.addMonths(1);
        window.select(day);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_MonthWindowNextMonth)->Unit(benchmark::kMillisecond)->MinTime(2);

// The yardstick: Qt's own month grid, without lunar days, holidays or items.
void BM_QCalendarWidgetNextMonth(benchmark::State& state)
{
    QCalendarWidget calendar;
    calendar.show();
    QDate day = today;
    for (auto _ : state) {
        day = day.addMonths(1);
        calendar.setSelectedDate(day);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_QCalendarWidgetNextMonth)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace
