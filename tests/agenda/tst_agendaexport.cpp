#include "agenda/core/AgendaExport.h"

#include <QTest>

namespace {

const QDate today(2026, 12, 9); // a Wednesday

AgendaItem item(const char* text, QDate finish, const char* parent = "")
{
    AgendaItem made{QString::fromUtf8(text), today, finish, 0};
    made.structure.parent = QString::fromUtf8(parent);
    return made;
}

AgendaTable table(const QList<AgendaItem>& items)
{
    AgendaTable made;
    made.items = items;
    made.today = today;
    return made;
}

} // namespace

// The agenda written out: a spreadsheet Excel and WPS open in Chinese, and a checklist.
class TestAgendaExport : public QObject
{
    Q_OBJECT
private slots:
    // A BOM, the header, RFC 4180 quoting of commas, quotes and a line break's like; a subtask
    // after its parent whatever the file's order; the archived in a ninth column only when there.
    void theSpreadsheet()
    {
        AgendaItem rent = item("交房租, 水电", today.addDays(6));
        rent.repeat = RepeatRule{RepeatRule::Monthly, 0, 15};
        rent.time = QTime(9, 30);
        rent.structure.priority = ItemStructure::High;
        rent.structure.tags = {QStringLiteral("家"), QStringLiteral("钱")};
        const AgendaTable agenda =
            table({item("贴瓷砖", today.addDays(2), "装修"), rent, item("装修", today.addDays(9))});
        const QByteArray open = AgendaExport::csv(AgendaExport::openItems(agenda));
        QCOMPARE(open, QByteArray("\xEF\xBB\xBF") +
                           QString::fromUtf8(
                               "内容,设置日期,完成日期,时间,重复,优先级,标签,父任务\r\n"
                               "\"交房租, 水电\",2026-12-09,2026-12-15,09:30,每月 15 日,高,\"家,钱\",\r\n"
                               "装修,2026-12-09,2026-12-18,,,,,\r\n"
                               "贴瓷砖,2026-12-09,2026-12-11,,,,,装修\r\n")
                               .toUtf8());
        QList<AgendaExport::Entry> all = AgendaExport::openItems(table({item("x", today)}));
        all.append({item("他说\"好\"", today.addDays(-3)), today.addDays(-1)});
        QCOMPARE(
            AgendaExport::csv(all).mid(3).split('\n').mid(1, 2),
            (QByteArrayList{
                "x,2026-12-09,2026-12-09,,,,,,\r",
                QString::fromUtf8("\"他说\"\"好\"\"\",2026-12-09,2026-12-06,,,,,,2026-12-08\r").toUtf8()}));
    }

    // Grouped by finish date, overdue first; a subtask under its parent in the parent's group with
    // its own day when it differs; marks after the text; the archived checked at the end.
    void theChecklist()
    {
        AgendaItem tiles = item("买瓷砖", today.addDays(1), "装修");
        tiles.structure.tags = {QStringLiteral("家")};
        tiles.structure.priority = ItemStructure::Low;
        QList<AgendaExport::Entry> entries = AgendaExport::openItems(table(
            {item("装修", today.addDays(3)), tiles, item("交报告", today.addDays(-2)), item("买菜", today)}));
        entries.append({item("还书", today), today});
        QCOMPARE(AgendaExport::markdown(entries, today),
                 QString::fromUtf8("# 日程\n\n"
                                   "## 2026-12-07 星期一（逾期）\n\n"
                                   "- [ ] 交报告\n\n"
                                   "## 今天\n\n"
                                   "- [ ] 买菜\n\n"
                                   "## 2026-12-12 星期六\n\n"
                                   "- [ ] 装修\n"
                                   "  - [ ] 买瓷砖 #家 !低（12月10日）\n\n"
                                   "## 已完成\n\n"
                                   "- [x] 还书（2026-12-09 完成）\n"));
    }
};

QTEST_GUILESS_MAIN(TestAgendaExport)
#include "tst_agendaexport.moc"
