#include "cli/CommandTasks.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/AgendaTexts.h"
#include "agenda/core/DueReminder.h"
#include "agenda/core/ItemWords.h"
#include "backup/core/Backups.h"
#include "backup/core/FolderFiles.h"
#include "calendar/core/DateText.h"
#include "calendar/core/DateWords.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/HolidayFile.h"
#include "cli/Autostart.h"
#include "cli/CommandLine.h"
#include "cli/ScriptRequests.h"
#include "find/core/FindIndex.h"
#include "log/core/LogEntry.h"
#include "log/core/LogFile.h"
#include "platform/Clock.h"
#include "platform/Settings.h"
#include "platform/TextFiles.h"
#include "platform/instance/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QLockFile>
#include <QThread>

namespace CommandTasks {

namespace {

// The folder's lock, as the running copy holds it: while held here, no copy starts writing.
std::unique_ptr<QLockFile> lockFolder(const QString& appDir)
{
    auto lock = std::make_unique<QLockFile>(SingleInstance::lockFilePathFor(appDir));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

void write(std::FILE* to, const QString& text)
{
    // By its length, not as a C string: a NUL in a hand-edited file must not end the output.
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

QString folderInUse(const QString& appDir)
{
    return QStringLiteral("kestrin: Kestrin 正在使用 %1").arg(QDir::toNativeSeparators(appDir));
}

} // namespace

void print(std::FILE* to, const QString& text)
{
    write(to, text + u'\n');
}

int listBackups(TextFiles& disk, const CommandLine& options, const QString& elsewhere)
{
    const Backups backups(disk, options.appDir, elsewhere);
    const QList<QDate> dates = backups.dates();
    if (dates.isEmpty()) {
        print(stdout, QStringLiteral("还没有备份。"));
        return 0;
    }
    print(stdout, QStringLiteral("可以恢复的日期（kestrin --restore 日期）："));
    for (QDate date : dates) {
        QStringList files;
        for (const Backups::Copy& copy : backups.copiesFor(date))
            if (!copy.path.isEmpty())
                files.append(copy.fileName);
        print(stdout, date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("  ") + files.join(u' '));
    }
    return 0;
}

int restore(TextFiles& disk, const CommandLine& options, const QString& elsewhere)
{
    // A running copy would write its table over the restored files, or they under its feet.
    const auto lock = lockFolder(options.appDir);
    if (!lock) {
        print(stderr, folderInUse(options.appDir) + QStringLiteral("，请先从托盘菜单退出它，再恢复。"));
        return 1;
    }
    Backups backups(disk, options.appDir, elsewhere);
    // The files replaced are kept as they stood at the end of their day, as before any change.
    printBackupProblems(backups.take());
    const ResultOf<QString> restored = backups.restore(options.restoreDate);
    print(restored ? stdout : stderr, restored ? *restored : restored.error());
    return restored ? 0 : 1;
}

namespace {

// A listing's lines; with --find, nothing found is exit 1.
int printFound(const QString& lines, const CommandLine& options)
{
    write(stdout, lines);
    return lines.isEmpty() && !options.findWords.isEmpty() ? 1 : 0;
}

} // namespace

int listAgenda(TextFiles& disk, const CommandLine& options, const Clock& clock)
{
    // Read through the store, which puts the repeating items' rules with them; it writes nothing here.
    AgendaStore store(disk, QDir(options.appDir).filePath(QString::fromUtf8(AgendaFile::fileName)),
                      QDir(options.appDir).filePath(QString::fromUtf8(LogFile::fileName)));
    if (const Result loaded = store.load(clock.today()); !loaded) {
        print(stderr, QStringLiteral("kestrin: ") + loaded.error());
        return 1;
    }
    const QList<AgendaItem>& items = store.table().items;
    FindIndex index;
    QStringList texts;
    for (const AgendaItem& item : items)
        texts.append(item.text);
    index.setLines(texts);
    QString out;
    for (const int row : index.matching(FindQuery(options.findWords))) {
        if (options.overdueOnly && items[row].daysLeft >= 0)
            continue;
        out += AgendaTexts::listLine(items[row]) + u'\n';
    }
    return printFound(out, options);
}

int listLog(TextFiles& disk, const CommandLine& options)
{
    const LogFile::Load lines =
        LogFile::load(disk, QDir(options.appDir).filePath(QString::fromUtf8(LogFile::fileName)));
    if (!lines.result) {
        print(stderr, QStringLiteral("kestrin: ") + lines.result.error());
        return 1;
    }
    const LogEntry::FindLines read = LogEntry::findLines(lines);
    FindIndex index;
    index.setLines(read.texts, read.dates);
    QString out;
    for (const int row : index.matching(FindQuery(options.findWords))) {
        QStringList fields;
        for (const QDate& date : read.dates[row])
            fields.append(DateText::format(date));
        while (fields.size() < 3)
            fields.append(QString());
        out += fields.join(u'\t') + u'\t' + read.texts[row] + u'\n';
    }
    return printFound(out, options);
}

void printBackupProblems(const Result& backup)
{
    if (backup)
        return;
    for (const QString& problem : backup.error().split(u'\n'))
        print(stderr, QStringLiteral("kestrin: 备份：") + problem);
}

namespace {

// Hands request to the copy running for the folder, which writes and shows the change; with none
// running, write makes it here, holding the folder's lock meanwhile, after the day's backup.
// notDone: what was not done, when a running copy does not answer.
Result onFolder(TextFiles& disk, const QString& appDir, const QString& elsewhere, const Clock& clock,
                const QJsonObject& request, const std::function<StoreChange(AgendaStore&)>& write,
                const QString& notDone)
{
    // The running copy holds the folder's lock for its whole run and listens on its socket; another
    // script holds the lock only while it writes, and listens on nothing. So a lock held with no one
    // listening is waited out, not taken for a copy that does not answer.
    QDeadlineTimer deadline(std::chrono::seconds(10));
    for (;;) {
        if (const auto lock = lockFolder(appDir)) {
            FolderFiles folder(disk, appDir, elsewhere, clock, printBackupProblems);
            AgendaStore store(folder.files(), QDir(appDir).filePath(QString::fromUtf8(AgendaFile::fileName)),
                              QDir(appDir).filePath(QString::fromUtf8(LogFile::fileName)));
            const HolidayCalendar holidays = HolidayFile::loadOrShipped(disk, appDir);
            store.setHolidays(holidays);
            // A file that does not load is refused, with its reason, by the change itself.
            (void)store.load(clock.today());
            const StoreChange change = write(store);
            if (change.status == StoreChange::Done)
                return Result::done();
            return Result::failed(change.message);
        }
        if (const ResultOf<QJsonObject> answer = SingleInstance::send(appDir, request)) {
            if (answer->value(QStringLiteral("ok")).toBool())
                return Result::done();
            return Result::failed(answer->value(QStringLiteral("message")).toString());
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    return Result::failed(folderInUse(appDir) + QStringLiteral("，但它没有应答，") + notDone);
}

int printed(const ResultOf<QString>& outcome)
{
    if (!outcome) {
        print(stderr, QStringLiteral("kestrin: ") + outcome.error());
        return 1;
    }
    print(stdout, *outcome);
    return 0;
}

} // namespace

ResultOf<QString> addItem(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                          const Clock& clock, const AgendaItem& item)
{
    const Result added = onFolder(
        disk, appDir, elsewhere, clock, ScriptRequests::addRequest(item),
        [&](AgendaStore& store) { return store.addNew(item, clock.today()); },
        QStringLiteral("日程未添加。"));
    if (!added)
        return added;
    return ItemWords::added(item);
}

int add(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const Clock& clock)
{
    const ResultOf<AgendaItem> item =
        ItemWords::read(options.addText, options.addSet, options.addFinish, options.repeatWords,
                        clock.today(), HolidayFile::loadOrShipped(disk, options.appDir));
    if (!item)
        return printed(item.result());
    return printed(addItem(disk, options.appDir, elsewhere, clock, *item));
}

int repeat(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const Clock& clock)
{
    // The command line read the words already.
    const ResultOf<RepeatWords> read = RepeatWords::parse(options.repeatWords);
    const RepeatWords words = read ? *read : RepeatWords{};
    const QString& text = options.itemText;
    const Result set = onFolder(
        disk, options.appDir, elsewhere, clock, ScriptRequests::repeatRequest(text, words),
        [&](AgendaStore& store) { return store.setRepeatWords(text, words); },
        QStringLiteral("重复方式未更改。"));
    if (!set)
        return printed(set);
    return printed(QStringLiteral("已设置：%1（%2）")
                       .arg(text, words.rule ? words.rule->text() : RepeatRule::kindName(words.kind)));
}

int done(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const Clock& clock)
{
    const QString& text = options.itemText;
    const Result completed = onFolder(
        disk, options.appDir, elsewhere, clock, ScriptRequests::doneRequest(text),
        [&](AgendaStore& store) { return store.complete(text, clock.today()); },
        QStringLiteral("日程未完成。"));
    if (!completed)
        return printed(completed);
    return printed(QStringLiteral("已完成：%1").arg(text));
}

int autostart(const CommandLine& options, const QString& program)
{
    if (!options.autostart) {
        print(stdout, Autostart::isOn()
                          ? QStringLiteral("登录时自动启动：开（%1）").arg(Autostart::entryPath())
                          : QStringLiteral("登录时自动启动：关"));
        return 0;
    }
    if (const Result done =
            Autostart::set(*options.autostart, program, options.dirGiven ? options.appDir : QString());
        !done) {
        print(stderr, QStringLiteral("kestrin: ") + done.error());
        return 1;
    }
    print(stdout, *options.autostart ? QStringLiteral("登录时自动启动：开（%1）").arg(Autostart::entryPath())
                                     : QStringLiteral("登录时自动启动：关"));
    return 0;
}

namespace {

QString yearList(const QList<int>& years)
{
    QStringList texts;
    for (int year : years)
        texts.append(QString::number(year));
    return texts.join(QStringLiteral("、"));
}

} // namespace

ResultOf<HolidayRead> readHolidayText(const QByteArray& bytes, const QString& source)
{
    ResultOf<HolidayCalendar> calendar = HolidayFile::parseBytes(bytes, source);
    if (!calendar)
        return calendar.result();
    return HolidayRead{*calendar, {}};
}

int remind(const CommandLine& options)
{
    const QString settings = QDir(options.appDir).filePath(QString::fromUtf8(Settings::fileName));
    if (const Result chosen = DueReminder::choose(settings, options.remindAt); !chosen) {
        print(stderr, QStringLiteral("kestrin: %1，到期提醒未更改。").arg(chosen.error()));
        return 1;
    }
    // A copy running for the folder reads it again; none running is no matter.
    (void)SingleInstance::send(options.appDir, ScriptRequests::settingsRequest(), 2000);
    print(stdout,
          options.remindAt
              ? QStringLiteral("到期提醒：每天 %1").arg(options.remindAt->toString(QStringLiteral("HH:mm")))
              : QStringLiteral("到期提醒：关"));
    return 0;
}

bool isICalendar(const QByteArray& bytes)
{
    QByteArray start = bytes.left(64).trimmed();
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.mid(3);
    return start.toUpper().startsWith("BEGIN:VCALENDAR");
}

int holidays(TextFiles& disk, const CommandLine& options, const HolidayReader& reader)
{
    if (!options.holidaysFile.isEmpty()) {
        QFile file(options.holidaysFile);
        if (!file.open(QIODevice::ReadOnly)) {
            print(stderr,
                  QStringLiteral("kestrin: 无法读取 %1（%2）").arg(options.holidaysFile, file.errorString()));
            return 1;
        }
        const ResultOf<HolidayRead> read = reader(file.readAll(), QFileInfo(options.holidaysFile).fileName());
        if (!read) {
            print(stderr, QStringLiteral("kestrin: %1。未导入任何内容。").arg(read.error()));
            return 1;
        }
        for (const QString& ignored : read->ignored)
            print(stdout, QStringLiteral("忽略：") + ignored);
        if (read->calendar.years().isEmpty()) {
            print(stderr, QStringLiteral("kestrin: %1 中没有节假日安排。未导入任何内容。")
                              .arg(QFileInfo(options.holidaysFile).fileName()));
            return 1;
        }
        if (const Result imported = HolidayFile::import(disk, options.appDir, read->calendar); !imported) {
            print(stderr, QStringLiteral("kestrin: 节假日安排未能导入：%1").arg(imported.error()));
            return 1;
        }
        print(stdout, QStringLiteral("已导入 %1 年的节假日安排。").arg(yearList(read->calendar.years())));
    }
    const ResultOf<HolidayCalendar> known = HolidayFile::load(disk, options.appDir);
    if (!known) {
        print(stderr, QStringLiteral("kestrin: ") + known.error());
        return 1;
    }
    print(stdout, QStringLiteral("已收录的年份：") + yearList(known->years()));
    return 0;
}

} // namespace CommandTasks
