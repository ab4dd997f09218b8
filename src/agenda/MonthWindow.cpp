#include "agenda/MonthWindow.h"

#include "calendar/core/HolidayCalendar.h"
#include "platform/Clock.h"
#include "uikit/Controls.h"
#include "uikit/ProgramIcon.h"
#include "uikit/ScreenCentre.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Role
{
    NoteRole = Qt::UserRole,
    MarkRole,
    CountRole,
    OverdueRole,
    InMonthRole,
    TodayRole,
    DateRole,
};

const QColor offColour(0x2E, 0x8B, 0x57), workColour(0xC0, 0x39, 0x2B), festivalColour(0xC0, 0x39, 0x2B);

// A day drawn as a phone's calendar draws it: the number, under it the note, 休 or 班 in the
// corner, a dot and the count of items, today ringed, other months' days and weekends set apart.
class DayDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const QRect r = option.rect.adjusted(2, 2, -2, -2);
        const bool selected = option.state & QStyle::State_Selected;
        const bool inMonth = index.data(InMonthRole).toBool();
        const QDate date = index.data(DateRole).toDate();
        if (selected)
            painter->fillRect(r, option.palette.highlight());
        QColor ink = selected ? option.palette.highlightedText().color() : option.palette.text().color();
        if (!selected && date.dayOfWeek() >= 6)
            ink = QColor(0xB0, 0x30, 0x30);
        if (!inMonth)
            ink.setAlpha(90);
        QFont number = option.font;
        number.setPointSizeF(number.pointSizeF() * 1.25);
        number.setBold(index.data(TodayRole).toBool());
        painter->setFont(number);
        painter->setPen(ink);
        const QRect top(r.left(), r.top() + 2, r.width(), r.height() / 2);
        painter->drawText(top, Qt::AlignHCenter | Qt::AlignBottom, QString::number(date.day()));
        QFont small = option.font;
        small.setPointSizeF(small.pointSizeF() * 0.85);
        painter->setFont(small);
        const QString note = index.data(NoteRole).toString();
        QColor noteInk = ink;
        if (!selected && index.data(Qt::UserRole + 20).toBool())
            noteInk = festivalColour;
        painter->setPen(noteInk);
        const QRect bottom(r.left(), r.center().y() + 2, r.width(), r.height() / 2 - 4);
        painter->drawText(bottom, Qt::AlignHCenter | Qt::AlignTop, note);
        if (const QString mark = index.data(MarkRole).toString(); !mark.isEmpty()) {
            painter->setPen(selected ? ink : mark == QStringLiteral("休") ? offColour : workColour);
            painter->drawText(r.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, mark);
        }
        if (const int count = index.data(CountRole).toInt(); count > 0) {
            const bool overdue = index.data(OverdueRole).toInt() > 0;
            painter->setPen(selected ? ink : overdue ? QColor(0xC0, 0x00, 0x00) : QColor(0x1F, 0x5F, 0xAF));
            painter->drawText(r.adjusted(0, 1, -3, 0), Qt::AlignRight | Qt::AlignTop,
                              QStringLiteral("●%1").arg(count));
        }
        if (index.data(TodayRole).toBool()) {
            QPen ring(selected ? option.palette.highlightedText().color()
                               : option.palette.highlight().color());
            ring.setWidthF(2.0);
            painter->setPen(ring);
            painter->setRenderHint(QPainter::Antialiasing);
            painter->drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 4, 4);
        }
        if (option.state & QStyle::State_HasFocus) {
            QPen focus(ink);
            focus.setStyle(Qt::DotLine);
            painter->setPen(focus);
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.fontMetrics.horizontalAdvance(QStringLiteral("腊月初一")) + 12,
                     option.fontMetrics.height() * 3);
    }
};

} // namespace

