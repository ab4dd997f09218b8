#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// Whole-file access to the data files, behind an interface so that tests can make writes fail.
class TextFiles
{
public:
    // A file's bytes; none when there is no such file; or why it could not be read.
    using Read = ResultOf<std::optional<QByteArray>>;

    virtual ~TextFiles() = default;
    virtual bool exists(const QString& path) const = 0;
    virtual Read read(const QString& path) const = 0;
    // Adds bytes at the end, creating the file when missing. A file whose last line lacks its
    // line end gets one first, so that the new line never runs into the old one.
    virtual Result append(const QString& path, const QByteArray& bytes) = 0;
    // Replaces the whole file atomically: on any failure the old file stays as it was.
    virtual Result replace(const QString& path, const QByteArray& bytes) = 0;

    // Keeps every other writer of path's folder out until destroyed, in this process or another
    // (the sync helper rewrites the agenda while the program appends to it), so that a check of
    // a file and the write that rests on it are one step. Null when another writer held the
    // folder too long.
    struct Hold
    {
        virtual ~Hold() = default;
    };
    virtual std::unique_ptr<Hold> holdFolderOf(const QString& path) = 0;
};

// A data file as a loader reads it: a missing file is no error (an empty table), and a failure
// names the file.
TextFiles::Read readForLoader(const TextFiles& files, const QString& path);
