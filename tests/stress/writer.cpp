// Crash-safety helper. "writer DIR" changes the agenda and the log through the stores the panels
// use, as fast as it can until it is killed; "writer --check DIR" then checks that nothing was torn
// or lost. "writer --die-restoring DIR" restores an entry and kills itself between its two writes.
// "writer --delete-first DIR" deletes the agenda's first item, once, for a trace of its syncs.
// "writer --alarms DIR" saves the repeating alarms in kestrin.ini over and over, each time from a
// new generation; "writer --check-alarms DIR" checks that kestrin.ini holds one generation whole.
#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/LogRestore.h"
#include "alarm/core/SavedAlarms.h"
#include "log/core/LogEntry.h"
#include "log/core/LogFile.h"
#include "log/core/LogStore.h"
#include "platform/files/DiskTextFiles.h"
#include "platform/files/Settings.h"
#include "platform/files/TextFiles.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>

#include <csignal>
#include <cstdio>

namespace {

const QRegularExpression itemName(QStringLiteral("^item-(\\d+)$"));
const QRegularExpression logEntry(
    QStringLiteral("^(item|keep)-(\\d+): 设置日期\\d{4}-\\d{2}-\\d{2}; 预定完成日期\\d{4}-\\d{2}-\\d{2}; "
                   "删除日期\\d{4}-\\d{2}-\\d{2}$"));

struct State
{
    bool ok = true;
    QString problem;
    QSet<int> inAgenda, inLog;
    QSet<int> keepsInAgenda, keepsInLog; // the three items the agenda starts with
    int highest = -1;
};

State inspect(const QString& dir)
{
    State s;
    DiskTextFiles files;
    auto fail = [&s](const QString& why) {
        s.ok = false;
        s.problem = why;
        return s;
    };
    const auto agendaRead = files.read(dir + QStringLiteral("/agenda.txt"));
    if (!agendaRead || !*agendaRead || (*agendaRead)->isEmpty())
        return fail(QStringLiteral("agenda.txt missing or empty"));
    if (!(*agendaRead)->endsWith("\r\n"))
        return fail(QStringLiteral("agenda.txt ends inside a line"));
    const auto agenda = AgendaFile::load(files, dir + QStringLiteral("/agenda.txt"), QDate::currentDate());
    if (!agenda.result.ok())
        return fail(agenda.result.error());
    for (const AgendaItem& item : agenda.items) {
        const auto m = itemName.match(item.text);
        if (m.hasMatch()) {
            s.inAgenda.insert(m.captured(1).toInt());
            s.highest = qMax(s.highest, m.captured(1).toInt());
        } else if (item.text.startsWith(QStringLiteral("keep-"))) {
            s.keepsInAgenda.insert(item.text.mid(5).toInt());
        } else {
            return fail(QStringLiteral("strange item: ") + item.text);
        }
    }
    const auto logRead = files.read(dir + QStringLiteral("/my.log"));
    if (logRead && *logRead && !(*logRead)->isEmpty() && !(*logRead)->endsWith("\r\n"))
        return fail(QStringLiteral("my.log ends inside a line"));
    const auto log = LogFile::load(files, dir + QStringLiteral("/my.log"));
    for (const QString& line : log.texts()) {
        if (line.startsWith(QStringLiteral("seed-")))
            continue;
        const auto m = logEntry.match(line);
        if (!m.hasMatch())
            return fail(QStringLiteral("torn log line: ") + line);
        if (m.captured(1) == QStringLiteral("keep")) {
            s.keepsInLog.insert(m.captured(2).toInt());
            continue;
        }
        s.inLog.insert(m.captured(2).toInt());
        s.highest = qMax(s.highest, m.captured(2).toInt());
    }
    // Items are numbered in the order they were added: every number up to the highest must still be
    // in the agenda or archived in the log.
    for (int n = 0; n <= s.highest; ++n)
        if (!s.inAgenda.contains(n) && !s.inLog.contains(n))
            return fail(QStringLiteral("item-%1 left the agenda without its log entry").arg(n));
    for (int n = 1; n <= 3; ++n)
        if (!s.keepsInAgenda.contains(n) && !s.keepsInLog.contains(n))
            return fail(QStringLiteral("keep-%1 left the agenda without its log entry").arg(n));
    return s;
}

// Nothing here may fail to write, and nobody else changes the files.
bool failed(const StoreChange& change)
{
    if (change.status != StoreChange::Failed && change.status != StoreChange::ChangedElsewhere)
        return false;
    std::fprintf(stderr, "writer: %s\n", qPrintable(change.message));
    return true;
}

int write(const QString& dir)
{
    DiskTextFiles files;
    AgendaStore agenda(files, dir + QStringLiteral("/agenda.txt"), dir + QStringLiteral("/my.log"));
    LogStore log(files, dir + QStringLiteral("/my.log"));
    const QDate today = QDate::currentDate();
    if (const Result loaded = agenda.load(today); !loaded) {
        std::fprintf(stderr, "writer: %s\n", qPrintable(loaded.error()));
        return 1;
    }
    log.load();
    int next = inspect(dir).highest + 1;
    QRandomGenerator rng(QRandomGenerator::system()->generate());
    for (;;) {
        const QList<AgendaItem>& items = agenda.table().items;
        const int count = int(items.size());
        const int op = int(rng.bounded(100));
        StoreChange change;
        if ((op < 55 && count < 400) || count < 3) {
            change = agenda.add({QStringLiteral("item-%1").arg(next++), today, today.addDays(1), 0});
        } else if (op < 70) {
            AgendaItem item = items[rng.bounded(count)];
            item.finishDate = QDate(2026, 1, 1).addDays(rng.bounded(400));
            change = agenda.modify(item.text, item);
        } else if (op < 92) {
            change = agenda.remove(items[rng.bounded(count)].text, today);
            if (change.archived)
                log.load();
        } else if (op < 96) {
            // Undo a deletion: a restored item may be deleted again, and archived a second time.
            const QStringList lines = log.lines().texts();
            const int row = int(rng.bounded(qMax(1, int(lines.size()))));
            if (row < lines.size() && lines[row].startsWith(QStringLiteral("item-"))) {
                change = LogRestore::restore(agenda, log, row);
                log.load();
            }
        } else {
            // Only the seed lines are ever deleted from the log: the archive of items must stay.
            const int row = int(log.lines().texts().indexOf(QRegularExpression(QStringLiteral("^seed-"))));
            if (row >= 0) {
                change = log.removeLine(row);
                log.load();
            }
        }
        if (failed(change))
            return 1;
        // As the panel does after every change: the file is loaded again whole.
        if (!agenda.load(today))
            return 1;
    }
}

// The disk, up to the log's rewrite: the process dies there as if the power went.
class DyingFiles final : public TextFiles
{
public:
    bool exists(const QString& path) const override { return m_disk.exists(path); }
    Read read(const QString& path) const override { return m_disk.read(path); }
    Result append(const QString& path, const QByteArray& bytes) override
    {
        return m_disk.append(path, bytes);
    }
    Result replace(const QString& path, const QByteArray& bytes) override
    {
        if (path.endsWith(QStringLiteral("/my.log")))
            std::raise(SIGKILL);
        return m_disk.replace(path, bytes);
    }
    std::unique_ptr<Hold> holdFolderOf(const QString& path) override { return m_disk.holdFolderOf(path); }

private:
    DiskTextFiles m_disk;
};

// Restores the first archived item that is not in the agenda, and dies between the two writes.
int dieRestoring(const QString& dir)
{
    DyingFiles files;
    AgendaStore agenda(files, dir + QStringLiteral("/agenda.txt"), dir + QStringLiteral("/my.log"));
    LogStore log(files, dir + QStringLiteral("/my.log"));
    if (!agenda.load(QDate::currentDate()))
        return 1;
    log.load();
    const QStringList lines = log.lines().texts();
    for (int row = 0; row < lines.size(); ++row) {
        const auto entry = LogEntry::parse(lines[row]);
        if (entry && entry->content.startsWith(QStringLiteral("item-")) && !agenda.contains(entry->content)) {
            std::printf("%s\n", qPrintable(entry->content));
            std::fflush(stdout);
            // The files die inside the restore: what it would have returned never comes.
            static_cast<void>(LogRestore::restore(agenda, log, row));
            return 3; // still alive: the log was never rewritten
        }
    }
    return 1;
}

int deleteFirst(const QString& dir)
{
    DiskTextFiles files;
    AgendaStore agenda(files, dir + QStringLiteral("/agenda.txt"), dir + QStringLiteral("/my.log"));
    if (!agenda.load(QDate::currentDate()) || agenda.table().items.isEmpty())
        return 1;
    return agenda.remove(agenda.table().items.first().text, QDate::currentDate()).status == StoreChange::Done
               ? 0
               : 1;
}

QString settingsPath(const QString& dir)
{
    return dir + QStringLiteral("/kestrin.ini");
}

// Three alarms of one generation: each field tells which.
QList<SavedAlarm> generation(int n)
{
    QList<SavedAlarm> alarms;
    for (int row = 0; row < alarmCount; ++row)
        alarms.append({row, QTime(n % 24, row), n % 8 + 1, QStringLiteral("第 %1 代").arg(n),
                       n % 2 ? Repeat::Daily : Repeat::Weekends, QDateTime()});
    return alarms;
}

int writeAlarms(const QString& dir)
{
    const SavedAlarms saved(settingsPath(dir));
    for (int n = 0;; ++n)
        if (!saved.save(generation(n)))
            return 1;
}

int checkAlarms(const QString& dir)
{
    const SavedAlarms::Loaded loaded = SavedAlarms(settingsPath(dir)).load();
    if (!loaded.problems.isEmpty()) {
        std::fprintf(stderr, "check: %s\n", qPrintable(loaded.problems.join(u'\n')));
        return 1;
    }
    if (QSettings(settingsPath(dir), QSettings::IniFormat)
            .value(Settings::name(Settings::Key::Ringtone, 0))
            .toString() != QStringLiteral("/keep.wav")) {
        std::fprintf(stderr, "check: the ringtone's line is gone\n");
        return 1;
    }
    if (loaded.alarms.isEmpty()) // killed before its first save
        return 0;
    const int n = loaded.alarms[0].prompt.section(u' ', 1, 1).toInt();
    if (loaded.alarms != generation(n)) {
        std::fprintf(stderr, "check: kestrin.ini mixes generations\n");
        return 1;
    }
    std::printf("generation %d whole\n", n);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--check")) {
        const State s = inspect(args[2]);
        if (!s.ok) {
            std::fprintf(stderr, "check: %s\n", qPrintable(s.problem));
            return 1;
        }
        std::printf("%lld in the agenda, %lld archived, %lld in both\n", qint64(s.inAgenda.size()),
                    qint64(s.inLog.size()), qint64(QSet<int>(s.inAgenda).intersect(s.inLog).size()));
        return 0;
    }
    if (args.size() == 3 && args[1] == QStringLiteral("--die-restoring"))
        return dieRestoring(args[2]);
    if (args.size() == 3 && args[1] == QStringLiteral("--delete-first"))
        return deleteFirst(args[2]);
    if (args.size() == 3 && args[1] == QStringLiteral("--alarms"))
        return writeAlarms(args[2]);
    if (args.size() == 3 && args[1] == QStringLiteral("--check-alarms"))
        return checkAlarms(args[2]);
    if (args.size() != 2)
        return 2;
    return write(args[1]);
}
