#include "backup/core/Backups.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/RepeatFile.h"
#include "agenda/core/StructureFile.h"
#include "log/core/LogFile.h"
#include "platform/files/Settings.h"
#include "platform/files/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString dateFormat = QStringLiteral("yyyy-MM-dd");

ResultOf<QByteArray> readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failed(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        return Result::failed(file.errorString());
    return bytes;
}

} // namespace

namespace {

QString settingsPath(const QString& dataDir)
{
    return QDir(dataDir).filePath(QString::fromUtf8(Settings::fileName));
}

} // namespace

QString Backups::rememberedElsewhere(const QString& dataDir)
{
    return Settings::value(settingsPath(dataDir), Settings::Key::BackupElsewhere).toString();
}

Result Backups::remember(const QString& dataDir, const QString& elsewhere)
{
    return Settings::set(settingsPath(dataDir), Settings::Key::BackupElsewhere,
                         elsewhere.isEmpty() ? QVariant() : QVariant(elsewhere));
}

Backups::Backups(TextFiles& files, const QString& dataDir, const QString& elsewhere)
    : m_files(files), m_dataDir(dataDir), m_elsewhere(elsewhere)
{
}

QString Backups::localDir() const
{
    return QDir(m_dataDir).filePath(QStringLiteral("backup"));
}

QList<Backups::Kind> Backups::kinds()
{
    return {
        {QString::fromUtf8(AgendaFile::fileName), QStringLiteral("agenda-"), QStringLiteral(".txt")},
        {QString::fromUtf8(LogFile::fileName), QStringLiteral("my-"), QStringLiteral(".log")},
        {QString::fromUtf8(RepeatFile::fileName), QStringLiteral("repeat-"), QStringLiteral(".txt")},
        {QString::fromUtf8(StructureFile::fileName), QStringLiteral("structure-"), QStringLiteral(".txt")}};
}

QStringList Backups::folders() const
{
    QStringList out{localDir()};
    if (!m_elsewhere.isEmpty())
        out.append(m_elsewhere);
    return out;
}

QString Backups::copyName(const Kind& kind, QDate date)
{
    return kind.prefix + date.toString(dateFormat) + kind.suffix;
}

QList<QDate> Backups::datesOf(const QString& folder, const Kind& kind)
{
    QList<QDate> dates;
    const QStringList names =
        QDir(folder).entryList({kind.prefix + QStringLiteral("*") + kind.suffix}, QDir::Files);
    for (const QString& name : names) {
        const QString middle =
            name.mid(kind.prefix.size(), name.size() - kind.prefix.size() - kind.suffix.size());
        const QDate date = QDate::fromString(middle, dateFormat);
        if (date.isValid() && middle.size() == 10)
            dates.append(date);
    }
    std::sort(dates.begin(), dates.end(), std::greater<>());
    return dates;
}

Result Backups::copyInto(const QString& folder, const Kind& kind)
{
    const QFileInfo source(QDir(m_dataDir).filePath(kind.fileName));
    if (!source.isFile())
        return Result::done();
    const bool local = folder == localDir();
    // Only the user reads a personal agenda, its copies included.
    if (!QFileInfo(folder).isDir() &&
        !(local ? QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
                : QDir().mkpath(folder)))
        return Result::failed(QStringLiteral("无法建立备份目录 %1").arg(QDir::toNativeSeparators(folder)));
    const ResultOf<QByteArray> bytes = readAll(source.filePath());
    if (!bytes)
        return Result::failed(QStringLiteral("无法读取 %1（%2），未备份").arg(kind.fileName, bytes.error()));
    const QString target = QDir(folder).filePath(copyName(kind, source.lastModified().date()));
    // The copy of the day is usually there already: most takes write nothing.
    if (QFileInfo(target).size() == bytes->size()) {
        if (const ResultOf<QByteArray> copied = readAll(target); copied && *copied == *bytes)
            return Result::done();
    }
    if (const Result written = m_files.replace(target, *bytes); !written)
        return Result::failed(
            QStringLiteral("无法写入 %1（%2）").arg(QDir::toNativeSeparators(target), written.error()));

    // The newest copies for keptDates dates stay, for each file on its own: a file that has not
    // changed for longer keeps its last copy.
    const QList<QDate> dates = datesOf(folder, kind);
    for (qsizetype i = keptDates; i < dates.size(); ++i)
        QFile::remove(QDir(folder).filePath(copyName(kind, dates[i])));
    return Result::done();
}

