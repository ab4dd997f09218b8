#pragma once

#include "calendar/core/HolidayFile.h"
#include "cli/Command.h"

#include <functional>

// --holidays [FILE]: the years of official days off known, or a file of them imported.
class HolidaysCommand : public Command
{
public:
    HolidaysCommand();
    Values nameValues() const override { return {0, 1}; }
    Result read(const Given& given) override;
    bool needsHelper() const override;
    int run(const CommandRun& run) const override;

    using Reader = std::function<ResultOf<HolidayRead>(const QByteArray& bytes, const QString& source)>;
    // Lists the years known, or first imports --holidays' file through reader into the data folder.
    int import(const CommandRun& run, const Reader& reader) const;

private:
    QString m_file; // empty: only list the years known
};
