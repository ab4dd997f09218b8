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
        QTest::addColumn<bool>("handed"); // reaches the agenda
        const QByteArray good = R"({"command":"add","text":"开会","set":"","finish":"2026-12-09"})";
        QTest::newRow("whole") << good << true;
        QTest::newRow("the client's own")
            << QJsonDocument(ScriptRequests::addRequest(QString::fromUtf8("开会"), QString(),
                                                        QStringLiteral("2026-12-09")))
                   .toJson(QJsonDocument::Compact)
            << true;
        QTest::newRow("text missing")
            << QByteArray(R"({"command":"add","set":"","finish":"2026-12-09"})") << false;
        QTest::newRow("finish missing") << QByteArray(R"({"command":"add","text":"a","set":""})") << false;
        QTest::newRow("set missing") << QByteArray(R"({"command":"add","text":"a","finish":"2026-12-09"})")
                                     << false;
        QTest::newRow("set a number")
            << QByteArray(R"({"command":"add","text":"a","set":5,"finish":"2026-12-09"})") << false;
        QTest::newRow("text null") << QByteArray(R"({"command":"add","text":null,"set":"","finish":"x"})")
                                   << false;
        QTest::newRow("unknown field")
            << QByteArray(R"({"command":"add","text":"a","set":"","finish":"2026-12-09","when":"now"})")
            << false;
        QTest::newRow("another command")
            << QByteArray(R"({"command":"remove","text":"a","set":"","finish":"2026-12-09"})") << false;
        QTest::newRow("command a number")
            << QByteArray(R"({"command":1,"text":"a","set":"","finish":"x"})") << false;
        QTest::newRow("no command") << QByteArray(R"({"text":"a","set":"","finish":"2026-12-09"})") << false;
        QTest::newRow("repeating")
            << QByteArray(R"({"command":"add","text":"开会","set":"","finish":"2026-12-09","repeat":"每周"})")
            << true;
        QTest::newRow("repeat a number")
            << QByteArray(R"({"command":"add","text":"开会","set":"","finish":"2026-12-09","repeat":7})")
            << false;
    }
    void anAddIsCheckedFieldByField()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, handed);
        QStringList added;
        ScriptRequests::Handlers handlers;
        handlers.add = [&added](const QString& text, const QString& set, const QString& finish,
                                const RepeatWords&) {
            added = {text, set, finish};
            return StoreChange::done();
        };
        const QJsonObject answer =
            ScriptRequests::answer(QJsonDocument::fromJson(request).object(), handlers);
        QCOMPARE(answer.value(QStringLiteral("ok")).toBool(), handed);
        if (handed) {
            QCOMPARE(added,
                     (QStringList{QString::fromUtf8("开会"), QString(), QStringLiteral("2026-12-09")}));
        } else {
            QVERIFY(added.isEmpty());
            QCOMPARE(answer.value(QStringLiteral("message")).toString(),
                     QString::fromUtf8("请求格式不对，未执行。"));
        }
    }

    // The agenda's refusal is the script's message; words that say no repetition are refused
    // before they reach it; 重复 and 完成 reach their own handlers.
    void aRefusalIsPassedOn()
    {
        ScriptRequests::Handlers handlers;
        handlers.add = [](const QString&, const QString&, const QString&, const RepeatWords&) {
            return StoreChange::refused(QString::fromUtf8("此日程已经存在!"));
        };
        QStringList asked;
        handlers.repeat = [&asked](const QString& text, const RepeatWords& words) {
            asked.append(text + RepeatRule::kindName(words.kind));
            return StoreChange::done();
        };
        handlers.done = [&asked](const QString& text) {
            asked.append(text);
            return StoreChange::refused(QString::fromUtf8("没有“%1”这个日程。").arg(text));
        };
        const QJsonObject answer = ScriptRequests::answer(
            ScriptRequests::addRequest(QStringLiteral("a"), QString(), QStringLiteral("2026-12-09")),
            handlers);
        QCOMPARE(answer, (QJsonObject{{QStringLiteral("ok"), false},
                                      {QStringLiteral("message"), QString::fromUtf8("此日程已经存在!")}}));
        QVERIFY(ScriptRequests::answer(
                    ScriptRequests::repeatRequest(QStringLiteral("a"), QString::fromUtf8("每两周")), handlers)
                    .value(QStringLiteral("message"))
                    .toString()
                    .startsWith(QString::fromUtf8("无法识别的重复方式“每两周”。可以写：")));
        QVERIFY(ScriptRequests::answer(
                    ScriptRequests::repeatRequest(QStringLiteral("a"), QString::fromUtf8("每月")), handlers)
                    .value(QStringLiteral("ok"))
                    .toBool());
        QCOMPARE(ScriptRequests::answer(ScriptRequests::doneRequest(QStringLiteral("b")), handlers)
                     .value(QStringLiteral("message"))
                     .toString(),
                 QString::fromUtf8("没有“b”这个日程。"));
        QCOMPARE(asked, (QStringList{QString::fromUtf8("a每月"), QStringLiteral("b")}));
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
        handlers.add = [](const QString&, const QString&, const QString&, const RepeatWords&) {
            return StoreChange::done();
        };
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
