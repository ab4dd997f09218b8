#include "TestBench.h"
#include "agenda/AgendaPanel.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/DueReminder.h"

#include "uikit/Controls.h"
#include "uikit/LineList.h"
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

const QDate today(2026, 12, 7);

struct Fixture
{
    TestBench bench;
    AgendaSession session{bench.services};
    DueReminder dueReminder{bench.services};
    std::unique_ptr<AgendaPanel> panel;

    explicit Fixture(const QByteArray& agenda)
    {
        bench.clock.set(QDateTime(today, QTime(9, 30)));
        if (!agenda.isNull())
            bench.write("agenda.txt", agenda);
        panel = std::make_unique<AgendaPanel>(bench.services, session, dueReminder, nullptr);
        panel->show();
        panel->loadAgenda();
    }
    template <typename T> T* get(const char* name) const
    {
        return panel->findChild<T*>(QString::fromUtf8(name));
    }
    LineList* list() const { return get<LineList>("ListAgenda"); }
    void click(const char* name) const { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out.append(list()->text(i));
        return out;
    }
    QList<int> marked() const { return list()->markedRows(); }
    QString text(const char* box) const { return get<QLineEdit>(box)->text(); }
    void setText(const char* box, const QString& text) const { get<QLineEdit>(box)->setText(text); }
    void type(const QString& text) const { get<QPlainTextEdit>("Text添加日程")->setPlainText(text); }
    void chooseOrdering(const char* entry) const
    {
        QComboBox* combo = get<QComboBox>("Combo排序");
        combo->setCurrentText(QString::fromUtf8(entry));
        emit combo->activated(combo->currentIndex());
    }
    int listHeight() const { return list()->height(); }
};

QByteArray threeDays()
{
    return agendaRecord("昨天到期", today.addDays(-3), today.addDays(-1)) +
           agendaRecord("今天到期", today, today) + agendaRecord("明天到期", today, today.addDays(1));
}

} // namespace

class TestAgendaPanel : public QObject
{
    Q_OBJECT
private slots:
    void loadMarksOnlyItemsPastTheirDay()
    {
        Fixture f(threeDays());
        QCOMPARE(f.lines(), (QStringList{QString::fromUtf8("昨天到期"), QString::fromUtf8("今天到期"),
                                         QString::fromUtf8("明天到期")}));
        QCOMPARE(f.panel->table().overdueCount, 1);
        QCOMPARE(f.marked(), QList<int>{0});
        QCOMPARE(f.list()->currentRow(), 0);
        QCOMPARE(f.text("Text剩余天数"), QString::fromUtf8("逾期 1 天"));
        QCOMPARE(f.text("Text设置日期"), QStringLiteral("2026-12-04"));
        QCOMPARE(f.text("Text完成日期"), QStringLiteral("2026-12-06"));
        QCOMPARE(f.list()->toolTip(), QString::fromUtf8("昨天到期"));
        // Each line's own tip gives its dates as a person reads them.
        QCOMPARE(f.list()->model()->index(0, 0).data(Qt::ToolTipRole).toString(),
                 QString::fromUtf8("昨天到期\n设置：2026年12月4日 星期五 · 农历十月廿六\n"
                                   "完成：2026年12月6日 星期日 · 农历十月廿八"));
        f.list()->setCurrentRow(2);
        QCOMPARE(f.text("Text剩余天数"), QString::fromUtf8("1 天"));
        QCOMPARE(f.marked(), QList<int>{0}); // moving the current line leaves the marks alone
    }

    void severalMarksAndASeparateCurrentLine()
    {
        QByteArray agenda;
        for (int i = 0; i < 5; ++i)
            agenda += agendaRecord(QByteArray::number(i).constData(), today, today.addDays(i % 2 ? -2 : 2));
        Fixture f(QByteArray{});
        QSignalSpy loaded(f.panel.get(), &AgendaPanel::agendaLoaded);
        f.bench.write("agenda.txt", agenda);
        QVERIFY(f.panel->loadAgenda());
        QCOMPARE(f.marked(), (QList<int>{1, 3}));
        QCOMPARE(f.list()->currentRow(), 0);
        QCOMPARE(loaded.last(), (QList<QVariant>{5, 2}));
    }

