#include "tray/ReminderPanel.h"

#include "platform/Clock.h"

#include <QTimer>

namespace {

using K = ControlKind;

// clang-format off
const ControlRow controls[] = {
    {K::Label, "Label评论", 2280, 2400, 4335, 1095, {.caption = "成事在胸，井井有条，您将大有所为！", .fg = "#FFFF00",
     .font = "华文行楷", .points = 15.75}},
    {K::Label, "Label未完成数提醒", 3840, 1200, 735, 375, {.caption = "0", .fg = "#FFFFFF", .font = "宋体",
     .points = 15.75}},
};
// clang-format on

constexpr qint64 onViewMs = 3000;

} // namespace

ReminderPanel::ReminderPanel(const Clock& clock, QWidget* parent)
    : Panel(parent, {"Picture提醒", "逾期提醒", ":/pictures/reminder_background.jpg"}, controls),
      m_clock(clock), m_timer(new QTimer(this))
{
    setCursor(Qt::PointingHandCursor);
    control<QLabel>(this, "Label评论")->setWordWrap(true);
    // A click anywhere on the reminder, its texts included, dismisses it.
    for (QWidget* label : findChildren<QWidget*>())
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_timer->setObjectName(QStringLiteral("Timer提醒"));
    m_timer->setInterval(500);
    connect(m_timer, &QTimer::timeout, this, &ReminderPanel::checkReminder);
    connect(this, &ClickLabel::clicked, this, [this] {
        hide();
        m_timer->stop();
        emit dismissed();
    });
}

void ReminderPanel::setCounts(int overdueCount, const QString& remark)
{
    control<QLabel>(this, "Label未完成数提醒")->setText(QString::number(overdueCount));
    control<QLabel>(this, "Label评论")->setText(remark);
}

void ReminderPanel::startReminder()
{
    show();
    m_timer->start();
    StartTimer = m_clock.monotonicMs();
}

void ReminderPanel::checkReminder()
{
    if (!m_timer->isActive() || m_clock.monotonicMs() - StartTimer <= onViewMs)
        return;
    hide();
    m_timer->stop();
    emit dismissed();
    emit timedOut();
}

void ReminderPanel::stopReminder()
{
    if (!isVisibleTo(parentWidget()))
        return;
    m_timer->stop();
    hide();
}
