#include "agenda/AgendaPanel.h"

#include "agenda/DueReminderMenu.h"
#include "agenda/ItemTimeMenu.h"
#include "agenda/RepeatMenu.h"
#include "agenda/StructureMenu.h"
#include "agenda/core/AgendaExport.h"
#include "agenda/core/AgendaOrder.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/AgendaTexts.h"
#include "agenda/core/AgendaTree.h"
#include "calendar/core/DateText.h"
#include "platform/Services.h"
#include "platform/files/Settings.h"

#include "uikit/ComposedText.h"
#include "uikit/LineList.h"
#include "uikit/ListFinder.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

#include <algorithm>

namespace {

using K = ControlKind;
constexpr auto centred = Qt::AlignHCenter | Qt::AlignVCenter;

// Topmost first.
// clang-format off
const ControlRow controls[] = {
    {K::Text, "Text剩余天数", 4080, 2400, 1335, 270, {.fg = "#FF0000", .bg = "#FFFFC0", .locked = true,
     .accessible = "剩余天数"}},
    {K::Text, "Text完成日期", 4080, 1680, 1335, 270, {.locked = true, .accessible = "完成日期"}},
    {K::Text, "Text设置日期", 4080, 960, 1335, 270, {.locked = true, .accessible = "设置日期"}},
    {K::Combo, "Combo排序", 4080, 3480, 1335, 300, {.accessible = "排序方式"}},
    {K::List, "ListAgenda", 120, 480, 3855, 3420, {.bg = "#FFFFC0", .accessible = "日程列表"}},
    {K::MultiText, "Text添加日程", 120, 2160, 3855, 855, {.bg = "#FFFFC0", .accessible = "日程内容"}},
    {K::Label, "Label取消添加", 2040, 3360, 1335, 255, {.caption = "取消添加", .align = centred, .hand = true}},
    {K::Label, "Label确认添加", 600, 3360, 1335, 255, {.caption = "确认添加", .align = centred, .hand = true}},
    {K::Button, "Image1", 2160, 3240, 1335, 390, {.index = 4, .picture = ":/pictures/button.jpg"}},
    {K::Label, "Label添加或修改标题", 120, 1800, 2655, 255, {.caption = "请填写将要添加或修改的日程：",
     .fg = "#0000FF"}},
    {K::Label, "Label修改日程", 5760, 3240, 1215, 255, {.caption = "修改日程", .align = centred, .hand = true}},
    {K::Label, "Label删除日程", 5760, 2400, 1215, 255, {.caption = "删除日程", .align = centred, .hand = true}},
    {K::Button, "Image1", 5760, 3120, 1335, 390, {.index = 2, .picture = ":/pictures/button.jpg"}},
    {K::Button, "Image1", 5760, 2280, 1335, 390, {.index = 1, .picture = ":/pictures/button.jpg"}},
    {K::Label, "Label添加日程", 5760, 1440, 1215, 255, {.caption = "添加日程", .align = centred, .hand = true}},
    {K::Button, "Image1", 5760, 1320, 1335, 390, {.index = 0, .picture = ":/pictures/button.jpg"}},
    {K::Label, "Label4", 4080, 2160, 975, 255, {.caption = "剩余天数："}},
    {K::Label, "Label3", 4080, 1440, 975, 255, {.caption = "完成日期："}},
    {K::Label, "Label2", 4080, 720, 975, 255, {.caption = "设置日期："}},
    {K::Button, "Image1", 720, 3240, 1335, 390, {.index = 3, .picture = ":/pictures/button.jpg"}},
};
// clang-format on

constexpr int browsingHeight = 3300;
constexpr int addingHeight = 960;
constexpr int modifyingHeight = 1140;

const QString dateTip = QStringLiteral("请按标准格式填写日期,如：2002-12-27");

} // namespace

