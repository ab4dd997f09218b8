#include "agenda/core/AgendaChange.h"
#include "cli/ScriptRequests.h"
#include "platform/RequestChannel.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

namespace {

// A client's end of the socket: what it sends is fed in, what the program answers is kept.
class Pipe final : public QIODevice
{
public:
    Pipe() { open(QIODevice::ReadWrite); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_in.size() + QIODevice::bytesAvailable(); }
    void feed(const QByteArray& bytes)
    {
        m_in += bytes;
        emit readyRead();
    }
    QByteArray answered;

protected:
    qint64 readData(char* data, qint64 size) override
    {
        const qint64 n = qMin(size, qint64(m_in.size()));
        if (n > 0) {
            memcpy(data, m_in.constData(), size_t(n));
            m_in.remove(0, n);
        }
        return n;
    }
    qint64 writeData(const char* data, qint64 size) override
    {
        answered.append(data, size);
        return size;
    }

private:
    QByteArray m_in;
};

QJsonObject answerOf(const Pipe& pipe)
{
    return QJsonDocument::fromJson(pipe.answered).object();
}

} // namespace

class TestScriptRequests : public QObject
{
    Q_OBJECT
private slots:
    // What comes over the socket is untrusted: only a whole line of JSON, in time and within the
    // size limit, reaches the handler; the client is answered and let go either way.
    void onlyAWholeRequestReachesTheHandler()
    {
        int handled = 0;
        auto handler = [&handled](const QJsonObject& request) {
            ++handled;
            return QJsonObject{{QStringLiteral("ok"), true}, {QStringLiteral("echo"), request}};
        };
        {
            Pipe pipe;
            RequestChannel::serve(&pipe, 1000, handler);
            pipe.feed(R"({"command":"add",)");
            QCOMPARE(handled, 0);
            pipe.feed("\"text\":\"x\"}\n");
            QCOMPARE(handled, 1);
            QCOMPARE(answerOf(pipe).value(QStringLiteral("echo")).toObject().value(QStringLiteral("text")),
                     QStringLiteral("x"));
            QVERIFY(pipe.answered.endsWith('\n'));
            QVERIFY(!pipe.isOpen());
        }
        for (const QByteArray& bad :
             {QByteArray("add 开会\n"), QByteArray("[1,2]\n"), QByteArray("{\"a\":\n"),
              QByteArray(RequestChannel::maxRequest + 10, 'x')}) {
            Pipe pipe;
            RequestChannel::serve(&pipe, 1000, handler);
            pipe.feed(bad);
            QCOMPARE(answerOf(pipe).value(QStringLiteral("ok")).toBool(true), false);
            QVERIFY(!answerOf(pipe).value(QStringLiteral("message")).toString().isEmpty());
            QVERIFY(!pipe.isOpen());
        }
        QCOMPARE(handled, 1);
        {
            // A line left half-written holds nothing for long, and is never handled.
            Pipe pipe;
            RequestChannel::serve(&pipe, 20, handler);
            pipe.feed(R"({"command":"add","text":"x")");
            QTRY_VERIFY_WITH_TIMEOUT(!pipe.isOpen(), 2000);
            pipe.open(QIODevice::ReadWrite);
            pipe.feed("}\n");
            QCOMPARE(handled, 1);
            QVERIFY(pipe.answered.isEmpty());
        }
        {
            // A request of the size limit exactly is taken; the line end is not counted.
            QByteArray request = "{\"command\":\"add\",\"text\":\"";
            request += QByteArray(RequestChannel::maxRequest - request.size() - 2, 'x') + "\"}";
            QCOMPARE(request.size(), RequestChannel::maxRequest);
            Pipe pipe;
            RequestChannel::serve(&pipe, 1000, handler);
            pipe.feed(request + '\n');
            QCOMPARE(handled, 2);
        }
        {
            // A request that arrived whole before the session began is answered all the same.
            Pipe pipe;
            pipe.feed(R"({"command":"activate"})"
                      "\n");
            RequestChannel::serve(&pipe, 1000, handler);
            QCOMPARE(handled, 3);
            QVERIFY(!pipe.isOpen());
        }
        {
            // What an earlier version's second start sends.
            Pipe pipe;
            RequestChannel::serve(&pipe, 1000, handler);
            pipe.feed("activate\n");
            QCOMPARE(answerOf(pipe).value(QStringLiteral("echo")).toObject(),
                     (QJsonObject{{QStringLiteral("command"), QStringLiteral("activate")}}));
        }
    }

