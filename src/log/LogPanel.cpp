#include "log/LogPanel.h"

#include "platform/Services.h"

#include "agenda/core/LogRestore.h"
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

LogPanel::LogPanel(const Services& services, QWidget* parent)
    : Panel(parent, {"PictureLog", "查看日志", nullptr, QColor(0xFF, 0xFF, 0x80)}, controls),
      m_services(services), m_store(services.files, services.path(LogFile::fileName))
{
    control<QWidget>(this, "Label12")->adjustSize();

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
        m_menuLoads = m_store.loads();
        m_menu->popup(at);
    });
    // A load while the menu was open (the file changed elsewhere) moved the lines under it.
    connect(restore, &QAction::triggered, this, [this] {
        if (m_menuLoads == m_store.loads() && storeRow(m_list->currentRow()) >= 0)
            emit restoreRequested(storeRow(m_list->currentRow()));
    });
    connect(remove, &QAction::triggered, this, [this] {
        if (m_menuLoads == m_store.loads())
            deleteCurrentEntry();
    });
}

QList<QWidget*> LogPanel::tabOrder() const
{
    return {m_list, control<QWidget>(this, "Label删除日志")};
}

void LogPanel::loadLog()
{
    const LogFile::Load& log = m_store.load();
    if (!log.result)
        m_services.messages.inform(log.result.error());
    showLines();
}

void LogPanel::showLines()
{
    const int count = m_store.lines().count();
    m_count->setText(QString::number(count));
    // Read for a find only when one is made: a long log's lines are decoded as they are shown.
    m_finder->setLines([this](FindIndex& index) {
        const LogRestore::FindLines lines = LogRestore::findLines(m_store.lines());
        index.setLines(lines.texts, lines.dates);
    });
    listLines(QString());
}

void LogPanel::listLines(const QString& current)
{
    m_finder->refill([&] {
        m_rows = m_finder->matching(m_store.lines().count());
        {
            const QSignalBlocker blocker(m_list);
            // Asked afresh each time: the store's lines are replaced at the next load.
            m_list->setLines(int(m_rows.size()),
                             [this](int row) { return m_store.lines().text(storeRow(row)); });
            // The first line with the first line's text is line 0.
            const int row = current.isEmpty() ? -1 : m_list->indexOf(current);
            m_list->setCurrentRow(m_rows.isEmpty() ? -1 : std::max(row, 0));
        }
    });
    showCurrentEntry();
}

void LogPanel::onOpened()
{
    if (m_store.exists()) {
        loadLog();
        return;
    }
    // The file has gone since the last load: the old lines are no longer the truth.
    m_store.forget();
    showLines();
}

void LogPanel::reloadIfChanged()
{
    if (m_store.unchangedOnDisk())
        return;
    const QString current = m_list->text(m_list->currentRow());
    loadLog();
    const int row = m_list->indexOf(current);
    if (row > 0)
        m_finder->refill([&] { m_list->setCurrentRow(row); });
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
    const int loads = m_store.loads();
    if (!m_services.messages.confirm(QStringLiteral("小心：此操作将删除此条日志！")))
        return;
    // The answer was given to the lines on view: lines loaded since, or a file changed since, make it stale.
    const StoreChange change = loads == m_store.loads()
                                   ? m_store.removeLine(storeRow(row))
                                   : StoreChange::changedElsewhere(QString::fromUtf8(LogFile::fileName));
    if (change.status == StoreChange::ChangedElsewhere) {
        loadLog();
        m_services.messages.inform(change.message);
        return;
    }
    if (!change.message.isEmpty())
        m_services.messages.inform(change.message);
    loadLog();
}
