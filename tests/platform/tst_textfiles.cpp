#include "TestBench.h"
#include "platform/files/DiskTextFiles.h"
#include "platform/files/FileStamp.h"
#include "platform/files/HousekeepingPath.h"
#include "platform/files/TextCodec.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// Writes beyond this many bytes fail with EFBIG, as on a full disk, for as long as it lives.
struct FileSizeLimit
{
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

} // namespace

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
        QCOMPARE(TextCodec::encode(u"买菜").value(), QByteArray("\xc2\xf2\xb2\xcb"));
        // Outside GBK: GB18030 four-byte forms, which read back unchanged.
        const QString rare = QString::fromUtf8("€😀𠀀");
        QCOMPARE(TextCodec::decode(TextCodec::encode(rare).value()).value(), rare);
        QVERIFY(!TextCodec::decode("\x81\x20").has_value());
        QVERIFY(!TextCodec::decode("ok\xc2").has_value()); // a character cut off at the end
        // A lone surrogate has no encoding: nothing, rather than a text with a hole in it.
        QVERIFY(!TextCodec::encode(QStringLiteral("ab") + QChar(0xD800)).has_value());
    }

    // The table-driven forms must give the converter's answer for every character and every pair
    // of bytes, good or bad, wherever it stands.
    void everyCharacterAndBytePairAsTheConverterHasIt()
    {
        for (unsigned c = 0; c <= 0xffff; ++c) {
            const QString text = QStringLiteral("a") + QChar(c) + QStringLiteral("b");
            if (TextCodec::encode(text) != TextCodec::encodeWithConverter(text))
                QFAIL(qPrintable(QStringLiteral("U+%1").arg(c, 4, 16, QChar(u'0'))));
        }
        for (unsigned lead = 0x80; lead <= 0xff; ++lead) {
            for (unsigned trail = 0; trail <= 0xff; ++trail) {
                for (const QByteArray& bytes : {QByteArray("a") + char(lead) + char(trail) + "b",
                                                QByteArray("a") + char(lead) + char(trail)}) {
                    if (TextCodec::decode(bytes) != TextCodec::decodeWithConverter(bytes))
                        QFAIL(bytes.toHex(' ').constData());
                }
            }
            const QByteArray cut = QByteArray("a") + char(lead);
            QCOMPARE(TextCodec::decode(cut), TextCodec::decodeWithConverter(cut));
        }
    }

    // Code page 936 writes the euro sign as the single byte 0x80.
    void aLoneEuroByteFromWindowsReads()
    {
        QCOMPARE(TextCodec::decode("\x80 5\r\n").value(), QString::fromUtf8("€ 5\r\n"));
        QCOMPARE(TextCodec::encode(QString::fromUtf8("€")).value(), QByteArray("\xa2\xe3"));
        // 0x80 as the second byte of a character is that character, not a euro sign.
        QVERIFY(TextCodec::decode("\x81\x80").value() != QString::fromUtf8("€"));
        QVERIFY(!TextCodec::decode("\xff").has_value()); // the rest stays as strict as before
    }

    void appendLeavesEveryOtherByteAndMendsAMissingLineEnd()
    {
        TestBench bench;
        bench.write("f.txt", QByteArray("one\r\ntwo"));
        QVERIFY(bench.files.disk.append(bench.path("f.txt"), "three\r\n"));
        QCOMPARE(bench.read("f.txt"), QByteArray("one\r\ntwo\r\nthree\r\n"));
        QVERIFY(bench.files.disk.append(bench.path("new.txt"), "x\r\n"));
        QCOMPARE(bench.read("new.txt"), QByteArray("x\r\n"));
    }

    void failedReplaceKeepsTheOldFile()
    {
        TestBench bench;
        bench.write("f.txt", "old\r\n");
        // A directory that cannot take the temporary file, even for root: it does not exist.
        const Result failed = bench.files.disk.replace(bench.dir.filePath("missing/f.txt"), "new");
        QVERIFY(!failed);
        QVERIFY(!failed.error().isEmpty());
        QVERIFY(bench.files.disk.replace(bench.path("f.txt"), "new\r\n"));
        QCOMPARE(bench.read("f.txt"), QByteArray("new\r\n"));
        const QStringList left = QDir(bench.dir.path()).entryList(QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("f.txt")}); // no temporary file stays behind
    }

    // A write that stops half way must leave the old file whole: no truncation in place, no
    // partial file committed, no half line appended.
    void writesCutShortLeaveTheFileAsItWas()
    {
        TestBench bench;
        bench.write("f.txt", "old\r\n");
        const QByteArray big(8192, 'x');
        {
            FileSizeLimit limit(4096);
            const Result replaced = bench.files.disk.replace(bench.path("f.txt"), big);
            QVERIFY(!replaced);
            QVERIFY(!replaced.error().isEmpty());
            QCOMPARE(bench.read("f.txt"), QByteArray("old\r\n"));
            QVERIFY(!bench.files.disk.append(bench.path("f.txt"), big));
            QCOMPARE(bench.read("f.txt"), QByteArray("old\r\n"));
        }
        QCOMPARE(QDir(bench.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("f.txt")});
    }

    // An edit that keeps the size and falls in the same tick of the modification time is still
    // an edit: the time is set back here so that the bytes alone can tell.
    void aStampSeesAnEditThatKeepsSizeAndTime()
    {
        TestBench bench;
        DiskTextFiles files;
        const QString path = bench.path("agenda.txt");
        auto writeKeepingTime = [&](const QByteArray& bytes, const QDateTime& modified) {
            bench.write("agenda.txt", bytes);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        };
        const QDateTime modified = QDateTime::currentDateTime().addSecs(-60);
        writeKeepingTime("abc\r\n", modified);
        for (const FileStamp& stamp : {FileStamp::of(path, "abc\r\n"), FileStamp::keeping(path, "abc\r\n")}) {
            QVERIFY(stamp.matches(files, path));
            writeKeepingTime("abd\r\n", modified);
            QCOMPARE(QFileInfo(path).lastModified(), modified);
            QVERIFY(!stamp.matches(files, path));
            writeKeepingTime("abc\r\n", modified);
        }
    }

    // A writer that holds the folder too long (stuck in another process) is given up on after the
    // limit, with no hold, rather than waited for without end.
    void aFolderHeldTooLongIsGivenUp()
    {
        TestBench bench;
        const QString lock = housekeepingPathFor(bench.dir.path()) + QStringLiteral(".write");
        QProcess holder;
        holder.start(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import fcntl, sys, time; f = open(sys.argv[1], 'a'); "
                            "fcntl.flock(f, fcntl.LOCK_EX); print('held', flush=True); time.sleep(60)"),
             lock});
        QVERIFY(holder.waitForReadyRead(5000));
        const auto stop = qScopeGuard([&holder] {
            holder.kill();
            holder.waitForFinished();
        });
        DiskTextFiles files(std::chrono::milliseconds(200));
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!files.holdFolderOf(bench.path("agenda.txt")));
        QVERIFY2(waited.elapsed() < 30000, "waited as if the limit were far longer");
        holder.kill();
        holder.waitForFinished();
        QVERIFY(files.holdFolderOf(bench.path("agenda.txt")));
    }

    void readTellsMissingFromUnreadable()
    {
        TestBench bench;
        QVERIFY(!bench.files.read(bench.path("none.txt")).value());
        QDir(bench.dir.path()).mkdir(QStringLiteral("adir"));
        QVERIFY(!bench.files.read(bench.path("adir")));
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
