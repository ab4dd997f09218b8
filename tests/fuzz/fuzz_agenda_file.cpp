#include "MemoryFiles.h"
#include "agenda/core/AgendaFile.h"

#include <cstdint>

// Any bytes either load completely, and then write back to bytes that load to the same table, or
// are refused with a message; never a crash, never a half table.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryFiles files(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const auto load = AgendaFile::load(files, QStringLiteral("agenda.txt"), QDate(2026, 12, 7));
    if (!load.result.ok()) {
        if (!load.items.isEmpty() || load.result.error().isEmpty())
            __builtin_trap();
        return 0;
    }
    QByteArray rewritten;
    for (const AgendaItem& item : load.items)
        rewritten += AgendaFile::formatRecord(item.text, item.setDate, item.finishDate);
    MemoryFiles again(rewritten);
    const auto reload = AgendaFile::load(again, QStringLiteral("agenda.txt"), QDate(2026, 12, 7));
    if (!reload.result.ok() || reload.items.size() != load.items.size())
        __builtin_trap();
    for (qsizetype i = 0; i < load.items.size(); ++i) {
        if (reload.items[i].text != load.items[i].text || reload.items[i].setDate != load.items[i].setDate ||
            reload.items[i].finishDate != load.items[i].finishDate)
            __builtin_trap();
    }
    return 0;
}
