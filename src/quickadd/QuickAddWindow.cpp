#include "quickadd/QuickAddWindow.h"

#include "agenda/core/ItemWords.h"
#include "calendar/core/DateText.h"
#include "platform/Clock.h"
#include "uikit/ComposedText.h"
#include "uikit/ProgramIcon.h"
#include "uikit/ScreenCentre.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

QuickAddWindow::QuickAddWindow(const Clock& clock, HolidayCalendar holidays, Add add)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_clock(clock),
      m_holidays(std::move(holidays)), m_add(std::move(add)), m_text(new QLineEdit(this)),
      m_date(new QLineEdit(QStringLiteral("明天"), this)), m_meaning(new QLabel(this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("FormQuickAdd"));
    setWindowTitle(QStringLiteral("快速添加日程"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_text->setObjectName(QStringLiteral("TextQuickAdd"));
    m_text->setAccessibleName(QStringLiteral("日程内容"));
    m_text->setPlaceholderText(QStringLiteral("要做的事"));
    m_date->setObjectName(QStringLiteral("TextQuickFinish"));
    m_date->setAccessibleName(QStringLiteral("完成日期"));
    m_date->setToolTip(QStringLiteral(
        "如：明天、周五、周末、下周一、3天后、下月15号、12月20日、2027-01-05、"
        "国庆、除夕、农历八月十五，可带时间：明天下午3点、15:30；或重复：每周五、每月15号、工作日"));
    m_meaning->setObjectName(QStringLiteral("LabelQuickFinishMeaning"));
    m_status->setObjectName(QStringLiteral("LabelQuickStatus"));
    m_status->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("日程内容(&T)："), m_text);
    form->addRow(QStringLiteral("完成日期(&D)："), m_date);
    form->addRow(QString(), m_meaning);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    setMinimumWidth(380);

    new ComposedText(m_text);
    new ComposedText(m_date);
    connect(m_date, &QLineEdit::textChanged, this, &QuickAddWindow::showDate);
    connect(m_text, &QLineEdit::textChanged, this, &QuickAddWindow::showDate);
    connect(m_text, &QLineEdit::returnPressed, this, &QuickAddWindow::submit);
    connect(m_date, &QLineEdit::returnPressed, this, &QuickAddWindow::submit);
    showDate();
}

void QuickAddWindow::present()
{
    // Shown again after an add (by the month window): a new entry, not the last one's answer.
    if (!m_text->isEnabled()) {
        m_text->clear();
        m_text->setEnabled(true);
        m_date->setEnabled(true);
        m_status->clear();
    }
    adjustSize();
    centreOnScreen(this);
    show();
    raise();
    // On Wayland the launcher's activation token (XDG_ACTIVATION_TOKEN) goes with this request.
    activateWindow();
    m_text->setFocus();
}

void QuickAddWindow::setDay(QDate day)
{
    m_date->setText(DateText::format(day));
}

void QuickAddWindow::showDate()
{
    m_meaning->setText(ItemWords::meaning(m_text->text(), m_date->text(), m_clock.now(), m_holidays));
}

void QuickAddWindow::submit()
{
    const ResultOf<AgendaItem> item =
        ItemWords::readBox(m_text->text(), m_date->text(), m_clock.now(), m_holidays);
    const ResultOf<QString> added = item ? m_add(*item) : ResultOf<QString>(item.result());
    if (!added) {
        tell(added.error(), true);
        return;
    }
    tell(*added, false);
    m_text->setEnabled(false);
    m_date->setEnabled(false);
    QTimer::singleShot(closeAfterMs, this, &QWidget::close);
}

void QuickAddWindow::tell(const QString& text, bool refusal)
{
    m_status->setText(text);
    QPalette pal = m_status->palette();
    pal.setColor(QPalette::WindowText, refusal ? QColor(0xB0, 0x00, 0x00) : QColor(0x00, 0x70, 0x00));
    m_status->setPalette(pal);
}

void QuickAddWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
