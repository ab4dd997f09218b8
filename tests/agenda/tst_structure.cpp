#include "TestBench.h"
#include "agenda/core/AgendaOrder.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/AgendaTree.h"

#include <QTest>

namespace {

const QDate today(2026, 12, 9);

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// 装修 with 买瓷砖 under it and 贴瓷砖 under that; 买菜 alone. Finish dates in reverse of file order.
QByteArray house()
{
    return agendaRecord("装修", today, today.addDays(30)) + agendaRecord("买瓷砖", today, today.addDays(20)) +
           agendaRecord("贴瓷砖", today, today.addDays(10)) + agendaRecord("买菜", today, today.addDays(1));
}

const QByteArray houseStructure = gbk("\"买瓷砖\",\"装修\",高,\"家庭\"\r\n"
                                      "\"贴瓷砖\",\"买瓷砖\",无\r\n");

// The texts drawn, two spaces a level.
QStringList drawn(const AgendaTable& table, AgendaOrdering ordering, const QSet<QString>& collapsed = {})
{
    const AgendaTree tree(table);
    QStringList lines;
    for (const AgendaTree::Row& row :
         tree.arrange(AgendaOrder::listing(table.items, ordering).items, collapsed))
        lines << QString(row.depth * 2, u' ') + table.items.at(row.item).text +
                     (row.subtasks ? QStringLiteral(" · %1").arg(row.subtasks) : QString());
    return lines;
}

} // namespace

