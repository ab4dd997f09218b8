#include "QtMessageBoxes.h"
#include "QtSoundDevice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

Q_LOGGING_CATEGORY(lcOurs, "kestrin.test", QtWarningMsg)

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

private slots:
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
};

QTEST_MAIN(TestQtServices)
#include "tst_qtservices.moc"
