#pragma once

#include "platform/files/TextFiles.h"

// One file's bytes, as the fuzzer hands them over.
class MemoryFiles final : public TextFiles
{
public:
    explicit MemoryFiles(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    bool exists(const QString&) const override { return true; }
    Read read(const QString&) const override { return std::optional<QByteArray>(m_bytes); }
    Result append(const QString&, const QByteArray&) override
    {
        return Result::failed(QStringLiteral("read only"));
    }
    Result replace(const QString&, const QByteArray&) override
    {
        return Result::failed(QStringLiteral("read only"));
    }
    std::unique_ptr<Hold> holdFolderOf(const QString&) override { return std::make_unique<Hold>(); }

private:
    QByteArray m_bytes;
};
