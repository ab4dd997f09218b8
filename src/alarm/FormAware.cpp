#include "alarm/FormAware.h"

#include "alarm/core/AlarmTable.h"
#include "platform/Clock.h"
#include "uikit/Controls.h"
#include "uikit/ProgramIcon.h"
#include "uikit/ScaledPicture.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

namespace {

using K = ControlKind;

// clang-format off
const ControlRow controls[] = {
    {K::Label, "Label超期时长", 2640, 360, 1935, 255, {.caption = "超期时长:", .fg = "#FFFFFF"}},
    {K::Label, "Label我知道啦", 1560, 1560, 1215, 255, {.caption = "我知道啦!", .align = Qt::AlignHCenter, .hand = true}},
    {K::Label, "Label闹钟提醒", 360, 720, 3615, 615, {.caption = "您设置的闹钟时间已到!", .fg = "#FFFF80"}},
    {K::Image, "ImageClock1", 3840, 1200, 750, 1050, {.picture = ":/pictures/clock1.png"}},
    {K::Image, "ImageClock2", 3840, 1320, 720, 510, {.picture = ":/pictures/clock2.png"}},
    {K::Button, "Image1", 1560, 1440, 1335, 390, {.index = 6, .picture = ":/pictures/button.jpg"}},
};
// clang-format on

} // namespace

void ClockAnimation::step()
{
    showingFirst = !showingFirst;
    first->setVisible(showingFirst);
    second->setVisible(!showingFirst);
}

FormAware::FormAware(const Clock& clock, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      m_time(clock), m_noticeStart(clock.monotonicMs()), m_timer(new QTimer(this)),
      m_snoozeMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("FormAware"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kestrin闹钟"));
    setWindowIcon(programIcon());
    setFixedSize(twipsToPixels(4530), twipsToPixels(1860));
    setFont(layoutFont());
    auto* background = new QLabel(this);
    const QString picture = QStringLiteral(":/pictures/notice_background.jpg");
    background->setPixmap(background->devicePixelRatioF() > 1.0
                              ? scaledPicture(picture, background->devicePixelRatioF())
                              : QPixmap(picture));
    background->setGeometry(rect());
    buildControls(this, controls);
    background->lower();

    m_prompt = control<ClickLabel>(this, "Label闹钟提醒");
    m_prompt->setWordWrap(true);
    m_elapsed = control<ClickLabel>(this, "Label超期时长");
    m_clock.first = control<QWidget>(this, "ImageClock1");
    m_clock.second = control<QWidget>(this, "ImageClock2");
    connect(control<ClickLabel>(this, "Label我知道啦"), &ClickLabel::clicked, this, &QWidget::close);

    m_timer->setObjectName(QStringLiteral("Timer显示动画闹钟"));
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &FormAware::tick);
    m_timer->start();

    m_snoozeMenu->setObjectName(QStringLiteral("MenuSnooze"));
    const std::pair<int, const char*> snoozes[] = {
        {5, "5 分钟后再响(&5)"}, {10, "10 分钟后再响(&1)"}, {30, "30 分钟后再响(&3)"}};
    for (const auto& [minutes, caption] : snoozes) {
        QAction* action = m_snoozeMenu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QStringLiteral("ActionSnooze%1").arg(minutes));
        connect(action, &QAction::triggered, this, [this, minutes = minutes] {
            emit snoozeChosen(minutes);
            close();
        });
    }

    if (owner) {
        const QRect o = owner->frameGeometry();
        move(o.center() - rect().center());
    }
}

QString FormAware::prompt() const
{
    return m_prompt->text();
}

void FormAware::setPrompt(const QString& prompt)
{
    m_prompt->setText(prompt);
}

void FormAware::tick()
{
    m_clock.step();
    m_elapsed->setText(elapsedText(m_time.monotonicMs() - m_noticeStart));
}

void FormAware::contextMenuEvent(QContextMenuEvent* event)
{
    m_snoozeMenu->popup(event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                    : mapToGlobal(rect().center()));
}

void FormAware::keyPressEvent(QKeyEvent* event)
{
    // The menu key arrives as a context menu event; Shift+F10, its other name, does not everywhere.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        m_snoozeMenu->popup(mapToGlobal(rect().center()));
        return;
    }
    QWidget::keyPressEvent(event);
}

void FormAware::closeEvent(QCloseEvent* event)
{
    emit dismissed();
    QWidget::closeEvent(event);
}
