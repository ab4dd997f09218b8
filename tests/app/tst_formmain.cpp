#include "WindowBench.h"
#include "agenda/AgendaPanel.h"
#include "agenda/core/AgendaChange.h"
#include "agenda/core/AgendaOrder.h"
#include "agenda/core/AgendaSession.h"
#include "alarm/AlarmPanel.h"
#include "alarm/FormAware.h"
#include "alarm/core/AlarmRuntime.h"
#include "app/FormMain.h"
#include "app/HelpPanel.h"
#include "app/Navigation.h"
#include "app/OptionsPanel.h"
#include "main/Program.h"
#include "platform/KestrinVersion.h"
#include "platform/WallTimer.h"
#include "platform/files/Settings.h"
#include "sync/schedule/SyncRunner.h"
#include "tray/ReminderPanel.h"
#include "tray/TrayController.h"

#include "uikit/LineList.h"
#include "uikit/ProgramIcon.h"
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace {

const QDate today(2026, 12, 7);

// The folder is not linked: nothing ever syncs.
class NoSyncs final : public SyncRunner
{
public:
    void start() override {}
};

// The window as the program puts it together.
struct Fixture
{
    WindowBench bench;
    NoSyncs syncs;
    std::unique_ptr<Program> program;
    FormMain* window = nullptr;

    // settings: a kestrin.ini left by an earlier run.
    explicit Fixture(const QByteArray& settings = {})
    {
        if (!settings.isEmpty())
            bench.write("kestrin.ini", settings);
        bench.clock.set(QDateTime(today, QTime(8, 0)));
        bench.write("agenda.txt", QByteArray("\"") + gbk("交房租") + "\",#2026-12-01#,#2026-12-05#\r\n\"" +
                                      gbk("开会") + "\",#2026-12-06#,#2026-12-09#\r\n");
        program = std::make_unique<Program>(bench.services, bench.tray, syncs, bench.files);
        window = &program->window();
        program->start();
        bench.sound.played.clear();
    }
    template <typename T = QWidget> T* get(const char* name) const
    {
        return window->findChild<T*>(QString::fromUtf8(name));
    }
    // A control of that name within one panel, where several panels have one.
    template <typename T = QWidget> T* get(const char* name, const char* panel) const
    {
        return get(panel)->findChild<T*>(QString::fromUtf8(name));
    }
    ClickLabel* label(const char* name) const { return get<ClickLabel>(name); }
    void click(const char* name) const { QTest::mouseClick(get(name), Qt::LeftButton); }
    void move(QWidget* w, QPoint pos = QPoint(2, 2)) const
    {
        QMouseEvent event(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    }
    void moveOverBackground() const { move(window, QPoint(50, 300)); }
    bool shown(const char* panel) const { return get(panel)->isVisibleTo(window); }
    QStringList visiblePanels() const
    {
        QStringList out;
        for (const char* p :
             {"Picture安排日程", "Picture提醒", "PictureClock", "PictureLog", "PictureHelp", "PictureOption"})
            if (shown(p))
                out.append(QString::fromUtf8(p));
        return out;
    }
    QString fg(const char* name) const
    {
        return label(name)->palette().color(QPalette::WindowText).name().toUpper();
    }
    QTimer* reminderTimer() const { return get<QTimer>("Timer提醒"); }
};

QString helpText(const char* name, Fixture& f)
{
    return f.get<QLabel>(name)->text();
}

} // namespace

class TestFormMain : public QObject
{
    Q_OBJECT
private slots:
    // The icon's small sizes ship scaled: each must be the full picture as the reader scales it,
    // so a redrawn icon with stale small files shows in the tray as it shows nowhere else.
    void theIconsSmallSizesAreTheFullPictureScaled()
    {
        for (int side : {16, 22, 24, 32, 44, 48, 64}) {
            QImageReader reader(QStringLiteral(":/pictures/kestrin.png"));
            reader.setScaledSize(QSize(side, side));
            const QImage expected =
                QPixmap::fromImage(reader.read()).toImage().convertToFormat(QImage::Format_ARGB32);
            QVERIFY(QFile::exists(QStringLiteral(":/pictures/kestrin-%1.png").arg(side)));
            QCOMPARE(programIcon().pixmap(side).toImage().convertToFormat(QImage::Format_ARGB32), expected);
        }
    }

    void startupEndState()
    {
        Fixture f;
        auto* order = f.get<QComboBox>("Combo排序");
        QCOMPARE(order->count(), 4);
        QCOMPARE(order->currentText(), QString::fromUtf8("不排序刷新"));
        for (int i = 0; i < 3; ++i) {
            auto* rings = control<QComboBox>(f.window, QString::fromUtf8("Combo响铃次数"), i);
            QCOMPARE(rings->count(), 8);
            QCOMPARE(rings->itemText(0), QStringLiteral("1"));
            QCOMPARE(rings->itemText(7), QStringLiteral("8"));
            QCOMPARE(rings->currentText(), QStringLiteral("3"));
        }
        auto* list = f.get<LineList>("ListAgenda");
        QCOMPARE(list->text(0), QString::fromUtf8("交房租"));
        QCOMPARE(list->text(1), QString::fromUtf8("开会"));
        QCOMPARE(f.visiblePanels(), QStringList{QString::fromUtf8("Picture提醒")});
        QVERIFY(f.reminderTimer()->isActive());
        QCOMPARE(f.label("LabelHowmuch")->text(), QStringLiteral("2"));
        QCOMPARE(f.label("Label逾期未完成")->text(),
                 QString::fromUtf8("Kestrin提醒您：您有 1 件事务逾期未完成!"));
        QCOMPARE(f.label("Label未完成数提醒")->text(), QStringLiteral("1"));
        QCOMPARE(f.bench.tray.tip, QString::fromUtf8("Kestrin—您有1个日程逾期未完成!"));
        QVERIFY(f.bench.tray.added);
        QCOMPARE(f.window->tray()->lastState(), Qt::WindowNoState);
        QCOMPARE(f.window->size(), QSize(599, 400));
        // The icon is read from its picture at each size asked for: the tray's and the desktop's.
        // X takes every size offered when the window is made, so only those that ship scaled are.
        const QIcon icon = f.window->windowIcon();
        QVERIFY(!icon.availableSizes().isEmpty());
        for (const QSize& offered : icon.availableSizes())
            QVERIFY(QFile::exists(QStringLiteral(":/pictures/kestrin-%1.png").arg(offered.width())));
        for (int side : {22, 256}) {
            const QImage drawn = icon.pixmap(side).toImage();
            QCOMPARE(drawn.size(), QSize(side, side));
            QVERIFY(qAlpha(drawn.pixel(side / 2, side / 2)) == 255); // the picture, not an empty square
        }
        // No sound is readied before one may be wanted: the sound stack stays unloaded until then.
        QVERIFY(f.bench.sound.preloaded.isEmpty());
        QEvent enter(QEvent::Enter); // a window mapped under a resting pointer
        QCoreApplication::sendEvent(f.window, &enter);
        QVERIFY(f.bench.sound.preloaded.isEmpty());
        f.moveOverBackground();
        const QStringList all{QStringLiteral("clock1.wav"), QStringLiteral("Moveme.wav"),
                              QStringLiteral("ClickMe.wav")};
        QCOMPARE(f.bench.sound.preloaded, all);
        f.moveOverBackground();
        QCOMPARE(f.bench.sound.preloaded, all);
        QVERIFY(!f.program->alarms().findChild<WallTimer*>(QString::fromUtf8("Timer运行闹钟"))->isActive());
        QVERIFY(f.bench.notifications.sent.isEmpty());
    }

    // The repeating alarms of the last run are armed again at start, as if confirmed; what cannot be
    // read is told once, on the desktop, and the rest of the file is left alone.
    void savedAlarmsComeBackAtStart()
    {
        const QByteArray settings =
            "[alarms]\nalarm1\\time=07:30:00\nalarm1\\rings=2\nalarm1\\repeat=weekdays\n"
            "alarm1\\prompt=\xe8\xb5\xb7\xe5\xba\x8a\n"
            "alarm3\\time=7:3\nalarm3\\rings=2\nalarm3\\repeat=daily\n"
            "alarm2\\time=09:00\nalarm2\\rings=1\nalarm2\\repeat=hourly\n"
            "[ringtones]\nalarm1=/x.wav\n";
        Fixture f(settings);
        QCOMPARE(f.program->alarms().table().alarms[0].due, QDateTime(today.addDays(1), QTime(7, 30)));
        QCOMPARE(f.program->alarms().table().alarms[0].prompt, QString::fromUtf8("起床"));
        QCOMPARE(f.bench.sound.preloaded, QStringList{QStringLiteral("clock1.wav")}); // for its ring
        QVERIFY(!f.program->alarms().table().alarms[1].enabled);
        QVERIFY(f.program->alarms().findChild<WallTimer*>(QString::fromUtf8("Timer运行闹钟"))->isActive());
        QCOMPARE(f.bench.notifications.sent.size(), 1);
        const QString told = f.bench.notifications.sent[0][1];
        QVERIFY2(told.contains(QString::fromUtf8("闹钟 2 的设置有误（重复方式“hourly”无法读取）")),
                 qPrintable(told));
        QVERIFY2(told.contains(QString::fromUtf8("闹钟 3 的设置有误（时间“7:3”无法读取）")),
                 qPrintable(told));
        f.click("LabelClock");
        QVERIFY(control<QCheckBox>(f.window, QString::fromUtf8("Check是否打开闹钟"), 0)->isChecked());
        QCOMPARE(f.bench.read("kestrin.ini"), settings);
    }

    void navigationShowsOnePanelAndEndsTheReminder()
    {
        Fixture f;
        f.click("LabelClock");
        QCOMPARE(f.visiblePanels(), QStringList{QStringLiteral("PictureClock")});
        QVERIFY(!f.reminderTimer()->isActive());
        QCOMPARE(f.label("LabelIndicator")->y(), f.label("LabelClock")->y());
        QCOMPARE(f.bench.sound.played, QStringList{QStringLiteral("ClickMe.wav")});
        // With the reminder already gone its timer is not touched.
        f.reminderTimer()->start();
        f.click("LabelLog");
        QCOMPARE(f.visiblePanels(), QStringList{QStringLiteral("PictureLog")});
        // The count's caption, drawn shorter than its line, is whole once its panel shows.
        QVERIFY(f.label("Label12")->height() >= f.label("Label12")->fontMetrics().height());
        QVERIFY(f.reminderTimer()->isActive());
        f.reminderTimer()->stop();
        f.click("LabelArrange");
        QCOMPARE(f.visiblePanels(), QStringList{QString::fromUtf8("Picture安排日程")});
        QCOMPARE(f.label("LabelIndicator")->y(), f.label("LabelArrange")->y());
    }

    void iconsLeaveTheIndicatorAndHelpOpensOnTopicFour()
    {
        Fixture f;
        f.click("LabelLog");
        const int indicator = f.label("LabelIndicator")->y();
        f.bench.sound.played.clear();
        f.label("ImageHelp2")->show();
        f.click("ImageHelp2");
        QCOMPARE(f.visiblePanels(), QStringList{QStringLiteral("PictureHelp")});
        QCOMPARE(f.bench.sound.played.size(), 1); // topic 4 without a second click sound
        QVERIFY(helpText("Label详细内容", f).startsWith(QString::fromUtf8("为广大用户提供专业软件定做")));
        f.label("ImageOption2")->show();
        f.click("ImageOption2");
        QCOMPARE(f.visiblePanels(), QStringList{QStringLiteral("PictureOption")});
        QCOMPARE(f.label("LabelIndicator")->y(), indicator);
    }

    void hoverNeedsAFirstPassOverTheBackground()
    {
        Fixture f;
        f.move(f.label("LabelClock"));
        QVERIFY(f.bench.sound.played.isEmpty()); // still the creation colour
        f.moveOverBackground();
        QCOMPARE(f.fg("LabelClock"), QStringLiteral("#000000"));
        QVERIFY(!f.label("ImageOption2")->isVisibleTo(f.window));
        f.move(f.label("LabelClock"));
        f.move(f.label("LabelClock"), QPoint(5, 5));
        QCOMPARE(f.fg("LabelClock"), QStringLiteral("#FF0000"));
        QCOMPARE(f.bench.sound.played, QStringList{QStringLiteral("Moveme.wav")}); // once per entry
        f.move(f.get("PictureLog")->isVisible() ? f.get("PictureLog") : f.window, QPoint(200, 150));
        QCOMPARE(f.fg("LabelClock"), QStringLiteral("#FF0000")); // a panel does not reset
        f.moveOverBackground();
        QCOMPARE(f.fg("LabelClock"), QStringLiteral("#000000"));
    }

    void iconHoverRaisesAndTheBackgroundLowers()
    {
        Fixture f;
        f.moveOverBackground();
        f.move(f.label("ImageOption1"));
        QVERIFY(!f.label("ImageOption1")->isVisibleTo(f.window));
        QVERIFY(f.label("ImageOption2")->isVisibleTo(f.window));
        QCOMPARE(f.fg("LabelOption"), QStringLiteral("#0000FF"));
        QCOMPARE(f.bench.sound.played, QStringList{QStringLiteral("Moveme.wav")});
        f.moveOverBackground();
        QVERIFY(f.label("ImageOption1")->isVisibleTo(f.window));
        QCOMPARE(f.fg("LabelOption"), QStringLiteral("#000000"));
        // The raised options icon is narrower: its uncovered strip is background.
        const QRect normal = f.label("ImageOption1")->geometry(),
                    raised = f.label("ImageOption2")->geometry();
        QVERIFY(normal.width() > raised.width());
        QVERIFY(f.label("ImageHelp2")->y() > f.label("ImageHelp1")->y());
    }

    void alarmConfirmReturnsToTheAgenda()
    {
        Fixture f;
        f.click("LabelClock");
        f.click("Label确认闹钟");
        QCOMPARE(f.visiblePanels(), QStringList{QString::fromUtf8("Picture安排日程")});
        QCOMPARE(f.label("LabelIndicator")->y(), f.label("LabelArrange")->y());
    }

    void switchesChangeOnlyTheirLook()
    {
        Fixture f;
        OptionsPanel* options = f.window->optionsPanel();
        f.click("ImageOption2");
        f.bench.sound.played.clear();
        f.click("Image开机启动1");
        QVERIFY(!options->isOn(0));
        QCOMPARE(f.label("Label开机启动开关")->text(), QString::fromUtf8("关闭"));
        QVERIFY(f.bench.sound.played.isEmpty()); // images toggle silently
        f.click("Image开机启动2");
        QVERIFY(options->isOn(0));
        f.click("Label自动备份");
        QVERIFY(!options->isOn(2));
        f.click("Label自动备份");
        QVERIFY(options->isOn(2));
        QCOMPARE(f.bench.sound.played, QStringList(2, QStringLiteral("ClickMe.wav")));
        f.click("Label自动添加日志");
        f.click("Label确认设置");
        QCOMPARE(f.bench.messages.shown,
                 QStringList{QString::fromUtf8("以上选项仅供参考，尚未实现，欢迎大家来信定做!")});
        QVERIFY(!options->isOn(1));
        QCOMPARE(f.bench.sound.played.size(), 3);
        QCOMPARE(f.label("Image自动添加日志2")->geometry().size(), QSize(20, 20));
        QCOMPARE(f.label("Image自动添加日志1")->geometry().size(), QSize(21, 21));
    }

    void helpTopicsCharacterForCharacter_data()
    {
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("soundFirst");
        QTest::newRow("1") << 1
                           << QString::fromUtf8("最佳使用环境：\r\n      Microsoft Windows 2000 或 XP\r\n"
                                                "      800×600分辨率以上\r\n      16位色以上")
                           << true;
        QTest::newRow("2")
            << 2
            << QString::fromUtf8(
                   "使用技巧让您效率倍增：\r\n\r\n"
                   "      *设置闹钟时间的标准格式为12:59:01，您也可以省略秒，即12:59\r\n\r\n"
                   "      *设置日程相关日期和闹钟时间时，系统会按标准格式预填当前日期和时间\r\n\r\n"
                   "      *请打开自动备份选项，便于软件自动恢复丢失的日程与日志文件\r\n\r\n"
                   "      *Kestrin启动后自动最小化为托盘程序，左击可以打开主界面，右击可以弹出菜单\r\n"
                   "      *纯绿色软件，只需拷贝完全安装的目录即可运行")
            << false;
        QTest::newRow("3")
            << 3
            << QString::fromUtf8(
                   "中文名：Kestrin 英文名：Tidewell\r\n\r\n     版本号：V" KESTRIN_VERSION "\r\n"
                   "     软件性质：全功能免费版\r\n\r\n该软件向所有用户开放，您可以定制：\r\n\r\n"
                   "     ★您喜爱的日程显示方式；\r\n     ★您希望的逾期日程提醒方式；\r\n"
                   "     ★定制闹钟铃声；\r\n     ★定制背景，甚至Kestrin形象\r\n\r\n"
                   "              欢迎各网站免费提供下载")
            << false;
        QTest::newRow("4")
            << 4
            << QString::fromUtf8(
                   "为广大用户提供专业软件定做\r\n    价格低廉 + 服务优质\r\n\r\n"
                   "网址：www.quorrel.example\r\n       quorrel.example\r\n"
                   "邮箱：studio@quorrel.example\r\n       service@quorrel.example\r\n\r\n\r\n"
                   "升级版内容预告：\r\n     密码设置、铃声选择、异地备份与恢复、从日志恢复到日程")
            << true;
    }
    void helpTopicsCharacterForCharacter()
    {
        QFETCH(int, topic);
        QFETCH(QString, text);
        QFETCH(bool, soundFirst);
        Fixture f;
        f.click("ImageHelp2");
        f.click(topic == 1 ? "Label帮助主题2"
                           : "Label帮助主题1"); // another text first, to see when it changes
        QString shownAtSound;
        f.bench.sound.onPlay = [&] { shownAtSound = helpText("Label详细内容", f); };
        const QByteArray name = "Label帮助主题" + QByteArray::number(topic);
        f.click(name.constData());
        QCOMPARE(helpText("Label详细内容", f), text);
        QCOMPARE(shownAtSound == text, !soundFirst);
        QCOMPARE(f.get("Image帮助主题箭头")->y(), f.get(name.constData())->y());
        for (int n = 1; n <= 4; ++n) {
            const QByteArray other = "Label帮助主题" + QByteArray::number(n);
            QCOMPARE(f.fg(other.constData()),
                     n == topic ? QStringLiteral("#0000FF") : QStringLiteral("#000000"));
        }
        f.click("ImageHelp2"); // every opening chooses topic 4 afresh
        QCOMPARE(f.fg("Label帮助主题4"), QStringLiteral("#0000FF"));
    }

    void linksGoThroughTheShell()
    {
        Fixture f;
        f.bench.shell.succeeds = false; // no mail program: nothing reported, nothing changes
        f.click("ImageHelp2");
        f.click("Label给我来信");
        f.click("LabelQuorrel");
        QCOMPARE(f.bench.shell.opened, (QList<QUrl>{QUrl(QStringLiteral("mailto:studio@quorrel.example")),
                                                    QUrl(QStringLiteral("http://quorrel.example/"))}));
        QVERIFY(f.bench.messages.shown.isEmpty());
        QCOMPARE(f.label("LabelQuorrel")->toolTip(),
                 QString::fromUtf8("quorrel.example，studio@quorrel.example"));
    }

    // A screen reader reads each label's text as it is now, not the text it was built with.
    void screenReadersReadWhatIsShown()
    {
        Fixture f;
        f.click("ImageHelp2");
        f.click("Label帮助主题2");
        f.click("ImageOption2");
        f.click("Label开机启动");
        FormAware notice(f.bench.clock, nullptr);
        notice.setPrompt(QString::fromUtf8("吃药"));
        notice.tick();
        int labels = 0;
        for (QWidget* root : std::initializer_list<QWidget*>{f.window, &notice}) {
            for (QLabel* label : root->findChildren<QLabel*>()) {
                if (label->text().isEmpty())
                    continue; // pictures carry short names of their own
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label);
                QCOMPARE(face->text(QAccessible::Name), label->text());
                ++labels;
            }
        }
        QVERIFY(labels > 40);
    }

    // An edit made elsewhere while the program idles shows at once: list, summary and tray tip.
    void filesChangedElsewhereAreLoadedAgain()
    {
        Fixture f;
        f.bench.write("agenda.txt", f.bench.read("agenda.txt") +
                                        agendaRecord("早就过期", QDate(2026, 1, 1), QDate(2026, 1, 2)));
        QTRY_COMPARE(f.label("LabelHowmuch")->text(), QStringLiteral("3"));
        QCOMPARE(f.bench.tray.tip, QString::fromUtf8("Kestrin—您有2个日程逾期未完成!"));
        f.click("LabelLog");
        f.bench.write("my.log", gbk("手写的一行\r\n"));
        QTRY_COMPARE(f.get<LineList>("ListLog")->count(), 1);
        QVERIFY(f.bench.messages.shown.isEmpty());
    }

    // The log's menu, by mouse and by keyboard: restoring undoes a deletion, in the ordering in force.
    void aDeletedItemComesBackFromTheLog()
    {
        Fixture f;
        const QByteArray agendaBefore = f.bench.read("agenda.txt");
        const QByteArray kept =
            gbk("旧: 事; 设置日期2026-01-01; 预定完成日期2026-01-02; 删除日期2026-01-03\r\n");
        f.bench.write("my.log",
                      gbk("手写的一行\r\n") + kept +
                          gbk("还书: 设置日期2026-11-01; 预定完成日期2026-11-02; 删除日期2026-12-01\r\n"));
        f.get<QComboBox>("Combo排序")->setCurrentIndex(1);
        emit f.get<QComboBox>("Combo排序")->activated(1);
        const QStringList ordered = f.get<LineList>("ListAgenda")->lines();
        f.click("LabelLog");
        auto* list = f.get<LineList>("ListLog");
        auto* menu = f.get<QMenu>("MenuLog");
        QCOMPARE(menu->actions().size(), 4);
        QCOMPARE(menu->actions()[0]->text(), QString::fromUtf8("恢复到日程(&R)"));
        QCOMPARE(menu->actions()[1]->text(), QString::fromUtf8("删除日志(&D)"));
        QCOMPARE(menu->actions()[3]->text(), QString::fromUtf8("查找…(&F)"));

        // A right click makes its line current first.
        const QPoint third = list->visualRect(list->model()->index(2, 0)).center();
        QContextMenuEvent right(QContextMenuEvent::Mouse, third, list->viewport()->mapToGlobal(third));
        QCoreApplication::sendEvent(list->viewport(), &right);
        QCOMPARE(list->currentRow(), 2);
        QTRY_VERIFY(menu->isVisible());
        menu->actions()[0]->trigger();
        menu->hide();
        QCOMPARE(f.bench.read("agenda.txt"),
                 agendaBefore + agendaRecord("还书", QDate(2026, 11, 1), QDate(2026, 11, 2)));
        QCOMPARE(f.bench.read("my.log"), gbk("手写的一行\r\n") + kept);
        QCOMPARE(list->count(), 2);
        QCOMPARE(f.label("LabelHowmuch")->text(), QStringLiteral("3"));
        QCOMPARE(f.bench.tray.tip, QString::fromUtf8("Kestrin—您有2个日程逾期未完成!"));
        QCOMPARE(f.get<QComboBox>("Combo排序")->currentIndex(), 1);
        const QStringList now = f.get<LineList>("ListAgenda")->lines();
        QCOMPARE(now.size(), ordered.size() + 1);
        QCOMPARE(now, AgendaOrder::lines(f.window->agendaTable().items, AgendaOrdering(1)));
        auto* agenda = f.get<LineList>("ListAgenda");
        QCOMPARE(agenda->text(agenda->currentRow()), QString::fromUtf8("还书")); // the item back is current
        QVERIFY(f.bench.messages.shown.isEmpty());

        // Shift+F10 opens it for the current line; a hand-written line is refused and kept.
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menu->isVisible());
        menu->actions()[0]->trigger();
        menu->hide();
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("此条日志无法恢复：格式不符。")});
        QCOMPARE(f.bench.read("my.log"), gbk("手写的一行\r\n") + kept);

        // The menu key, then 删除日志 with its confirmation.
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(1, 1), list->mapToGlobal(QPoint(1, 1)));
        QCoreApplication::sendEvent(list, &key);
        QTRY_VERIFY(menu->isVisible());
        menu->actions()[1]->trigger();
        menu->hide();
        QCOMPARE(f.bench.messages.shown.last(), QString::fromUtf8("小心：此操作将删除此条日志！"));
        QCOMPARE(f.bench.read("my.log"), kept);
        QVERIFY(f.bench.sound.played.size() == 1); // the click on LabelLog only
    }

    // Ctrl+F wherever the keyboard is in a panel narrows its list to what matches (pinyin initials
    // here) while the counts keep the whole; commands work on the lines found, and a change from
    // outside keeps the find; Esc puts back the whole list with the line the user moved to, or
    // the one current before; an entry closes the find.
    void findingNarrowsTheListsAndCommandsWorkOnWhatIsFound()
    {
        Fixture f;
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        f.click("LabelArrange");
        const auto lines = [&f](const char* list) { return f.get<LineList>(list)->lines(); };
        const auto current = [&f](const char* list) {
            auto* l = f.get<LineList>(list);
            return l->text(l->currentRow());
        };
        const QByteArray rent = agendaRecord("交房租", QDate(2026, 12, 1), QDate(2026, 12, 5));
        f.bench.write("agenda.txt", rent + agendaRecord("开会", today, today) +
                                        agendaRecord("交水电费", today, today) +
                                        agendaRecord("写周报", today, today));
        QTRY_COMPARE(lines("ListAgenda").size(), 4);
        auto* combo = f.get<QComboBox>("Combo排序");
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_F, Qt::ControlModifier);
        auto* find = f.get<QLineEdit>("FindLine", "Picture安排日程");
        QVERIFY(find->isVisible());
        QCOMPARE(QApplication::focusWidget(), find);
        QTest::keyClicks(find, QStringLiteral("j"));
        QCOMPARE(lines("ListAgenda"),
                 (QStringList{QString::fromUtf8("交房租"), QString::fromUtf8("交水电费")}));
        QCOMPARE(f.get<QLabel>("FindCount", "Picture安排日程")->text(),
                 QString::fromUtf8("找到 2 条（共 4 条）"));
        QCOMPARE(f.label("LabelHowmuch")->text(), QStringLiteral("4"));
        QTest::keyClick(find, Qt::Key_Down);
        QCOMPARE(current("ListAgenda"), QString::fromUtf8("交水电费"));
        QTest::keyClick(find, Qt::Key_Return);
        QTest::keyClick(f.get<LineList>("ListAgenda"), Qt::Key_Delete);
        QVERIFY(!f.bench.read("agenda.txt").contains(gbk("交水电费")));
        QCOMPARE(lines("ListAgenda"), QStringList{QString::fromUtf8("交房租")});

        f.bench.write("agenda.txt", f.bench.read("agenda.txt") + agendaRecord("交电话费", today, today));
        QTRY_COMPARE(lines("ListAgenda"),
                     (QStringList{QString::fromUtf8("交房租"), QString::fromUtf8("交电话费")}));
        QTest::keyClick(find, Qt::Key_Down);
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!find->isVisible());
        QCOMPARE(lines("ListAgenda").size(), 4);
        QCOMPARE(current("ListAgenda"), QString::fromUtf8("交电话费"));
        QTest::keyClick(f.get<LineList>("ListAgenda"), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(find, QStringLiteral("kh"));
        QCOMPARE(lines("ListAgenda"), QStringList{QString::fromUtf8("开会")});
        QTest::keyClick(find, Qt::Key_Escape);
        QCOMPARE(current("ListAgenda"), QString::fromUtf8("交电话费"));
        // Clearing what was typed closes the find line, as Esc does.
        QTest::keyClick(f.get<LineList>("ListAgenda"), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(find, QStringLiteral("kh"));
        find->clear();
        QVERIFY(!find->isVisible());
        QCOMPARE(lines("ListAgenda").size(), 4);
        QTest::keyClick(combo, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(find, QStringLiteral("x"));
        f.click("Label添加日程");
        QVERIFY(!find->isVisible());
        QCOMPARE(lines("ListAgenda").size(), 4);
        QTest::keyClick(f.get<QPlainTextEdit>("Text添加日程"), Qt::Key_Escape);

        // In the log, 恢复到日程 brings back the line found, not the line in its place unfound.
        f.bench.write("my.log",
                      gbk("买菜: 设置日期2026-11-01; 预定完成日期2026-11-02; 删除日期2026-11-02\r\n"
                          "写日报: 设置日期2026-11-03; 预定完成日期2026-11-04; 删除日期2026-11-04\r\n"));
        // Ctrl+F straight after the caption, the keyboard still on it, finds in the panel on view.
        f.click("LabelLog");
        auto* log = f.get<LineList>("ListLog");
        f.label("LabelLog")->setFocus();
        QTest::keyClick(f.label("LabelLog"), Qt::Key_F, Qt::ControlModifier);
        auto* logFind = f.get<QLineEdit>("FindLine", "PictureLog");
        QVERIFY(logFind && logFind->isVisible());
        QCOMPARE(QApplication::focusWidget(), logFind);
        QTest::keyClicks(logFind, QStringLiteral("xrb"));
        QCOMPARE(log->count(), 1);
        QTest::keyClick(log, Qt::Key_F10, Qt::ShiftModifier);
        auto* menu = f.get<QMenu>("MenuLog");
        QTRY_VERIFY(menu->isVisible());
        control<QAction>(menu, "ActionRestore")->trigger();
        menu->hide();
        QVERIFY(f.bench.read("agenda.txt").contains(gbk("写日报")));
        QCOMPARE(f.bench.read("my.log"),
                 gbk("买菜: 设置日期2026-11-01; 预定完成日期2026-11-02; 删除日期2026-11-02\r\n"));
        QVERIFY(f.bench.messages.shown.size() == 1); // the deletion's confirmation

        // A panel without a list has nothing to find.
        f.click("LabelClock");
        f.label("LabelClock")->setFocus();
        QTest::keyClick(f.label("LabelClock"), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), f.label("LabelClock"));
    }

    // An add handed over by a script shows at once: list, summary, tray tip; an entry being made
    // is left alone and the add shows when it ends.
    void anAddFromAScriptShowsAtOnce()
    {
        Fixture f;
        AgendaPanel* agenda = f.window->agendaPanel();
        QVERIFY(f.program->agenda().apply(
            AgendaChange::add({QString::fromUtf8("早就过期"), today, QDate(2026, 12, 1)})));
        QCOMPARE(f.label("LabelHowmuch")->text(), QStringLiteral("3"));
        QCOMPARE(f.bench.tray.tip, QString::fromUtf8("Kestrin—您有2个日程逾期未完成!"));
        QVERIFY(f.get<LineList>("ListAgenda")->lines().contains(QString::fromUtf8("早就过期")));
        QCOMPARE(f.program->agenda()
                     .apply(AgendaChange::add({QString::fromUtf8("早就过期"), today, QDate(2026, 12, 1)}))
                     .error(),
                 QString::fromUtf8("此日程已经存在!"));

        f.click("Label添加日程");
        f.get<QPlainTextEdit>("Text添加日程")->setPlainText(QStringLiteral("typing"));
        QVERIFY(f.program->agenda().apply(
            AgendaChange::add({QStringLiteral("from a script"), today, QDate(2026, 12, 31)})));
        QVERIFY(agenda->inEntryMode());
        QCOMPARE(f.get<QPlainTextEdit>("Text添加日程")->toPlainText(), QStringLiteral("typing"));
        f.click("Label取消添加");
        QCOMPARE(f.label("LabelHowmuch")->text(), QStringLiteral("4"));
        QVERIFY(f.bench.messages.shown.isEmpty());
    }

    // The keyboard alone: Tab goes round the navigation, the panel on view and the maker's line;
    // Space and Return do what a click does, sounds included; screen readers hear buttons.
    void theKeyboardReachesEveryCommand()
    {
        Fixture f;
        f.click("LabelArrange");
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        f.label("LabelArrange")->setFocus();
        QStringList order;
        for (int i = 0; i < 15; ++i) {
            order.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const QStringList expected = {"LabelArrange",  "LabelClock",   "LabelLog",      "ImageOption1",
                                      "ImageHelp1",    "ListAgenda",   "Combo排序",     "Text设置日期",
                                      "Text完成日期",  "Text剩余天数", "Label添加日程", "Label修改日程",
                                      "Label删除日程", "LabelQuorrel", "LabelArrange"};
        QCOMPARE(order, expected);

        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(f.label("ImageOption1"));
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), QString::fromUtf8("选项"));
        QCOMPARE(QAccessible::queryAccessibleInterface(f.label("Label添加日程"))->text(QAccessible::Name),
                 QString::fromUtf8("添加日程"));

        // Space on a caption is its click, sound and all; Return on an icon is the raised icon's.
        f.bench.sound.played.clear();
        QTest::keyClick(f.label("LabelClock"), Qt::Key_Space);
        QCOMPARE(f.visiblePanels(), QStringList{QStringLiteral("PictureClock")});
        QCOMPARE(f.bench.sound.played, QStringList{QStringLiteral("ClickMe.wav")});
        QTest::keyClick(f.label("ImageHelp1"), Qt::Key_Return);
        QCOMPARE(f.visiblePanels(), QStringList{QStringLiteral("PictureHelp")});

        // An item added, and one deleted, with the keyboard alone.
        QTest::keyClick(f.label("LabelArrange"), Qt::Key_Return);
        QTest::keyClick(f.label("Label添加日程"), Qt::Key_Space);
        auto* entry = f.get<QPlainTextEdit>("Text添加日程");
        QCOMPARE(QApplication::focusWidget(), entry);
        QTest::keyClick(entry, Qt::Key_Escape);
        QVERIFY(!f.window->agendaPanel()->inEntryMode());
        QTest::keyClick(f.label("Label添加日程"), Qt::Key_Space);
        QTest::keyClicks(entry, QStringLiteral("keyboard"));
        QTest::keyClick(entry, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!f.window->agendaPanel()->inEntryMode());
        QVERIFY(f.bench.read("agenda.txt").contains("\"keyboard\",#2026-12-07#,#2026-12-08#\r\n"));
        auto* list = f.get<LineList>("ListAgenda");
        list->setCurrentRow(int(list->lines().indexOf(QStringLiteral("keyboard"))));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("警告：即将删除此条日程！")});
        QVERIFY(!f.bench.read("agenda.txt").contains("keyboard"));
    }

    // The agenda list's menu chooses the daily word's time; the word's 打开日程 brings the window
    // back on the agenda panel, wherever it was.
    void theDueReminderFromTheListsMenu()
    {
        Fixture f;
        f.click("LabelArrange");
        auto* menu = f.get<QMenu>("MenuDueReminder");
        control<QAction>(menu, "ActionRemind9")->trigger();
        QCOMPARE(QSettings(f.bench.path("kestrin.ini"), QSettings::IniFormat)
                     .value(Settings::name(Settings::Key::RemindTime))
                     .toString(),
                 QStringLiteral("09:00"));
        emit menu->aboutToShow();
        QVERIFY(control<QAction>(menu, "ActionRemind9")->isChecked());
        // The words every box that takes a time takes: 早上7点45 as 07:45.
        f.bench.messages.texts = {QStringLiteral("25:00"), QString::fromUtf8("早上7点45")};
        control<QAction>(menu, "ActionRemindOther")->trigger();
        QVERIFY(f.bench.messages.shown.last().startsWith(QString::fromUtf8("无法识别的时间“25:00”")));
        QVERIFY(f.bench.messages.shown.last().endsWith(QString::fromUtf8("到期提醒未更改。")));
        QVERIFY(control<QAction>(menu, "ActionRemind9")->isChecked());
        control<QAction>(menu, "ActionRemindOther")->trigger();
        QVERIFY(control<QAction>(menu, "ActionRemindOther")->isChecked());

        f.click("LabelLog");
        f.window->hide();
        f.bench.clock.advance(45 * 60 * 1000);
        QCOMPARE(f.bench.notifications.sent, (QList<QStringList>{{QString::fromUtf8("Kestrin日程提醒"),
                                                                  QString::fromUtf8("逾期 1 件：交房租")}}));
        f.bench.notifications.press(int(f.bench.notifications.sent.size()), QStringLiteral("open-agenda"));
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.visiblePanels(), QStringList{QString::fromUtf8("Picture安排日程")});
    }

    // The program lives in the tray for days: at midnight, or on waking in a new day, the overdue
    // marks and counts follow the date, in the ordering in force and on the same current line.
    void theDateChangingRecountsOverdueItems()
    {
        Fixture f;
        auto* midnight = f.program->agenda().findChild<WallTimer*>(QStringLiteral("midnightTimer"));
        QCOMPARE(midnight->deadline(), QDateTime(today.addDays(1), QTime(0, 0)));
        f.click("LabelArrange");
        auto* order = f.get<QComboBox>("Combo排序");
        order->setCurrentText(QString::fromUtf8("按完成日期排序"));
        emit order->activated(order->currentIndex());
        auto* list = f.get<LineList>("ListAgenda");
        const QStringList lines = list->lines();
        list->setCurrentRow(1);
        const QString current = list->text(1);

        // Slept through two days: the timer fires on waking.
        f.bench.clock.advance(
            QDateTime(today, QTime(8, 0)).msecsTo(QDateTime(today.addDays(3), QTime(0, 0, 5))));
        QCOMPARE(f.label("Label逾期未完成")->text(),
                 QString::fromUtf8("Kestrin提醒您：您有 2 件事务逾期未完成!"));
        QCOMPARE(f.label("Label未完成数提醒")->text(), QStringLiteral("2"));
        QCOMPARE(f.bench.tray.tip, QString::fromUtf8("Kestrin—您有2个日程逾期未完成!"));
        QCOMPARE(list->markedRows(), (QList<int>{0, 1}));
        QCOMPARE(list->lines(), lines);
        QCOMPARE(list->text(list->currentRow()), current);
        QCOMPARE(f.get<QLineEdit>("Text剩余天数")->text(), QString::fromUtf8("逾期 1 天"));
        QCOMPARE(midnight->deadline(), QDateTime(today.addDays(4), QTime(0, 0)));
        // The clock set back a day: counted from that day again.
        f.bench.clock.set(QDateTime(today.addDays(2), QTime(23, 0)));
        QCOMPARE(f.label("Label未完成数提醒")->text(), QStringLiteral("1"));
        QCOMPARE(midnight->deadline(), QDateTime(today.addDays(3), QTime(0, 0)));
    }

    // Closed with an alarm notice open: the program ends once the notice goes, so the icon must go
    // at once, or a click on it would bring back a window that is closing.
    void theCloseBoxWithANoticeOpenRemovesTheIcon()
    {
        Fixture f;
        f.click("LabelClock");
        control<QCheckBox>(f.window, QString::fromUtf8("Check是否打开闹钟"), 0)->setChecked(true);
        control<QLineEdit>(f.window, QString::fromUtf8("Text设置闹钟时间"), 0)
            ->setText(QStringLiteral("08:00:01"));
        f.click("Label确认闹钟");
        f.bench.clock.advance(1000);
        f.window->alarmPanel()->checkAlarms();
        QVERIFY(f.window->alarmPanel()->notice());
        f.window->close();
        QVERIFY(f.bench.tray.removed);
        delete f.window->alarmPanel()->notice();
    }

    // A second start brings the window out of the tray, and hands Qt's Wayland platform the
    // launcher's token with which the window may take the focus.
    void aSecondStartBringsTheWindowBack()
    {
        Fixture f;
        f.window->tray()->minimize();
        QVERIFY(!f.window->isVisible());
        f.window->activate(QStringLiteral("from-the-launcher"));
        QVERIFY(f.window->isVisible());
        QVERIFY(!f.window->isMinimized());
        QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("from-the-launcher"));
        qunsetenv("XDG_ACTIVATION_TOKEN");
    }

    // A background is let go while its window is hidden by the program, which shows it again
    // before anyone sees it; a window minimised with no tray to go to keeps it, since the desktop
    // may bring it back without a word (Wayland does).
    void theBackgroundIsThereWheneverTheWindowMayBeSeen()
    {
        Fixture f;
        auto background = [&f] { return !f.window->palette().window().texture().isNull(); };
        QVERIFY(background());
        f.window->hide();
        QVERIFY(!background());
        f.window->show();
        QVERIFY(background());
        // Offscreen brings a minimised window back at once, with a show event of the platform's:
        // the picture must be there before it, not decoded because of it.
        struct ShowWatch : QObject
        {
            std::function<bool()> present;
            QList<bool> atPlatformShow;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Show && event->spontaneous())
                    atPlatformShow.append(present());
                return false;
            }
        } watch;
        watch.present = background;
        f.window->installEventFilter(&watch); // sees each show before the picture's own filter
        f.bench.tray.hasArea = false;
        f.window->setWindowState(Qt::WindowMinimized);
        QVERIFY(f.window->isVisible());
        QVERIFY(background());
        f.window->setWindowState(Qt::WindowNoState);
        QVERIFY(!watch.atPlatformShow.isEmpty());
        QVERIFY(!watch.atPlatformShow.contains(false));
    }

    // The desktop's font (a GNOME session's is larger than the one the layout was drawn for)
    // never clips a caption.
    void everyCaptionFitsUnderALargeDesktopFont()
    {
        const QFont desktop = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 16));
        Fixture f;
        f.click("LabelClock");
        f.bench.clock.advance(1000);
        auto* notice = new FormAware(f.bench.clock, f.window);
        notice->show();
        QApplication::setFont(desktop);
        QStringList clipped;
        for (QWidget* top : {static_cast<QWidget*>(f.window), static_cast<QWidget*>(notice)}) {
            for (QLabel* label : top->findChildren<QLabel*>()) {
                if (label->text().isEmpty() || label->wordWrap() || label->text().contains(u'\n'))
                    continue;
                if (label->fontMetrics().horizontalAdvance(label->text()) > label->width())
                    clipped.append(label->objectName() + QStringLiteral(": ") + label->text());
            }
        }
        delete notice;
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    }

    void everyControlCarriesItsName()
    {
        Fixture f;
        for (const char* name :
             {"LabelVersion",  "LabelHowmuch",        "Label5",       "LabelIndicator", "LabelOption",
              "LabelHelp",     "Label逾期未完成",     "LabelLog",     "LabelClock",     "LabelArrange",
              "Line1",         "LabelQuorrel",        "Text剩余天数", "Text完成日期",   "Text设置日期",
              "Text添加日程",  "Label添加或修改标题", "ListLog",      "Label删除日志",  "Label日志总条数",
              "Label12",       "Label详细内容",       "Shape1",       "Image3",         "Label14",
              "Label确认设置", "Timer显示动画闹钟",   "mnuTray"})
            QVERIFY2(f.window->findChild<QObject*>(QString::fromUtf8(name)), name);
        for (int i = 0; i <= 8; ++i)
            QVERIFY(control<QWidget>(f.window, QStringLiteral("Image1"), i));
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
