#pragma once

#include "agenda/core/AgendaItem.h"
#include "calendar/core/RepeatWords.h"
#include "platform/Result.h"
#include "platform/files/FileStamp.h"
#include "platform/files/StoreChange.h"

#include <QSet>

#include <functional>

class HolidayCalendar;
class TextFiles;

// The agenda as loaded from agenda.txt, with the repeating items' rules from repeat.txt and the
// items' parents, priorities and tags from structure.txt beside it, and the only way to change it. Every
// change is written to the files first and the table is then loaded again whole, so what the user sees is
// what the files hold. A table that did not load, or whose rules did not, is never written back.
class AgendaStore
{
public:
    AgendaStore(TextFiles& files, const QString& agendaPath, const QString& logPath);

    // Reads agenda.txt, repeat.txt and structure.txt, counting days left from today. A bad file leaves an
    // empty table.
    Result load(QDate today);
    // The arrangement a rule of official working days follows; the shipped one until set.
    void setHolidays(const HolidayCalendar& holidays) { m_holidays = &holidays; }
    // Counts the days left again for a new day, without reading the file.
    void recount(QDate today);

    const AgendaTable& table() const { return m_table; }
    bool loaded() const { return m_loaded; }
    // Counts the loads, so that an answer given to a table that has since been loaded again is
    // recognised as stale.
    int loads() const { return m_loads; }
    // Whether agenda.txt, repeat.txt and structure.txt are still as they were loaded.
    bool unchangedOnDisk() const;
    // The date the item of that text moves to once this occurrence is done, as deleted today;
    // nothing for an item that does not repeat.
    std::optional<QDate> nextOccurrence(const QString& text, QDate today) const;

    // Whether an item may be added now: not to a file that does not load, where it would never
    // show and the error would come back.
    Result checkAdd() const;
    // Whether text can be an item's text.
    static Result checkText(const QString& text);
    // The part of checkText that a line of my.log can fail as well: a control character.
    static Result checkControlCharacters(const QString& text);
    bool contains(const QString& text) const;
    // Whether text can be stored. editedText is the item being modified: its own text may stay,
    // another item's may not be taken. nullptr when adding.
    Result checkEntry(const QString& text, const QString* editedText) const;
    // The item that text and the two dates typed make, through the checks above: text first.
    ResultOf<AgendaItem> checkedItem(const QString& text, const QString& setText, const QString& finishText,
                                     const QString* editedText) const;
    // Whether the item of that text may be deleted now: a repeating one, which stays, always may.
    Result checkDelete(const QString& text) const;

    StoreChange add(const AgendaItem& item);
    // An addition made elsewhere (a script, the quick-add window), checked as the entry box checks
    // it: the table as loaded, the text, then the dates, against the file as it is now. A repeating
    // one's rule is written before the item, so that a crash between the two leaves no item without it.
    StoreChange addNew(const AgendaItem& item, QDate today);
    // Replaces every item with editedText by item, in its place in the file; a rule goes with it.
    StoreChange modify(const QString& editedText, const AgendaItem& item);
    // Deletes every item with text. Their entries reach my.log before the agenda is rewritten, so
    // that no item leaves the agenda without its entry, whatever happens in between. A repeating
    // item stays, moved to its next occurrence and set today: only this occurrence goes to the log.
    // subtasks: the items under it go too, each with its own entry; otherwise they stay, drawn one
    // level up, and come back under it when it is restored.
    StoreChange remove(const QString& text, QDate deletionDate, bool subtasks = false);
    // Deletes the item of that text as remove() does, without a question: refused when the table
    // did not load, there is no such item, or it may not be deleted.
    StoreChange complete(const QString& text, QDate today, bool subtasks = false);
    // The items under the item of that text, at any depth, as drawn.
    int subtaskCount(const QString& text) const;
    // Gives the item of that text its rule (None: it no longer repeats).
    StoreChange setRepeat(const QString& text, const RepeatRule& rule);
    // The rule the words make for the item of that text, kept on its finish date.
    StoreChange setRepeatWords(const QString& text, const RepeatWords& words);
    // Gives the item of that text a time of day to be reminded at (invalid: none).
    StoreChange setTime(const QString& text, QTime time);
    // Gives the item of that text a parent (empty: the top level), refused for an item not there,
    // itself, or one of its own subtasks.
    StoreChange setParent(const QString& text, const QString& parent);
    StoreChange setPriority(const QString& text, ItemStructure::Priority priority);
    // Replaces the item's tags; none clears them.
    StoreChange setTags(const QString& text, const QStringList& tags);
    // Replaces the whole agenda by items, as a sync merges it: entries, for the items that leave,
    // reach my.log first.
    StoreChange replaceAll(const QList<AgendaItem>& items, const QStringList& entries);

private:
    // The texts of the items under the item of that text, at any depth, as drawn.
    QSet<QString> subtaskTexts(const QString& text) const;
    // Why a change (设置重复…) of the item of that text cannot be made: the file did not load, or
    // there is no such item.
    Result checkItem(const QString& text, const QString& change) const;
    enum File
    {
        Agenda,    // agenda.txt
        Rules,     // repeat.txt
        Structure, // structure.txt
    };
    // Changes every item of that text as change does and writes file: refused as checkItem
    // refuses. what: the change, "设置重复".
    StoreChange changeItems(const QString& text, const QString& what, File file,
                            const std::function<void(AgendaItem&)>& change);
    // Appends with the folder already held.
    StoreChange appendHeld(const AgendaItem& item);
    StoreChange removeHeld(const QString& text, QDate deletionDate, bool subtasks);
    StoreChange writeFailed(const QString& fileName, const QString& error) const;
    StoreChange rewrite(const QList<AgendaItem>& items);
    StoreChange rewriteRules(const QList<AgendaItem>& items);
    // structure.txt for items, with the lines of items gone that still have a place to return to,
    // and the lines of extra (a renamed item's old text) too.
    StoreChange rewriteStructure(const QList<AgendaItem>& items, const QList<AgendaItem>& extra = {});
    // Whether writing items changes what structure.txt says.
    bool touchesStructure(const QList<AgendaItem>& items) const;

    TextFiles& m_files;
    QString m_path;
    QString m_logPath;
    QString m_repeatPath;
    QString m_structurePath;
    const HolidayCalendar* m_holidays;
    AgendaTable m_table;
    bool m_loaded = false;
    Result m_loadResult = Result::done();
    FileStamp m_stamp;
    FileStamp m_repeatStamp;
    FileStamp m_structureStamp;
    int m_loads = 0;
};
