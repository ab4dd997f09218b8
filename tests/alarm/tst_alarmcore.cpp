#include "alarm/core/AlarmTable.h"
#include "alarm/core/SavedAlarms.h"
#include "alarm/core/TimeText.h"
#include "calendar/core/HolidayCalendar.h"
#include "platform/files/Settings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

namespace {

QDateTime at(int y, int m, int d, int h = 7, int min = 30, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

} // namespace

class TestAlarmCore : public QObject
{
    Q_OBJECT
private slots:
    void timeTexts()
    {
        QCOMPARE(TimeText::parse(u"12:59:01").value(), QTime(12, 59, 1));
        QCOMPARE(TimeText::parse(u"12:59").value(), QTime(12, 59, 0));
        QCOMPARE(TimeText::parse(u"7:05").value(), QTime(7, 5, 0));
        QCOMPARE(TimeText::parse(u"0:00:00").value(), QTime(0, 0, 0));
        for (const char* bad : {"", "abc", "24:00", "12:60", "12:5", "12:59:60", "12:59:1", "123:00",
                                "12:59:01:00", "12.59", "12:59 pm"})
            QVERIFY2(!TimeText::parse(QString::fromUtf8(bad)).ok(), bad);
        QCOMPARE(TimeText::format(QTime(7, 5, 9)), QStringLiteral("07:05:09"));
    }

    // An alarm set for this very second rings now; one a second past rings tomorrow.
    void anAlarmForThisVerySecondRingsNow()
    {
        const QDateTime now(QDate(2026, 12, 7), QTime(12, 0, 0));
        AlarmTable table;
        table.arm(0, QTime(12, 0, 0), QString(), 1, now);
        table.arm(1, QTime(11, 59, 59), QString(), 1, now);
        QCOMPARE(table.alarms[0].due, now);
        QCOMPARE(table.alarms[1].due, now.addDays(1).addSecs(-1));
        QCOMPARE(table.check(now).rang, QList<int>{0});
    }

    // 2026-12-04 is a Friday. Week, month and year ends, a leap day.
    void nextDayOfEachRepeat_data()
    {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QDateTime>("next");
        QTest::newRow("once, later today") << at(2026, 12, 4, 7, 0) << int(Repeat::None) << at(2026, 12, 4);
        QTest::newRow("daily over a year end")
            << at(2026, 12, 31, 8, 0) << int(Repeat::Daily) << at(2027, 1, 1);
        QTest::newRow("daily, this very second") << at(2026, 12, 4) << int(Repeat::Daily) << at(2026, 12, 4);
        QTest::newRow("weekdays: Friday evening to Monday")
            << at(2026, 12, 4, 20, 0) << int(Repeat::Weekdays) << at(2026, 12, 7);
        QTest::newRow("weekdays: Saturday to Monday")
            << at(2026, 12, 5, 6, 0) << int(Repeat::Weekdays) << at(2026, 12, 7);
        QTest::newRow("weekdays over a month end: Friday 2027-04-30 to Monday 3 May")
            << at(2027, 4, 30, 9, 0) << int(Repeat::Weekdays) << at(2027, 5, 3);
        QTest::newRow("weekends: Monday to Saturday")
            << at(2026, 12, 7, 9, 0) << int(Repeat::Weekends) << at(2026, 12, 12);
        QTest::newRow("weekends: Saturday evening to Sunday")
            << at(2026, 12, 5, 9, 0) << int(Repeat::Weekends) << at(2026, 12, 6);
        QTest::newRow("weekends: Sunday evening to next Saturday")
            << at(2026, 12, 6, 9, 0) << int(Repeat::Weekends) << at(2026, 12, 12);
        QTest::newRow("weekends over a year end: Friday 2027-12-31 to Saturday")
            << at(2027, 12, 31, 9, 0) << int(Repeat::Weekends) << at(2028, 1, 1);
        QTest::newRow("daily onto a leap day")
            << at(2028, 2, 28, 9, 0) << int(Repeat::Daily) << at(2028, 2, 29);
        QTest::newRow("weekdays onto a leap day (Tuesday)")
            << at(2028, 2, 28, 9, 0) << int(Repeat::Weekdays) << at(2028, 2, 29);
        QTest::newRow("weekdays past a leap day: Friday 2024-03-01 from Thursday 29 Feb")
            << at(2024, 2, 29, 9, 0) << int(Repeat::Weekdays) << at(2024, 3, 1);
    }
    void nextDayOfEachRepeat()
    {
        QFETCH(QDateTime, from);
        QFETCH(int, repeat);
        QFETCH(QDateTime, next);
        QCOMPARE(AlarmSchedule::next(QTime(7, 30), Repeat(repeat), from), next);
    }

