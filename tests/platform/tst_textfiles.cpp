#include "TestBench.h"
#include "TextCodec.h"

#include <QTest>

class TestTextFiles : public QObject
{
    Q_OBJECT
private slots:
    void splitsCrLfAndLfAlike()
    {
        const auto lines = TextCodec::splitLines("a\r\nb\nc\r\n\r\nd");
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QByteArrayView("a"));
        QCOMPARE(lines[1], QByteArrayView("b"));
        QCOMPARE(lines[3], QByteArrayView(""));
        QCOMPARE(lines[4], QByteArrayView("d")); // a last line without its line end counts
        QCOMPARE(TextCodec::splitLines("x\r\n").size(), 1);
        QCOMPARE(TextCodec::splitLines("").size(), 0);
        // A lone CR is not a line end.
        QCOMPARE(TextCodec::splitLines("a\rb\r\n").size(), 1);
    }

    void gbkCharactersStayGbkAndNothingIsLost()
    {
        QCOMPARE(TextCodec::encode(u"买菜"), QByteArray("\xc2\xf2\xb2\xcb"));
        // Outside GBK: GB18030 four-byte forms, which read back unchanged.
        const QString rare = QString::fromUtf8("€😀𠀀");
        QCOMPARE(TextCodec::decode(TextCodec::encode(rare)).value(), rare);
        QVERIFY(!TextCodec::decode("\x81\x20").has_value());
        QVERIFY(!TextCodec::decode("ok\xc2").has_value()); // a character cut off at the end
    }

    void appendLeavesEveryOtherByteAndMendsAMissingLineEnd()
    {
        TestBench bench;
        bench.write("f.txt", QByteArray("one\r\ntwo"));
        QString error;
        QVERIFY(bench.files.disk.append(bench.path("f.txt"), "three\r\n", &error));
        QCOMPARE(bench.read("f.txt"), QByteArray("one\r\ntwo\r\nthree\r\n"));
        QVERIFY(bench.files.disk.append(bench.path("new.txt"), "x\r\n", &error));
        QCOMPARE(bench.read("new.txt"), QByteArray("x\r\n"));
    }

    void failedReplaceKeepsTheOldFile()
    {
        TestBench bench;
        bench.write("f.txt", "old\r\n");
        QString error;
        // A directory that cannot take the temporary file, even for root: it does not exist.
        QVERIFY(!bench.files.disk.replace(bench.dir.filePath("missing/f.txt"), "new", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(bench.files.disk.replace(bench.path("f.txt"), "new\r\n", &error));
        QCOMPARE(bench.read("f.txt"), QByteArray("new\r\n"));
        const QStringList left = QDir(bench.dir.path()).entryList(QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("f.txt")}); // no temporary file stays behind
    }

    void readTellsMissingFromUnreadable()
    {
        TestBench bench;
        QCOMPARE(bench.files.read(bench.path("none.txt")).status, TextFiles::Read::Missing);
        QDir(bench.dir.path()).mkdir(QStringLiteral("adir"));
        QCOMPARE(bench.files.read(bench.path("adir")).status, TextFiles::Read::Failed);
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
