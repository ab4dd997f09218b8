#include "alarm/AlarmPanel.h"

#include "alarm/FormAware.h"
#include "alarm/core/TimeText.h"
#include "platform/Services.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <vector>

namespace {

using K = ControlKind;

const QString timeTip = QStringLiteral("时间格式：12:59:01 或 12:59");

// clang-format off
std::vector<ControlRow> alarmLayout()
{
    static const char* headings[] = {"闹钟 1：", "闹钟 2：", "闹钟 3："};
    static const char* tickNames[] = {"闹钟 1 是否打开", "闹钟 2 是否打开", "闹钟 3 是否打开"};
    static const char* timeNames[] = {"闹钟 1 设置时间", "闹钟 2 设置时间", "闹钟 3 设置时间"};
    static const char* ringNames[] = {"闹钟 1 响铃次数", "闹钟 2 响铃次数", "闹钟 3 响铃次数"};
    static const char* promptNames[] = {"闹钟 1 设置闹钟提示", "闹钟 2 设置闹钟提示", "闹钟 3 设置闹钟提示"};
    std::vector<ControlRow> entries;
    for (int i = 0; i < alarmCount; ++i) {
        const int heading = 600 + 1080 * i, first = 960 + 1080 * i, prompt = 1320 + 1080 * i;
        entries.push_back({K::Label, "Label7", 480, heading, 975, 255, {.index = i, .caption = headings[i],
                         .fg = "#FFC080", .font = "宋体", .points = 10.5, .bold = true}});
        entries.push_back({K::Label, "Label8", 600, first, 1335, 255, {.index = i, .caption = "是否打开闹钟", .fg = "#FFFFFF"}});
        entries.push_back({K::Check, "Check是否打开闹钟", 1680, first, 255, 255, {.index = i, .bg = "#0000FF",
                         .accessible = tickNames[i]}});
        entries.push_back({K::Label, "Label9", 2040, first, 1095, 255, {.index = i, .caption = "设置时间", .fg = "#FFFFFF"}});
        entries.push_back({K::Text, "Text设置闹钟时间", 2760, first, 1095, 270, {.index = i, .bg = "#8080FF",
                         .accessible = timeNames[i]}});
        entries.push_back({K::Label, "Label11", 4080, first, 1095, 255, {.index = i, .caption = "响铃次数", .fg = "#FFFFFF"}});
        entries.push_back({K::Combo, "Combo响铃次数", 4800, first, 615, 300, {.index = i, .bg = "#C0FFFF",
                         .accessible = ringNames[i]}});
        entries.push_back({K::Label, "Label10", 600, prompt, 1335, 255, {.index = i, .caption = "设置闹钟提示", .fg = "#FFFFFF"}});
        entries.push_back({K::Text, "Text设置闹钟提示", 1680, prompt, 3735, 270, {.index = i, .fg = "#80FFFF",
                         .bg = "#8080FF", .accessible = promptNames[i]}});
    }
    const ControlRow rest[] = {
        {K::Image, "ImageClock1", 6480, 3240, 750, 1050, {.picture = ":/pictures/clock1.png"}},
        {K::Image, "ImageClock2", 6480, 3360, 720, 510, {.picture = ":/pictures/clock2.png"}},
        {K::Label, "Label确认闹钟", 5760, 1440, 1215, 255, {.caption = "确 认", .align = Qt::AlignHCenter, .hand = true}},
        {K::Label, "Label取消闹钟", 5760, 2400, 1215, 255, {.caption = "取 消", .align = Qt::AlignHCenter, .hand = true}},
        {K::Button, "Image1", 5760, 1320, 1335, 390, {.index = 5, .picture = ":/pictures/button.jpg"}},
        {K::Button, "Image1", 5760, 2280, 1335, 390, {.index = 6, .picture = ":/pictures/button.jpg"}},
    };
    entries.insert(entries.end(), std::begin(rest), std::end(rest));
    return entries;
}
// clang-format on

} // namespace

