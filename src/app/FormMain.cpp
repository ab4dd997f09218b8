#include "app/FormMain.h"

#include "agenda/AgendaPanel.h"
#include "agenda/core/AgendaTexts.h"
#include "alarm/AlarmPanel.h"
#include "alarm/FormAware.h"
#include "app/HelpPanel.h"
#include "app/Navigation.h"
#include "app/OptionsPanel.h"
#include "app/core/Contact.h"
#include "log/LogPanel.h"
#include "platform/KestrinVersion.h"
#include "platform/Services.h"
#include "tray/ReminderPanel.h"
#include "tray/TrayController.h"
#include "uikit/Controls.h"
#include "uikit/ProgramIcon.h"
#include "uikit/ScreenCentre.h"
#include "uikit/ShownPicture.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QShortcut>

namespace {

using K = ControlKind;
constexpr auto centred = Qt::AlignHCenter | Qt::AlignTop;
constexpr auto right = Qt::AlignRight | Qt::AlignTop;

// The controls on the window itself, topmost first; the six panels are classes of their own.
// clang-format off
const ControlRow controls[] = {
    {K::Label, "LabelVersion", 360, 5520, 1575, 255, {.caption = "版本号：V" KESTRIN_VERSION, .align = centred}},
    {K::Label, "LabelHowmuch", 3720, 5040, 375, 255, {.caption = "0", .fg = "#0000FF", .align = centred}},
    {K::Label, "Label5", 2760, 5040, 975, 255, {.caption = "日程总数：", .fg = "#0000FF"}},
    {K::Label, "LabelIndicator", 240, 1320, 375, 255, {.caption = "◣", .fg = "#FF0000", .align = right}},
    {K::Image, "ImageOption1", 4560, 120, 600, 525, {.picture = ":/pictures/option_normal.png", .accessible = "选项"}},
    {K::Label, "LabelOption", 4560, 720, 615, 255, {.caption = "选项", .align = centred}},
    {K::Image, "ImageOption2", 4560, 120, 525, 525, {.picture = ":/pictures/option_raised.png", .hand = true,
     .accessible = "选项"}},
    {K::Image, "ImageHelp1", 7320, 120, 435, 450, {.picture = ":/pictures/help_normal.png", .accessible = "帮助信息"}},
    {K::Label, "LabelHelp", 7080, 720, 975, 255, {.caption = "帮助信息", .align = centred}},
    {K::Image, "ImageHelp2", 7320, 180, 435, 450, {.picture = ":/pictures/help_raised.png", .hand = true,
     .accessible = "帮助信息"}},
    {K::Label, "Label逾期未完成", 4680, 5040, 4095, 255, {.caption = "Kestrin提醒您：您有      件事务逾期未完成!",
     .fg = "#008000", .align = right}},
    {K::Label, "LabelLog", 600, 2520, 975, 255, {.caption = "查看日志", .align = right, .hand = true}},
    {K::Label, "LabelClock", 600, 1920, 975, 255, {.caption = "设置闹钟", .align = right, .hand = true}},
    {K::Label, "LabelArrange", 600, 1320, 975, 255, {.caption = "安排日程", .align = right, .hand = true}},
    {K::Frame, "Line1", 0, 0, 15, 6000},
    {K::Label, "LabelQuorrel", 120, 5760, 2535, 255, {.caption = "Quorrel工作室 2002 出品", .hand = true}},
};
// clang-format on

} // namespace

FormMain::FormMain(const Services& services, TrayIcon& tray, const Sessions& sessions)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(services)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Kestrin"));
    setWindowIcon(programIcon());
    setFixedSize(twipsToPixels(8985), twipsToPixels(6000));
    setFont(layoutFont());
    ShownPicture::attach(this, QStringLiteral(":/pictures/main_background.jpg"),
                         [this](const QPixmap& picture) {
                             QPalette pal = palette();
                             pal.setBrush(QPalette::Window, picture);
                             setPalette(pal);
                         });
    setAutoFillBackground(true);
    setMouseTracking(true);
    createPanels(services, sessions);
    attachNavigation(services);
    chainTabs();
    attachTray(tray);
    connectCommands();
}

void FormMain::createPanels(const Services& services, const Sessions& sessions)
{
    // Created bottom first, so that the first panel of the stacking order lies on top.
    m_options = new OptionsPanel(services, this);
    m_help = new HelpPanel(services, this);
    m_log = new LogPanel(services, sessions.log, this);
    m_alarm = new AlarmPanel(services, sessions.alarms, this);
    m_reminder = new ReminderPanel(services.clock, this);
    m_agenda = new AgendaPanel(services, sessions.agenda, sessions.dueReminder, this);
    const QList<QWidget*> panels = {m_agenda, m_reminder, m_alarm, m_log, m_help, m_options};
    for (QWidget* panel : panels)
        panel->hide();
    buildControls(this, controls);
    for (auto it = panels.rbegin(); it != panels.rend(); ++it)
        (*it)->raise();

    auto* line = control<QFrame>(this, "Line1");
    line->setFrameShape(QFrame::VLine);
    label("LabelQuorrel")->setToolTip(Contact::web2 + QStringLiteral("，") + Contact::mail1);
}

