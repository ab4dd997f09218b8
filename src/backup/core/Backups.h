#pragma once

#include "platform/Result.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class TextFiles;

// Copies of agenda.txt and my.log in backup/ of the data folder, and in a second folder when one is
// set. Each copy is named for the day of its file's last change (agenda-2026-12-06.txt,
// my-2026-12-06.log), so it is the file as it stood when that day ended; the newest copies of each
// file for 30 dates are kept.
class Backups
{
public:
    static constexpr int keptDates = 30;

    // files: what the copies are written through; elsewhere: the second folder, or empty.
    Backups(TextFiles& files, const QString& dataDir, const QString& elsewhere);

    // The second folder kestrin.ini remembers for the data folder, or empty.
    static QString rememberedElsewhere(const QString& dataDir);
    // Remembers it (empty: none), through kestrin.ini's check.
    static Result remember(const QString& dataDir, const QString& elsewhere);

    QString localDir() const;
    // Copies both files where they are not copied yet for their date, then drops the oldest.
    // What went wrong, one problem each (none when every copy was taken), for stderr: a failing
    // second folder never stops the local copy.
    QStringList take();

    // The dates with a copy of either file, here or in the second folder, newest first.
    QList<QDate> dates() const;
    struct Copy
    {
        QString fileName; // agenda.txt or my.log
        QString path;     // the copy that stands for that day, or empty when none does
    };
    // For each file, the newest copy of date or before: the file as it was when that day ended.
    QList<Copy> copiesFor(QDate date) const;
    // Puts those copies back, keeping the current files as *.before-restore. Says what it did,
    // also when it failed. The caller makes sure that no running program holds the files.
    ResultOf<QString> restore(QDate date);

private:
    struct Kind
    {
        QString fileName, prefix, suffix;
    };
    static QList<Kind> kinds();
    QStringList folders() const;
    static QList<QDate> datesOf(const QString& folder, const Kind& kind);
    static QString copyName(const Kind& kind, QDate date);
    Result copyInto(const QString& folder, const Kind& kind);

    TextFiles& m_files;
    QString m_dataDir;
    QString m_elsewhere;
};
