#include "log/LogPanel.h"

#include "platform/Services.h"

#include "log/core/LogEntry.h"
#include "log/core/LogSession.h"
#include "uikit/LineList.h"
#include "uikit/ListFinder.h"

#include <QMenu>
#include <QShortcut>

namespace {

using K = ControlKind;

// clang-format off
const ControlRow controls[] = {
    {K::List, "ListLog", 0, 0, 7335, 3270, {.bg = "#FFFFC0", .accessible = "日志列表"}},
    {K::Label, "Label删除日志", 5880, 3600, 1215, 375, {.caption = "删除日志",
     .align = Qt::AlignHCenter | Qt::AlignTop, .hand = true}},
    {K::Label, "Label日志总条数", 1440, 3360, 615, 255, {.caption = "0"}},
    {K::Label, "Label12", 120, 3360, 1080, 180, {.caption = "日志总条数："}},
    {K::Button, "Image1", 5880, 3480, 1335, 390, {.index = 7, .picture = ":/pictures/button.jpg"}},
};
// clang-format on

} // namespace

LogPanel::LogPanel(const Services& services, LogSession& session, QWidget* parent)
    : Panel(parent, {"PictureLog", "查看日志", nullptr, QColor(0xFF, 0xFF, 0x80)}, controls),
      m_services(services), m_session(session)
{
    m_list = control<LineList>(this, "ListLog");
    m_count = control<ClickLabel>(this, "Label日志总条数");
    connect(m_list, &QAbstractItemView::clicked, this, [this] { showCurrentEntry(); });
    connect(m_list, &LineList::currentRowChanged, this, [this] { showCurrentEntry(); });
    connect(control<ClickLabel>(this, "Label删除日志"), &ClickLabel::clicked, this,
            &LogPanel::deleteCurrentEntry);

    setTabChain(tabOrder());
    new QShortcut(QKeySequence::Delete, m_list, this, &LogPanel::deleteCurrentEntry, Qt::WidgetShortcut);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("MenuLog"));
    QAction* restore = m_menu->addAction(QStringLiteral("恢复到日程(&R)"));
    restore->setObjectName(QStringLiteral("ActionRestore"));
    QAction* remove = m_menu->addAction(QStringLiteral("删除日志(&D)"));
    remove->setObjectName(QStringLiteral("ActionDeleteLog"));
    m_finder = new ListFinder(m_list, this);
    m_menu->addSeparator();
    m_menu->addAction(m_finder->action());
    connect(m_finder, &ListFinder::changed, this, [this] { listLines(m_finder->lineToKeep()); });
    connect(m_list, &LineList::menuRequested, this, [this](int, const QPoint& at) {
        m_menuLoads = m_session.loads();
        m_menu->popup(at);
    });
    connect(restore, &QAction::triggered, this, [this] {
        if (const int row = storeRow(m_list->currentRow()); row >= 0)
            tell(m_session.restore(row, m_menuLoads));
    });
    // A load while the menu was open (the file changed elsewhere) moved the lines under it.
    connect(remove, &QAction::triggered, this, [this] {
        if (m_menuLoads == m_session.loads())
            deleteCurrentEntry();
    });
    connect(&m_session, &LogSession::loaded, this, &LogPanel::showLines);
    connect(&m_session, &LogSession::failed, this,
            [this](const QString& reason) { tell(Result::failed(reason)); });
}

void LogPanel::tell(const Result& result) const
{
    if (!result)
        m_services.messages.inform(result.error());
}

QList<QWidget*> LogPanel::tabOrder() const
{
    return {m_list, control<QWidget>(this, "Label删除日志")};
}

void LogPanel::showLines(bool elsewhere)
{
    const QString current = elsewhere ? m_list->text(m_list->currentRow()) : QString();
    const int count = m_session.lines().count();
    m_count->setText(QString::number(count));
    // Read for a find only when one is made: a long log's lines are decoded as they are shown.
    m_finder->setLines([this](FindIndex& index) {
        const LogEntry::FindLines lines = LogEntry::findLines(m_session.lines());
        index.setLines(lines.texts, lines.dates);
    });
    listLines(QString());
    // The first line is where a list begins anyway.
    if (const int row = current.isEmpty() ? -1 : m_list->indexOf(current); row > 0)
        m_finder->refill([&] { m_list->setCurrentRow(row); });
}

void LogPanel::listLines(const QString& current)
{
    m_finder->refill([&] {
        m_rows = m_finder->matching(m_session.lines().count());
        {
            const QSignalBlocker blocker(m_list);
            // Asked afresh each time: the store's lines are replaced at the next load.
            m_list->setLines(int(m_rows.size()),
                             [this](int row) { return m_session.lines().text(storeRow(row)); });
            // The first line with the first line's text is line 0.
            const int row = current.isEmpty() ? -1 : m_list->indexOf(current);
            m_list->setCurrentRow(m_rows.isEmpty() ? -1 : std::max(row, 0));
        }
    });
    showCurrentEntry();
}

void LogPanel::onOpened()
{
    m_session.open();
}

void LogPanel::showCurrentEntry()
{
    m_list->setToolTip(m_list->text(m_list->currentRow()));
}

void LogPanel::deleteCurrentEntry()
{
    const int row = m_list->currentRow();
    if (m_list->count() == 0 || row < 0)
        return;
    const int loads = m_session.loads();
    if (!m_services.messages.confirm(QStringLiteral("小心：此操作将删除此条日志！")))
        return;
    tell(m_session.remove(storeRow(row), loads));
}

void LogPanel::showEvent(QShowEvent* event)
{
    // Grown to its caption's height when first shown, not at start: measuring text before the
    // window is on screen would be spent on a panel nobody has opened yet.
    if (!m_captionSized) {
        control<QWidget>(this, "Label12")->adjustSize();
        m_captionSized = true;
    }
    Panel::showEvent(event);
}