    // China's working days: the holidays skipped, the make-up weekend days rung, an unknown year
    // rung Monday to Friday; the tool tip says why when the next day is not the plain one.
    void officialWorkdaysFollowTheArrangement()
    {
        const HolidayCalendar& china = HolidayCalendar::builtIn();
        const auto next = [&china](const QDateTime& from) {
            return AlarmSchedule::next(QTime(7, 30), Repeat::OfficialWorkdays, from, &china);
        };
        QCOMPARE(next(at(2026, 9, 30, 8, 0)), at(2026, 10, 8)); // past 国庆节, its Monday included
        QCOMPARE(next(at(2026, 9, 19, 8, 0)), at(2026, 9, 20)); // a make-up Sunday
        QCOMPARE(next(at(2026, 2, 13, 8, 0)), at(2026, 2, 14)); // a make-up Saturday before 春节
        QCOMPARE(next(at(2026, 2, 14, 8, 0)), at(2026, 2, 24)); // 春节 over two weekends
        QCOMPARE(next(at(2025, 12, 31, 8, 0)), at(2026, 1, 4)); // the turn of the year, onto a Sunday
        QCOMPARE(next(at(2024, 6, 7, 8, 0)), at(2024, 6, 11));  // 端午节 on a Monday
        QCOMPARE(next(at(2026, 12, 31, 8, 0)), at(2027, 1, 1)); // 2027 not known: Friday rings
        QCOMPARE(AlarmSchedule::officialNote(QTime(7, 30), at(2026, 9, 30, 8, 0), china),
                 QString::fromUtf8("下次：10月8日（国庆节后）"));
        QCOMPARE(AlarmSchedule::officialNote(QTime(7, 30), at(2026, 9, 19, 8, 0), china),
                 QString::fromUtf8("下次：9月20日（调休上班，星期日）"));
        QCOMPARE(AlarmSchedule::officialNote(QTime(7, 30), at(2026, 11, 30, 8, 0), china), QString());
        QCOMPARE(AlarmSchedule::officialNote(QTime(7, 30), at(2026, 12, 31, 8, 0), china),
                 QString::fromUtf8("2027 年的节假日安排尚未收录，按周一至周五响铃"));

        // Rung on the last day before 国庆节, then the clock set back a day: no second ring, and
        // the next is still after the holiday. A snooze into the holiday rings: it is the user's word.
        AlarmTable table;
        table.holidays = &china;
        table.arm(0, QTime(7, 30), {}, 1, at(2026, 9, 30, 7, 0), Repeat::OfficialWorkdays);
        QCOMPARE(table.check(at(2026, 9, 30, 7, 30)).rang, QList<int>{0});
        QCOMPARE(table.alarms[0].due, at(2026, 10, 8));
        QVERIFY(table.check(at(2026, 9, 29, 7, 30)).rang.isEmpty());
        QCOMPARE(table.nextWake(), at(2026, 10, 8));
        table.snooze(0, at(2026, 10, 1, 0, 3));
        QCOMPARE(table.check(at(2026, 10, 1, 0, 3)).rang, QList<int>{0});
        QCOMPARE(table.alarms[0].due, at(2026, 10, 8));
    }