AgendaPanel::AgendaPanel(const Services& services, AgendaSession& session, DueReminder& dueReminder,
                         QWidget* parent)
    : Panel(parent, {"Picture安排日程", "安排日程", ":/pictures/agenda_background.jpg"}, controls),
      m_services(services), m_session(session), m_escape(nullptr), m_menu(new QMenu(this)), m_finder(nullptr)
{

    m_list = control<LineList>(this, "ListAgenda");
    m_order = control<QComboBox>(this, "Combo排序");
    m_setDate = control<QLineEdit>(this, "Text设置日期");
    m_finishDate = control<QLineEdit>(this, "Text完成日期");
    m_daysLeft = control<QLineEdit>(this, "Text剩余天数");
    m_entry = control<QPlainTextEdit>(this, "Text添加日程");
    m_entryText = new ComposedText(m_entry);
    m_title = control<ClickLabel>(this, "Label添加或修改标题");
    m_confirm = control<ClickLabel>(this, "Label确认添加");
    m_cancel = control<ClickLabel>(this, "Label取消添加");
    m_add = control<ClickLabel>(this, "Label添加日程");
    m_modify = control<ClickLabel>(this, "Label修改日程");
    m_delete = control<ClickLabel>(this, "Label删除日程");

    m_list->setMarkDescription(QStringLiteral("逾期"));
    const QStringList folded =
        Settings::value(services.path(Settings::fileName), Settings::Key::FoldedItems).toStringList();
    m_folded = QSet<QString>(folded.cbegin(), folded.cend());
    // The list's menu: a right click, the menu key or Shift+F10.
    m_menu->setObjectName(QStringLiteral("MenuAgenda"));
    m_structureMenu = new StructureMenu(
        session, services.messages, [this] { return currentItem(); }, m_menu);
    connect(m_structureMenu, &StructureMenu::addSubtaskWanted, this, &AgendaPanel::beginAddSubtask);
    connect(m_structureMenu, &StructureMenu::foldWanted, this,
            [this](const QString& text) { setFolded(text, !m_folded.contains(text)); });
    connect(m_menu, &QMenu::aboutToShow, this,
            [this] { m_structureMenu->setFoldCaption(m_folded.contains(currentText())); });
    connect(m_list, &LineList::foldRequested, this, &AgendaPanel::stepInTree);
    m_menu->addSeparator();
    new RepeatMenu(
        session, services.messages, [this] { return currentItem(); }, m_menu);
    new ItemTimeMenu(
        session, services.messages, [this] { return currentItem(); }, m_menu);
    new DueReminderMenu(services, dueReminder, m_menu);
    m_finder = new ListFinder(m_list, this);
    m_menu->addSeparator();
    QAction* month = m_menu->addAction(QStringLiteral("月历…(&M)"), this, &AgendaPanel::monthWanted);
    month->setObjectName(QStringLiteral("ActionMonth"));
    month->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    month->setShortcutContext(Qt::WidgetShortcut); // shown in the menu; the window's own key does it
    m_menu->addAction(m_finder->action());
    QAction* exporting = m_menu->addAction(QStringLiteral("导出日程(&X)…"), this, &AgendaPanel::exportAgenda);
    exporting->setObjectName(QStringLiteral("ActionExport"));
    connect(m_finder, &ListFinder::changed, this, &AgendaPanel::showFound);
    connect(m_list, &LineList::menuRequested, this, [this](int, const QPoint& at) { m_menu->popup(at); });
    setTabChain(tabOrder());
    // The keyboard's ways to the commands: Delete deletes the current item, Escape ends an entry,
    // Ctrl+Return confirms it.
    new QShortcut(QKeySequence::Delete, m_list, this, &AgendaPanel::deleteCurrentItem, Qt::WidgetShortcut);
    m_escape =
        new QShortcut(Qt::Key_Escape, this, this, &AgendaPanel::cancelEntry, Qt::WidgetWithChildrenShortcut);
    for (QKeyCombination keys : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter})
        new QShortcut(keys, m_entry, this, &AgendaPanel::confirmEntry, Qt::WidgetShortcut);

    connect(m_list, &LineList::currentRowChanged, this, [this] { showItemDetails(); });
    connect(m_order, &QComboBox::activated, this, &AgendaPanel::chooseOrdering);
    connect(m_add, &ClickLabel::clicked, this, &AgendaPanel::beginAdd);
    connect(m_modify, &ClickLabel::clicked, this, &AgendaPanel::beginModify);
    connect(m_delete, &ClickLabel::clicked, this, &AgendaPanel::deleteCurrentItem);
    connect(m_confirm, &ClickLabel::clicked, this, &AgendaPanel::confirmEntry);
    connect(m_cancel, &ClickLabel::clicked, this, &AgendaPanel::cancelEntry);

    m_order->addItems(AgendaOrder::entryTexts());
    m_order->setCurrentIndex(0);
    setMode(EntryMode::Browsing);
    connect(&session, &AgendaSession::loaded, this, &AgendaPanel::showLoaded);
    connect(&session, &AgendaSession::failed, this, &AgendaPanel::inform);
    // An item back from the log is the line the user is looking for.
    connect(&session, &AgendaSession::restored, this, [this](const QString& text) {
        if (!inEntryMode() && m_list->indexOf(text) >= 0)
            makeCurrent(text);
    });
}