    void badFileIsReportedAndLeavesAnEmptyTableThatIsNeverWritten()
    {
        const QByteArray broken = agendaRecord("好的", today, today) + "\"坏的,#2026-12-01#\r\n";
        Fixture f(broken);
        QCOMPARE(f.bench.messages.shown.size(), 1);
        QVERIFY(f.bench.messages.shown[0].startsWith(QString::fromUtf8("agenda.txt 第 2 行无法读取：")));
        QCOMPARE(f.list()->count(), 0);
        QCOMPARE(f.panel->table().count(), 0);
        f.click("Label修改日程");
        QVERIFY(!f.panel->inEntryMode()); // nothing to modify
        f.click("Label删除日程");
        // Adding would append to a file known to be bad, and the new item would never show.
        f.click("Label添加日程");
        QVERIFY(!f.panel->inEntryMode());
        QCOMPARE(f.bench.messages.shown.size(), 2);
        QVERIFY(f.bench.messages.shown[1].startsWith(QString::fromUtf8("agenda.txt 第 2 行无法读取：")));
        QCOMPARE(f.bench.read("agenda.txt"), broken);
        QVERIFY(!QFile::exists(f.bench.path("my.log")));

        // Broken by hand while the program runs: the reload that finds it says so as well.
        f.bench.write("agenda.txt", agendaRecord("好的", today, today));
        f.session.reloadIfChanged();
        QCOMPARE(f.list()->count(), 1);
        f.bench.write("agenda.txt", broken + broken);
        f.session.reloadIfChanged();
        QCOMPARE(f.bench.messages.shown.size(), 3);
        QVERIFY(f.bench.messages.shown[2].startsWith(QString::fromUtf8("agenda.txt 第 2 行无法读取：")));
    }

    void missingAndEmptyFilesAreAnEmptyAgenda()
    {
        Fixture missing(QByteArray{});
        QVERIFY(missing.bench.messages.shown.isEmpty());
        QCOMPARE(missing.list()->count(), 0);
        Fixture empty(QByteArray(""));
        QVERIFY(empty.bench.messages.shown.isEmpty());
        QCOMPARE(empty.panel->table().count(), 0);
    }

    void orderingKeepsMarksAndMakesLineZeroCurrent()
    {
        const QByteArray agenda = agendaRecord("买菜", QDate(2026, 12, 5), today.addDays(3)) +
                                  agendaRecord("开会", QDate(2026, 12, 3), today.addDays(-2)) +
                                  agendaRecord("写报告", QDate(2026, 12, 5), today.addDays(1)) +
                                  agendaRecord("交房租", QDate(2026, 12, 1), today.addDays(-9));
        Fixture f(agenda);
        f.chooseOrdering("按设置日期排序");
        QCOMPARE(f.lines(), (QStringList{QString::fromUtf8("交房租"), QString::fromUtf8("开会"),
                                         QString::fromUtf8("写报告"), QString::fromUtf8("买菜")}));
        QCOMPARE(f.marked(), (QList<int>{0, 1}));
        QCOMPARE(f.list()->currentRow(), 0);
        QCOMPARE(f.text("Text剩余天数"), QString::fromUtf8("逾期 9 天"));

        // An ordered entry does not reread the file; file order does.
        f.bench.write("agenda.txt", agenda + agendaRecord("新的", today, today));
        f.chooseOrdering("按剩余天数排序");
        QCOMPARE(f.list()->count(), 4);
        f.chooseOrdering("不排序刷新");
        QCOMPARE(f.list()->count(), 5);
        QCOMPARE(f.list()->text(0), QString::fromUtf8("买菜"));
    }