    // Where summer time begins at 02:00, a daily 02:30 still rings that night, at 03:30; where it ends,
    // it rings once.
    void aDailyAlarmOverTheChangesOfSummerTime()
    {
        const std::optional<QByteArray> zone =
            qEnvironmentVariableIsSet("TZ") ? std::optional(qgetenv("TZ")) : std::nullopt;
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3"); // a rule, not a zone file: no tzdata needed
        tzset();
        // Local times turn into moments when asked: ask before the zone goes back.
        const qint64 spring =
            AlarmSchedule::next(QTime(2, 30), Repeat::Daily, at(2027, 3, 28, 0, 0)).toMSecsSinceEpoch();
        const QDateTime autumn = AlarmSchedule::next(QTime(2, 30), Repeat::Daily, at(2027, 10, 31, 0, 0));
        const qint64 autumnMs = autumn.toMSecsSinceEpoch();
        AlarmTable table;
        table.arm(0, QTime(2, 30), QString(), 1, at(2027, 10, 31, 0, 0), Repeat::Daily);
        table.check(autumn);
        const QDate afterAutumn = table.alarms[0].due.date();
        if (zone)
            qputenv("TZ", *zone);
        else
            qunsetenv("TZ");
        tzset();
        QCOMPARE(spring, QDateTime(QDate(2027, 3, 28), QTime(1, 30), Qt::UTC).toMSecsSinceEpoch());
        QCOMPARE(autumnMs, QDateTime(QDate(2027, 10, 31), QTime(0, 30), Qt::UTC).toMSecsSinceEpoch());
        QCOMPARE(afterAutumn, QDate(2027, 11, 1));
    }

    // A repeating alarm rings its count, 500 ms apart, then waits for its next day; a one-time alarm
    // is done. Weekday alarms skip the weekend.
    void aRepeatingAlarmRingsItsCountOnEachOfItsDays()
    {
        AlarmTable table;
        table.arm(0, QTime(7, 30), QString(), 2, at(2026, 12, 4, 7, 0), Repeat::Weekdays);
        table.arm(1, QTime(7, 30), QString(), 1, at(2026, 12, 4, 7, 0));
        QCOMPARE(table.nextWake(), at(2026, 12, 4));
        QCOMPARE(table.check(at(2026, 12, 4)).rang, (QList<int>{0, 1}));
        QCOMPARE(table.nextWake(), at(2026, 12, 4).addMSecs(500));
        QVERIFY(table.check(at(2026, 12, 4).addMSecs(499)).rang.isEmpty());
        QCOMPARE(table.check(at(2026, 12, 4).addMSecs(500)).rang, QList<int>{0});
        QVERIFY(table.check(at(2026, 12, 4, 7, 31)).rang.isEmpty());
        QVERIFY(table.alarms[0].enabled);
        QVERIFY(!table.alarms[1].enabled);
        QCOMPARE(table.nextWake(), at(2026, 12, 7)); // Monday
        QVERIFY(table.check(at(2026, 12, 5)).rang.isEmpty());
        QCOMPARE(table.check(at(2026, 12, 7)).rang, QList<int>{0});
    }

