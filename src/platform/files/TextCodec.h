#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <type_traits>

// The data files' encoding: GB18030 reads every GBK file unchanged, writes GBK bytes for GBK
// characters and still encodes every other character. Line ends: CR LF written, CR LF or LF read.
namespace TextCodec {

// nullopt when the text holds something that has no encoding (a lone surrogate): a file is
// never written with a hole in it.
std::optional<QByteArray> encode(QStringView text);
// The same written at to, which has room for two bytes a character: a file's records are
// encoded into its bytes one after another. The end of what was written, or nullptr for a text
// that wants a form of other than two bytes (encode() then writes it through the converter).
char* encodeTwoByte(char* to, QStringView text);
// The same, saying why when it fails, for the writers that report it.
ResultOf<QByteArray> encodeForWriting(QStringView text);
// nullopt when the bytes are not valid GB18030. A lone byte 0x80, which code page 936 writes for
// the euro sign, reads as €.
std::optional<QString> decode(QByteArrayView bytes);

// The same answers straight from Qt's converter, as the two above give for rarer characters;
// the tests hold the two above to these.
std::optional<QByteArray> encodeWithConverter(QStringView text);
std::optional<QString> decodeWithConverter(QByteArrayView bytes);

// The lines of a file without their line ends (LF or CR LF), as bytes or as decoded text alike.
// A last line without a line end counts; a final line end does not start another line.
QList<QByteArrayView> splitLines(QByteArrayView bytes);
QList<QStringView> splitLines(QStringView text);

// The same lines one by one, for readers that need no list: f(line) for each, in order, until f
// returns false. '\n' never occurs inside a GB18030 character, so the lines of a file and of its
// decoded text correspond one to one.
template <typename View, typename F> void forEachLine(View text, F f)
{
    using Char = std::remove_cvref_t<decltype(text[0])>;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(Char(u'\n'), start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        if (end > start && text[end - 1] == Char(u'\r'))
            --end;
        if (!f(text.sliced(start, end - start)))
            return;
        start = next;
    }
}

inline constexpr char lineEnd[] = "\r\n";

} // namespace TextCodec
