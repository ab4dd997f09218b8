#pragma once

#include <QString>

// What a read or a write of a data file came to: done, or why not, in words for the user. The one
// way the file layer reports failure.
class [[nodiscard]] Result
{
public:
    static Result done() { return Result(); }
    static Result failed(const QString& why)
    {
        Result result;
        result.m_failed = true;
        result.m_error = why;
        return result;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};
