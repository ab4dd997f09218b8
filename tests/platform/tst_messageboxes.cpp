#include "QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

// The real boxes, answered from inside their own event loop.
class TestMessageBoxes : public QObject
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
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
