#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Whole-file access to the data files, behind an interface so that tests can make writes fail.
class TextFiles
{
public:
    struct Read
    {
        enum Status
        {
            Ok,
            Missing,
            Failed
        };
        Status status = Missing;
        QByteArray bytes;
        QString error;
    };

    virtual ~TextFiles() = default;
    virtual bool exists(const QString& path) const = 0;
    virtual Read read(const QString& path) const = 0;
    // Adds bytes at the end, creating the file when missing. A file whose last line lacks its
    // line end gets one first, so that the new line never runs into the old one.
    virtual bool append(const QString& path, const QByteArray& bytes, QString* error) = 0;
    // Replaces the whole file atomically: on any failure the old file stays as it was.
    virtual bool replace(const QString& path, const QByteArray& bytes, QString* error) = 0;
};

class DiskTextFiles final : public TextFiles
{
public:
    bool exists(const QString& path) const override;
    Read read(const QString& path) const override;
    bool append(const QString& path, const QByteArray& bytes, QString* error) override;
    bool replace(const QString& path, const QByteArray& bytes, QString* error) override;
};

// Reads a data file for a loader: its bytes, or nullopt with ok and error set for the loader's
// result. A missing file is no error (ok: it is an empty table); for a file that cannot be read,
// error is what the user is told, with the file's name.
std::optional<QByteArray> readOrFail(const TextFiles& files, const QString& path, bool& ok, QString& error);
