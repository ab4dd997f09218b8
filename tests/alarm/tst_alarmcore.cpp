#include "alarm/core/AlarmTable.h"
#include "alarm/core/TimeText.h"

#include <QTest>

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
            QVERIFY2(!TimeText::parse(QString::fromUtf8(bad)).has_value(), bad);
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
        QCOMPARE(table.check(now), QList<int>{0});
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
