#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace TextCodec {

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> encode(QStringView text, QString* error)
{
    std::optional<QByteArray> bytes = encode(text);
    if (!bytes && error)
        *error = QStringLiteral("文字含有无法保存的字符");
    return bytes;
}

namespace {

// The bytes with every 0x80 that stands where a character begins replaced by GB18030's euro sign;
// empty when there is none. 0x80 is also a valid second byte, so the characters are walked.
QByteArray withEuroSigns(QByteArrayView bytes)
{
    // Most files have no 0x80 byte at all: one memchr instead of walking every character.
    if (!std::memchr(bytes.data(), 0x80, size_t(bytes.size())))
        return {};
    QByteArray out;
    const qsizetype n = bytes.size();
    qsizetype copied = 0;
    for (qsizetype i = 0; i < n;) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
        } else if (c == 0x80) {
            out.append(bytes.sliced(copied, i - copied));
            out.append("\xa2\xe3", 2);
            copied = ++i;
        } else if (i + 1 < n && bytes[i + 1] >= '0' && bytes[i + 1] <= '9') {
            i += 4; // a four-byte form
        } else {
            i += 2;
        }
    }
    if (copied == 0)
        return {};
    out.append(bytes.sliced(copied));
    return out;
}

} // namespace

std::optional<QString> decode(QByteArrayView bytes)
{
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    const QByteArray mended = withEuroSigns(bytes);
    QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(mended.isEmpty() ? bytes : QByteArrayView(mended));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

namespace {

template <typename View> QList<View> linesOf(View text)
{
    QList<View> lines;
    forEachLine(text, [&lines](View line) {
        lines.append(line);
        return true;
    });
    return lines;
}

} // namespace

QList<QByteArrayView> splitLines(QByteArrayView bytes)
{
    return linesOf(bytes);
}

QList<QStringView> splitLines(QStringView text)
{
    return linesOf(text);
}

} // namespace TextCodec