    void addWithPrefilledDatesAppendsOneLine()
    {
        const QByteArray before = threeDays();
        Fixture f(before);
        f.list()->setCurrentRow(1);
        f.click("Label添加日程");
        QVERIFY(f.panel->inEntryMode());
        QCOMPARE(f.listHeight(), 64); // 960 twips
        QCOMPARE(f.get<QWidget>("Label添加或修改标题")->property("text").toString(),
                 QString::fromUtf8("请填写将要添加的日程："));
        QCOMPARE(f.text("Text设置日期"), QStringLiteral("2026-12-07"));
        QCOMPARE(f.text("Text完成日期"), QStringLiteral("2026-12-08"));
        QVERIFY(!f.get<QLineEdit>("Text设置日期")->isReadOnly());
        QVERIFY(!f.get<QWidget>("Combo排序")->isEnabled());
        f.type(QString::fromUtf8("新日程,带逗号"));
        QSignalSpy loaded(f.panel.get(), &AgendaPanel::agendaLoaded);
        f.click("Label确认添加");
        QCOMPARE(loaded.size(), 1); // in file order, one load: the ordering reads nothing again
        QCOMPARE(f.bench.read("agenda.txt"), before + agendaRecord("新日程,带逗号", today, today.addDays(1)));
        QVERIFY(!f.panel->inEntryMode());
        QCOMPARE(f.listHeight(), 220); // 3300 twips
        QCOMPARE(f.list()->count(), 4);
        QCOMPARE(f.list()->currentRow(), 1); // the remembered position
        QVERIFY(f.bench.messages.shown.isEmpty());
    }