    // Late by 30 minutes at most it rings; later it is reported missed: a one-time alarm is then
    // done, a repeating one waits for its next day, not for a day slept through.
    void aLateAlarmRingsUpToHalfAnHourThenIsMissed()
    {
        AlarmTable table;
        table.arm(0, QTime(7, 30), QString(), 1, at(2026, 12, 4, 7, 0));
        table.arm(1, QTime(7, 30), QString(), 1, at(2026, 12, 4, 7, 0), Repeat::Daily);
        QCOMPARE(table.check(at(2026, 12, 4, 8, 0)).rang, (QList<int>{0, 1}));

        table.arm(0, QTime(7, 30), QString(), 1, at(2026, 12, 4, 7, 0));
        const AlarmCheck late = table.check(at(2026, 12, 4, 8, 0).addMSecs(1));
        QVERIFY(late.rang.isEmpty());
        QCOMPARE(late.missed.size(), 1);
        QCOMPARE(late.missed[0], std::pair(0, at(2026, 12, 4)));
        QVERIFY(!table.anyArmed() || table.alarms[1].enabled);
        QVERIFY(!table.alarms[0].active());

        // Asleep from Friday 7:00 to Monday 9:00: one report, and Tuesday next.
        const AlarmCheck slept = table.check(at(2026, 12, 7, 9, 0));
        QCOMPARE(slept.missed.size(), 1);
        QCOMPARE(slept.missed[0], std::pair(1, at(2026, 12, 5)));
        QCOMPARE(table.nextWake(), at(2026, 12, 8));
        QVERIFY(table.check(at(2026, 12, 7, 9, 1)).missed.isEmpty());
    }

    // A clock set back an hour after a ring does not ring the same day again; a one-time alarm
    // not yet rung keeps its moment.
    void aClockSetBackAnHour()
    {
        AlarmTable table;
        table.arm(0, QTime(7, 30), QString(), 1, at(2026, 12, 4, 7, 0), Repeat::Daily);
        table.arm(1, QTime(10, 30), QString(), 1, at(2026, 12, 4, 7, 0));
        QCOMPARE(table.check(at(2026, 12, 4, 7, 30)).rang, QList<int>{0});
        QVERIFY(table.check(at(2026, 12, 4, 6, 40)).rang.isEmpty());
        QCOMPARE(table.alarms[0].due, at(2026, 12, 5));
        QVERIFY(table.check(at(2026, 12, 4, 7, 31)).rang.isEmpty());
        QCOMPARE(table.check(at(2026, 12, 4, 10, 30)).rang, QList<int>{1});
    }

    // A snooze rings once more with the alarm's count and leaves its regular day alone; taken back,
    // it does not ring. Due together with the regular day, the two ring once.
    void aSnoozeRingsOnceMoreAndKeepsTheRegularDay()
    {
        AlarmTable table;
        table.arm(0, QTime(7, 30), QString(), 2, at(2026, 12, 4, 7, 0), Repeat::Daily);
        table.check(at(2026, 12, 4));
        table.snooze(0, at(2026, 12, 4, 7, 35));
        QVERIFY(table.check(at(2026, 12, 4).addMSecs(500)).rang.isEmpty()); // its ringing ends with it
        QCOMPARE(table.nextWake(), at(2026, 12, 4, 7, 35));
        QCOMPARE(table.check(at(2026, 12, 4, 7, 35)).rang, QList<int>{0});
        QCOMPARE(table.check(at(2026, 12, 4, 7, 35).addMSecs(500)).rang, QList<int>{0});
        QVERIFY(!table.alarms[0].snoozedTo.isValid());
        QCOMPARE(table.nextWake(), at(2026, 12, 5));

        table.snooze(0, at(2026, 12, 4, 8, 0));
        table.cancelSnooze(0);
        QVERIFY(table.check(at(2026, 12, 4, 8, 0)).rang.isEmpty());

        // A one-time alarm put off is armed by its snooze alone.
        table.arm(1, QTime(9, 0), QString(), 1, at(2026, 12, 4, 8, 0));
        table.check(at(2026, 12, 4, 9, 0));
        QVERIFY(!table.alarms[1].enabled);
        table.snooze(1, at(2026, 12, 5, 7, 30));
        QCOMPARE(table.check(at(2026, 12, 5)).rang, (QList<int>{0, 1}));
        QCOMPARE(table.check(at(2026, 12, 5).addMSecs(500)).rang, QList<int>{0});
        QVERIFY(!table.anyArmed() || table.alarms[0].enabled);
        QVERIFY(!table.alarms[1].active());
    }

