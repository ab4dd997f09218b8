#include "platform/files/WavePadding.h"
#include "platform/qt/NetworkWatch.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtTranslations.h"
#include "platform/sound/QtSoundDevice.h"
#include "platform/system/LateSoundDevice.h"
#include "platform/system/TimerFdWallTimer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <ctime>
#include <functional>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcOurs, "kestrin.test", QtWarningMsg)

// A canonical wave file: fmt, data, then a trailing chunk that must survive.
QByteArray wave(quint16 bits, const QByteArray& samples)
{
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    const quint16 align = bits / 8;
    QByteArray fmt = le16(1) + le16(1) + le32(1000) + le32(1000 * align) + le16(align) + le16(bits);
    QByteArray body = "WAVE" + ("fmt " + le32(16) + fmt) +
                      ("data" + le32(quint32(samples.size())) + samples) + ("LIST" + le32(4) + "INFO");
    return "RIFF" + le32(quint32(body.size())) + body;
}

QStringList logged;
void capture(QtMsgType, const QMessageLogContext&, const QString& text)
{
    logged.append(text);
}

// The real Qt services: boxes answered from inside their own event loop, the sound device's logging.
class TestQtServices : public QObject
{
    Q_OBJECT

    static bool confirmEndedBy(const std::function<void(QMessageBox*)>& end)
    {
        QtMessageBoxes boxes;
        QTimer::singleShot(0, [end] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            end(box);
        });
        return boxes.confirm(QStringLiteral("警告：即将删除此条日程！"));
    }

public slots:
    void countState(uint) { ++m_statesSeen; }

private:
    int m_statesSeen = 0;

