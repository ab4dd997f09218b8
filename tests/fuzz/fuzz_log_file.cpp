#include "MemoryFiles.h"
#include "log/core/LogFile.h"
#include "platform/files/TextCodec.h"

#include <cstdint>

// Every line loads, and writing the lines back gives the input with each line ended by CR LF.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    MemoryFiles files(bytes);
    const auto load = LogFile::load(files, QStringLiteral("my.log"));
    if (!load.result.ok())
        __builtin_trap();
    QByteArray written;
    for (QByteArrayView line : load.raw)
        written += line.toByteArray() + "\r\n";
    // Every line has a text, foreign bytes or not, and there is none past the last.
    if (load.texts().size() != load.count() || !load.text(load.count()).isNull())
        __builtin_trap();
    QByteArray expected;
    for (QByteArrayView line : TextCodec::splitLines(bytes))
        expected += line.toByteArray() + "\r\n";
    if (written != expected)
        __builtin_trap();
    return 0;
}