// Subtasks, priorities and tags as the store keeps them: in structure.txt, agenda.txt as it was.
class TestStructure : public QObject
{
    Q_OBJECT
private slots:
    // Set, written, read back; a rename takes the subtasks along and keeps the item's own place;
    // agenda.txt, which an older program reads, holds its three fields alone throughout.
    void theStructureFollowsItsItem()
    {
        TestBench bench;
        bench.write("agenda.txt", house());
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(store.load(today));
        QCOMPARE(store.setParent(u("买瓷砖"), u("装修")).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.setParent(u("贴瓷砖"), u("买瓷砖")).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.setPriority(u("买瓷砖"), ItemStructure::High).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.setTags(u("买瓷砖"), {u("家庭")}).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(bench.read("structure.txt"), houseStructure);
        QCOMPARE(bench.read("agenda.txt"), house());
        // No cycle made by hand here: an item's own subtask cannot become its parent.
        QCOMPARE(store.setParent(u("装修"), u("贴瓷砖")).status, StoreChange::Refused);
        QCOMPARE(store.setParent(u("装修"), u("装修")).status, StoreChange::Refused);
        QCOMPARE(store.setTags(u("买菜"), {u("说\"好\"")}).status, StoreChange::Refused);

        QCOMPARE(store.table().items[1].structure.priority, ItemStructure::High);
        QCOMPARE(store.modify(u("买瓷砖"), {u("买地砖"), today, today.addDays(20), 0}).status,
                 StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.modify(u("装修"), {u("新家装修"), today, today.addDays(30), 0}).status,
                 StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(drawn(store.table(), AgendaOrdering::FileOrder),
                 (QStringList{u("新家装修 · 2"), u("  买地砖 · 1"), u("    贴瓷砖"), u("买菜")}));
        QCOMPARE(store.table().items[1].structure.tags, QStringList{u("家庭")});
        QCOMPARE(bench.read("structure.txt"), gbk("\"买地砖\",\"新家装修\",高,\"家庭\"\r\n"
                                                  "\"贴瓷砖\",\"买地砖\",无\r\n"));
        // A new item of a text that left takes nothing of the one before.
        QCOMPARE(store.remove(u("贴瓷砖"), today).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.addNew({u("贴瓷砖"), today, today, 0}, today).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.table().items.last().structure, ItemStructure{});
    }

    // What a phone or a hand edit may leave: a parent gone, a self-link, a cycle, a subtask of a
    // cycle; each drawn without looping, the link kept through the next write. A line that does not
    // read names itself, and the agenda is not written from the half-read table.
    void aTreeFromAnywhereIsDrawnWithoutLooping()
    {
        struct Case
        {
            const char* name;
            QByteArray structure;
            QStringList drawn;
        };
        const Case cases[] = {
            {"a parent removed by hand",
             gbk("\"买瓷砖\",\"旧房子\",无\r\n"),
             {u("装修"), u("买瓷砖"), u("贴瓷砖"), u("买菜")}},
            {"a self-link",
             gbk("\"装修\",\"装修\",无\r\n"),
             {u("装修"), u("买瓷砖"), u("贴瓷砖"), u("买菜")}},
            {"a cycle with a subtask",
             gbk("\"装修\",\"买瓷砖\",无\r\n\"买瓷砖\",\"装修\",无\r\n\"贴瓷砖\",\"买瓷砖\",无\r\n"),
             {u("装修"), u("买瓷砖 · 1"), u("  贴瓷砖"), u("买菜")}},
            {"five levels",
             gbk("\"买瓷砖\",\"装修\",无\r\n\"贴瓷砖\",\"买瓷砖\",无\r\n\"买菜\",\"贴瓷砖\",无\r\n"),
             {u("装修 · 3"), u("  买瓷砖 · 2"), u("    贴瓷砖 · 1"), u("      买菜")}},
        };
        for (const Case& c : cases) {
            TestBench bench;
            bench.write("agenda.txt", house());
            bench.write("structure.txt", c.structure);
            AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
            QVERIFY2(store.load(today), c.name);
            QCOMPARE(drawn(store.table(), AgendaOrdering::FileOrder), c.drawn);
            QStringList parents;
            for (const AgendaItem& item : store.table().items)
                parents << item.structure.parent;
            QCOMPARE(store.setPriority(u("买菜"), ItemStructure::Low).status, StoreChange::Done);
            QVERIFY(store.load(today));
            for (qsizetype i = 0; i < parents.size(); ++i)
                QCOMPARE(store.table().items[i].structure.parent, parents[i]);
            QCOMPARE(drawn(store.table(), AgendaOrdering::FileOrder), c.drawn);
        }
        TestBench bench;
        bench.write("agenda.txt", house());
        bench.write("structure.txt", houseStructure + gbk("\"买菜\",\"\",很高\r\n"));
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        const Result loaded = store.load(today);
        QCOMPARE(loaded.error(), u("structure.txt 第 3 行无法读取：优先级“很高”应为 高、中、低 或 无"));
        QCOMPARE(store.modify(u("买菜"), {u("买肉"), today, today, 0}).status, StoreChange::Nothing);
        QCOMPARE(bench.read("agenda.txt"), house());
    }

    // Within each level the ordering holds; a parent sorts by its own key and takes its subtree.
    void eachLevelKeepsTheOrdering()
    {
        TestBench bench;
        bench.write("agenda.txt", house() + agendaRecord("量尺寸", today, today.addDays(5)));
        bench.write("structure.txt", houseStructure + gbk("\"量尺寸\",\"装修\",无\r\n"));
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(store.load(today));
        QCOMPARE(drawn(store.table(), AgendaOrdering::FileOrder),
                 (QStringList{u("装修 · 3"), u("  买瓷砖 · 1"), u("    贴瓷砖"), u("  量尺寸"), u("买菜")}));
        QCOMPARE(drawn(store.table(), AgendaOrdering::ByFinishDate),
                 (QStringList{u("买菜"), u("装修 · 3"), u("  量尺寸"), u("  买瓷砖 · 1"), u("    贴瓷砖")}));
        QCOMPARE(drawn(store.table(), AgendaOrdering::ByFinishDate, {u("买瓷砖")}),
                 (QStringList{u("买菜"), u("装修 · 3"), u("  量尺寸"), u("  买瓷砖 · 1")}));
    }

    // 只完成它: the subtasks stay, one level up, and go back under it when it is restored.
    // 一并完成: every item under it goes, each with its own log line.
    void completingAParent()
    {
        TestBench bench;
        bench.write("agenda.txt", house());
        bench.write("structure.txt", houseStructure);
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(store.load(today));
        QCOMPARE(store.subtaskCount(u("装修")), 2);
        QCOMPARE(store.complete(u("买瓷砖"), today).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(drawn(store.table(), AgendaOrdering::FileOrder),
                 (QStringList{u("装修 · 1"), u("  贴瓷砖"), u("买菜")}));
        // Something else is written meanwhile: the line of the item gone is kept.
        QCOMPARE(store.setPriority(u("买菜"), ItemStructure::Low).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(store.add({u("买瓷砖"), today, today.addDays(20), 0}).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(drawn(store.table(), AgendaOrdering::FileOrder),
                 (QStringList{u("装修 · 2"), u("  买瓷砖 · 1"), u("    贴瓷砖"), u("买菜")}));
        QCOMPARE(store.table().items.last().structure.priority, ItemStructure::High);

        const QByteArray logBefore = bench.read("my.log");
        {
            TestBench top;
            top.write("agenda.txt", house());
            top.write("structure.txt", houseStructure);
            AgendaStore alone(top.files, top.path("agenda.txt"), top.path("my.log"));
            QVERIFY(alone.load(today));
            QCOMPARE(alone.complete(u("装修"), today).status, StoreChange::Done);
            QVERIFY(alone.load(today));
            QCOMPARE(drawn(alone.table(), AgendaOrdering::FileOrder),
                     (QStringList{u("买瓷砖 · 1"), u("  贴瓷砖"), u("买菜")}));
        }
        QCOMPARE(store.complete(u("装修"), today, true).status, StoreChange::Done);
        QVERIFY(store.load(today));
        QCOMPARE(drawn(store.table(), AgendaOrdering::FileOrder), QStringList{u("买菜")});
        const QByteArray added = bench.read("my.log").mid(logBefore.size());
        QCOMPARE(added.count("\r\n"), 3);
        for (const char* text : {"装修", "买瓷砖", "贴瓷砖"})
            QVERIFY2(added.contains(gbk(text) + ": "), text);
        // The lines of the items gone, with nothing left to go back to, leave at the next write.
        QCOMPARE(store.setPriority(u("买菜"), ItemStructure::High).status, StoreChange::Done);
        QCOMPARE(bench.read("structure.txt"), gbk("\"买菜\",\"\",高\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestStructure)
#include "tst_structure.moc"
