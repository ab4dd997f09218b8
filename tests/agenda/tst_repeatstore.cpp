#include "TestBench.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/RepeatFile.h"

#include <QTest>

namespace {

const QDate today(2026, 12, 9);

QByteArray rent()
{
    return agendaRecord("交房租", QDate(2026, 11, 16), QDate(2026, 12, 15)) +
           agendaRecord("开会", today, today);
}

} // namespace

// Repeating items as the store keeps them: the rules in repeat.txt beside the agenda.
class TestRepeatStore : public QObject
{
    Q_OBJECT
private slots:
    // Done, the occurrence goes to the log and the item comes back at its next date, set today;
    // the log's append and the agenda's rewrite are two writes, and a failure between them leaves
    // the item where it was and the occurrence in the log.
    void aDoneOccurrenceIsArchivedAndTheItemMovesOn()
    {
        TestBench bench;
        bench.write("agenda.txt", rent());
        bench.write("repeat.txt", gbk("\"交房租\",每月,15") + "\r\n");
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(store.load(today));
        QCOMPARE(store.table().items[0].repeat, (RepeatRule{RepeatRule::Monthly, 0, 15}));
        QCOMPARE(store.nextOccurrence(QString::fromUtf8("交房租"), today), QDate(2027, 1, 15));
        QVERIFY(!store.nextOccurrence(QString::fromUtf8("开会"), today));

        bench.files.failWritesTo = {QStringLiteral("agenda.txt")};
        QCOMPARE(store.remove(QString::fromUtf8("交房租"), today).status, StoreChange::Failed);
        QCOMPARE(bench.read("agenda.txt"), rent());
        QVERIFY(bench.read("my.log").contains(gbk("交房租: 设置日期2026-11-16; 预定完成日期2026-12-15")));

        bench.files.failWritesTo.clear();
        QVERIFY(store.load(today));
        QCOMPARE(store.remove(QString::fromUtf8("交房租"), today).status, StoreChange::Done);
        QCOMPARE(bench.read("agenda.txt"),
                 agendaRecord("交房租", today, QDate(2027, 1, 15)) + agendaRecord("开会", today, today));
        QCOMPARE(bench.read("repeat.txt"), gbk("\"交房租\",每月,15") + "\r\n");
    }

    // A rule goes with its item's new text; an item gone by hand takes its rule with it at the
    // next write; a rule that does not read is told with its line, and nothing is written.
    void aRuleFollowsItsItem()
    {
        TestBench bench;
        bench.write("agenda.txt", rent());
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(store.load(today));
        QCOMPARE(store.setRepeat(QString::fromUtf8("交房租"), RepeatRule::of(RepeatRule::LunarYearly, today))
                     .status,
                 StoreChange::Done);
        QCOMPARE(bench.read("repeat.txt"), gbk("\"交房租\",农历每年,冬月初一") + "\r\n");
        QVERIFY(store.load(today));
        QCOMPARE(
            store.modify(QString::fromUtf8("交房租"), {QString::fromUtf8("交电费"), today, today, 0}).status,
            StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.table().items[0].repeat, (RepeatRule{RepeatRule::LunarYearly, 11, 1}));

        bench.write("agenda.txt", agendaRecord("开会", today, today));
        QVERIFY(store.load(today));
        QCOMPARE(store.setRepeat(QString::fromUtf8("开会"), {RepeatRule::Weekdays}).status,
                 StoreChange::Done);
        QCOMPARE(bench.read("repeat.txt"), gbk("\"开会\",工作日") + "\r\n");
        QCOMPARE(store.setRepeat(QString::fromUtf8("没有的"), {RepeatRule::Daily}).status,
                 StoreChange::Refused);

        // repeat.txt edited by hand, agenda.txt as it was: the store knows it is no longer as read.
        QVERIFY(store.load(today));
        QVERIFY(store.unchangedOnDisk());
        bench.write("repeat.txt", gbk("\"开会\",每天\r\n"));
        QVERIFY(!store.unchangedOnDisk());
        bench.write("repeat.txt", gbk("\"开会\",每月,15,多余\r\n"));
        QCOMPARE(store.load(today).error(),
                 QString::fromUtf8("repeat.txt 第 1 行无法读取：重复方式之后有多余的内容"));

        const QByteArray broken = gbk("\"开会\",工作日\r\n\"交电费\",每两周\r\n");
        bench.write("repeat.txt", broken);
        const Result loaded = store.load(today);
        QCOMPARE(loaded.error(), QString::fromUtf8("repeat.txt 第 2 行无法读取：重复方式“每两周”无法读取"));
        QCOMPARE(store.table().count(), 0);
        QVERIFY(store.setRepeat(QString::fromUtf8("开会"), {RepeatRule::Daily})
                    .message.startsWith(loaded.error()));
        QCOMPARE(bench.read("repeat.txt"), broken);
    }
};

QTEST_GUILESS_MAIN(TestRepeatStore)
#include "tst_repeatstore.moc"
