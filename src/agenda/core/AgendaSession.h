#pragma once

#include "agenda/core/AgendaChange.h"
#include "agenda/core/AgendaStore.h"
#include "calendar/core/HolidayCalendar.h"
#include "platform/Result.h"
#include "platform/files/StoreChange.h"

#include <QObject>

#include <functional>

class Clock;
class LogStore;
class TextFiles;
class WallTimer;
struct Services;

// The agenda at work, without a window: agenda.txt as loaded, counted from today and again at each
// midnight, every change to it and to my.log on its behalf, and the holidays its dates are read
// with. What asks for a change (the panel, a script, a reminder's 完成) asks here and is answered;
// whoever shows the agenda follows loaded() and says what failed() says.
class AgendaSession final : public QObject
{
    Q_OBJECT
public:
    explicit AgendaSession(const Services& services, QObject* parent = nullptr);
    // Over a data folder without the desktop: a command's, when no copy runs.
    AgendaSession(TextFiles& files, const Clock& clock, const QString& appDir, QObject* parent = nullptr);

    const AgendaTable& table() const { return m_store.table(); }
    bool contains(const QString& text) const { return m_store.contains(text); }
    // The official arrangement the dates are told with, as read at the last load.
    const HolidayCalendar& holidays() const { return m_holidays; }
    int loads() const { return m_store.loads(); }

    // Reads agenda.txt and the holidays. A bad file leaves an empty table that nothing rewrites.
    Result load();
    // The same for nobody in particular (a start, a change's end): a bad file says failed().
    void reload();
    // Loads again when agenda.txt was changed elsewhere; not under an entry, whose end loads anyway.
    void reloadIfChanged();
    // Counts the days left again when the date has changed since the last count.
    void checkDate();

    // An entry is being made in the panel: the file is not changed under it meanwhile.
    void setEntryBusy(bool busy);
    bool entryBusy() const { return m_entryBusy; }

    Result checkAdd() const { return m_store.checkAdd(); }
    Result checkEntry(const QString& text, const QString* editedText) const
    {
        return m_store.checkEntry(text, editedText);
    }
    Result checkDelete(const QString& text) const { return m_store.checkDelete(text); }

    // The item the entry box's text and two dates as typed make, through the store's checks.
    ResultOf<AgendaItem> entryItem(const QString& text, const QString& setText, const QString& finishText,
                                   const QString* editedText) const
    {
        return m_store.checkedItem(text, setText, finishText, editedText);
    }
    // Carries out a change, on the file as it is now and never under an entry but the entry's own;
    // says why when it was not made.
    Result apply(const AgendaChange& change);
    // Deletes the item of that text, its log entry first, as the table stood at the given load:
    // an answer given to a table since loaded again is stale and only shows the new one.
    Result remove(const QString& text, int loads, bool subtasks = false);
    // The items under the item of that text, at any depth.
    int subtaskCount(const QString& text) const { return m_store.subtaskCount(text); }
    // A reminder's 完成, which waits for no answer: an item gone meanwhile is nothing to tell, and
    // what went wrong says failed().
    void complete(const QString& text);
    // Puts line row of the log back into the agenda and takes it out of the log.
    Result restore(LogStore& log, int row);
    // Where a repeating item goes once this occurrence is done today; nothing for any other.
    std::optional<QDate> nextOccurrence(const QString& text) const;

signals:
    // The table was read or counted again.
    void loaded();
    // agenda.txt was changed from here: an item added, modified, deleted or restored.
    void changed();
    // 修改日程 gave an item a new text: the same item, for whoever follows it elsewhere.
    void renamed(const QString& oldText, const QString& newText);
    // Entries were added to my.log or taken from it.
    void logChanged();
    // An item came back from the log, and shows.
    void restored(const QString& text);
    void entryBusyChanged(bool busy);
    // A step nobody waits on (a reload, a reminder's 完成) did not work: whoever shows the agenda
    // says why.
    void failed(const QString& reason);

private:
    void armMidnight();
    // What follows a deletion: the log and the table read again, and the change told.
    StoreChange afterRemoval(const StoreChange& change);
    StoreChange add(const AgendaItem& item);
    StoreChange modify(const QString& editedText, const AgendaItem& item);
    StoreChange done(const QString& text, AgendaChange::Subtasks subtasks);
    // A change of one item (a rule, a time), as write makes it: never under an entry, and on the
    // file as it is now. what: the change refused under an entry, "设置重复".
    StoreChange changeItem(const QString& what, const std::function<StoreChange()>& write);
    // Loads again when agenda.txt changed since the last load; under an entry without showing it.
    void refresh();

    TextFiles& m_files;
    const Clock& m_clock;
    QString m_appDir;
    AgendaStore m_store;
    WallTimer* m_midnight;
    HolidayCalendar m_holidays = HolidayCalendar::builtIn();
    bool m_entryBusy = false;
};