AlarmPanel::AlarmPanel(const Services& services, AlarmTable& table, QWidget* parent)
    : Panel(parent, {"PictureClock", "设置闹钟", ":/pictures/clock_background.jpg"}, alarmLayout()),
      m_services(services), m_table(table), m_animation(new QTimer(this)), m_alarmTimer(new QTimer(this)),
      m_ringtones(services.path(Settings::fileName), services.path(Sound::Alarm)), m_ringMenu(new QMenu(this))
{

    for (int i = 0; i < alarmCount; ++i) {
        m_ticks[i] = control<QCheckBox>(this, "Check是否打开闹钟", i);
        m_times[i] = control<QLineEdit>(this, "Text设置闹钟时间", i);
        m_rings[i] = control<QComboBox>(this, "Combo响铃次数", i);
        m_prompts[i] = control<QLineEdit>(this, "Text设置闹钟提示", i);
        for (int n = 1; n <= 8; ++n)
            m_rings[i]->addItem(QString::number(n));
        m_rings[i]->setCurrentIndex(2);
        // Any change of a tick, made by hand or by the panel's opening, applies the rule to all rows.
        connect(m_ticks[i], &QCheckBox::toggled, this, &AlarmPanel::applyTickRule);
        connect(m_times[i], &QLineEdit::textChanged, this, [this, i](const QString& text) {
            if (m_refused[i] && TimeText::parse(text))
                showTimeValidity(i, true);
        });
    }
    m_ringMenu->setObjectName(QStringLiteral("MenuRingtone"));
    QAction* choose = m_ringMenu->addAction(QStringLiteral("选择铃声…"));
    choose->setObjectName(QStringLiteral("ActionChooseRingtone"));
    connect(choose, &QAction::triggered, this, &AlarmPanel::chooseRingtone);
    QAction* listen = m_ringMenu->addAction(QStringLiteral("试听铃声"));
    listen->setObjectName(QStringLiteral("ActionListenRingtone"));
    connect(listen, &QAction::triggered, this,
            [this] { m_services.sound.play(ringingPath(m_menuRow, false)); });
    QAction* reset = m_ringMenu->addAction(QStringLiteral("恢复默认铃声"));
    reset->setObjectName(QStringLiteral("ActionDefaultRingtone"));
    connect(reset, &QAction::triggered, this, [this] {
        m_ringtones.reset(m_menuRow);
        showRingtones();
    });
    for (int i = 0; i < alarmCount; ++i) {
        m_captions[i] = control<ClickLabel>(this, "Label7", i);
        m_captions[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_captions[i], &QWidget::customContextMenuRequested, this, [this, i](const QPoint& at) {
            openRingtoneMenu(i, nullptr, m_captions[i]->mapToGlobal(at));
        });
        m_times[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_times[i], &QWidget::customContextMenuRequested, this, [this, i](const QPoint& at) {
            openRingtoneMenu(i, m_times[i], m_times[i]->mapToGlobal(at));
        });
    }
    showRingtones();
    setTabChain(tabOrder());

    m_clock.first = control<QWidget>(this, "ImageClock1");
    m_clock.second = control<QWidget>(this, "ImageClock2");
    connect(control<ClickLabel>(this, "Label确认闹钟"), &ClickLabel::clicked, this,
            &AlarmPanel::confirmAlarms);
    connect(control<ClickLabel>(this, "Label取消闹钟"), &ClickLabel::clicked, this,
            &AlarmPanel::cancelAlarms);

    // The panel's animation is only worth waking for while someone can see it.
    m_animation->setObjectName(QStringLiteral("Timer显示动画闹钟"));
    m_animation->setInterval(100);
    connect(m_animation, &QTimer::timeout, this, [this] { m_clock.step(); });

    m_alarmTimer->setObjectName(QStringLiteral("Timer运行闹钟"));
    m_alarmTimer->setInterval(500);
    connect(m_alarmTimer, &QTimer::timeout, this, &AlarmPanel::checkAlarms);
}

void AlarmPanel::showEvent(QShowEvent* event)
{
    Panel::showEvent(event);
    m_animation->start();
    showRingtones(); // a chosen file may have gone since
}

void AlarmPanel::hideEvent(QHideEvent* event)
{
    Panel::hideEvent(event);
    m_animation->stop();
}

void AlarmPanel::onOpened()
{
    if (m_table.confirmed)
        return;
    for (QCheckBox* tick : m_ticks)
        tick->setChecked(false);
}

void AlarmPanel::applyTickRule()
{
    for (int i = 0; i < alarmCount; ++i) {
        if (!m_ticks[i]->isChecked())
            m_times[i]->clear();
        else if (m_times[i]->text().isEmpty())
            m_times[i]->setText(TimeText::format(m_services.clock.timeOfDay()));
    }
}

void AlarmPanel::showTimeValidity(int row, bool valid)
{
    QLineEdit* box = m_times[row];
    m_refused[row] = !valid;
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, valid ? QColor(0x00, 0x00, 0x00) : QColor(0xFF, 0x00, 0x00));
    box->setPalette(pal);
    box->setToolTip(valid ? QString() : timeTip);
}