void FormMain::attachNavigation(const Services& services)
{
    m_navigation = new Navigation(services,
                                  {.agenda = m_agenda,
                                   .clock = m_alarm,
                                   .log = m_log,
                                   .options = m_options,
                                   .help = m_help,
                                   .reminder = m_reminder,
                                   .indicator = label("LabelIndicator"),
                                   .arrange = label("LabelArrange"),
                                   .clockLabel = label("LabelClock"),
                                   .logLabel = label("LabelLog"),
                                   .optionLabel = label("LabelOption"),
                                   .helpLabel = label("LabelHelp"),
                                   .option1 = label("ImageOption1"),
                                   .option2 = label("ImageOption2"),
                                   .help1 = label("ImageHelp1"),
                                   .help2 = label("ImageHelp2")},
                                  this);
    // The icons' clickable faces show only under the pointer; the keyboard reaches the icons as
    // they stand and gives the click to that face.
    for (const auto& [face, raised] :
         {std::pair{"ImageOption1", "ImageOption2"}, std::pair{"ImageHelp1", "ImageHelp2"}}) {
        label(face)->setCommand(true);
        label(face)->setKeyboardTarget(label(raised));
        label(raised)->setFocusPolicy(Qt::NoFocus);
    }
}

void FormMain::chainTabs()
{
    // Tab: the navigation first, then the panel on view, then the maker's line.
    QList<QWidget*> order = {label("LabelArrange"), label("LabelClock"), label("LabelLog"),
                             label("ImageOption1"), label("ImageHelp1")};
    order << m_agenda->tabOrder() << m_alarm->tabOrder() << m_log->tabOrder() << m_options->tabOrder()
          << m_help->tabOrder() << label("LabelQuorrel");
    setTabChain(order);
}

void FormMain::attachTray(TrayIcon& tray)
{
    m_tray = new TrayController(this, tray, m_reminder, m_agenda);
    // The month window from anywhere in this window, the list's menu and the tray's.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this, this, &FormMain::monthWanted);
    connect(m_agenda, &AgendaPanel::monthWanted, this, &FormMain::monthWanted);
    connect(m_tray, &TrayController::monthWanted, this, &FormMain::monthWanted);
    m_tray->onQuit = [this] {
        m_alarm->closeNotice();
        // exit() rather than quit(): quit() asks every window first and a refusal cancels it.
        QCoreApplication::exit(0);
    };
}

void FormMain::connectCommands()
{
    connect(label("LabelClock"), &ClickLabel::clicked, this, [this] {
        m_navigation->navigateTo(label("LabelClock"), m_alarm);
        m_alarm->onOpened();
    });
    connect(label("LabelLog"), &ClickLabel::clicked, this, [this] {
        m_navigation->navigateTo(label("LabelLog"), m_log);
        m_log->onOpened();
    });
    connect(label("ImageHelp2"), &ClickLabel::clicked, this, [this] {
        m_navigation->openHelpPanel();
        m_help->showTopic(4, false);
    });
    connect(label("LabelQuorrel"), &ClickLabel::clicked, m_help, &HelpPanel::openMakersPage);
    connect(m_alarm, &AlarmPanel::backToAgenda, m_navigation, &Navigation::returnToAgenda);
    connect(m_agenda, &AgendaPanel::agendaLoaded, this, &FormMain::showSummary);
}

const AgendaTable& FormMain::agendaTable() const
{
    return m_agenda->table();
}

ClickLabel* FormMain::label(const char* name) const
{
    return control<ClickLabel>(this, name);
}

void FormMain::showSummary(int agendaCount, int overdueCount)
{
    label("LabelHowmuch")->setText(QString::number(agendaCount));
    label("Label逾期未完成")->setText(AgendaTexts::overdueSentence(overdueCount));
    m_reminder->setCounts(overdueCount, AgendaTexts::remark(overdueCount));
    m_tray->setTip(AgendaTexts::trayTip(overdueCount));
}

void FormMain::showAtStart()
{
    // The sounds wait until they may soon be wanted; an armed alarm readies its own.
    qApp->installEventFilter(this);
    centreOnScreen(this);
    show();
    m_tray->addIcon();
}

void FormMain::greet()
{
    m_reminder->startReminder();
}

void FormMain::showAgenda()
{
    activate();
    m_navigation->showAgenda();
}

bool FormMain::eventFilter(QObject* watched, QEvent* event)
{
    // The pointer moving over the window, or a key or a click in it: the user may be about to hear
    // a hover or a click, and the sound device takes a moment to open. (A window that merely
    // appears under a resting pointer is not that.)
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseMove || type == QEvent::KeyPress || type == QEvent::MouseButtonPress) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        qApp->removeEventFilter(this);
        for (Sound sound : Sounds::all)
            m_services.sound.preload(m_services.path(sound));
        m_alarm->preloadRingtones();
    }
    return QWidget::eventFilter(watched, event);
}

void FormMain::activate(const QString& token)
{
    // Qt's Wayland platform hands this to the compositor with its next activation request.
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    m_tray->restore();
}

void FormMain::mouseMoveEvent(QMouseEvent* event)
{
    // Only the bare window background resets the highlights, never a panel or a control.
    if (!childAt(event->position().toPoint()))
        m_navigation->resetHover();
    QWidget::mouseMoveEvent(event);
}

void FormMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    // The window is gone for good: a click on the icon must not bring it back.
    m_tray->removeIcon();
    // The program ends with its last window: an open alarm notice keeps it until it is dismissed.
    if (FormAware* notice = m_alarm->notice()) {
        connect(notice, &QObject::destroyed, qApp, [] { QCoreApplication::exit(0); });
        return;
    }
    QCoreApplication::exit(0);
}

void FormMain::setCalendarExport(std::function<Result(const QString& file)> exporter)
{
    m_agenda->setCalendarExport(std::move(exporter));
}
