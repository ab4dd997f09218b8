#include "platform/files/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

namespace TextCodec {

std::optional<QByteArray> encodeWithConverter(QStringView text)
{
    QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

namespace {

// (docs/ARCHITECTURE.md, "Why the unusual code exists".)
// GB18030's two-byte forms, which hold every GBK character, as tables taken once from the
// converter itself: a lookup is several times faster than the converter, and a data file is
// nearly all ASCII and two-byte forms. Anything else goes to the converter, so the tables only
// ever repeat its answers.
// A row for each first byte 0x80 to 0xFF and a cell for every second byte, so that any pair can
// be looked up without asking first: cells that are no character stay 0.
constexpr qsizetype indexOf(unsigned lead, unsigned trail)
{
    return qsizetype(lead & 0x7f) << 8 | qsizetype(trail);
}
constexpr qsizetype tableSize = 0x80 << 8;

// Two-byte form to character; 0 for none. A row is taken from the converter when a form of its
// lead byte is first read: a small file touches a few rows, and asking for all 24,000 forms at
// once cost more than reading the whole agenda did.
class TwoByteDecoding
{
public:
    const char16_t* row(unsigned lead)
    {
        std::atomic<bool>& ready = m_ready[lead & 0x7f];
        if (!ready.load(std::memory_order_acquire)) {
            const std::lock_guard lock(m_filling);
            if (!ready.load(std::memory_order_relaxed)) {
                fill(lead);
                ready.store(true, std::memory_order_release);
            }
        }
        return m_chars.data() + indexOf(lead, 0);
    }

private:
    void fill(unsigned lead)
    {
        if (lead < 0x81 || lead > 0xfe)
            return;
        char pairs[2 * 190];
        qsizetype n = 0;
        for (unsigned trail = 0x40; trail <= 0xfe; ++trail) {
            if (trail != 0x7f) {
                pairs[n++] = char(lead);
                pairs[n++] = char(trail);
            }
        }
        // One character for each pair, or the row stays empty and the converter reads it.
        const QString decoded = m_decoder.decode(QByteArrayView(pairs, n));
        if (m_decoder.hasError() || decoded.size() != n / 2) {
            m_decoder.resetState();
            return;
        }
        for (qsizetype i = 0; i < decoded.size(); ++i) {
            const QChar c = decoded[i];
            if (c != QChar::ReplacementCharacter && !c.isSurrogate())
                m_chars[size_t(indexOf(lead, quint8(pairs[2 * i + 1])))] = c.unicode();
        }
    }

    std::array<char16_t, size_t(tableSize)> m_chars{};
    std::array<std::atomic<bool>, 0x80> m_ready{};
    std::mutex m_filling;
    QStringDecoder m_decoder{"GB18030", QStringConverter::Flag::Stateless};
};

TwoByteDecoding& twoByteDecoding()
{
    static TwoByteDecoding table;
    return table;
}

// Character to two-byte form (lead in the high byte), ASCII to itself; 0 for a character the
// converter writes otherwise (and for NUL).
const std::vector<quint16>& twoByteEncoding()
{
    static const std::vector<quint16> table = [] {
        std::vector<quint16> codes(0x10000, 0);
        QString chars;
        for (unsigned c = 0x80; c <= 0xffff; ++c) {
            if (!QChar::isSurrogate(c))
                chars.append(QChar(c));
        }
        QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(chars);
        if (encoder.hasError())
            return std::vector<quint16>();
        // Every form is told by its first two bytes: one byte below 0x80, four with a digit second.
        qsizetype at = 0;
        for (const QChar c : chars) {
            const qsizetype length = at + 1 < bytes.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= '9'
                                         ? 4
                                         : (quint8(bytes[at]) < 0x80 ? 1 : 2);
            if (at + length > bytes.size())
                return std::vector<quint16>();
            if (length == 2)
                codes[c.unicode()] = quint16((quint8(bytes[at]) << 8) | quint8(bytes[at + 1]));
            at += length;
        }
        if (at != bytes.size())
            return std::vector<quint16>();
        // ASCII as itself, its high byte empty: one lookup for every character.
        for (char16_t c = 1; c < 0x80; ++c)
            codes[c] = c;
        return codes;
    }();
    return table;
}

} // namespace

char* encodeTwoByte(char* to, QStringView text)
{
    const char16_t* c = text.utf16();
    const char16_t* const end = c + text.size();
    // Pure ASCII needs no table, which is built at the first character past it.
    while (c != end && *c < 0x80)
        *to++ = char(*c++);
    if (c == end)
        return to;
    const std::vector<quint16>& table = twoByteEncoding();
    if (table.empty())
        return nullptr;
    const quint16* codes = table.data();
    for (; c != end; ++c) {
        const quint16 code = codes[*c];
        if (Q_UNLIKELY(!code && *c))
            return nullptr;
        // Without a branch on the form's length: the second byte is written either way, and
        // overwritten by the next character when the form had one byte.
        const char lead = char(code >> 8), trail = char(code);
        to[0] = lead ? lead : trail;
        to[1] = trail;
        to += lead ? 2 : 1;
    }
    return to;
}

std::optional<QByteArray> encode(QStringView text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    const char* end = encodeTwoByte(bytes.data(), text);
    if (!end)
        return encodeWithConverter(text);
    bytes.truncate(end - bytes.data());
    return bytes;
}

ResultOf<QByteArray> encodeForWriting(QStringView text)
{
    std::optional<QByteArray> bytes = encode(text);
    if (!bytes)
        return Result::failed(QStringLiteral("文字含有无法保存的字符"));
    return std::move(*bytes);
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

std::optional<QString> decodeWithConverter(QByteArrayView bytes)
{
    const QByteArray mended = withEuroSigns(bytes);
    QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(mended.isEmpty() ? bytes : QByteArrayView(mended));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

namespace {

// The characters of bytes into out, which has room for bytes.size(); -1 when a character needs
// the converter: a four-byte form, a byte that begins nothing, a character cut off.
qsizetype decodeForms(QByteArrayView bytes, char16_t* out)
{
    TwoByteDecoding& table = twoByteDecoding();
    const char16_t* const start = out;
    const auto* in = reinterpret_cast<const quint8*>(bytes.data());
    const auto* const end = in + bytes.size();
    while (in < end) {
        const unsigned b = *in;
        if (b < 0x80) {
            *out++ = char16_t(b);
            ++in;
            continue;
        }
        if (b == 0x80) { // the euro sign of code page 936
            *out++ = u'\u20ac';
            ++in;
            continue;
        }
        // A four-byte form, a byte that begins nothing, a character cut off: the converter's.
        const char16_t c = end - in < 2 ? 0 : table.row(b)[in[1]];
        if (!c)
            return -1;
        *out++ = c;
        in += 2;
    }
    return out - start;
}

} // namespace

std::optional<QString> decode(QByteArrayView bytes)
{
    // A record's field goes through the stack, so that its string is no larger than its text.
    constexpr qsizetype shortText = 256;
    if (bytes.size() <= shortText) {
        char16_t buffer[shortText];
        const qsizetype n = decodeForms(bytes, buffer);
        if (n < 0)
            return decodeWithConverter(bytes);
        return QString(reinterpret_cast<const QChar*>(buffer), n);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    const qsizetype n = decodeForms(bytes, reinterpret_cast<char16_t*>(text.data()));
    if (n < 0)
        return decodeWithConverter(bytes);
    text.truncate(n);
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
