#include "agenda/core/AgendaOrder.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

AgendaItem item(const char* text, QDate set, QDate finish = QDate(2002, 12, 31),
                QDate today = QDate(2002, 12, 27))
{
    return {QString::fromUtf8(text), set, finish, int(today.daysTo(finish))};
}

qint64 key(const AgendaItem& it, AgendaOrdering o)
{
    return o == AgendaOrdering::BySetDate      ? it.setDate.toJulianDay()
           : o == AgendaOrdering::ByFinishDate ? it.finishDate.toJulianDay()
                                               : it.daysLeft;
}

// The ordering by its definition, slowly: insert each item before the first line whose item (the
// last with that text) has a key not below its own.
QStringList insertionOrder(const QList<AgendaItem>& agenda, AgendaOrdering o)
{
    QStringList lines{agenda[0].text};
    for (qsizetype i = 1; i < agenda.size(); ++i) {
        bool placed = false;
        for (qsizetype j = 0; j < lines.size(); ++j) {
            qint64 lineKey = 0;
            for (const AgendaItem& other : agenda)
                if (other.text == lines[j])
                    lineKey = key(other, o);
            if (key(agenda[i], o) - lineKey <= 0) {
                lines.insert(j, agenda[i].text);
                placed = true;
                break;
            }
        }
        if (!placed)
            lines.append(agenda[i].text);
    }
    return lines;
}

} // namespace

class TestAgendaOrder : public QObject
{
    Q_OBJECT
private slots:
    void bySetDateLaterFileItemFirstAmongEqualKeys()
    {
        const QList<AgendaItem> agenda = {item("买菜", QDate(2002, 12, 5)), item("开会", QDate(2002, 12, 3)),
                                          item("写报告", QDate(2002, 12, 5)),
                                          item("交房租", QDate(2002, 12, 1))};
        QCOMPARE(AgendaOrder::lines(agenda, AgendaOrdering::BySetDate),
                 (QStringList{QString::fromUtf8("交房租"), QString::fromUtf8("开会"),
                              QString::fromUtf8("写报告"), QString::fromUtf8("买菜")}));
    }

    void equalFinishDatesReverseFileOrder()
    {
        const QDate d(2002, 12, 5), f(2002, 12, 30);
        const QList<AgendaItem> agenda = {item("买菜", d, f), item("开会", d, f), item("写报告", d, f)};
        const QStringList expected = {QString::fromUtf8("写报告"), QString::fromUtf8("开会"),
                                      QString::fromUtf8("买菜")};
        QCOMPARE(AgendaOrder::lines(agenda, AgendaOrdering::ByFinishDate), expected);
        QCOMPARE(AgendaOrder::lines(agenda, AgendaOrdering::ByDaysLeft), expected);
    }

    void singleItemAndFileOrder()
    {
        const QList<AgendaItem> one = {item("x", QDate(2002, 1, 1))};
        for (auto o : {AgendaOrdering::FileOrder, AgendaOrdering::BySetDate, AgendaOrdering::ByFinishDate,
                       AgendaOrdering::ByDaysLeft})
            QCOMPARE(AgendaOrder::lines(one, o), QStringList{QStringLiteral("x")});
        const QStringList entries = AgendaOrder::entryTexts();
        QCOMPARE(AgendaOrder::fromEntry(int(entries.indexOf(QString::fromUtf8("按剩余天数排序")))),
                 AgendaOrdering::ByDaysLeft);
        QCOMPARE(AgendaOrder::fromEntry(int(entries.indexOf(QString::fromUtf8("不排序刷新")))),
                 AgendaOrdering::FileOrder);
    }

    void marksFollowTheLines()
    {
        const QDate today(2002, 12, 27);
        const QList<AgendaItem> agenda = {item("a", today, today.addDays(1), today),
                                          item("b", today, today.addDays(-1), today),
                                          item("c", today, today.addDays(-5), today)};
        const QStringList lines = AgendaOrder::lines(agenda, AgendaOrdering::ByDaysLeft);
        QCOMPARE(lines, (QStringList{"c", "b", "a"}));
        QCOMPARE(AgendaOrder::overdueMarks(agenda, lines), (QList<bool>{true, true, false}));
    }

    // Random tables with duplicate texts and many equal keys: the fast ordering must give exactly
    // the lines the insertion gives, and the marks of any item with the line's text overdue.
    void sameAsInsertionOnRandomTables()
    {
        QRandomGenerator rng(20021227);
        const QDate base(2002, 12, 1), today(2002, 12, 15);
        for (int round = 0; round < 400; ++round) {
            const int n = 1 + int(rng.bounded(14));
            const int texts = 1 + int(rng.bounded(n + 1));
            QList<AgendaItem> agenda;
            for (int i = 0; i < n; ++i) {
                const QByteArray text = "t" + QByteArray::number(rng.bounded(texts));
                agenda.append(item(text.constData(), base.addDays(rng.bounded(5)),
                                   base.addDays(rng.bounded(30)), today));
            }
            for (auto o :
                 {AgendaOrdering::BySetDate, AgendaOrdering::ByFinishDate, AgendaOrdering::ByDaysLeft}) {
                const AgendaOrder::Listing listing = AgendaOrder::listing(agenda, o);
                QStringList lines;
                for (qsizetype i : listing.items)
                    lines.append(agenda[i].text);
                QCOMPARE(lines, insertionOrder(agenda, o));
                // Marks found in the same pass, held to the plain look-up by text.
                QCOMPARE(listing.marks, AgendaOrder::overdueMarks(agenda, lines));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestAgendaOrder)
#include "tst_agendaorder.moc"