QList<QWidget*> AgendaPanel::tabOrder() const
{
    return {m_list, m_order,  m_setDate, m_finishDate, m_daysLeft, m_entry,
            m_add,  m_modify, m_delete,  m_confirm,    m_cancel};
}

QString AgendaPanel::currentText() const
{
    return m_list->text(m_list->currentRow());
}

std::optional<AgendaItem> AgendaPanel::currentItem() const
{
    if (m_list->currentRow() < 0 || inEntryMode())
        return std::nullopt;
    const QString text = currentText();
    for (const AgendaItem& item : m_shown.items)
        if (item.text == text)
            return item;
    return std::nullopt;
}

void AgendaPanel::inform(const QString& text) const
{
    m_services.messages.inform(text);
}

template <typename Command> void AgendaPanel::keeping(const QString& current, Command command)
{
    m_nextCurrent = current;
    command();
    m_nextCurrent.reset();
}

bool AgendaPanel::loadAgenda()
{
    Result loaded = Result::done();
    keeping(QString(), [&] { loaded = m_session.load(); });
    if (!loaded)
        inform(loaded.error());
    return loaded.ok();
}

void AgendaPanel::showLoaded()
{
    // The entry keeps the list it began with; ending it shows the file.
    if (inEntryMode())
        return;
    const QString current = m_nextCurrent.value_or(currentText());
    m_shown = m_session.table();
    m_finder->setLines([this](FindIndex& index) {
        QStringList texts;
        for (const AgendaItem& item : std::as_const(m_shown.items))
            texts.append(AgendaTexts::findText(item));
        index.setLines(texts);
    });
    m_finder->refill([&] {
        showTable();
        applyOrdering();
        if (!current.isEmpty() && m_list->indexOf(current) >= 0)
            makeCurrent(current);
    });
}

void AgendaPanel::showFound()
{
    // While finding the current line stays when it still matches; closed, the finder says which.
    const QString current = m_finder->lineToKeep();
    m_finder->refill([&] {
        listTable();
        if (!current.isEmpty() && m_list->indexOf(current) >= 0)
            makeCurrent(current);
    });
}

void AgendaPanel::listTable()
{
    if (m_ordering == AgendaOrdering::FileOrder)
        listInFileOrder();
    else
        applyOrdering();
}

void AgendaPanel::showTable()
{
    listInFileOrder();
    emit agendaLoaded(m_shown.count(), m_shown.overdueCount);
}

void AgendaPanel::listInFileOrder()
{
    const QList<AgendaItem>& agenda = m_shown.items;
    QList<qsizetype> items(agenda.size());
    QList<bool> marks(agenda.size(), false);
    for (qsizetype i = 0; i < agenda.size(); ++i) {
        items[i] = i;
        marks[i] = agenda[i].daysLeft < 0;
    }
    fillList(items, marks);
}