    void anAddIsCheckedFieldByField_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("refusal"); // empty: it reaches the agenda
        const QString format = QString::fromUtf8("请求格式不对，未执行。");
        const QString dates = QString::fromUtf8("请输入有效日期！");
        const QByteArray good = R"({"command":"add","text":"开会","set":"2026-12-08","finish":"2026-12-09"})";
        QTest::newRow("whole") << good << QString();
        QTest::newRow("the client's own") << QJsonDocument(AgendaChange::add({QString::fromUtf8("开会"),
                                                                              QDate(2026, 12, 8),
                                                                              QDate(2026, 12, 9),
                                                                              0,
                                                                              {RepeatRule::Weekly, 0, 3}})
                                                               .fields())
                                                 .toJson(QJsonDocument::Compact)
                                          << QString();
        QTest::newRow("text missing")
            << QByteArray(R"({"command":"add","set":"","finish":"2026-12-09"})") << format;
        QTest::newRow("finish missing") << QByteArray(R"({"command":"add","text":"a","set":""})") << format;
        QTest::newRow("set missing") << QByteArray(R"({"command":"add","text":"a","finish":"2026-12-09"})")
                                     << format;
        QTest::newRow("set a number")
            << QByteArray(R"({"command":"add","text":"a","set":5,"finish":"2026-12-09"})") << format;
        QTest::newRow("text null") << QByteArray(R"({"command":"add","text":null,"set":"","finish":"x"})")
                                   << format;
        QTest::newRow("unknown field")
            << QByteArray(R"({"command":"add","text":"a","set":"","finish":"2026-12-09","when":"now"})")
            << format;
        QTest::newRow("another command")
            << QByteArray(R"({"command":"remove","text":"a","set":"","finish":"2026-12-09"})") << format;
        QTest::newRow("command a number")
            << QByteArray(R"({"command":1,"text":"a","set":"","finish":"x"})") << format;
        QTest::newRow("no command") << QByteArray(R"({"text":"a","set":"","finish":"2026-12-09"})") << format;
        // The words were read where they were typed: the running copy reads no words.
        QTest::newRow("a date in words")
            << QByteArray(R"({"command":"add","text":"a","set":"2026-12-08","finish":"明天"})") << dates;
        QTest::newRow("no set date") << QByteArray(
                                            R"({"command":"add","text":"a","set":"","finish":"2026-12-09"})")
                                     << dates;
        QTest::newRow("repeating") << QByteArray(R"({"command":"add","text":"开会","set":"2026-12-08",)"
                                                 R"("finish":"2026-12-09","repeat":"每周","day":"周三"})")
                                   << QString();
        QTest::newRow("a rule without its day field")
            << QByteArray(
                   R"({"command":"add","text":"开会","set":"2026-12-08","finish":"2026-12-09","repeat":"每周"})")
            << format;
        QTest::newRow("repeat a number") << QByteArray(R"({"command":"add","text":"开会","set":"2026-12-08",)"
                                                       R"("finish":"2026-12-09","repeat":7,"day":""})")
                                         << format;
        QTest::newRow("repeat in words") << QByteArray(R"({"command":"add","text":"开会","set":"2026-12-08",)"
                                                       R"("finish":"2026-12-09","repeat":"每两周","day":""})")
                                         << QString::fromUtf8("请求中的重复方式“每两周 ”不对，未执行。");
    }
    void anAddIsCheckedFieldByField()
    {
        QFETCH(QByteArray, request);
        QFETCH(QString, refusal);
        std::optional<AgendaItem> added;
        ScriptRequests::Handlers handlers;
        handlers.apply = [&added](const AgendaChange& change) {
            added = change.item;
            return Result::done();
        };
        const QJsonObject answer =
            ScriptRequests::answer(QJsonDocument::fromJson(request).object(), handlers);
        QCOMPARE(answer.value(QStringLiteral("ok")).toBool(), refusal.isEmpty());
        if (refusal.isEmpty()) {
            QVERIFY(added);
            QCOMPARE(added->text, QString::fromUtf8("开会"));
            QCOMPARE(added->setDate, QDate(2026, 12, 8));
            QCOMPARE(added->finishDate, QDate(2026, 12, 9));
            if (request.contains("repeat"))
                QCOMPARE(added->repeat, (RepeatRule{RepeatRule::Weekly, 0, 3}));
        } else {
            QVERIFY(!added);
            QCOMPARE(answer.value(QStringLiteral("message")).toString(), refusal);
        }
    }

    // The agenda's refusal is the script's message; words that say no repetition are refused
    // before they reach it; 重复 and 完成 reach their own handlers.
    void aRefusalIsPassedOn()
    {
        ScriptRequests::Handlers handlers;
        QStringList asked;
        handlers.apply = [&asked](const AgendaChange& change) {
            switch (change.kind) {
            case AgendaChange::Add:
                return Result::failed(QString::fromUtf8("此日程已经存在!"));
            case AgendaChange::SetRepeat:
                asked.append(change.text + RepeatRule::kindName(change.repeat.kind));
                return Result::done();
            case AgendaChange::Complete:
                asked.append(change.text);
                return Result::failed(QString::fromUtf8("没有“%1”这个日程。").arg(change.text));
            default:
                return Result::failed(QStringLiteral("unexpected"));
            }
        };
        const QJsonObject answer = ScriptRequests::answer(
            AgendaChange::add({QStringLiteral("a"), QDate(2026, 12, 8), QDate(2026, 12, 9)}).fields(),
            handlers);
        QCOMPARE(answer, (QJsonObject{{QStringLiteral("ok"), false},
                                      {QStringLiteral("message"), QString::fromUtf8("此日程已经存在!")}}));
        QCOMPARE(ScriptRequests::answer(QJsonDocument::fromJson(R"({"command":"repeat","text":"a",)"
                                                                R"("repeat":"每两周","day":""})")
                                            .object(),
                                        handlers)
                     .value(QStringLiteral("message"))
                     .toString(),
                 QString::fromUtf8("请求中的重复方式“每两周 ”不对，未执行。"));
        QVERIFY(ScriptRequests::answer(AgendaChange::setRepeat(QStringLiteral("a"),
                                                               RepeatWords{RepeatRule::Monthly, std::nullopt})
                                           .fields(),
                                       handlers)
                    .value(QStringLiteral("ok"))
                    .toBool());
        QCOMPARE(ScriptRequests::answer(AgendaChange::complete(QStringLiteral("b")).fields(), handlers)
                     .value(QStringLiteral("message"))
                     .toString(),
                 QString::fromUtf8("没有“b”这个日程。"));
        QCOMPARE(asked, (QStringList{QString::fromUtf8("a每月"), QStringLiteral("b")}));
    }

    // A time goes to the running copy with the add, and alone with --time (off for none); a
    // request's time that does not read is refused unhandled.
    void aTimeTravelsWithTheRequests()
    {
        QList<QTime> told;
        ScriptRequests::Handlers handlers;
        handlers.apply = [&told](const AgendaChange& change) {
            told.append(change.kind == AgendaChange::Add ? change.item.time : change.time);
            return Result::done();
        };
        AgendaItem timed{QStringLiteral("a"), QDate(2026, 12, 8), QDate(2026, 12, 9)};
        timed.time = QTime(15, 30);
        const auto ok = [&handlers](const QJsonObject& request) {
            return ScriptRequests::answer(request, handlers).value(QStringLiteral("ok")).toBool();
        };
        QVERIFY(ok(AgendaChange::add(timed).fields()));
        QVERIFY(
            ok(AgendaChange::add({QStringLiteral("b"), QDate(2026, 12, 8), QDate(2026, 12, 9)}).fields()));
        QVERIFY(ok(AgendaChange::setTime(QStringLiteral("a"), QTime(9, 0)).fields()));
        QVERIFY(ok(AgendaChange::setTime(QStringLiteral("a"), QTime()).fields()));
        QJsonObject bad = AgendaChange::add(timed).fields();
        bad.insert(QStringLiteral("time"), QStringLiteral("25:00"));
        QVERIFY(!ok(bad));
        QVERIFY(!ok(QJsonObject{{QStringLiteral("command"), QStringLiteral("time")},
                                {QStringLiteral("text"), QStringLiteral("a")},
                                {QStringLiteral("time"), QStringLiteral("soon")}}));
        QCOMPARE(told, (QList<QTime>{QTime(15, 30), QTime(), QTime(9, 0), QTime()}));
    }

    // The structure's changes travel as fields and come back the same; an add without structure
    // sends no field an older copy would refuse.
    void aStructureTravelsToTheRunningCopy()
    {
        AgendaItem item{QStringLiteral("买瓷砖"), QDate(2026, 12, 8), QDate(2026, 12, 9)};
        QCOMPARE(AgendaChange::add(item).fields().size(), 4);
        item.structure = {
            QStringLiteral("装修"), ItemStructure::High, {QStringLiteral("家庭"), QStringLiteral("周末")}};
        const AgendaChange changes[] = {
            AgendaChange::add(item),
            AgendaChange::setParent(item.text, QString()),
            AgendaChange::setPriority(item.text, ItemStructure::Low),
            AgendaChange::setTags(item.text, {QStringLiteral("工作")}),
            AgendaChange::complete(item.text, AgendaChange::WithSubtasks),
            AgendaChange::complete(item.text, AgendaChange::RefuseSubtasks),
        };
        for (const AgendaChange& change : changes) {
            const ResultOf<AgendaChange> back = AgendaChange::fromFields(change.fields());
            QVERIFY2(back, qPrintable(back.error()));
            QCOMPARE(back->kind, change.kind);
            QCOMPARE(back->text, change.text);
            QCOMPARE(back->item.structure, change.item.structure);
            QCOMPARE(back->subtasks, change.subtasks);
        }
        QJsonObject bad = AgendaChange::setPriority(item.text, ItemStructure::Low).fields();
        bad.insert(QStringLiteral("priority"), QStringLiteral("很高"));
        QVERIFY(!AgendaChange::fromFields(bad));
    }

    // A sync asks before it writes; only the bare request reaches the gate.
    void aSyncAsksTheGate()
    {
        QString busy = QString::fromUtf8("正在填写日程");
        int asked = 0;
        const auto gate = [&] {
            ++asked;
            return busy.isEmpty() ? Result::done() : Result::failed(busy);
        };
        ScriptRequests::Handlers handlers;
        handlers.apply = [](const AgendaChange&) { return Result::done(); };
        handlers.syncGate = gate;
        QCOMPARE(ScriptRequests::answer(ScriptRequests::syncRequest(), handlers),
                 (QJsonObject{{QStringLiteral("ok"), false},
                              {QStringLiteral("message"), busy},
                              {QStringLiteral("busy"), true}}));
        busy.clear();
        QCOMPARE(ScriptRequests::answer(ScriptRequests::syncRequest(), handlers),
                 (QJsonObject{{QStringLiteral("ok"), true}}));
        QJsonObject extra = ScriptRequests::syncRequest();
        extra.insert(QStringLiteral("text"), QStringLiteral("a"));
        QVERIFY(!ScriptRequests::answer(extra, handlers).value(QStringLiteral("ok")).toBool());
        QCOMPARE(asked, 2);
    }
};

QTEST_GUILESS_MAIN(TestScriptRequests)
#include "tst_scriptrequests.moc"
