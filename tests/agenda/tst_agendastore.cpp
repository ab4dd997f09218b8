#include "AgendaStore.h"
#include "LogFile.h"
#include "TestBench.h"

#include <QTest>

namespace {

const QDate today(2026, 12, 7);

} // namespace

class TestAgendaStore : public QObject
{
    Q_OBJECT
private slots:
    void entryIsByteExact()
    {
        QCOMPARE(
            LogFile::formatEntry(QString::fromUtf8("完成报告"), QStringLiteral("2002-12-20"),
                                 QStringLiteral("2002-12-27"), QStringLiteral("2002-12-28")),
            QString::fromUtf8("完成报告: 设置日期2002-12-20; 预定完成日期2002-12-27; 删除日期2002-12-28"));
    }

    void duplicateTextsLeaveTogetherWithAnEntryEach()
    {
        TestBench bench;
        bench.write("agenda.txt", agendaRecord("同名", QDate(2026, 1, 1), QDate(2026, 1, 2)) +
                                      agendaRecord("other", today, today) +
                                      agendaRecord("同名", QDate(2026, 2, 1), QDate(2026, 2, 2)));
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(store.load(today));
        const StoreChange change = store.remove(QString::fromUtf8("同名"), today);
        QCOMPARE(change.status, StoreChange::Done);
        QVERIFY(change.archived);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("other", today, today));
        QCOMPARE(bench.read("my.log"),
                 gbk("同名: 设置日期2026-01-01; 预定完成日期2026-01-02; 删除日期2026-12-07\r\n"
                     "同名: 设置日期2026-02-01; 预定完成日期2026-02-02; 删除日期2026-12-07\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestAgendaStore)
#include "tst_agendastore.moc"