void AgendaPanel::fillList(const QList<qsizetype>& orderedItems, const QList<bool>& orderedMarks)
{
    // Each parent with its subtree under it, in the ordering; a folded one without. While finding,
    // what matches, a subtask under its parent when that matches too.
    const AgendaTree tree(m_shown);
    const bool finding = m_finder->isFinding();
    QList<qsizetype> ordered = orderedItems;
    QList<bool> orderedMarked = orderedMarks;
    if (finding) {
        const QList<int> found = m_finder->matching(int(m_shown.items.size()));
        const QSet<int> matching(found.cbegin(), found.cend());
        ordered.clear();
        orderedMarked.clear();
        for (qsizetype i = 0; i < orderedItems.size(); ++i)
            if (matching.contains(int(orderedItems[i]))) {
                ordered.append(orderedItems[i]);
                orderedMarked.append(orderedMarks.value(i));
            }
    }
    QList<qsizetype> items;
    QList<bool> marks;
    QList<LineList::Decoration> decorations;
    bool structured = false;
    for (const AgendaTree::Row& row : tree.arrange(ordered, finding ? QSet<QString>() : m_folded)) {
        items.append(row.item);
        marks.append(orderedMarked.value(row.line));
        const ItemStructure& structure = m_shown.items.at(row.item).structure;
        LineList::Decoration line;
        line.depth = row.depth;
        line.subtasks = row.subtasks;
        line.fold = row.subtasks == 0 ? LineList::Decoration::Leaf
                    : row.collapsed   ? LineList::Decoration::Folded
                                      : LineList::Decoration::Open;
        static const QColor flags[] = {QColor(), QColor(0xD0, 0x20, 0x20), QColor(0xF0, 0x8C, 0x00),
                                       QColor(0x20, 0x6C, 0xD0)};
        line.flag = flags[structure.priority];
        if (row.subtasks > 0)
            line.tail = QStringLiteral(" · %1").arg(row.subtasks);
        for (const QString& tag : structure.tags)
            line.tail += QStringLiteral("  #") + tag;
        structured = structured || row.subtasks > 0 || row.depth > 0 || !structure.isEmpty();
        decorations.append(line);
    }
    {
        const QSignalBlocker blocker(m_list);
        // The table is replaced only by a load, which fills the list again.
        m_list->setLines(int(items.size()),
                         [this, items](int row) { return m_shown.items.value(items.value(row, -1)).text; });
        m_list->setLineTips([this, items](int row) {
            return AgendaTexts::lineTip(m_shown.items.value(items.value(row, -1)), m_session.holidays());
        });
        m_list->setLineDescriptions([this, items, decorations](int row) {
            QString said =
                AgendaTexts::lineDescription(m_shown.items.value(items.value(row, -1)), m_session.holidays());
            // What the fold mark and the count show, heard too.
            const LineList::Decoration line = decorations.value(row);
            if (line.fold != LineList::Decoration::Leaf) {
                const QString fold = line.fold == LineList::Decoration::Folded ? QStringLiteral("已收起")
                                                                               : QStringLiteral("已展开");
                said += (said.isEmpty() ? QString() : QStringLiteral("；")) +
                        QStringLiteral("%1 个子任务，%2").arg(line.subtasks).arg(fold);
            }
            return said;
        });
        markOverdue(marks);
        if (structured)
            m_list->setDecorations([decorations](int row) { return decorations.value(row); }, true);
        else
            m_list->setDecorations({}, false);
        m_list->setCurrentRow(-1);
    }
    if (!items.isEmpty())
        makeCurrent(m_list->text(0));
    else
        showItemDetails();
}

void AgendaPanel::stepInTree(int row, bool fold)
{
    const LineList::Decoration line = m_list->decoration(row);
    const QString text = m_list->text(row);
    if (fold && line.fold == LineList::Decoration::Open)
        setFolded(text, true);
    else if (!fold && line.fold == LineList::Decoration::Folded)
        setFolded(text, false);
    else if (!fold && line.fold == LineList::Decoration::Open && row + 1 < m_list->count())
        m_list->setCurrentRow(row + 1);
    else if (fold && line.depth > 0)
        for (int above = row - 1; above >= 0; --above)
            if (m_list->decoration(above).depth < line.depth) {
                m_list->setCurrentRow(above);
                break;
            }
}

void AgendaPanel::setFolded(const QString& text, bool folded)
{
    if (folded == m_folded.contains(text))
        return;
    if (folded)
        m_folded.insert(text);
    else
        m_folded.remove(text);
    // Only the texts still in the agenda are remembered.
    QStringList kept;
    for (const AgendaItem& item : std::as_const(m_shown.items))
        if (m_folded.contains(item.text) && !kept.contains(item.text))
            kept.append(item.text);
    if (const Result saved = Settings::set(m_services.path(Settings::fileName), Settings::Key::FoldedItems,
                                           kept.isEmpty() ? QVariant() : QVariant(kept));
        !saved)
        inform(saved.error());
    const QString current = currentText();
    listTable();
    makeCurrent(current.isEmpty() || m_list->indexOf(current) < 0 ? text : current);
}

void AgendaPanel::beginAddSubtask(const QString& parent)
{
    beginAdd();
    if (!inEntryMode())
        return;
    m_addUnder = parent;
    m_title->setText(QStringLiteral("请填写将要添加的子任务（属于：%1）：").arg(parent));
}

