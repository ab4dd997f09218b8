#include "FakeClock.h"
#include "agenda/MonthWindow.h"
#include "calendar/core/HolidayCalendar.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

namespace {

struct Fixture
{
    FakeClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0))};
    HolidayCalendar holidays = HolidayCalendar::builtIn();
    QList<AgendaItem> items{{QString::fromUtf8("交房租"), QDate(2026, 11, 1), QDate(2026, 12, 15), 0,
                             RepeatRule{RepeatRule::Monthly, 0, 15}},
                            {QString::fromUtf8("写周报"), QDate(2026, 11, 1), QDate(2026, 12, 4)}};
    MonthWindow window{clock, holidays, [this] { return items; }};

    Fixture() { window.present(); }
    QTableWidget* grid() const { return window.findChild<QTableWidget*>(QStringLiteral("GridMonth")); }
    QString label(const char* name) const
    {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    void key(int key) const { QTest::keyClick(grid(), Qt::Key(key)); }
    // What a screen reader reads for a day of the grid.
    QString spoken(QDate date) const
    {
        const int at = int(window.sheet().days().first().date.daysTo(date));
        return grid()->item(at / 7, at % 7)->data(Qt::AccessibleTextRole).toString();
    }
};

} // namespace

class TestMonthWindow : public QObject
{
    Q_OBJECT
private slots:
    // The keyboard alone: arrows by day and week across months, Page Up and Down by month, Home
    // to today, Enter asks for an item on the day; each day's name says it all.
    void theKeyboardAndTheNames()
    {
        Fixture f;
        QCOMPARE(f.window.selected(), QDate(2026, 12, 9));
        QCOMPARE(f.label("LabelMonthTitle"), QString::fromUtf8("2026年12月 · 丙午年 冬月"));
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QVERIFY(f.grid()->hasFocus());
        QCOMPARE(f.spoken(QDate(2026, 12, 15)),
                 QString::fromUtf8("2026年12月15日 星期二 冬月初七 1 件：交房租（每月）"));
        QCOMPARE(f.spoken(QDate(2026, 12, 4)),
                 QString::fromUtf8("2026年12月4日 星期五 十月廿六 1 件（逾期 1 件）：写周报"));
        QCOMPARE(f.spoken(QDate(2026, 12, 22)), QString::fromUtf8("2026年12月22日 星期二 冬月十四 冬至"));

        f.key(Qt::Key_Right);
        f.key(Qt::Key_Down);
        QCOMPARE(f.window.selected(), QDate(2026, 12, 17));
        QCOMPARE(f.label("LabelMonthDay"), QString::fromUtf8("12月17日 星期四 · 农历冬月初九：无日程"));
        f.key(Qt::Key_PageDown);
        QCOMPARE(f.window.selected(), QDate(2027, 1, 17));
        QCOMPARE(f.label("LabelMonthTitle"), QString::fromUtf8("2027年1月 · 丙午年 腊月"));
        QVERIFY(f.window.findChild<QLabel*>(QStringLiteral("LabelMonthUnknownYear"))->isVisibleTo(&f.window));
        QCOMPARE(f.spoken(QDate(2027, 1, 15)),
                 QString::fromUtf8("2027年1月15日 星期五 腊月初八 腊八 1 件：交房租（每月）"));
        f.key(Qt::Key_Home);
        QCOMPARE(f.window.selected(), QDate(2026, 12, 9));
        for (int i = 0; i < 9; ++i)
            f.key(Qt::Key_Left);
        QCOMPARE(f.window.selected(), QDate(2026, 11, 30));
        QCOMPARE(f.label("LabelMonthTitle"), QString::fromUtf8("2026年11月 · 丙午年 十月"));
        f.key(Qt::Key_PageUp);
        QCOMPARE(f.window.selected(), QDate(2026, 10, 30));
        f.key(Qt::Key_Up);
        QCOMPARE(f.window.selected(), QDate(2026, 10, 23));
        f.key(Qt::Key_Down);
        // A grey day of the next month, chosen by a click, turns the page to it.
        const int november = int(f.window.sheet().days().first().date.daysTo(QDate(2026, 11, 2)));
        f.grid()->setCurrentCell(november / 7, november % 7);
        QCOMPARE(f.window.selected(), QDate(2026, 11, 2));
        QCOMPARE(f.label("LabelMonthTitle"), QString::fromUtf8("2026年11月 · 丙午年 十月"));
        f.key(Qt::Key_PageUp);
        f.key(Qt::Key_Down);
        f.key(Qt::Key_Down);
        f.key(Qt::Key_Down);
        f.key(Qt::Key_Down);
        QCOMPARE(f.window.selected(), QDate(2026, 10, 30));

        QSignalSpy asked(&f.window, &MonthWindow::addWanted);
        f.key(Qt::Key_Return);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().first().toDate(), QDate(2026, 10, 30));
        f.key(Qt::Key_Escape);
        QVERIFY(!f.window.isVisible());
    }
};

QTEST_MAIN(TestMonthWindow)
#include "tst_monthwindow.moc"
