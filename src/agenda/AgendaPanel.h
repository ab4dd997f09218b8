#pragma once

#include "agenda/core/AgendaOrder.h"
#include "agenda/core/AgendaStore.h"
#include "calendar/core/HolidayCalendar.h"
#include "uikit/Panel.h"

class ComposedText;
class LogStore;
class QComboBox;
class QLineEdit;
class LineList;
class QPlainTextEdit;
class QShortcut;
class DueReminder;
class QMenu;
class WallTimer;
struct Services;

// The agenda panel Picture安排日程: the list with its orderings, the item details, and adding,
// modifying and deleting items. The store writes agenda.txt; the panel then shows it loaded anew.
class AgendaPanel final : public Panel
{
    Q_OBJECT
public:
    AgendaPanel(const Services& services, QWidget* parent);

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
    // An addition from the command line, handed over by a second process: checked as the entry box
    // checks it, appended, and on view at once.
    StoreChange addTyped(const QString& text, const QString& setText, const QString& finishText);
    // Deletes the item of that text as 删除日程 does, its log entry first, without the question:
    // a reminder's 完成.
    void completeItem(const QString& text);
    // Puts line row of the log back into the agenda and takes it out of the log.
    void restoreFromLog(LogStore& log, int row);

    enum class EntryMode
    {
        Browsing,
        Adding,
        Modifying,
    };
    EntryMode entryMode() const { return m_mode; }
    bool inEntryMode() const { return m_mode != EntryMode::Browsing; }
    const AgendaTable& table() const { return m_store.table(); }
    bool contains(const QString& text) const { return m_store.contains(text); }
    // The daily word about what is due, whose time the list's menu chooses.
    DueReminder* dueReminder() const { return m_dueReminder; }
    QMenu* menu() const { return m_menu; }
    // What Tab goes through on this panel, in order.
    QList<QWidget*> tabOrder() const;
    // Loads agenda.txt again when it was changed elsewhere; waits while an entry is being made,
    // since ending it loads the file anyway.
    void reloadIfChanged();
    // Counts the days left again when the date has changed since the last count.
    void checkDate();

signals:
    // After every load: the counts for the summary line, the reminder panel and the tray tip.
    void agendaLoaded(int agendaCount, int overdueCount);
    // A deletion has added entries to my.log.
    void logChanged();
    // The panel changed agenda.txt: an item added, modified, deleted or restored.
    void itemsChanged();
    // 修改日程 gave an item a new text: the same item, for whoever follows it elsewhere.
    void itemRenamed(const QString& oldText, const QString& newText);
    // An entry began or ended; the file is not to be changed under it meanwhile.
    void entryModeChanged(bool inEntry);

private:
    void markOverdue(const QList<bool>& marks);
    // The deletion itself, as the table stood at loads.
    void removeItem(const QString& text, int loads);
    void showTable();
    void armMidnightTimer();
    void fillList(const QList<qsizetype>& items, const QList<bool>& marks);
    void makeCurrent(const QString& text);
    void restoreSavedLine();
    void setMode(EntryMode mode);
    void leaveEntryMode();
    QString currentText() const;
    void reloadKeeping(const QString& currentText);
    void inform(const QString& text) const;

    const Services& m_services;
    AgendaStore m_store;
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
    WallTimer* m_midnight;
    HolidayCalendar m_holidays = HolidayCalendar::builtIn();
    QMenu* m_menu;
    DueReminder* m_dueReminder;
};