void AgendaPanel::exportAgenda()
{
    const QString path = m_services.messages.chooseSaveFile(
        QStringLiteral("导出日程"), QDir::home().filePath(QStringLiteral("日程.csv")),
        {QStringLiteral("CSV 表格，Excel、WPS 可打开 (*.csv)"), QStringLiteral("iCalendar 日历 (*.ics)"),
         QStringLiteral("Markdown 清单 (*.md)")});
    if (path.isEmpty())
        return;
    const QString format = AgendaExport::formatOf(path);
    const QList<AgendaExport::Entry> entries = AgendaExport::openItems(m_session.table());
    Result written = Result::done();
    if (format == QStringLiteral("ics"))
        written = m_calendarExport ? m_calendarExport(path)
                                   : Result::failed(QStringLiteral("没有同步程序，无法导出 iCalendar。"));
    else if (format == QStringLiteral("csv"))
        written = AgendaExport::write(path, AgendaExport::csv(entries));
    else if (format == QStringLiteral("md"))
        written =
            AgendaExport::write(path, AgendaExport::markdown(entries, m_services.clock.today()).toUtf8());
    else
        written = Result::failed(QStringLiteral("请用 .csv、.ics 或 .md 结尾的文件名。"));
    inform(written ? QStringLiteral("已导出 %1 条日程到 %2").arg(entries.size()).arg(path) : written.error());
}

void AgendaPanel::markOverdue(const QList<bool>& marks)
{
    m_list->setMarks(marks);
}

void AgendaPanel::makeCurrent(const QString& text)
{
    const int row = m_list->indexOf(text);
    if (row >= 0 && m_list->currentRow() != row)
        m_list->setCurrentRow(row); // shows the details through currentRowChanged
    else
        showItemDetails();
}

void AgendaPanel::chooseOrdering(int entry)
{
    m_ordering = AgendaOrder::fromEntry(entry);
    // 不排序刷新 reads the file again: the refresh its name promises.
    if (m_ordering == AgendaOrdering::FileOrder)
        loadAgenda();
    else
        applyOrdering();
}

void AgendaPanel::applyOrdering()
{
    // File order is the table as loaded, which the list shows already.
    if (m_ordering == AgendaOrdering::FileOrder)
        return;
    const AgendaOrder::Listing listing = AgendaOrder::listing(m_shown.items, m_ordering);
    fillList(listing.items, listing.marks);
}

void AgendaPanel::showItemDetails()
{
    const QString text = currentText();
    if (m_list->currentRow() >= 0) {
        for (const AgendaItem& item : m_shown.items) {
            if (item.text != text)
                continue;
            m_setDate->setText(DateText::format(item.setDate));
            m_finishDate->setText(DateText::format(item.finishDate));
            m_daysLeft->setText(AgendaTexts::daysLeft(item.daysLeft));
        }
    }
    m_list->setToolTip(text);
}

void AgendaPanel::setMode(EntryMode mode)
{
    m_mode = mode;
    const bool browsing = mode == EntryMode::Browsing;
    for (QWidget* w : std::initializer_list<QWidget*>{m_add, m_delete, m_modify, m_order, m_daysLeft, m_list})
        w->setEnabled(browsing);
    // The entry box and its two commands lie under the list while browsing: out of Tab's way.
    m_entry->setFocusPolicy(browsing ? Qt::NoFocus : Qt::StrongFocus);
    m_confirm->setFocusPolicy(browsing ? Qt::NoFocus : Qt::TabFocus);
    m_cancel->setFocusPolicy(browsing ? Qt::NoFocus : Qt::TabFocus);
    m_escape->setEnabled(!browsing);
    // An entry closes the find line: it works on the whole agenda.
    m_finder->setEnabled(browsing);
    m_setDate->setReadOnly(browsing);
    m_finishDate->setReadOnly(browsing);
    const QString tip = browsing ? QString() : dateTip;
    m_setDate->setToolTip(tip);
    m_finishDate->setToolTip(tip);
    const bool modifying = mode == EntryMode::Modifying;
    m_confirm->setText(modifying ? QStringLiteral("确认修改") : QStringLiteral("确认添加"));
    m_cancel->setText(modifying ? QStringLiteral("取消修改") : QStringLiteral("取消添加"));
    // The entry box lies under the list, which shrinks to uncover it.
    const int height = browsing ? browsingHeight : modifying ? modifyingHeight : addingHeight;
    m_list->resize(m_list->width(), twipsToPixels(height));
    if (!browsing) {
        m_title->setText(modifying ? QStringLiteral("请填写将要修改的日程：")
                                   : QStringLiteral("请填写将要添加的日程："));
        m_savedRow = m_list->currentRow();
    }
    m_session.setEntryBusy(inEntryMode());
}

