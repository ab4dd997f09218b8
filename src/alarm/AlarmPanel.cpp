#include "alarm/AlarmPanel.h"

#include "alarm/AlarmRowMenu.h"
#include "alarm/FormAware.h"
#include "alarm/core/AlarmRuntime.h"
#include "alarm/core/TimeText.h"
#include "calendar/core/DayText.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
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

AlarmPanel::AlarmPanel(const Services& services, AlarmRuntime& runtime, QWidget* parent)
    : Panel(parent, {"PictureClock", "设置闹钟", ":/pictures/clock_background.jpg"}, alarmLayout()),
      m_services(services), m_table(runtime.table()), m_animation(new QTimer(this)), m_runtime(runtime),
      m_rowMenu(new AlarmRowMenu(
          services, runtime, m_repeats, [this] { showRowTips(); }, this))
{
    m_runtime.inSight = [this] { return window()->isVisible() && !window()->isMinimized(); };
    connect(&m_runtime, &AlarmRuntime::rang, this, &AlarmPanel::showNotice);
    connect(&m_runtime, &AlarmRuntime::closeNoticeRequested, this, &AlarmPanel::closeNotice);
    connect(&m_runtime, &AlarmRuntime::tableChanged, this, &AlarmPanel::showRowTips);
    connect(&m_runtime, &AlarmRuntime::restored, this, &AlarmPanel::showRestored);

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
    for (int i = 0; i < alarmCount; ++i) {
        m_captions[i] = control<ClickLabel>(this, "Label7", i);
        m_captions[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_captions[i], &QWidget::customContextMenuRequested, this,
                [this, i](const QPoint& at) { m_rowMenu->open(i, nullptr, m_captions[i]->mapToGlobal(at)); });
        m_times[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_times[i], &QWidget::customContextMenuRequested, this,
                [this, i](const QPoint& at) { m_rowMenu->open(i, m_times[i], m_times[i]->mapToGlobal(at)); });
    }
    showRowTips();
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
}

void AlarmPanel::showEvent(QShowEvent* event)
{
    Panel::showEvent(event);
    m_animation->start();
    showRowTips(); // a chosen file may have gone since
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
        if (!m_ticks[i]->isChecked()) {
            m_table.disarm(i);
            showTimeValidity(i, true);
            continue;
        }
        const ResultOf<QTime> time = TimeText::parse(m_times[i]->text());
        showTimeValidity(i, time.ok());
        if (!time) {
            // A time that cannot be read never rings at once, nor at an older time.
            m_table.disarm(i);
            continue;
        }
        m_table.arm(i, *time, m_prompts[i]->text(), m_rings[i]->currentText().toInt(), now, m_repeats[i]);
    }
    m_runtime.changed();
}

void AlarmPanel::cancelAlarms()
{
    emit backToAgenda();
}

void AlarmPanel::checkAlarms()
{
    m_runtime.check();
}

void AlarmPanel::showNotice(int row, const QString& prompt)
{
    Q_UNUSED(row)
    // A notice already dismissed is only waiting to be deleted: a ring needs a live one.
    if (m_notice && !m_notice->isVisible())
        m_notice = nullptr;
    if (!m_notice) {
        m_notice = new FormAware(m_services.clock, window());
        connect(m_notice, &FormAware::snoozeChosen, &m_runtime, &AlarmRuntime::snoozeNotice);
        connect(m_notice, &FormAware::dismissed, &m_runtime, &AlarmRuntime::noticeClosed);
        // When it began to ring, as a person reads the day.
        const QDateTime now = m_services.clock.now();
        control<QWidget>(m_notice.data(), "Label超期时长")
            ->setToolTip(
                QStringLiteral("响铃于 %1 %2")
                    .arg(dayText(now.date(), m_runtime.holidays()), now.toString(QStringLiteral("HH:mm"))));
    }
    m_notice->show();
    m_notice->raise();
    if (!prompt.isEmpty())
        m_notice->setPrompt(prompt);
}

void AlarmPanel::snoozeNotice(int minutes)
{
    m_runtime.snoozeNotice(minutes);
}

void AlarmPanel::showRestored(const QList<SavedAlarm>& alarms)
{
    for (const SavedAlarm& alarm : alarms) {
        const int row = alarm.row;
        m_times[row]->setText(TimeText::format(alarm.time));
        m_ticks[row]->setChecked(true);
        m_rings[row]->setCurrentIndex(alarm.rings - 1);
        m_prompts[row]->setText(alarm.prompt);
        m_repeats[row] = alarm.repeat;
    }
    showRowTips();
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
    m_runtime.preloadRingtones();
}

void AlarmPanel::showRowTips()
{
    for (int i = 0; i < alarmCount; ++i) {
        const Ringtones& ringtones = m_runtime.ringtones();
        QString tip = ringtones.describe(i, m_services.sound.readiness(ringtones.ringPath(i)) !=
                                                SoundDevice::Unplayable);
        tip += QStringLiteral("\n重复：") + AlarmSchedule::name(m_repeats[i]);
        if (m_repeats[i] == Repeat::OfficialWorkdays) {
            const AlarmRecord& record = m_table.alarms[i];
            const ResultOf<QTime> typed = TimeText::parse(m_times[i]->text());
            const std::optional<QTime> time = record.enabled ? record.time
                                              : typed        ? std::optional<QTime>(*typed)
                                                             : std::nullopt;
            const QString note = AlarmSchedule::officialNote(time.value_or(QTime(0, 0)),
                                                             m_services.clock.now(), m_runtime.holidays());
            if (!note.isEmpty())
                tip += u'\n' + note;
        }
        if (const QDateTime& until = m_table.alarms[i].snoozedTo; until.isValid())
            tip += QStringLiteral("\n已推迟到 ") + until.toString(QStringLiteral("HH:mm"));
        m_captions[i]->setToolTip(tip);
    }
}