MonthWindow::MonthWindow(const Clock& clock, const HolidayCalendar& holidays,
                         std::function<QList<AgendaItem>()> items, QWidget* parent)
    : QWidget(parent, Qt::Window), m_clock(clock), m_holidays(holidays), m_items(std::move(items)),
      m_title(new QLabel(this)), m_unknownYear(new QLabel(this)),
      m_previous(new QPushButton(QStringLiteral("上月(&P)"), this)),
      m_next(new QPushButton(QStringLiteral("下月(&N)"), this)),
      m_today(new QPushButton(QStringLiteral("今天(&T)"), this)), m_grid(new QTableWidget(6, 7, this)),
      m_dayWords(new QLabel(this))
{
    setObjectName(QStringLiteral("FormMonth"));
    setWindowTitle(QStringLiteral("月历"));
    setWindowIcon(programIcon());
    setFont(layoutFont());
    m_title->setObjectName(QStringLiteral("LabelMonthTitle"));
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_unknownYear->setObjectName(QStringLiteral("LabelMonthUnknownYear"));
    m_grid->setObjectName(QStringLiteral("GridMonth"));
    m_grid->setAccessibleName(QStringLiteral("月历"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                                       QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
                                       QStringLiteral("日")});
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setShowGrid(true);
    m_grid->setItemDelegate(new DayDelegate(m_grid));
    m_grid->installEventFilter(this);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    const QSize cell = m_grid->itemDelegate()->sizeHint(QStyleOptionViewItem(), QModelIndex());
    m_grid->setMinimumSize(cell.width() * 7 + 4,
                           cell.height() * 6 + m_grid->horizontalHeader()->sizeHint().height() + 4);
    m_dayWords->setObjectName(QStringLiteral("LabelMonthDay"));
    m_dayWords->setWordWrap(true);
    m_dayWords->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QPushButton* button : {m_previous, m_next, m_today})
        button->setAutoDefault(false);
    m_previous->setObjectName(QStringLiteral("ButtonMonthPrevious"));
    m_next->setObjectName(QStringLiteral("ButtonMonthNext"));
    m_today->setObjectName(QStringLiteral("ButtonMonthToday"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_previous);
    top->addWidget(m_next);
    top->addWidget(m_today);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_unknownYear);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_dayWords);

    connect(m_previous, &QPushButton::clicked, this, [this] { select(m_selected.addMonths(-1)); });
    connect(m_next, &QPushButton::clicked, this, [this] { select(m_selected.addMonths(1)); });
    connect(m_today, &QPushButton::clicked, this, [this] { select(m_clock.today()); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column >= 0 && m_sheet)
            if (const QDate date = m_sheet->days().value(row * 7 + column).date; date != m_selected) {
                if (date.month() != m_sheet->month())
                    select(date);
                else {
                    m_selected = date;
                    showSelected();
                }
            }
    });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { emit addWanted(m_selected); });
    select(m_clock.today());
}

MonthWindow::~MonthWindow() = default;

void MonthWindow::present()
{
    select(m_clock.today());
    if (!isVisible()) {
        adjustSize();
        centreOnScreen(this);
    }
    show();
    raise();
    activateWindow();
    m_grid->setFocus();
}

void MonthWindow::select(QDate date, bool again)
{
    if (!date.isValid())
        return;
    m_selected = date;
    if (again || !m_sheet || m_sheet->year() != date.year() || m_sheet->month() != date.month())
        showMonth(date.year(), date.month());
    showSelected();
}

void MonthWindow::showMonth(int year, int month)
{
    m_sheet = std::make_unique<MonthSheet>(year, month, m_items(), m_clock.today(), m_holidays);
    m_title->setText(m_sheet->title());
    m_unknownYear->setText(QStringLiteral("%1 年的节假日安排尚未收录").arg(year));
    m_unknownYear->setVisible(!m_sheet->yearKnown());
    const QDate today = m_clock.today();
    const QSignalBlocker blocker(m_grid);
    for (int i = 0; i < 42; ++i) {
        const MonthSheet::Day& day = m_sheet->days()[i];
        auto* item = new QTableWidgetItem;
        item->setData(DateRole, day.date);
        item->setData(NoteRole, day.note);
        item->setData(Qt::UserRole + 20, !day.marks.isEmpty());
        item->setData(MarkRole, day.mark.isNull() ? QString() : QString(day.mark));
        item->setData(CountRole, int(day.items.size()));
        item->setData(OverdueRole, day.overdue);
        item->setData(InMonthRole, day.inMonth);
        item->setData(TodayRole, day.date == today);
        item->setData(Qt::DisplayRole, QString::number(day.date.day()));
        item->setData(Qt::AccessibleTextRole, MonthSheet::accessibleName(day));
        item->setToolTip(MonthSheet::dayWords(day));
        m_grid->setItem(i / 7, i % 7, item);
    }
}

void MonthWindow::showSelected()
{
    const MonthSheet::Day* day = m_sheet->day(m_selected);
    if (!day)
        return;
    const int at = int(m_sheet->days().first().date.daysTo(m_selected));
    {
        const QSignalBlocker blocker(m_grid);
        m_grid->setCurrentCell(at / 7, at % 7);
    }
    m_dayWords->setText(MonthSheet::dayWords(*day));
}

bool MonthWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_grid || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Left:
        select(m_selected.addDays(-1));
        return true;
    case Qt::Key_Right:
        select(m_selected.addDays(1));
        return true;
    case Qt::Key_Up:
        select(m_selected.addDays(-7));
        return true;
    case Qt::Key_Down:
        select(m_selected.addDays(7));
        return true;
    case Qt::Key_PageUp:
        select(m_selected.addMonths(-1));
        return true;
    case Qt::Key_PageDown:
        select(m_selected.addMonths(1));
        return true;
    case Qt::Key_Home:
        select(m_clock.today());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit addWanted(m_selected);
        return true;
    case Qt::Key_Escape: // the window's shortcut, which an inactive window does not get
        close();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}