void AlarmPanel::confirmAlarms()
{
    for (QCheckBox* tick : m_ticks)
        if (tick->isChecked())
            m_table.confirmed = true;
    emit backToAgenda();
    if (!m_table.confirmed)
        return;
    const QDateTime now = m_services.clock.now();
    for (int i = 0; i < alarmCount; ++i) {
        AlarmRecord& record = m_table.alarms[i];
        if (!m_ticks[i]->isChecked()) {
            record.enabled = false;
            showTimeValidity(i, true);
            continue;
        }
        const std::optional<QTime> time = TimeText::parse(m_times[i]->text());
        showTimeValidity(i, time.has_value());
        if (!time) {
            // A time that cannot be read never rings at once, nor at an older time.
            record.enabled = false;
            continue;
        }
        m_table.arm(i, *time, m_prompts[i]->text(), m_rings[i]->currentText().toInt(), now);
        m_told[i] = false;
    }
    if (m_table.anyArmed())
        m_alarmTimer->start();
}

void AlarmPanel::cancelAlarms()
{
    emit backToAgenda();
}

void AlarmPanel::checkAlarms()
{
    const QList<int> rang = m_table.check(m_services.clock.now());
    for (int i : rang) {
        m_services.sound.play(ringingPath(i));
        // A notice already dismissed is only waiting to be deleted: a ring needs a live one.
        if (m_notice && !m_notice->isVisible())
            m_notice = nullptr;
        if (!m_notice)
            m_notice = new FormAware(m_services.clock, window());
        m_notice->show();
        m_notice->raise();
        const QString& prompt = m_table.alarms[i].prompt;
        if (!prompt.isEmpty())
            m_notice->setPrompt(prompt);
        // Out of sight, the notice may be missed: the desktop tells of it once per alarm.
        QWidget* main = window();
        if (!m_told[i] && (!main->isVisible() || main->isMinimized())) {
            m_told[i] = true;
            m_services.notifications.notify(QStringLiteral("Kestrin闹钟"), m_notice->prompt());
        }
    }
    // Nothing armed: the check sleeps until the next confirmation arms something.
    if (!m_table.anyArmed())
        m_alarmTimer->stop();
}

void AlarmPanel::closeNotice()
{
    if (m_notice)
        m_notice->close();
}

QList<QWidget*> AlarmPanel::tabOrder() const
{
    QList<QWidget*> order;
    for (int i = 0; i < alarmCount; ++i)
        order << m_ticks[i] << m_times[i] << m_rings[i] << m_prompts[i];
    return order << control<QWidget>(this, "Label确认闹钟") << control<QWidget>(this, "Label取消闹钟");
}

void AlarmPanel::preloadRingtones()
{
    for (int i = 0; i < alarmCount; ++i)
        if (const QString path = m_ringtones.ringPath(i); path != m_services.path(Sound::Alarm))
            m_services.sound.preload(path);
}

QString AlarmPanel::ringingPath(int row, bool ringing) const
{
    // A file the player cannot play would ring in silence, and so may one it has not readied yet;
    // a listen may start a little late.
    const QString path = m_ringtones.ringPath(row), fallback = m_services.path(Sound::Alarm);
    const SoundDevice::Readiness readiness = m_services.sound.readiness(path);
    const bool plays = readiness == SoundDevice::Ready || (!ringing && readiness == SoundDevice::Loading);
    return path == fallback || plays ? path : fallback;
}

void AlarmPanel::showRingtones()
{
    for (int i = 0; i < alarmCount; ++i)
        m_captions[i]->setToolTip(m_ringtones.describe(
            i, m_services.sound.readiness(m_ringtones.ringPath(i)) != SoundDevice::Unplayable));
}

void AlarmPanel::openRingtoneMenu(int row, QLineEdit* box, const QPoint& globalPos)
{
    m_menuRow = row;
    control<QAction>(m_ringMenu, "ActionDefaultRingtone")->setEnabled(!m_ringtones.chosen(row).isEmpty());
    if (!box) {
        m_ringMenu->popup(globalPos);
        return;
    }
    // The time box keeps its editing commands above the ringtone's.
    QMenu* menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addActions(m_ringMenu->actions());
    menu->popup(globalPos);
}

void AlarmPanel::chooseRingtone()
{
    const QString current = m_ringtones.chosen(m_menuRow);
    const QString start = current.isEmpty() ? m_services.appDir : QFileInfo(current).absolutePath();
    const QString path = m_services.messages.chooseFile(QStringLiteral("选择铃声"), start,
                                                        QStringLiteral("WAV 声音文件 (*.wav *.WAV)"));
    if (path.isEmpty())
        return;
    if (const QString refusal = Ringtones::checkWave(path); !refusal.isEmpty()) {
        m_services.messages.inform(refusal);
        return;
    }
    m_ringtones.choose(m_menuRow, path);
    m_services.sound.preload(path);
    showRingtones();
}