    void duplicateTextIsRefusedAndNothingIsWritten()
    {
        const QByteArray before = threeDays();
        Fixture f(before);
        f.click("Label添加日程");
        f.type(QString::fromUtf8("今天到期"));
        f.setText("Text完成日期", QStringLiteral("garbage")); // the duplicate test comes first
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("此日程已经存在!")});
        QVERIFY(f.panel->inEntryMode());
        QCOMPARE(f.bench.read("agenda.txt"), before);
    }

    void trailingBlankAndCaseMakeADifferentText()
    {
        Fixture f(agendaRecord("Buy milk", today, today));
        for (const char* text : {"Buy milk ", "buy milk"}) {
            f.click("Label添加日程");
            f.type(QString::fromUtf8(text));
            f.click("Label确认添加");
        }
        QVERIFY(f.bench.messages.shown.isEmpty());
        QCOMPARE(f.lines(), (QStringList{"Buy milk", "Buy milk ", "buy milk"}));
    }

    void emptyTextComesBeforeEverything()
    {
        Fixture f(threeDays());
        f.click("Label添加日程");
        f.setText("Text设置日期", QString());
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("请先添加日程内容!")});
        QVERIFY(f.panel->inEntryMode());
    }

    void invalidDatesWriteNothingAndEndTheEntry_data()
    {
        QTest::addColumn<QString>("finish");
        QTest::newRow("emptied") << QString();
        QTest::newRow("30 February") << QStringLiteral("2002-02-30");
        QTest::newRow("two-digit year") << QStringLiteral("02-12-27");
    }
    void invalidDatesWriteNothingAndEndTheEntry()
    {
        QFETCH(QString, finish);
        const QByteArray before = threeDays();
        Fixture f(before);
        f.click("Label添加日程");
        f.type(QStringLiteral("new"));
        f.setText("Text完成日期", finish);
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("请输入有效日期！")});
        QCOMPARE(f.bench.read("agenda.txt"), before);
        QVERIFY(!f.panel->inEntryMode());
        QCOMPARE(f.listHeight(), 220);
    }

    void quotesAndLineBreaksCannotBeStored()
    {
        const QByteArray before = threeDays();
        Fixture f(before);
        for (const char* text : {"say \"hi\"", "two\nlines"}) {
            f.bench.messages.shown.clear();
            f.click("Label添加日程");
            f.type(QString::fromUtf8(text));
            f.click("Label确认添加");
            QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("日程内容不能包含双引号或换行!")});
            QVERIFY(f.panel->inEntryMode());
            f.click("Label取消添加");
        }
        QCOMPARE(f.bench.read("agenda.txt"), before);
    }

    void modifyKeepsThePlaceInTheFile()
    {
        const QByteArray before = threeDays();
        Fixture f(before);
        // What a sync follows: the entry's span, the change, and the item's new text.
        QSignalSpy entry(&f.session, &AgendaSession::entryBusyChanged);
        QSignalSpy changed(&f.session, &AgendaSession::changed);
        QSignalSpy renamed(&f.session, &AgendaSession::renamed);
        f.list()->setCurrentRow(1);
        f.click("Label修改日程");
        QCOMPARE(entry.count(), 1);
        QCOMPARE(f.listHeight(), 76); // 1140 twips
        QCOMPARE(f.get<QWidget>("Label确认添加")->property("text").toString(), QString::fromUtf8("确认修改"));
        QCOMPARE(f.get<QPlainTextEdit>("Text添加日程")->toPlainText(), QString::fromUtf8("今天到期"));
        QCOMPARE(f.text("Text设置日期"), QStringLiteral("2026-12-07")); // the item's own dates stay
        f.type(QString::fromUtf8("改过的"));
        f.setText("Text完成日期", QStringLiteral("2027-1-2"));
        f.click("Label确认添加");
        const QByteArray expected = agendaRecord("昨天到期", today.addDays(-3), today.addDays(-1)) +
                                    agendaRecord("改过的", today, QDate(2027, 1, 2)) +
                                    agendaRecord("明天到期", today, today.addDays(1));
        QCOMPARE(f.bench.read("agenda.txt"), expected);
        QCOMPARE(f.get<QWidget>("Label确认添加")->property("text").toString(), QString::fromUtf8("确认添加"));
        QCOMPARE(f.get<QWidget>("Label取消添加")->property("text").toString(), QString::fromUtf8("取消添加"));
        QCOMPARE(f.list()->currentRow(), 1);
        QCOMPARE(entry, (QList<QList<QVariant>>{{true}, {false}}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(renamed,
                 (QList<QList<QVariant>>{{QString::fromUtf8("今天到期"), QString::fromUtf8("改过的")}}));
    }

    void modifyMayKeepItsTextButNotTakeAnothers()
    {
        const QByteArray before = threeDays();
        Fixture f(before);
        f.click("Label修改日程"); // line 0: 昨天到期
        f.type(QString::fromUtf8("明天到期"));
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("此日程已经存在!")});
        QVERIFY(f.panel->inEntryMode());
        QCOMPARE(f.bench.read("agenda.txt"), before);
        f.type(QString::fromUtf8("昨天到期"));
        f.setText("Text完成日期", QStringLiteral("2026-12-31"));
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown.size(), 1);
        QCOMPARE(f.panel->table().items[0].finishDate, QDate(2026, 12, 31));
        QCOMPARE(f.panel->table().overdueCount, 0);
    }

    void modifyWithAnInvalidDateKeepsTheItem()
    {
        const QByteArray before = threeDays();
        Fixture f(before);
        f.click("Label修改日程");
        f.type(QStringLiteral("whatever"));
        f.setText("Text设置日期", QStringLiteral("2026-13-01"));
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("请输入有效日期！")});
        QCOMPARE(f.bench.read("agenda.txt"), before);
        QVERIFY(!f.panel->inEntryMode());
        QCOMPARE(f.get<QWidget>("Label确认添加")->property("text").toString(), QString::fromUtf8("确认添加"));
    }

    void aFileThatCannotBeWrittenIsReportedAndKept()
    {
        const QByteArray before = threeDays();
        Fixture f(before);
        f.bench.files.failWritesTo = {QStringLiteral("agenda.txt")};
        f.click("Label添加日程");
        f.type(QStringLiteral("new"));
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown.size(), 1);
        QVERIFY(f.bench.messages.shown[0].contains(QStringLiteral("agenda.txt")));
        QVERIFY(!f.bench.messages.shown[0].contains(QString::fromUtf8("有效日期")));
        QCOMPARE(f.bench.read("agenda.txt"), before);
        QVERIFY(!f.panel->inEntryMode());
        f.click("Label修改日程");
        f.type(QStringLiteral("changed"));
        f.click("Label确认添加");
        QCOMPARE(f.bench.messages.shown.size(), 2);
        QCOMPARE(f.bench.read("agenda.txt"), before);
    }

    void cancelRemembersThePositionNotTheItem()
    {
        Fixture f(threeDays());
        f.chooseOrdering("按剩余天数排序");
        f.list()->setCurrentRow(2);
        f.click("Label添加日程");
        f.type(QStringLiteral("typed"));
        f.click("Label取消添加");
        QVERIFY(!f.panel->inEntryMode());
        QCOMPARE(f.listHeight(), 220);
        QCOMPARE(f.list()->currentRow(), 2);
        QCOMPARE(f.list()->count(), 3); // nothing written
        QCOMPARE(f.get<QLineEdit>("Text设置日期")->toolTip(), QString());
        QVERIFY(f.get<QLineEdit>("Text设置日期")->isReadOnly());
    }

    void rememberedPositionBeyondTheListMakesTheLastLineCurrent()
    {
        QByteArray agenda = threeDays();
        Fixture f(agenda);
        f.list()->setCurrentRow(2);
        f.click("Label添加日程");
        f.bench.write("agenda.txt", agendaRecord("只剩一个", today, today)); // changed from outside meanwhile
        f.click("Label取消添加");
        QCOMPARE(f.list()->count(), 1);
        QCOMPARE(f.list()->currentRow(), 0);
    }

    void addingToAnEmptyAgendaCreatesTheFile()
    {
        Fixture f(QByteArray{});
        f.click("Label添加日程");
        f.type(QString::fromUtf8("第一件事"));
        f.setText("Text完成日期", QStringLiteral("2026-12-01")); // before the set date: accepted
        f.click("Label确认添加");
        QCOMPARE(f.bench.read("agenda.txt"), agendaRecord("第一件事", today, QDate(2026, 12, 1)));
        QCOMPARE(f.list()->currentRow(), 0);
        QCOMPARE(f.panel->table().overdueCount, 1);
        QCOMPARE(f.marked(), QList<int>{0});
    }

    // 重复 ▸ in the list's menu: each kind labelled for the current item, the rule in force
    // checked; 删除日程 on a repeating item says what will happen and moves it on.
    void theRepeatMenuAndTheDoneOccurrence()
    {
        Fixture f(agendaRecord("交房租", QDate(2026, 11, 16), QDate(2026, 12, 16)) +
                  agendaRecord("开会", today, today));
        auto* menu = f.panel->findChild<QMenu*>(QStringLiteral("MenuRepeat"));
        QVERIFY(menu);
        emit menu->aboutToShow();
        const auto text = [menu](const char* name) { return control<QAction>(menu, name)->text(); };
        QCOMPARE(text("ActionRepeatWeekly"), QString::fromUtf8("每周（周三）(&W)"));
        QCOMPARE(text("ActionRepeatMonthly"), QString::fromUtf8("每月（16 日）(&M)"));
        QCOMPARE(text("ActionRepeatYearly"), QString::fromUtf8("每年（12 月 16 日）(&Y)"));
        QCOMPARE(text("ActionRepeatLunar"), QString::fromUtf8("农历每年（冬月初八）(&L)"));
        QVERIFY(control<QAction>(menu, "ActionRepeatNone")->isChecked());
        control<QAction>(menu, "ActionRepeatMonthly")->trigger();
        QCOMPARE(f.bench.read("repeat.txt"), gbk("\"交房租\",每月,16") + "\r\n");
        emit menu->aboutToShow();
        QVERIFY(control<QAction>(menu, "ActionRepeatMonthly")->isChecked());
        QCOMPARE(f.list()->lineDescription(0), QString::fromUtf8("重复：每月 16 日（下次 2027-01-16）"));

        f.click("Label删除日程");
        QCOMPARE(f.bench.messages.shown.last(),
                 QString::fromUtf8("此为重复日程（每月 16 日）：本次记入日志，下次为 2027-01-16。"));
        QCOMPARE(f.bench.read("agenda.txt"),
                 agendaRecord("交房租", today, QDate(2027, 1, 16)) + agendaRecord("开会", today, today));
        QCOMPARE(f.lines(), (QStringList{QString::fromUtf8("交房租"), QString::fromUtf8("开会")}));
    }

    // 添加子任务… puts the new item under the current one; Left and Right fold and unfold, the fold
    // kept in kestrin.ini; 优先级 ▸ and 标签… mark the line; 删除日程 on a parent asks, and each answer
    // does what it says.
    void subtasksFromTheMenuAndTheKeyboard()
    {
        Fixture f(agendaRecord("装修", today, today.addDays(9)) +
                  agendaRecord("买菜", today, today.addDays(1)));
        const auto action = [&f](const char* name) {
            emit f.panel->menu()->aboutToShow();
            return f.panel->findChild<QAction*>(QString::fromUtf8(name));
        };
        const auto add = [&f, &action](const char* text) {
            action("ActionAddSubtask")->trigger();
            f.type(QString::fromUtf8(text));
            f.click("Label确认添加");
        };
        add("买瓷砖");
        f.list()->setCurrentRow(f.list()->indexOf(QString::fromUtf8("买瓷砖")));
        add("贴瓷砖");
        QCOMPARE(f.lines(), (QStringList{QString::fromUtf8("装修"), QString::fromUtf8("买瓷砖"),
                                         QString::fromUtf8("贴瓷砖"), QString::fromUtf8("买菜")}));
        QCOMPARE(f.list()->decoration(2).depth, 2);
        QCOMPARE(f.list()->decoration(0).tail, QString::fromUtf8(" · 2"));

        f.list()->setCurrentRow(1);
        action("ActionPriorityHigh")->trigger();
        QVERIFY(action("ActionPriorityHigh")->isChecked());
        f.bench.messages.texts = {QString::fromUtf8("家庭，周末")};
        action("ActionTags")->trigger();
        QCOMPARE(f.list()->decoration(1).tail, QString::fromUtf8(" · 1  #家庭  #周末"));
        QVERIFY(f.list()->decoration(1).flag.isValid());
        QVERIFY(
            f.list()->lineTip(1).endsWith(QString::fromUtf8("\n属于：装修\n优先级：高\n标签：家庭、周末")));

        f.list()->setFocus();
        QTest::keyClick(f.list(), Qt::Key_Left); // folds 买瓷砖
        QCOMPARE(f.list()->count(), 3);
        QCOMPARE(f.list()->decoration(1).fold, LineList::Decoration::Folded);
        QVERIFY(f.list()->lineDescription(1).endsWith(QString::fromUtf8("1 个子任务，已收起")));
        QTest::keyClick(f.list(), Qt::Key_Left); // to its parent
        QCOMPARE(f.list()->currentRow(), 0);
        QVERIFY(f.bench.read("kestrin.ini").contains("folded="));
        // A new panel over the same folder keeps the fold.
        AgendaPanel again(f.bench.services, f.session, f.dueReminder, nullptr);
        again.loadAgenda();
        QCOMPARE(again.findChild<LineList*>(QStringLiteral("ListAgenda"))->count(), 3);
        QTest::keyClick(f.list(), Qt::Key_Down);
        QTest::keyClick(f.list(), Qt::Key_Right);
        QCOMPARE(f.list()->count(), 4);

        f.list()->setCurrentRow(0);
        f.bench.messages.choices = {std::nullopt};
        f.click("Label删除日程");
        QCOMPARE(f.bench.messages.shown.last(), QString::fromUtf8("“装修”还有 2 个未完成的子任务。"));
        QCOMPARE(f.list()->count(), 4);
        f.bench.messages.choices = {1};
        f.click("Label删除日程");
        // The subtasks were added after 买菜 in the file: now at the top level, they are in its order.
        QCOMPARE(f.lines(), (QStringList{QString::fromUtf8("买菜"), QString::fromUtf8("买瓷砖"),
                                         QString::fromUtf8("贴瓷砖")}));
        QCOMPARE(f.list()->decoration(2).depth, 1);
        f.list()->setCurrentRow(1);
        f.bench.messages.choices = {0};
        f.click("Label删除日程");
        QCOMPARE(f.lines(), QStringList{QString::fromUtf8("买菜")});
        QCOMPARE(f.bench.read("my.log").count("\r\n"), 3);
    }

    // 导出日程… writes the kind the chosen file's ending names; iCalendar goes to what writes it.
    void exportFromTheMenu()
    {
        Fixture f(agendaRecord("交房租", today, QDate(2026, 12, 16)) + agendaRecord("开会", today, today));
        auto* action = f.panel->findChild<QAction*>(QStringLiteral("ActionExport"));
        f.bench.messages.savePaths = {f.bench.path("日程.csv"), f.bench.path("日程.ics"),
                                      f.bench.path("日程.txt")};
        action->trigger();
        QCOMPARE(f.bench.messages.shown.last(),
                 QString::fromUtf8("已导出 2 条日程到 %1").arg(f.bench.path("日程.csv")));
        QCOMPARE(f.bench.read("日程.csv").count("\r\n"), 3);
        QString asked;
        f.panel->setCalendarExport([&asked](const QString& file) {
            asked = file;
            return Result::failed(QStringLiteral("kestrin-sync 不在"));
        });
        action->trigger();
        QCOMPARE(asked, f.bench.path("日程.ics"));
        QCOMPARE(f.bench.messages.shown.last(), QStringLiteral("kestrin-sync 不在"));
        action->trigger();
        QCOMPARE(f.bench.messages.shown.last(), QString::fromUtf8("请用 .csv、.ics 或 .md 结尾的文件名。"));
    }

    // 提醒时间 ▸ in the list's menu: the current item's time checked (其他时间 saying one that is
    // none of the three), chosen, asked for in words, kept by 修改日程; the line tells it.
    void theTimeMenu()
    {
        Fixture f(agendaRecord("交房租", QDate(2026, 11, 16), QDate(2026, 12, 16)) +
                  agendaRecord("开会", today, today));
        auto* menu = f.panel->findChild<QMenu*>(QStringLiteral("MenuItemTime"));
        QVERIFY(menu);
        const auto action = [menu](const char* name) { return control<QAction>(menu, name); };
        emit menu->aboutToShow();
        QVERIFY(action("ActionItemTimeOff")->isChecked());
        action("ActionItemTime18")->trigger();
        QCOMPARE(f.bench.read("agenda.txt").left(43), gbk("\"交房租\",#2026-11-16#,#2026-12-16 18:00:00#"));
        emit menu->aboutToShow();
        QVERIFY(action("ActionItemTime18")->isChecked());
        QCOMPARE(action("ActionItemTimeOther")->text(), QString::fromUtf8("其他时间(&O)…"));
        QCOMPARE(f.list()->lineDescription(0), QString::fromUtf8("提醒：12月16日 18:00"));

        f.bench.messages.texts = {QString::fromUtf8("下午三点半")};
        action("ActionItemTimeOther")->trigger();
        emit menu->aboutToShow();
        QVERIFY(action("ActionItemTimeOther")->isChecked());
        QCOMPARE(action("ActionItemTimeOther")->text(), QString::fromUtf8("其他时间（15:30）(&O)…"));
        f.bench.messages.texts = {QString::fromUtf8("明天")};
        action("ActionItemTimeOther")->trigger();
        QCOMPARE(f.bench.messages.shown.last(),
                 QString::fromUtf8("时间格式：15:30、下午3点 或 晚上。提醒时间未更改。"));

        // 修改日程's boxes hold days: the time stays, on the new day too.
        f.click("Label修改日程");
        f.setText("Text完成日期", QStringLiteral("2026-12-18"));
        f.click("Label确认添加");
        QCOMPARE(f.bench.read("agenda.txt").left(43), gbk("\"交房租\",#2026-11-16#,#2026-12-18 15:30:00#"));
        QVERIFY(f.list()->lineTip(0).endsWith(QString::fromUtf8("\n提醒：12月18日 15:30")));
        // A repeating one says its next occurrence's moment too.
        f.bench.write("repeat.txt", gbk("\"交房租\",每月,18\r\n"));
        f.panel->loadAgenda();
        QVERIFY2(
            f.list()->lineTip(0).endsWith(QString::fromUtf8("\n提醒：12月18日 15:30，下次 1月18日 15:30")),
            qPrintable(f.list()->lineTip(0)));
        action("ActionItemTimeOff")->trigger();
        QCOMPARE(f.bench.read("agenda.txt"),
                 agendaRecord("交房租", QDate(2026, 11, 16), QDate(2026, 12, 18)) +
                     agendaRecord("开会", today, today));
    }
};

QTEST_MAIN(TestAgendaPanel)
#include "tst_agendapanel.moc"