private slots:
    // The text boxes' own menu reads Chinese whatever LANG says (the test runs with LANG=C).
    void qtsOwnTextsAreChinese()
    {
        QVERIFY(QtTranslations::install());
        QLineEdit box;
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                texts.append(action->text());
        QVERIFY2(texts.first().startsWith(QString::fromUtf8("撤消(&U)")), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.last().startsWith(QString::fromUtf8("全选")), qPrintable(texts.join(u'|')));
    }

    // Only a click on Yes may delete: a box that ends any other way is a No.
    void onlyYesConfirms()
    {
        QVERIFY(confirmEndedBy([](QMessageBox* box) { box->buttons().first()->click(); }));
        QVERIFY(confirmEndedBy([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }));
        QVERIFY(!confirmEndedBy([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }));
        QVERIFY(!confirmEndedBy([](QMessageBox* box) { box->close(); }));
        // SIGTERM or the tray's close command end every event loop, the box's included.
        QVERIFY(!confirmEndedBy([](QMessageBox*) { QCoreApplication::exit(0); }));
    }

    // Silence goes after the sound and before any later chunk; the sizes follow.
    void wavesGetSilenceBehindThem()
    {
        const QByteArray samples("\x01\x02\x03\x04", 4);
        const QByteArray padded = withTrailingSilence(wave(16, samples), 100).value();
        QCOMPARE(padded.size(), wave(16, samples).size() + 200); // 100 ms of 1000 frames/s, 2 bytes each
        QCOMPARE(qFromLittleEndian<quint32>(padded.constData() + 4), quint32(padded.size() - 8));
        QCOMPARE(qFromLittleEndian<quint32>(padded.constData() + 40), quint32(204));
        QCOMPARE(padded.mid(44, 4), samples);
        QCOMPARE(padded.mid(48, 200), QByteArray(200, 0));
        QVERIFY(padded.endsWith(QByteArray("LIST\x04\x00\x00\x00INFO", 12)));
        // Silence in 8-bit samples is their middle value.
        QCOMPARE(withTrailingSilence(wave(8, "\x10"), 10).value().mid(45, 10), QByteArray(10, char(0x80)));
        QVERIFY(!withTrailingSilence("not a wave file", 100));
        QByteArray cut = wave(16, samples);
        cut.chop(20); // a data chunk that claims more than the file holds
        QVERIFY(!withTrailingSilence(cut, 100));
    }

    // Without a sound server stderr stays quiet, and nobody else's logging changes.
    void theSoundDeviceSilencesOnlyItsOwnComplaints()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("kestrin.test.debug=true"));
        qInstallMessageHandler(capture);
        QtSoundDevice sound;
        qWarning("PulseAudioService: pa_context_connect() failed");
        qWarning("No audio device detected");
        qWarning("something else");
        QVERIFY(lcOurs().isDebugEnabled());
        qInstallMessageHandler(nullptr);
        QCOMPARE(logged, QStringList{QStringLiteral("something else")});
    }

    // The player's word on a file, as the alarm asks before it rings: readied PCM plays, IMA ADPCM
    // cannot, and a file never asked for is not ready. (After the test above: the first sound
    // device of a run installs the message filter that one checks.)
    void theSoundDeviceTellsWhatItCanPlay()
    {
        QTemporaryDir dir;
        const QString pcm = dir.filePath(QStringLiteral("pcm.wav")),
                      adpcm = dir.filePath(QStringLiteral("adpcm.wav"));
        QVERIFY(QFile::copy(QStringLiteral(KESTRIN_TEST_DATA "/../../assets/sounds/clock1.wav"), pcm));
        QVERIFY(QFile::copy(QStringLiteral(KESTRIN_TEST_DATA "/ima-adpcm.wav"), adpcm));
        QtSoundDevice sound;
        QCOMPARE(sound.readiness(pcm), SoundDevice::Loading);
        sound.preload(pcm);
        sound.preload(adpcm);
        QTRY_COMPARE(sound.readiness(pcm), SoundDevice::Ready);
        QTRY_COMPARE(sound.readiness(adpcm), SoundDevice::Unplayable);
    }

    // The player comes from its module at the first sound readied; without the module the program
    // is silent, and says so once.
    void theSoundModuleOpensAtTheFirstSound()
    {
        QTemporaryDir dir;
        const QString pcm = dir.filePath(QStringLiteral("pcm.wav"));
        QVERIFY(QFile::copy(QStringLiteral(KESTRIN_TEST_DATA "/../../assets/sounds/clock1.wav"), pcm));
        QStringList told;
        LateSoundDevice missing({dir.filePath(QStringLiteral("kestrin_sound.so"))});
        missing.onProblem = [&told](const QString& problem) { told.append(problem); };
        missing.play(pcm);
        missing.preload(pcm);
        QCOMPARE(told.size(), 1);
        QVERIFY(told[0].contains(QString::fromUtf8("找不到声音模块")));
        QCOMPARE(missing.readiness(pcm), SoundDevice::Loading);

        LateSoundDevice sound(
            {dir.filePath(QStringLiteral("elsewhere.so")), QStringLiteral(KESTRIN_SOUND_MODULE)});
        QCOMPARE(sound.readiness(pcm), SoundDevice::Loading);
        sound.preload(pcm);
        QTRY_COMPARE(sound.readiness(pcm), SoundDevice::Ready);
    }

    // A moment already past fires once (the timer is read, not left ringing); a stopped timer
    // stays quiet.
    void theWallTimerFiresOnceForAMomentPast()
    {
        TimerFdWallTimer timer;
        QSignalSpy fired(&timer, &WallTimer::fired);
        timer.setDeadline(QDateTime::currentDateTime().addSecs(-1));
        QTRY_COMPARE(fired.size(), 1);
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(fired.size(), 1);
        timer.setDeadline(QDateTime::currentDateTime().addSecs(-1));
        timer.setDeadline(QDateTime());
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(fired.size(), 1);
        QVERIFY(!timer.isActive());
    }
    // A timer the kernel refuses to set (here: its descriptor replaced by a pipe's) says so and
    // looks at the clock instead, and still fires.
    void aRefusedWallTimerFallsBackToLooking()
    {
        TimerFdWallTimer timer;
        QSignalSpy fired(&timer, &WallTimer::fired);
        const QSocketNotifier* notifier = timer.findChild<QSocketNotifier*>();
        QVERIFY(notifier);
        int ends[2];
        QVERIFY(::pipe(ends) == 0);
        QVERIFY(::dup2(ends[0], int(notifier->socket())) >= 0);
        ::close(ends[0]);
        ::close(ends[1]);
        timer.setDeadline(QDateTime::currentDateTime().addSecs(3600));
        const QTimer* looking = timer.findChild<QTimer*>();
        QVERIFY(looking && looking->isActive());
        timer.setDeadline(QDateTime::currentDateTime().addSecs(-1));
        QTRY_COMPARE(fired.size(), 1);
    }
    // A clock that is set (by hand, by NTP after a long sleep) wakes the timer, so that the owner
    // looks at the time again. The clock is set to what it reads, so nothing else moves; it takes
    // root, and a sandbox that lets root set it.
    void aClockSetWakesTheWallTimer()
    {
        TimerFdWallTimer timer;
        QSignalSpy fired(&timer, &WallTimer::fired);
        timer.setDeadline(QDateTime::currentDateTime().addSecs(3600));
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        if (geteuid() != 0 || clock_settime(CLOCK_REALTIME, &now) != 0)
            QSKIP("the clock cannot be set here");
        QTRY_COMPARE(fired.size(), 1);
    }

    // NetworkManager's word that the network is back starts a sync: once for each return, not for
    // every announcement of a state that did not change. The manager is a process of its own: a
    // message sent from this one can be held back behind the next by Qt, which would test Qt.
    void theNetworkComingBackIsHeardOnce()
    {
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--print-address=1")});
        QVERIFY(bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
        QProcess manager;
        manager.start(QStringLiteral(KESTRIN_FAKE_NETWORK_MANAGER), {address});
        QTRY_VERIFY(manager.canReadLine());
        NetworkWatch watch;
        QSignalSpy online(&watch, &NetworkWatch::online);
        // The same announcements, counted on the watch's own connection: once all are counted,
        // the watch has had them all.
        QVERIFY(QDBusConnection::systemBus().connect(QStringLiteral("org.freedesktop.NetworkManager"),
                                                     QStringLiteral("/org/freedesktop/NetworkManager"),
                                                     QStringLiteral("org.freedesktop.NetworkManager"),
                                                     QStringLiteral("StateChanged"), this,
                                                     SLOT(countState(uint))));
        const QList<uint> states{20, 70, 70, 50, 70, 70}; // off, on, on, on locally, on, on
        for (const uint state : states)
            manager.write(QByteArray::number(state) + '\n');
        manager.closeWriteChannel();
        QTRY_COMPARE(m_statesSeen, int(states.size()));
        QCOMPARE(online.count(), 2);
        QTRY_COMPARE(manager.state(), QProcess::NotRunning);
        bus.kill();
        bus.waitForFinished();
    }
};

QTEST_MAIN(TestQtServices)
#include "tst_qtservices.moc"
