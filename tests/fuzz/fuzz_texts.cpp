#include "alarm/core/TimeText.h"
#include "calendar/core/DateText.h"
#include "log/core/LogEntry.h"
#include "log/core/LogFile.h"
#include "platform/files/TextCodec.h"

#include <cstdint>

// What the user types into the date and time boxes, and log lines restored to the agenda: whatever
// reads must read back the same. The data files' codec: its tables must answer as Qt's converter.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    if (TextCodec::decode(bytes) != TextCodec::decodeWithConverter(bytes) ||
        TextCodec::encode(text) != TextCodec::encodeWithConverter(text))
        __builtin_trap();
    if (const auto date = DateText::parse(text)) {
        const auto again = DateText::parse(DateText::format(*date));
        if (!date->isValid() || !again || *again != *date)
            __builtin_trap();
    }
    if (const auto time = TimeText::parse(text)) {
        const auto again = TimeText::parse(TimeText::format(*time));
        if (!time->isValid() || !again || *again != *time)
            __builtin_trap();
    }
    if (const auto entry = LogEntry::parse(text)) {
        const QString again =
            LogFile::formatEntry(entry->content, DateText::format(entry->setDate),
                                 DateText::format(entry->finishDate), DateText::format(entry->deletionDate));
        const auto back = LogEntry::parse(again);
        if (!back || back->content != entry->content || back->setDate != entry->setDate ||
            back->finishDate != entry->finishDate || back->deletionDate != entry->deletionDate)
            __builtin_trap();
    }
    return 0;
}
