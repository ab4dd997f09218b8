#include "TestBench.h"
#include "agenda/core/DueReminder.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QDate today(2026, 12, 7);

AgendaItem item(const char* text, int daysLeft)
{
    return {QString::fromUtf8(text), today.addDays(-10), today.addDays(daysLeft), daysLeft};
}

struct Fixture
{
    TestBench bench;
    std::unique_ptr<DueReminder> reminder;

    explicit Fixture(QTime at = QTime(7, 0))
    {
        bench.clock.set(QDateTime(today, at));
        bench.write("agenda.txt", agendaRecord("写周报", today.addDays(-3), today) +
                                      agendaRecord("交水电费", today.addDays(-3), today) +
                                      agendaRecord("买票", today, today.addDays(1)) +
                                      agendaRecord("还书", today.addDays(-9), today.addDays(-2)) +
                                      agendaRecord("年终总结", today, today.addDays(20)));
        QVERIFY(DueReminder::choose(bench.path("kestrin.ini"), QTime(9, 0)));
        reminder = std::make_unique<DueReminder>(bench.services);
    }
    void to(const QDateTime& at) { bench.clock.advance(bench.clock.now().msecsTo(at)); }
    int words() const { return int(bench.notifications.sent.size()); }
};

} // namespace

class TestDueReminder : public QObject
{
    Q_OBJECT
private slots:
    void theWordSaysWhatIsDue()
    {
        QCOMPARE(DueReminder::digest({item("写周报", 0), item("交水电费", 0), item("买票", 1),
                                      item("还书", -2), item("年终总结", 20)},
                                     today),
                 QString::fromUtf8("今天到期 2 件：写周报、交水电费；明天到期 1 件；逾期 1 件"));
        QCOMPARE(DueReminder::digest({item("a", 0), item("b", 0), item("c", 0), item("d", 0)}, today),
                 QString::fromUtf8("今天到期 4 件：a、b、c等"));
        QCOMPARE(DueReminder::digest({item("买票", 1), item("还书", -5)}, today),
                 QString::fromUtf8("明天到期 1 件：买票；逾期 1 件"));
        QCOMPARE(DueReminder::digest({item("年终总结", 20)}, today), QString());
        // Today's times are named, the timed items first by their time.
        AgendaItem meeting = item("开会", 0), call = item("回电话", 0);
        meeting.time = QTime(15, 0);
        call.time = QTime(9, 30);
        QCOMPARE(DueReminder::digest({item("写周报", 0), meeting, call}, today),
                 QString::fromUtf8("今天到期 3 件：09:30 回电话、15:00 开会、写周报"));
    }

    // Once a day at its time, from the file as it is then; kept across runs; off by default.
    void onceADayAtItsTime()
    {
        TestBench plain;
        QCOMPARE(DueReminder::chosenTime(plain.path("kestrin.ini")), std::nullopt);

        Fixture f;
        QCOMPARE(f.reminder->nextWord(), QDateTime(today, QTime(9, 0)));
        f.bench.write("agenda.txt", agendaRecord("写周报", today.addDays(-3), today)); // the rest done by 9
        f.to(QDateTime(today, QTime(9, 0)));
        QCOMPARE(f.bench.notifications.sent,
                 (QList<QStringList>{
                     {QString::fromUtf8("Kestrin日程提醒"), QString::fromUtf8("今天到期 1 件：写周报")}}));
        QCOMPARE(f.bench.notifications.actions[0], (QStringList{"open-agenda", "remind-later"}));
        // The clock set back across the hour, or forward, a restart the same day: no second word.
        f.bench.clock.set(QDateTime(today, QTime(8, 30)));
        f.to(QDateTime(today, QTime(9, 30)));
        f.bench.clock.set(QDateTime(today, QTime(12, 0)));
        DueReminder again(f.bench.services);
        f.to(QDateTime(today, QTime(23, 0)));
        QCOMPARE(f.words(), 1);
        QCOMPARE(f.reminder->nextWord(), QDateTime(today.addDays(1), QTime(9, 0)));

        // A half-read kestrin.ini is not written over.
        f.bench.write("kestrin.ini", "[remind\ntime=09:00\n");
        QVERIFY(!DueReminder::choose(f.bench.path("kestrin.ini"), std::nullopt));
        QCOMPARE(f.bench.read("kestrin.ini"), QByteArray("[remind\ntime=09:00\n"));
    }

    // Asleep at the time: the word comes on waking the same day, and not for a day gone by.
    void aSleepAcrossTheHour()
    {
        Fixture f;
        f.to(QDateTime(today, QTime(8, 0)));
        f.to(QDateTime(today, QTime(11, 0))); // one jump: woken at 11
        QCOMPARE(f.words(), 1);
        f.to(QDateTime(today.addDays(2), QTime(7, 0))); // slept through the next day's hour
        QCOMPARE(f.words(), 1);
        QCOMPARE(f.reminder->nextWord(), QDateTime(today.addDays(2), QTime(9, 0)));
        f.to(QDateTime(today.addDays(2), QTime(9, 0)));
        QCOMPARE(f.words(), 2);
        QVERIFY(f.bench.notifications.sent[1][1].startsWith(QString::fromUtf8("逾期 4 件")));

        // Started after today's time (the machine was off at nine): the word is due at once.
        Fixture late(QTime(10, 0));
        QCOMPARE(late.reminder->nextWord(), QDateTime(today, QTime(10, 0)));
        late.to(QDateTime(today, QTime(10, 0, 1)));
        QCOMPARE(late.words(), 1);
    }

    void theButtons()
    {
        Fixture f;
        QSignalSpy wanted(f.reminder.get(), &DueReminder::agendaWanted);
        f.to(QDateTime(today, QTime(9, 0)));
        f.bench.notifications.press(1, QStringLiteral("open-agenda"));
        QCOMPARE(wanted.count(), 1);
        f.bench.notifications.press(1, QStringLiteral("remind-later"));
        QCOMPARE(f.reminder->nextWord(), QDateTime(today, QTime(10, 0)));
        f.to(QDateTime(today, QTime(10, 0)));
        QCOMPARE(f.words(), 2);
        QCOMPARE(f.reminder->nextWord(), QDateTime(today.addDays(1), QTime(9, 0)));
        f.bench.notifications.press(99, QStringLiteral("open-agenda")); // not ours
        QCOMPARE(wanted.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDueReminder)
#include "tst_duereminder.moc"
