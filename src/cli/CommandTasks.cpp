#include "cli/CommandTasks.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/AgendaTexts.h"
#include "agenda/core/DateText.h"
#include "agenda/core/DueReminder.h"
#include "backup/core/Backups.h"
#include "backup/core/FolderFiles.h"
#include "calendar/core/DateWords.h"
#include "calendar/core/HolidayFile.h"
#include "cli/Autostart.h"
#include "cli/CommandLine.h"
#include "cli/ScriptRequests.h"
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

int listAgenda(const TextFiles& disk, const CommandLine& options, const Clock& clock)
{
    const AgendaFile::Load load = AgendaFile::load(
        disk, QDir(options.appDir).filePath(QString::fromUtf8(AgendaFile::fileName)), clock.today());
    if (!load.result) {
        print(stderr, QStringLiteral("kestrin: ") + load.result.error());
        return 1;
    }
    QString out;
    for (const AgendaItem& item : load.items) {
        if (options.overdueOnly && item.daysLeft >= 0)
            continue;
        out += AgendaTexts::listLine(item) + u'\n';
    }
    write(stdout, out);
    return 0;
}

void printBackupProblems(const QStringList& problems)
{
    for (const QString& problem : problems)
        print(stderr, QStringLiteral("kestrin: 备份：") + problem);
}

namespace {

// A date typed as the entry box takes it stays as typed, for the add's own check; words become
// the date they say (明天, 下周五, 12月20日…).
ResultOf<QString> resolved(const TextFiles& disk, const QString& typed, const Clock& clock,
                           const QString& dataDir)
{
    if (typed.isEmpty() || DateText::parse(typed))
        return typed;
    const ResultOf<QDate> date =
        DateWords::parse(typed, clock.today(), HolidayFile::loadOrShipped(disk, dataDir));
    if (!date)
        return date.result();
    return DateText::format(*date);
}

} // namespace

ResultOf<QString> addItem(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                          const Clock& clock, const QString& text, const QString& setTyped,
                          const QString& finishTyped)
{
    const ResultOf<QString> set = resolved(disk, setTyped, clock, appDir),
                            finish = resolved(disk, finishTyped, clock, appDir);
    for (const ResultOf<QString>* date : {&set, &finish})
        if (!*date)
            return date->result();
    const QString setText = *set, finishText = *finish;
    const auto added = [&]() -> ResultOf<QString> {
        const QDate setDate = setText.isEmpty() ? clock.today() : *DateText::parse(setText);
        return QStringLiteral("已添加：%1（设置 %2，完成 %3）")
            .arg(text, DateText::format(setDate), DateText::format(*DateText::parse(finishText)));
    };
    const QJsonObject request = ScriptRequests::addRequest(text, setText, finishText);
    // The running copy holds the folder's lock for its whole run and listens on its socket; another
    // script holds the lock only while it writes, and listens on nothing. So a lock held with no one
    // listening is waited out, not taken for a copy that does not answer.
    QDeadlineTimer deadline(std::chrono::seconds(10));
    for (;;) {
        if (const auto lock = lockFolder(appDir)) {
            FolderFiles folder(disk, appDir, elsewhere, clock, printBackupProblems);
            AgendaStore store(folder.files(), QDir(appDir).filePath(QString::fromUtf8(AgendaFile::fileName)),
                              QDir(appDir).filePath(QString::fromUtf8(LogFile::fileName)));
            // A file that does not load is refused, with its reason, by the add itself.
            (void)store.load(clock.today());
            const StoreChange change = store.addTyped(text, setText, finishText, clock.today());
            if (change.status == StoreChange::Done)
                return added();
            return Result::failed(change.message);
        }
        if (const auto answer = SingleInstance::send(appDir, request)) {
            if (answer->value(QStringLiteral("ok")).toBool())
                return added();
            return Result::failed(answer->value(QStringLiteral("message")).toString());
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    return Result::failed(folderInUse(appDir) + QStringLiteral("，但它没有应答，日程未添加。"));
}

int add(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const Clock& clock)
{
    const ResultOf<QString> added =
        addItem(disk, options.appDir, elsewhere, clock, options.addText, options.addSet, options.addFinish);
    if (!added) {
        print(stderr, QStringLiteral("kestrin: ") + added.error());
        return 1;
    }
    print(stdout, *added);
    return 0;
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
    SingleInstance::send(options.appDir, ScriptRequests::settingsRequest(), 2000);
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
