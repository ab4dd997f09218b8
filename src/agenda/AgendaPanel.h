#pragma once

#include "agenda/core/AgendaItem.h"
#include "agenda/core/AgendaOrder.h"
#include "platform/Result.h"
#include "uikit/LineList.h"
#include "uikit/Panel.h"

#include <QSet>

#include <functional>
#include <optional>

class AgendaSession;
class DueReminder;
class ComposedText;
class QComboBox;
class QLineEdit;
class ListFinder;
class QPlainTextEdit;
class QShortcut;
class QMenu;
class StructureMenu;
struct Services;

// The agenda panel Picture安排日程: the list with its orderings, the item details, and adding,
// modifying and deleting items. It shows the session's table as each load leaves it, and asks the
// session for every change.
class AgendaPanel final : public Panel
{
    Q_OBJECT
public:
    // dueReminder: the daily word, whose time the list's menu chooses.
    AgendaPanel(const Services& services, AgendaSession& session, DueReminder& dueReminder, QWidget* parent);

    // Reads agenda.txt into the table and the list (file order, overdue lines marked, line 0
    // current). A bad file is reported and leaves an empty table that nothing rewrites.
    bool loadAgenda();
    // The ordering of Combo排序's entry: file order reads the file again, the others reorder the list.
    void chooseOrdering(int entry);
    // Puts the loaded table's lines in the ordering in force.
    void applyOrdering();
    void showItemDetails();
    void beginAdd();
    void beginModify();
    void cancelEntry();
    void confirmEntry();
    void deleteCurrentItem();

    enum class EntryMode
    {
        Browsing,
        Adding,
        Modifying,
    };
    EntryMode entryMode() const { return m_mode; }
    bool inEntryMode() const { return m_mode != EntryMode::Browsing; }
    // The table on view: the session's as of its last load shown, kept while an entry is made.
    const AgendaTable& table() const { return m_shown; }
    QMenu* menu() const { return m_menu; }
    // What writes the agenda as iCalendar to a file: the sync helper, which alone loads libical.
    void setCalendarExport(std::function<Result(const QString& file)> exporter)
    {
        m_calendarExport = std::move(exporter);
    }
    ListFinder* finder() const { return m_finder; }
    // What Tab goes through on this panel, in order.
    QList<QWidget*> tabOrder() const;

signals:
    // 月历… in the list's menu.
    void monthWanted();
    // After every load shown: the counts for the summary line, the reminder panel and the tray tip.
    void agendaLoaded(int agendaCount, int overdueCount);

private:
    // The session loaded: the list shows the new table, the line current before staying current
    // unless the panel's own command chose another.
    void showLoaded();
    // Runs a command of the session's with the line that is to be current after its loads: the
    // first line for an empty text.
    template <typename Command> void keeping(const QString& current, Command command);
    void markOverdue(const QList<bool>& marks);
    void showTable();
    // The table's lines in the ordering in force, only those found while finding.
    void listTable();
    void listInFileOrder();
    // What is typed in the find line changed, or the find closed.
    void showFound();
    void fillList(const QList<qsizetype>& items, const QList<bool>& marks);
    // Each shown line's level, fold mark, priority mark and words after the text.
    void decorateList(const QList<qsizetype>& lineItems, const QList<LineList::Decoration>& decorations);
    // Left or Right on a line: folds or unfolds it, or moves to its parent or first subtask.
    void stepInTree(int row, bool fold);
    void setFolded(const QString& text, bool folded);
    // 添加子任务…: the entry, its item to go under parent.
    void beginAddSubtask(const QString& parent);
    // 导出日程…: a file chosen, the open items written to it in its kind.
    void exportAgenda();
    void makeCurrent(const QString& text);
    void restoreSavedLine();
    void setMode(EntryMode mode);
    void leaveEntryMode();
    QString currentText() const;
    // The current line's item; nothing without one, or while an entry is made.
    std::optional<AgendaItem> currentItem() const;
    void inform(const QString& text) const;

    const Services& m_services;
    AgendaSession& m_session;
    AgendaTable m_shown;
    QSet<QString> m_folded;            // items whose subtasks are not shown, kept in kestrin.ini
    std::optional<QString> m_addUnder; // the parent of the item being added
    StructureMenu* m_structureMenu;
    std::function<Result(const QString& file)> m_calendarExport;
    std::optional<QString> m_nextCurrent; // set by the panel's own commands
    EntryMode m_mode = EntryMode::Browsing;
    int m_savedRow = -1;

    LineList* m_list;
    QComboBox* m_order;
    AgendaOrdering m_ordering = AgendaOrdering::FileOrder;
    QLineEdit* m_setDate;
    QLineEdit* m_finishDate;
    QLineEdit* m_daysLeft;
    QPlainTextEdit* m_entry;
    ComposedText* m_entryText; // the entry as shown, an input method's composition included
    ClickLabel* m_title;
    ClickLabel* m_confirm;
    ClickLabel* m_cancel;
    ClickLabel* m_add;
    ClickLabel* m_modify;
    ClickLabel* m_delete;
    QShortcut* m_escape;
    QMenu* m_menu;
    ListFinder* m_finder;
};