QStringList Backups::take()
{
    QStringList problems;
    for (const QString& folder : folders())
        for (const Kind& kind : kinds())
            if (const Result copied = copyInto(folder, kind); !copied)
                problems.append(copied.error());
    return problems;
}

QList<QDate> Backups::dates() const
{
    QList<QDate> all;
    for (const QString& folder : folders())
        for (const Kind& kind : kinds())
            all.append(datesOf(folder, kind));
    std::sort(all.begin(), all.end(), std::greater<>());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

QList<Backups::Copy> Backups::copiesFor(QDate date) const
{
    QList<Copy> copies;
    for (const Kind& kind : kinds()) {
        Copy copy{kind.fileName, {}};
        QDate best;
        for (const QString& folder : folders()) {
            for (QDate d : datesOf(folder, kind)) {
                // The local copy wins a tie: it is the one this program wrote last.
                if (d <= date && (!best.isValid() || d > best)) {
                    best = d;
                    copy.path = QDir(folder).filePath(copyName(kind, d));
                }
            }
        }
        copies.append(copy);
    }
    return copies;
}

ResultOf<QString> Backups::restore(QDate date)
{
    QStringList lines;
    if (!dates().contains(date))
        return Result::failed(QStringLiteral("没有 %1 的备份。可以恢复的日期由 kestrin --backups 列出。")
                                  .arg(date.toString(dateFormat)));
    bool ok = true;
    for (const Copy& copy : copiesFor(date)) {
        const QString current = QDir(m_dataDir).filePath(copy.fileName);
        if (copy.path.isEmpty()) {
            lines.append(QStringLiteral("%1：没有 %2 或更早的备份，保持不变。")
                             .arg(copy.fileName, date.toString(dateFormat)));
            continue;
        }
        const ResultOf<QByteArray> bytes = readAll(copy.path);
        if (!bytes) {
            lines.append(QStringLiteral("%1：无法读取 %2（%3），保持不变。")
                             .arg(copy.fileName, copy.path, bytes.error()));
            ok = false;
            continue;
        }
        // A sync writing at this moment would put back the agenda it had read.
        const auto hold = m_files.holdFolderOf(current);
        if (!hold) {
            lines.append(
                QStringLiteral("%1：另一个程序（同步或脚本）一直在写入，保持不变。").arg(copy.fileName));
            ok = false;
            continue;
        }
        QString kept;
        if (QFileInfo(current).isFile()) {
            const ResultOf<QByteArray> now = readAll(current);
            const Result saved =
                now ? m_files.replace(current + QStringLiteral(".before-restore"), *now) : now.result();
            if (!saved) {
                lines.append(QStringLiteral("%1：无法先存为 %1.before-restore（%2），保持不变。")
                                 .arg(copy.fileName, saved.error()));
                ok = false;
                continue;
            }
            kept = QStringLiteral("；原文件已存为 %1.before-restore").arg(copy.fileName);
        }
        if (const Result written = m_files.replace(current, *bytes); !written) {
            lines.append(
                QStringLiteral("%1：无法写入（%2），保持不变%3。").arg(copy.fileName, written.error(), kept));
            ok = false;
            continue;
        }
        lines.append(QStringLiteral("%1：已恢复为 %2%3。")
                         .arg(copy.fileName, QDir::toNativeSeparators(copy.path), kept));
    }
    // A file that could not be put back fails the whole, whose report says what was done.
    if (!ok)
        return Result::failed(lines.join(u'\n'));
    return lines.join(u'\n');
}
