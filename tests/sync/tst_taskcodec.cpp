#include "sync/core/TaskCodec.h"
#include "sync/core/TaskExport.h"
#include "sync/core/TaskStructure.h"

#include "calendar/core/HolidayCalendar.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTimeZone>

// Tasks as phones and other programs write them: read on this machine's local date, and written
// back after a date change with their time of day, zone and every other line as they came. Runs
// once in Asia/Shanghai and once in America/New_York.
namespace {

const QDate today(2026, 12, 7);
const QDateTime now(today, QTime(10, 0), Qt::UTC);

QByteArray corpus(const QString& name)
{
    QFile file(QStringLiteral(KESTRIN_TEST_DATA "/vtodo/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no %s", qPrintable(name));
    return file.readAll();
}

QStringList unfoldedLines(const QByteArray& ics)
{
    return QString::fromUtf8(ics)
        .replace(QRegularExpression(QStringLiteral("\r?\n[ \t]")), {})
        .split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
}

QString lineOf(const QByteArray& ics, const QString& name)
{
    for (const QString& line : unfoldedLines(ics))
        if (line.startsWith(name + u':') || line.startsWith(name + u';'))
            return line;
    return {};
}

ServerTask readTask(const QByteArray& ics)
{
    ServerTask task{QStringLiteral("/u/tasks/t.ics"), "\"1\"", ics, {}, {}, true, false, {}, {}};
    TaskCodec::read(task, today, today);
    return task;
}

bool inShanghai()
{
    return qgetenv("TZ") == "Asia/Shanghai";
}

// The occurrence a client keeps beside its series, as its lines.
QStringList occurrenceLines(const QByteArray& ics)
{
    QStringList block;
    bool inside = false;
    for (const QString& line : unfoldedLines(ics)) {
        if (line == QStringLiteral("BEGIN:VTODO"))
            block.clear(), inside = true;
        else if (line == QStringLiteral("END:VTODO") && inside) {
            if (block.filter(QStringLiteral("RECURRENCE-ID")).size() == 1)
                return block;
            inside = false;
        } else if (inside)
            block.append(line);
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(RepeatRule)

class TestTaskCodec : public QObject
{
    Q_OBJECT
private slots:
    // One calendar of every item, each VTODO read back as the item it came from (a time with its
    // zone, a rule, the parent by UID, priority and tags; an archived one completed), the zone
    // written once, the UIDs the list's where synced and the same at every export.
    void anExportReadsBackAsTheAgenda()
    {
        AgendaItem house{QStringLiteral("装修"), today, today.addDays(9), 0};
        house.time = QTime(15, 0);
        AgendaItem tiles{QStringLiteral("买瓷砖"), today, today.addDays(2), 0,
                         RepeatRule{RepeatRule::Monthly, 0, 9}};
        tiles.structure = {house.text, ItemStructure::Low, {QStringLiteral("家"), QStringLiteral("a,b")}};
        AgendaItem meeting{QStringLiteral("开会"), today, today, 0};
        meeting.time = QTime(9, 30);
        const QList<AgendaExport::Entry> entries{
            {house, {}}, {tiles, {}}, {meeting, {}}, {{QStringLiteral("还书"), today, today, 0}, today}};
        const QHash<QString, QString> synced{{QStringLiteral("装修"), QStringLiteral("phone-1")}};
        const QDateTime at(today, QTime(10, 0), Qt::UTC);
        const QByteArray file = TaskExport::calendar(entries, synced, at);
        QCOMPARE(TaskExport::calendar(entries, synced, at), file);
        QCOMPARE(file.count("BEGIN:VTIMEZONE"), 1);
        QList<QByteArray> blocks;
        for (qsizetype at = file.indexOf("BEGIN:VTODO"); at >= 0; at = file.indexOf("BEGIN:VTODO", at + 1))
            blocks.append(file.mid(at, file.indexOf("END:VTODO\r\n", at) + 11 - at));
        QCOMPARE(blocks.size(), 4);
        const QByteArray head = file.left(file.indexOf("BEGIN:VTODO"));
        QList<ServerTask> read;
        for (const QByteArray& block : blocks)
            read.append(readTask(head + block + "END:VCALENDAR\r\n"));
        QCOMPARE(read[0].uid, QStringLiteral("phone-1"));
        QCOMPARE(read[1].uid, TaskExport::uidFor(tiles.text));
        QCOMPARE(read[1].parentUid, QStringLiteral("phone-1"));
        TaskStructure::findParents(read);
        for (int i = 0; i < 3; ++i) {
            const AgendaItem& item = entries[i].item;
            QCOMPARE(read[i].values, (TaskValues{item.text, item.setDate, item.finishDate, item.repeat,
                                                 item.time, item.structure}));
            QVERIFY(read[i].open);
        }
        QVERIFY(!read[3].open);
        QCOMPARE(read[3].closedOn, today);
    }

    void initTestCase()
    {
        if (qgetenv("TZ") != "Asia/Shanghai" && qgetenv("TZ") != "America/New_York")
            QSKIP("run with TZ=Asia/Shanghai or TZ=America/New_York");
    }

    // A due time is the item's time of day here; a time given here goes up in this machine's zone
    // with an alarm at its moment (a phone's own alarm stays, and no second is added), and taken
    // away makes the dates dates again and takes our alarm with it.
    void aDueTimeIsTheItemsTime()
    {
        const bool sh = inShanghai();
        const auto task = [](const char* lines) {
            return QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:u\r\nSUMMARY:x\r\n") +
                   lines + "END:VTODO\r\nEND:VCALENDAR\r\n";
        };
        // 01:30 UTC is 09:30 in Beijing and 20:30 the evening before in New York.
        ServerTask t = readTask(task("DUE:20261215T013000Z\r\n"));
        QCOMPARE(t.values.finish, QDate(2026, 12, sh ? 15 : 14));
        QCOMPARE(t.values.time, QTime(sh ? 9 : 20, 30));
        QVERIFY(!readTask(task("DUE;VALUE=DATE:20261215\r\n")).values.time.isValid());

        const QByteArray dated = task("DTSTART;VALUE=DATE:20261209\r\nDUE;VALUE=DATE:20261215\r\n");
        const ServerTask before = readTask(dated);
        TaskValues timed = before.values;
        timed.time = QTime(15, 0);
        const QByteArray written = TaskCodec::write(dated, before.uid, timed, true, now, &before.values);
        QCOMPARE(readTask(written).values, timed);
        const QByteArray zone = QTimeZone::systemTimeZoneId();
        QCOMPARE(lineOf(written, "DUE"), QString::fromLatin1("DUE;TZID=" + zone + ":20261215T150000"));
        // (The VTIMEZONE's own DTSTART lines come first.)
        QVERIFY(written.contains("\r\nDTSTART;TZID=" + zone + ":20261209T000000\r\n"));
        QVERIFY(written.contains("BEGIN:VTIMEZONE\r\nTZID:" + zone + "\r\n"));
        QVERIFY(written.contains("TRIGGER;RELATED=END:PT0S\r\nX-KESTRIN-ALARM:TRUE\r\nEND:VALARM"));

        TaskValues later = timed;
        later.time = QTime(16, 30);
        const QByteArray moved = TaskCodec::write(written, before.uid, later, true, now, &timed);
        QCOMPARE(readTask(moved).values, later);
        QCOMPARE(moved.count("BEGIN:VALARM"), 1);
        QCOMPARE(moved.count("BEGIN:VTIMEZONE"), 1);

        const QByteArray untimed = TaskCodec::write(moved, before.uid, before.values, true, now, &later);
        QCOMPARE(readTask(untimed).values, before.values);
        QCOMPARE(lineOf(untimed, "DUE"), QStringLiteral("DUE;VALUE=DATE:20261215"));
        QVERIFY(untimed.contains("\r\nDTSTART;VALUE=DATE:20261209\r\n"));
        QVERIFY(!untimed.contains("VALARM"));

        // Apple Reminders' own alarm, at an absolute moment: kept, and none of ours beside it.
        const QByteArray original = corpus(QStringLiteral("ios-timed.ics"));
        const ServerTask phone = readTask(original);
        QVERIFY(phone.values.time.isValid());
        TaskValues changed = phone.values;
        changed.time = QTime(7, 45);
        const QByteArray mine = TaskCodec::write(original, phone.uid, changed, true, now, &phone.values);
        QCOMPARE(readTask(mine).values, changed);
        QCOMPARE(mine.count("BEGIN:VALARM"), original.count("BEGIN:VALARM"));
        QVERIFY(!mine.contains("X-KESTRIN-ALARM"));
        changed.time = QTime();
        QCOMPARE(TaskCodec::write(mine, phone.uid, changed, true, now, &phone.values).count("BEGIN:VALARM"),
                 original.count("BEGIN:VALARM"));
    }

    // stored its marks: they are not the task's, and never go back to the server.
    void libicalsMarksAreNotWritten()
    {
        const QByteArray marked = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:u\r\nSUMMARY:x\r\n"
                                  "X-LIC-ERROR;X-LIC-ERRORTYPE=VALUE-PARSE-ERROR:Can't parse as DATE-TIME\r\n"
                                  "DUE;VALUE=DATE:20261210\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
        const ServerTask task = readTask(marked);
        QVERIFY2(task.readable.ok(), qPrintable(task.readable.error()));
        TaskValues moved = task.values;
        moved.finish = moved.finish.addDays(1);
        const QByteArray written = TaskCodec::write(marked, task.uid, moved, true, now, &task.values);
        QVERIFY2(!written.contains("X-LIC-ERROR"), written.constData());
        QCOMPARE(readTask(written).values, moved);
    }

    void clientsTasks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QDate>("set");
        QTest::addColumn<QDate>("finish");
        QTest::addColumn<QTime>("time");
        const bool sh = inShanghai();
        // 20:00 in New York is 09:00 the next morning in Beijing.
        QTest::newRow("iOS, timed, VTIMEZONE, VALARM")
            << QStringLiteral("ios-timed.ics") << QDate(2026, 12, sh ? 9 : 8) << QDate(2026, 12, sh ? 10 : 9)
            << QTime(sh ? 9 : 20, 0);
        QTest::newRow("Tasks.org, all day")
            << QStringLiteral("tasksorg-allday.ics") << QDate(2026, 12, 9) << QDate(2026, 12, 11) << QTime();
        // 09:30 in Beijing is 20:30 the evening before in New York.
        QTest::newRow("Thunderbird, TZID")
            << QStringLiteral("thunderbird-tzid.ics") << QDate(2026, 12, sh ? 10 : 9)
            << QDate(2026, 12, sh ? 11 : 10) << QTime(sh ? 9 : 20, 30);
        // 23:00 UTC is 07:00 the next morning in Beijing, 18:00 the same day in New York.
        QTest::newRow("UTC due") << QStringLiteral("utc-due.ics") << today << QDate(2026, 12, sh ? 10 : 9)
                                 << QTime(sh ? 7 : 18, 0);
        QTest::newRow("Evolution, a TZID folded")
            << QStringLiteral("evolution-long-tzid.ics") << QDate(2026, 12, sh ? 10 : 9)
            << QDate(2026, 12, sh ? 11 : 10) << QTime(sh ? 9 : 20, 30);
        QTest::newRow("floating") << QStringLiteral("floating.ics") << QDate(2026, 12, 12)
                                  << QDate(2026, 12, 12) << QTime(7, 30);
        QTest::newRow("Deck, RELATED-TO, empty DESCRIPTION")
            << QStringLiteral("related-deck.ics") << today << QDate(2026, 12, 13) << QTime();
    }
    void clientsTasks()
    {
        QFETCH(QString, file);
        QFETCH(QDate, set);
        QFETCH(QDate, finish);
        const QByteArray original = corpus(file);
        const ServerTask task = readTask(original);
        QVERIFY2(task.readable.ok(), qPrintable(task.readable.error()));
        QCOMPARE(task.values.set, set);
        QCOMPARE(task.values.finish, finish);
        QTEST(task.values.time, "time");

        // The finish date moved here by a day: only DUE's date changes, and the stamps.
        TaskValues moved = task.values;
        moved.finish = moved.finish.addDays(1);
        const QByteArray written = TaskCodec::write(original, task.uid, moved, true, now, &task.values);
        const ServerTask again = readTask(written);
        QCOMPARE(again.values, moved);
        QCOMPARE(again.uid, task.uid);
        const QStringList after = unfoldedLines(written);
        for (const QString& line : unfoldedLines(original)) {
            if (line.startsWith(QStringLiteral("DUE")) || line.startsWith(QStringLiteral("DTSTAMP")) ||
                line.startsWith(QStringLiteral("LAST-MODIFIED")))
                continue;
            QVERIFY2(after.contains(line), qPrintable(QStringLiteral("lost: ") + line));
        }
        QCOMPARE(after.size(),
                 unfoldedLines(original).size() + (lineOf(original, "LAST-MODIFIED").isEmpty() ? 1 : 0));
        QVERIFY(!written.contains("X-LIC-ERROR"));
        // Strict servers take no line over 75 octets.
        for (const QByteArray& line : written.split('\n'))
            QVERIFY2(line.chopped(line.endsWith('\r') ? 1 : 0).size() <= 75, line.constData());
        // Its parameters (TZID, VALUE) and its time of day stay.
        const QString due = lineOf(original, QStringLiteral("DUE")),
                      dueAfter = lineOf(written, QStringLiteral("DUE"));
        QCOMPARE(dueAfter.section(u':', 0, 0), due.section(u':', 0, 0));
        QCOMPARE(dueAfter.section(u':', 1).mid(8), due.section(u':', 1).mid(8));
    }

    // A task with a timed start and no due, as Thunderbird, Evolution (with a DURATION, or a
    // TZID with its prefix), Nextcloud (UTC) and a floating client write it, is an item without a
    // time; its finish moved here adds a DUE of the
    // start's type (RFC 5545), at the start's time of day and marked as no time of the item's, which
    // stays when it moves again; a time given here is then the due's, unmarked.
    void aDueBesideATimedStartIsOfItsType()
    {
        const bool sh = inShanghai();
        const struct
        {
            const char* start;
            const char* more; // the task's other lines
            QDate set;        // as read here
        } shapes[] = {
            {"DTSTART;TZID=Asia/Shanghai:20261209T140000", "", QDate(2026, 12, 9)},
            {"DTSTART;TZID=Asia/Shanghai:20261209T140000", "DURATION:PT2H\r\n", QDate(2026, 12, 9)},
            {"DTSTART;TZID=/freeassociation.sourceforge.net/Asia/Shanghai:20261209T090000", "",
             QDate(2026, 12, sh ? 9 : 8)},
            {"DTSTART:20261209T013000Z", "", QDate(2026, 12, sh ? 9 : 8)},
            {"DTSTART:20261209T140000", "", QDate(2026, 12, 9)},
        };
        for (const auto& shape : shapes) {
            const QByteArray start(shape.start);
            const QByteArray original =
                "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:u\r\nSUMMARY:x\r\n" + start + "\r\n" +
                shape.more + "END:VTODO\r\nEND:VCALENDAR\r\n";
            const ServerTask task = readTask(original);
            QVERIFY2(!task.values.time.isValid(), shape.start); // a start is no reminder
            QCOMPARE(task.values.set, shape.set);
            QCOMPARE(task.values.finish, shape.set);

            TaskValues moved = task.values;
            moved.finish = moved.finish.addDays(6);
            const QByteArray written = TaskCodec::write(original, task.uid, moved, true, now, &task.values);
            const QString head = QString::fromLatin1(start.left(start.lastIndexOf(':')));
            const QString due = lineOf(written, QStringLiteral("DUE"));
            QCOMPARE(due.section(u':', 0, -2),
                     QStringLiteral("DUE") + head.mid(7) + QStringLiteral(";X-KESTRIN-DATE-ONLY=TRUE"));
            QCOMPARE(due.section(u':', -1).mid(8),
                     QString::fromLatin1(start.mid(start.lastIndexOf(':') + 9)));
            QCOMPARE(lineOf(written, QStringLiteral("DTSTART")), QString::fromLatin1(start));
            QCOMPARE(readTask(written).values, moved);
            QVERIFY(!written.contains("DURATION")); // a DUE and a DURATION are not both allowed

            TaskValues again = moved;
            again.finish = again.finish.addDays(1);
            const QByteArray twice = TaskCodec::write(written, task.uid, again, true, now, &moved);
            QVERIFY2(lineOf(twice, QStringLiteral("DUE")).contains(QStringLiteral("X-KESTRIN-DATE-ONLY")),
                     shape.start);
            QCOMPARE(lineOf(twice, QStringLiteral("DTSTART")), QString::fromLatin1(start));
            QCOMPARE(readTask(twice).values, again);

            TaskValues timed = again;
            timed.time = QTime(15, 0);
            const QByteArray withTime = TaskCodec::write(twice, task.uid, timed, true, now, &again);
            QVERIFY(!withTime.contains("X-KESTRIN-DATE-ONLY"));
            QCOMPARE(readTask(withTime).values, timed);
        }
        // The phone made the start a date since, or took it away: the due beside it becomes a
        // date too.
        for (const char* start : {"DTSTART;VALUE=DATE:20261209\r\n", ""}) {
            const QByteArray phone =
                QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:u\r\nSUMMARY:x\r\n") +
                start +
                "DUE;TZID=Asia/"
                "Shanghai;X-KESTRIN-DATE-ONLY=TRUE:20261215T140000\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
            const ServerTask read = readTask(phone);
            QVERIFY(!read.values.time.isValid());
            TaskValues moved = read.values;
            moved.finish = QDate(2026, 12, 16);
            QCOMPARE(lineOf(TaskCodec::write(phone, read.uid, moved, true, now, &read.values),
                            QStringLiteral("DUE")),
                     QStringLiteral("DUE;VALUE=DATE:20261216"));
        }
    }

    // A start added where the task had none takes the type and zone of its DUE (RFC 5545 wants
    // both of one type); none is added when the start date did not change.
    void anAddedStartMatchesTheDue()
    {
        const QByteArray original = corpus(QStringLiteral("utc-due.ics"));
        const ServerTask task = readTask(original);
        TaskValues moved = task.values;
        moved.finish = moved.finish.addDays(1);
        QVERIFY(lineOf(TaskCodec::write(original, task.uid, moved, true, now, &task.values), "DTSTART")
                    .isEmpty());

        moved.set = QDate(2026, 12, 5);
        const QByteArray written = TaskCodec::write(original, task.uid, moved, true, now, &task.values);
        QCOMPARE(readTask(written).values, moved);
        QVERIFY2(lineOf(written, QStringLiteral("DTSTART")).endsWith(QStringLiteral("T230000Z")),
                 qPrintable(lineOf(written, QStringLiteral("DTSTART"))));
    }

    // A zone named without its VTIMEZONE is the system's zone of that name, also behind the prefix
    // some clients put before it; a DURATION gives way to the DUE that says the moved date.
    void zonesWithoutTheirDefinitionAndDurations()
    {
        const auto task = [](const QByteArray& lines) {
            return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y\r\nBEGIN:VTODO\r\nUID:z1\r\n"
                   "DTSTAMP:20261201T000000Z\r\nSUMMARY:开会\r\n" +
                   lines + "END:VTODO\r\nEND:VCALENDAR\r\n";
        };
        const QDate due(2026, 12, inShanghai() ? 10 : 9);
        for (const char* tzid : {"America/New_York", "/mozilla.org/20050126_1/America/New_York"})
            QCOMPARE(readTask(task(QByteArray("DUE;TZID=") + tzid + ":20261209T200000\r\n")).values.finish,
                     due);

        const QByteArray lasting = task("DTSTART;VALUE=DATE:20261209\r\nDURATION:P2D\r\n");
        const ServerTask read = readTask(lasting);
        QCOMPARE(read.values.finish, QDate(2026, 12, 11));
        TaskValues moved = read.values;
        moved.finish = QDate(2026, 12, 14);
        const QByteArray written = TaskCodec::write(lasting, read.uid, moved, true, now, &read.values);
        QCOMPARE(readTask(written).values, moved);
        QVERIFY(!written.contains("DURATION"));
    }

    // A UID with an escaped comma is the task's all the same: its lines are changed in place, not
    // rewritten as libical would write them.
    void aUidWithAnEscapeIsFound()
    {
        const QByteArray original =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y\r\nBEGIN:VTODO\r\nUID:list\\,42\r\n"
            "DTSTAMP:20261201T000000Z\r\nSUMMARY:买菜\r\nCATEGORIES:家,周末\r\nDUE;VALUE=DATE:20261210\r\n"
            "END:VTODO\r\nEND:VCALENDAR\r\n";
        const ServerTask task = readTask(original);
        QCOMPARE(task.uid, QStringLiteral("list,42"));
        TaskValues moved = task.values;
        moved.finish = moved.finish.addDays(1);
        const QByteArray written = TaskCodec::write(original, task.uid, moved, true, now, &task.values);
        QVERIFY(unfoldedLines(written).contains(QString::fromUtf8("CATEGORIES:家,周末")));
        QVERIFY(unfoldedLines(written).contains(QStringLiteral("UID:list\\,42")));
    }

    // An alarm inside the task keeps its own lines: an e-mail alarm's SUMMARY is not the task's.
    void aRenameLeavesTheAlarmsOwnLines()
    {
        const QByteArray original =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y\r\nBEGIN:VTODO\r\nUID:m1\r\n"
            "DTSTAMP:20261201T000000Z\r\nSUMMARY:交房租\r\nDUE;VALUE=DATE:20261210\r\nBEGIN:VALARM\r\n"
            "ACTION:EMAIL\r\nSUMMARY:提醒邮件\r\nDESCRIPTION:别忘了\r\nATTENDEE:mailto:a@example.org\r\n"
            "TRIGGER:-PT1H\r\nEND:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
        const ServerTask task = readTask(original);
        TaskValues renamed = task.values;
        renamed.text = QString::fromUtf8("交水电费");
        const QByteArray written = TaskCodec::write(original, task.uid, renamed, true, now, &task.values);
        QCOMPARE(readTask(written).values.text, renamed.text);
        QVERIFY(unfoldedLines(written).contains(QString::fromUtf8("SUMMARY:提醒邮件")));
        QCOMPARE(written.count("SUMMARY:"), 2);
    }

    // What each kind sends to a phone, and reads back as the same rule: the nearest RRULE where
    // a month lacks the day, none a phone would misread (法定工作日, 农历), ours beside it always.
    void rulesGoUpAsPhonesReadThem_data()
    {
        QTest::addColumn<RepeatRule>("rule");
        QTest::addColumn<QDate>("finish");
        QTest::addColumn<QString>("rrule");
        QTest::newRow("每天") << RepeatRule{RepeatRule::Daily} << today << QStringLiteral("FREQ=DAILY");
        QTest::newRow("每周五") << RepeatRule{RepeatRule::Weekly, 0, 5} << QDate(2026, 12, 11)
                                << QStringLiteral("FREQ=WEEKLY;BYDAY=FR");
        QTest::newRow("工作日") << RepeatRule{RepeatRule::Weekdays} << today
                                << QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");
        QTest::newRow("周末") << RepeatRule{RepeatRule::Weekends} << today
                              << QStringLiteral("FREQ=WEEKLY;BYDAY=SA,SU");
        QTest::newRow("每月月底") << RepeatRule{RepeatRule::Monthly, 0, 0} << QDate(2026, 12, 31)
                                  << QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=-1");
        QTest::newRow("每月 31 日, in February")
            << RepeatRule{RepeatRule::Monthly, 0, 31} << QDate(2027, 2, 28)
            << QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=31");
        QTest::newRow("每年 2 月 29 日, in a common year")
            << RepeatRule{RepeatRule::Yearly, 2, 29} << QDate(2027, 2, 28)
            << QStringLiteral("FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29");
        QTest::newRow("法定工作日") << RepeatRule{RepeatRule::OfficialWorkdays} << today << QString();
        QTest::newRow("农历每年八月十五")
            << RepeatRule{RepeatRule::LunarYearly, 8, 15} << QDate(2027, 9, 15) << QString();
    }
    void rulesGoUpAsPhonesReadThem()
    {
        QFETCH(RepeatRule, rule);
        QFETCH(QDate, finish);
        QFETCH(QString, rrule);
        const TaskValues values{QStringLiteral("重复"), today, finish, rule};
        const QByteArray written = TaskCodec::write({}, QStringLiteral("r1"), values, true, now);
        QCOMPARE(lineOf(written, QStringLiteral("RRULE")),
                 rrule.isEmpty() ? QString() : QStringLiteral("RRULE:") + rrule);
        QVERIFY(!lineOf(written, QStringLiteral("X-KESTRIN-REPEAT")).isEmpty());
        const ServerTask task = readTask(written);
        QCOMPARE(task.values, values);
        QVERIFY(!task.recurring);
        // The series ended here: no rule is left for a phone to follow.
        const QByteArray ended =
            TaskCodec::write(written, task.uid, {values.text, today, finish}, true, now, &task.values);
        QVERIFY(!ended.contains("RRULE") && !ended.contains("X-KESTRIN"));
    }

    // A phone's rule: held when the agenda can keep it, else left to the phone (and its next
    // occurrence read); ours stands while the phone keeps the RRULE we wrote, or its frequency.
    void rulesComeDownFromPhones_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<RepeatRule>("rule");
        const RepeatRule none;
        QTest::newRow("weekly, no day")
            << QByteArray("RRULE:FREQ=WEEKLY") << RepeatRule{RepeatRule::Weekly, 0, 5};
        QTest::newRow("weekdays") << QByteArray("RRULE:FREQ=WEEKLY;WKST=MO;BYDAY=MO,TU,WE,TH,FR")
                                  << RepeatRule{RepeatRule::Weekdays};
        QTest::newRow("weekends") << QByteArray("RRULE:FREQ=WEEKLY;BYDAY=SU,SA")
                                  << RepeatRule{RepeatRule::Weekends};
        QTest::newRow("last of the month")
            << QByteArray("RRULE:FREQ=MONTHLY;BYMONTHDAY=-1") << RepeatRule{RepeatRule::Monthly, 0, 0};
        QTest::newRow("yearly") << QByteArray("RRULE:FREQ=YEARLY;INTERVAL=1")
                                << RepeatRule{RepeatRule::Yearly, 12, 11};
        QTest::newRow("hourly") << QByteArray("RRULE:FREQ=HOURLY") << none;
        QTest::newRow("every other week") << QByteArray("RRULE:FREQ=WEEKLY;INTERVAL=2") << none;
        QTest::newRow("second Monday") << QByteArray("RRULE:FREQ=MONTHLY;BYDAY=2MO") << none;
        QTest::newRow("five times") << QByteArray("RRULE:FREQ=DAILY;COUNT=5") << none;
        QTest::newRow("until") << QByteArray("RRULE:FREQ=DAILY;UNTIL=20270101") << none;
        QTest::newRow("ours, frequency kept") << QByteArray("RRULE:FREQ=MONTHLY\r\nX-KESTRIN-REPEAT:每月 31")
                                              << RepeatRule{RepeatRule::Monthly, 0, 31};
        QTest::newRow("ours, changed there")
            << QByteArray("RRULE:FREQ=DAILY\r\nX-KESTRIN-REPEAT:每月 31") << RepeatRule{RepeatRule::Daily};
        QTest::newRow("ours, dropped there") << QByteArray("X-KESTRIN-REPEAT:每周 周五") << none;
        // FREQ=WEEKLY alone is a plain weekly series, not ours with its days dropped.
        QTest::newRow("ours 工作日, made weekly there")
            << QByteArray("RRULE:FREQ=WEEKLY\r\nX-KESTRIN-REPEAT:工作日")
            << RepeatRule{RepeatRule::Weekly, 0, 5};
        QTest::newRow("ours, a lunar day")
            << QByteArray("X-KESTRIN-REPEAT:农历每年 八月十五") << RepeatRule{RepeatRule::LunarYearly, 8, 15};
        QTest::newRow("ours, unreadable") << QByteArray("X-KESTRIN-REPEAT:每月 32") << none;
    }
    void rulesComeDownFromPhones()
    {
        QFETCH(QByteArray, lines);
        QFETCH(RepeatRule, rule);
        const ServerTask task = readTask("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:p\r\n"
                                         "SUMMARY:例会\r\nDTSTART;VALUE=DATE:20261204\r\n"
                                         "DUE;VALUE=DATE:20261211\r\n" +
                                         lines + "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
        QCOMPARE(task.values.repeat, rule);
        QCOMPARE(task.recurring, rule == RepeatRule{} && lines.startsWith("RRULE"));
    }

    // Repeating tasks as clients keep them: the series' own dates, or past the latest occurrence
    // completed beside it (Thunderbird, eM Client: a VTODO with a RECURRENCE-ID, before or after
    // the series); completed here, the series moves with its time of day, zone and rule, and the
    // occurrences beside it stay as they were.
    void repeatingTasksOfClients_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<RepeatRule>("rule");
        QTest::addColumn<QDate>("set");
        QTest::addColumn<QDate>("finish");
        QTest::addColumn<QDate>("doneOn");
        const bool sh = inShanghai();
        QTest::newRow("Tasks.org, monthly")
            << QStringLiteral("tasksorg-repeat.ics") << RepeatRule{RepeatRule::Monthly, 0, 15}
            << QDate(2026, 12, 1) << QDate(2026, 12, 15) << QDate();
        // 09:00 and 17:00 in Beijing are 20:00 and 04:00 in New York, the evening before and the day.
        QTest::newRow("OpenTasks, weekly, timed")
            << QStringLiteral("opentasks-repeat.ics") << RepeatRule{RepeatRule::Weekly, 0, 5}
            << QDate(2026, 12, sh ? 11 : 10) << QDate(2026, 12, 11) << QDate();
        // Done at 10:00 in Beijing on the 5th, 21:00 on the 4th in New York.
        QTest::newRow("Thunderbird, an occurrence done")
            << QStringLiteral("thunderbird-repeat-done.ics") << RepeatRule{RepeatRule::Weekly, 0, 5}
            << QDate(2026, 12, sh ? 5 : 4) << QDate(2026, 12, 11) << QDate(2026, 12, sh ? 5 : 4);
        QTest::newRow("eM Client, the next occurrence done first")
            << QStringLiteral("emclient-repeat-done.ics") << RepeatRule{RepeatRule::Weekdays}
            << QDate(2026, 12, 8) << QDate(2026, 12, 9) << QDate(2026, 12, 8);
    }
    void repeatingTasksOfClients()
    {
        QFETCH(QString, file);
        QFETCH(RepeatRule, rule);
        QFETCH(QDate, set);
        QFETCH(QDate, finish);
        QFETCH(QDate, doneOn);
        const QByteArray original = corpus(file);
        const ServerTask task = readTask(original);
        QVERIFY(task.open);
        QCOMPARE(task.values.repeat, rule);
        QCOMPARE(task.values.set, set);
        QCOMPARE(task.values.finish, finish);
        QCOMPARE(task.closedOn, doneOn);

        const TaskValues next{task.values.text, today,
                              rule.following(finish, today, HolidayCalendar::builtIn()), rule,
                              task.values.time};
        const QByteArray written = TaskCodec::write(original, task.uid, next, true, now, &task.values);
        QCOMPARE(readTask(written).values, next);
        QCOMPARE(lineOf(written, QStringLiteral("RRULE")), lineOf(original, QStringLiteral("RRULE")));
        QCOMPARE(occurrenceLines(written), occurrenceLines(original));
        const QString due = lineOf(original, QStringLiteral("DUE")).section(u':', 1);
        QCOMPARE(lineOf(written, QStringLiteral("DUE")).section(u':', 1).mid(8), due.mid(8));
    }

    // A completion changes the status lines and nothing else; a reopened task loses them.
    void completingAndReopening()
    {
        const QByteArray original = corpus(QStringLiteral("thunderbird-tzid.ics"));
        const ServerTask task = readTask(original);
        const QByteArray done = TaskCodec::write(original, task.uid, task.values, false, now, &task.values);
        const ServerTask closed = readTask(done);
        QVERIFY(!closed.open);
        QCOMPARE(closed.closedOn, today);
        QCOMPARE(lineOf(done, QStringLiteral("DUE")), lineOf(original, QStringLiteral("DUE")));
        QCOMPARE(lineOf(done, QStringLiteral("PERCENT-COMPLETE")), QStringLiteral("PERCENT-COMPLETE:100"));
        const QByteArray reopened = TaskCodec::write(done, task.uid, task.values, true, now, &task.values);
        QVERIFY(readTask(reopened).open);
        QVERIFY(!reopened.contains("COMPLETED:"));
        // A task completed without a STATUS, or still saying NEEDS-ACTION (as some clients leave
        // it), is not open.
        for (const QByteArray& status : {QByteArray(), QByteArray("STATUS:NEEDS-ACTION\r\n")}) {
            QByteArray bare = original;
            bare.replace("STATUS:IN-PROCESS\r\n", status + "COMPLETED:20261206T120000Z\r\n");
            QVERIFY(!readTask(bare).open);
        }
    }
};

QTEST_GUILESS_MAIN(TestTaskCodec)
#include "tst_taskcodec.moc"
