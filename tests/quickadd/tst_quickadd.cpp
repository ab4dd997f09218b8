#include "FakeClock.h"
#include "quickadd/QuickAddWindow.h"
#include "uikit/ComposedText.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

struct Fixture
{
    FakeClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 0))};
    QStringList asked; // text, set and finish date of each add, and its rule when it repeats
    ResultOf<QString> answer = QString::fromUtf8("已添加");
    QuickAddWindow window{clock, HolidayCalendar::builtIn(), [this](const AgendaItem& item) {
                              asked << item.text << item.setDate.toString(Qt::ISODate)
                                    << item.finishDate.toString(Qt::ISODate);
                              if (item.repeat.kind != RepeatRule::None)
                                  asked << item.repeat.text();
                              return answer;
                          }};

    Fixture() { window.present(); }
    QLineEdit* box(const char* name) const { return window.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QString label(const char* name) const
    {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
};

} // namespace

class TestQuickAdd : public QObject
{
    Q_OBJECT
private slots:
    void theDateItMeansAsItIsTyped()
    {
        Fixture f;
        QCOMPARE(f.window.windowTitle(), QString::fromUtf8("快速添加日程"));
        QCOMPARE(f.label("LabelQuickFinishMeaning"), QString::fromUtf8("→ 2026-12-08 星期二（明天）"));
        f.box("TextQuickFinish")->clear();
        f.box("TextQuickFinish")->insert(QString::fromUtf8("3天后"));
        QCOMPARE(f.label("LabelQuickFinishMeaning"), QString::fromUtf8("→ 2026-12-10 星期四（3 天后）"));
        f.box("TextQuickFinish")->setText(QString::fromUtf8("明日"));
        QVERIFY(f.label("LabelQuickFinishMeaning").startsWith(QString::fromUtf8("无法识别的日期“明日”")));
        // A repetition that says its day: the first such day, and that it repeats; added as such.
        f.box("TextQuickFinish")->setText(QString::fromUtf8("每月15号"));
        QCOMPARE(f.label("LabelQuickFinishMeaning"),
                 QString::fromUtf8("→ 2026-12-15 星期二（8 天后），每月重复"));
        // A kind alone needs no day: its first day from today.
        f.box("TextQuickFinish")->setText(QString::fromUtf8("工作日"));
        QCOMPARE(f.label("LabelQuickFinishMeaning"),
                 QString::fromUtf8("→ 2026-12-07 星期一（今天），工作日重复"));
        f.box("TextQuickFinish")->setText(QString::fromUtf8("每月15号"));
        f.box("TextQuickAdd")->setText(QString::fromUtf8("交房租"));
        QTest::keyClick(f.box("TextQuickAdd"), Qt::Key_Return);
        // The words were read here: what is handed on is the item with its dates and rule.
        QCOMPARE(f.asked, (QStringList{QString::fromUtf8("交房租"), QStringLiteral("2026-12-07"),
                                       QStringLiteral("2026-12-15"), QString::fromUtf8("每月 15 日")}));
    }

    void enterAddsAndClosesARefusalKeepsWhatWasTyped()
    {
        Fixture f;
        f.box("TextQuickAdd")->insert(QString::fromUtf8("写周报"));
        f.answer = ResultOf<QString>::failed(QString::fromUtf8("此日程已经存在!"));
        QTest::keyClick(f.box("TextQuickAdd"), Qt::Key_Return);
        QCOMPARE(f.asked, (QStringList{QString::fromUtf8("写周报"), QStringLiteral("2026-12-07"),
                                       QStringLiteral("2026-12-08")}));
        QCOMPARE(f.label("LabelQuickStatus"), QString::fromUtf8("此日程已经存在!"));
        QCOMPARE(f.box("TextQuickAdd")->text(), QString::fromUtf8("写周报"));
        QVERIFY(f.window.isVisible());

        // The answer's own words: what was added, and when.
        f.answer = QString::fromUtf8("已添加：写周报2（设置 2026-12-07，完成 2026-12-08）");
        f.box("TextQuickAdd")->setText(QString::fromUtf8("写周报2"));
        QTest::keyClick(f.box("TextQuickFinish"), Qt::Key_Enter);
        QCOMPARE(f.label("LabelQuickStatus"),
                 QString::fromUtf8("已添加：写周报2（设置 2026-12-07，完成 2026-12-08）"));
        QTRY_VERIFY_WITH_TIMEOUT(!f.window.isVisible(), QuickAddWindow::closeAfterMs + 2000);
    }

    // Return takes the text as the box shows it: a composition on view is committed, one that
    // Escape cancelled (the box shows none) is dropped.
    void returnSettlesTheCompositionAsShown()
    {
        QStringList asked;
        QLineEdit box;
        new ComposedText(&box, {[&asked] { asked << QStringLiteral("commit"); },
                                [&asked] { asked << QStringLiteral("reset"); }});
        box.show();
        box.activateWindow();
        box.setFocus();
        QTRY_VERIFY(box.hasFocus());
        QInputMethodEvent composing(QStringLiteral("xie"), {});
        QCoreApplication::sendEvent(&box, &composing);
        QTest::keyClick(&box, Qt::Key_Return);
        QInputMethodEvent cancelled(QString(), {});
        QCoreApplication::sendEvent(&box, &cancelled);
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(asked, (QStringList{QStringLiteral("commit"), QStringLiteral("reset")}));
    }

    void escapeClosesWithoutAdding()
    {
        Fixture f;
        QTest::keyClicks(f.box("TextQuickAdd"), QStringLiteral("x"));
        QTest::keyClick(f.box("TextQuickAdd"), Qt::Key_Escape);
        QVERIFY(!f.window.isVisible());
        QVERIFY(f.asked.isEmpty());
    }
};

QTEST_MAIN(TestQuickAdd)
#include "tst_quickadd.moc"