    // Saved and read back whole; the rest of kestrin.ini stays as it was.
    void repeatingAlarmsAreSavedAndRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kestrin.ini"));
        {
            QSettings other(path, QSettings::IniFormat);
            other.setValue(Settings::name(Settings::Key::Ringtone, 0), QStringLiteral("/x/铃声.wav"));
        }
        AlarmTable table;
        table.arm(0, QTime(7, 30), QStringLiteral("起床, 吃药=1; \\"), 4, at(2026, 12, 4, 7, 0),
                  Repeat::Weekdays);
        table.arm(1, QTime(8, 0), QStringLiteral("一次"), 1, at(2026, 12, 4, 7, 0));
        table.arm(2, QTime(9, 5, 7), QString(), 8, at(2026, 12, 4, 7, 0), Repeat::Weekends);
        table.snooze(2, at(2026, 12, 4, 7, 45));
        const QList<SavedAlarm> kept = SavedAlarms::fromTable(table);
        QCOMPARE(kept.size(), 2); // the one-time alarm ends with the run
        SavedAlarms saved(path);
        QVERIFY(saved.save(kept));
        SavedAlarms::Loaded loaded = saved.load();
        QVERIFY(loaded.problems.isEmpty());
        QCOMPARE(loaded.alarms, kept);
        QCOMPARE(QSettings(path, QSettings::IniFormat)
                     .value(Settings::name(Settings::Key::Ringtone, 0))
                     .toString(),
                 QStringLiteral("/x/铃声.wav"));

        // Cleared: gone from the file, the rest still there.
        QVERIFY(saved.save({}));
        QVERIFY(saved.load().alarms.isEmpty());
        QCOMPARE(QSettings(path, QSettings::IniFormat).childGroups(),
                 QStringList{QStringLiteral("ringtones")});
    }

    // A bad entry is reported and skipped, the good ones load; a file read in part is reported with
    // its line and never written over.
    void badEntriesAndABrokenFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kestrin.ini"));
        const QByteArray text = "[alarms]\nalarm1\\time=25:00\nalarm1\\rings=3\nalarm1\\repeat=daily\n"
                                "alarm2\\time=07:30\nalarm2\\rings=2\nalarm2\\repeat=weekdays\n"
                                "alarm3\\time=07:30\nalarm3\\rings=9\nalarm3\\repeat=daily\n"
                                "[ringtones\nalarm1=/x.wav\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        const SavedAlarms saved(path);
        const SavedAlarms::Loaded loaded = saved.load();
        QCOMPARE(loaded.alarms.size(), 1);
        QCOMPARE(loaded.alarms[0].row, 1);
        QCOMPARE(loaded.alarms[0].repeat, Repeat::Weekdays);
        const QStringList& problems = loaded.problems;
        QCOMPARE(problems.size(), 3);
        QVERIFY(problems[0].contains(QStringLiteral("第 11 行格式有误")));
        QVERIFY(problems[1].contains(QStringLiteral("闹钟 1 的设置有误（时间“25:00”无法读取）")));
        QVERIFY(problems[2].contains(QStringLiteral("闹钟 3 的设置有误（响铃次数“9”不在 1 到 8 之间）")));
        const Result refused = saved.save({});
        QVERIFY(!refused);
        QVERIFY(refused.error().contains(QStringLiteral("第 11 行格式有误")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text);
    }

    void elapsedTexts()
    {
        QCOMPARE(elapsedText(0), QString::fromUtf8("超期时长: 0分0秒"));
        QCOMPARE(elapsedText(30000), QString::fromUtf8("超期时长: 0分30秒"));
        QCOMPARE(elapsedText(75200), QString::fromUtf8("超期时长: 1分15秒"));
        QCOMPARE(elapsedText(125000), QString::fromUtf8("超期时长: 2分5秒"));
        QCOMPARE(elapsedText(59700), QString::fromUtf8("超期时长: 1分0秒")); // never 0分0秒 near a minute
    }
};

QTEST_GUILESS_MAIN(TestAlarmCore)
#include "tst_alarmcore.moc"