void AgendaPanel::beginAdd()
{
    if (const Result refusal = m_session.checkAdd(); !refusal) {
        inform(refusal.error());
        return;
    }
    setMode(EntryMode::Adding);
    const QDate today = m_services.clock.today();
    m_setDate->setText(DateText::format(today));
    m_finishDate->setText(DateText::format(today.addDays(1)));
    m_entry->clear();
    m_entry->setFocus();
}

void AgendaPanel::beginModify()
{
    // Without a current line there is nothing to modify; a typed text would only be dropped.
    if (m_list->currentRow() < 0)
        return;
    setMode(EntryMode::Modifying);
    m_entry->setPlainText(currentText());
    m_entry->setFocus();
}

void AgendaPanel::restoreSavedLine()
{
    if (m_list->count() == 0)
        return;
    const int row = m_savedRow < 0 ? 0 : qMin(m_savedRow, m_list->count() - 1);
    makeCurrent(m_list->text(row));
}

void AgendaPanel::leaveEntryMode()
{
    m_addUnder.reset();
    // The entry box goes under the list again: a keyboard left in it would be stuck out of sight.
    const bool typing = m_entry->hasFocus() || m_confirm->hasFocus() || m_cancel->hasFocus();
    setMode(EntryMode::Browsing);
    if (typing)
        m_list->setFocus();
    loadAgenda();
    restoreSavedLine();
}

void AgendaPanel::cancelEntry()
{
    leaveEntryMode();
}

void AgendaPanel::confirmEntry()
{
    m_entryText->settle();
    const QString text = m_entry->toPlainText();
    const bool adding = m_mode == EntryMode::Adding;
    const QString editedText = adding ? QString() : currentText();
    if (const Result refusal = m_session.checkEntry(text, adding ? nullptr : &editedText); !refusal) {
        inform(refusal.error());
        return;
    }
    ResultOf<AgendaItem> item =
        m_session.entryItem(text, m_setDate->text(), m_finishDate->text(), adding ? nullptr : &editedText);
    if (item && adding && m_addUnder)
        item->structure.parent = *m_addUnder;
    const Result made =
        !item ? item.result()
              : m_session.apply(adding ? AgendaChange::add(*item) : AgendaChange::modify(editedText, *item));
    // Either way the entry ends, and what went wrong is told once the file's content shows.
    leaveEntryMode();
    if (!made)
        inform(made.error());
}

void AgendaPanel::deleteCurrentItem()
{
    if (m_list->currentRow() < 0)
        return;
    if (const Result refusal = m_session.checkDelete(currentText()); !refusal) {
        inform(refusal.error());
        return;
    }
    // The answer is given to the list as it stands; a load while the box is open makes it stale.
    const QString text = currentText();
    const int loads = m_session.loads();
    const std::optional<AgendaItem> item = currentItem();
    const std::optional<QDate> next = m_session.nextOccurrence(text);
    const QString question = item && next ? QStringLiteral("此为重复日程（%1）：本次记入日志，下次为 %2。")
                                                .arg(item->repeat.text(), DateText::format(*next))
                                          : QStringLiteral("警告：即将删除此条日程！");
    bool withSubtasks = false;
    if (const int under = m_session.subtaskCount(text); under > 0) {
        // One box: its own question names the choice, and closing it is 取消.
        const std::optional<int> chosen =
            m_services.messages.ask(QStringLiteral("“%1”还有 %2 个未完成的子任务。").arg(text).arg(under),
                                    {QStringLiteral("一并完成（%1 个子任务）").arg(under),
                                     QStringLiteral("只完成它（子任务移到上一层）")});
        if (!chosen)
            return;
        withSubtasks = *chosen == 0;
    } else if (!m_services.messages.confirm(question)) {
        return;
    }
    Result removed = Result::done();
    keeping(text, [&] { removed = m_session.remove(text, loads, withSubtasks); });
    if (!removed)
        inform(removed.error());
}
