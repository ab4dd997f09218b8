#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

// What a step that can fail came to: done, or why not, in words for the user. The one way the
// program reports failure; ResultOf carries what a step that succeeded made or read.
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

template <typename T> class [[nodiscard]] ResultOf
{
public:
    // What the step made.
    ResultOf(T value) : m_value(std::move(value)) {}
    // A failed step: failure must not be ok.
    ResultOf(Result failure) : m_failure(std::move(failure)) { Q_ASSERT(!m_failure.ok()); }
    static ResultOf failed(const QString& why) { return ResultOf(Result::failed(why)); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_failure.error(); }
    // The failure alone, to pass on.
    const Result& result() const { return m_failure; }

    // Only when ok().
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    Result m_failure;
};
