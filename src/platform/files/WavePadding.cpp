#include "platform/files/WavePadding.h"

#include <QtEndian>

namespace {

quint32 le32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

} // namespace

std::optional<QByteArray> withTrailingSilence(const QByteArray& wave, int milliseconds)
{
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return std::nullopt;
    quint32 byteRate = 0;
    quint16 blockAlign = 0, bits = 0, format = 0;
    for (qsizetype at = 12; at + 8 <= wave.size();) {
        const QByteArray id = wave.mid(at, 4);
        const quint32 size = le32(wave, at + 4);
        const qsizetype body = at + 8;
        if (size > quint32(wave.size() - body))
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            format = le16(wave, body);
            byteRate = le32(wave, body + 8);
            blockAlign = le16(wave, body + 12);
            bits = le16(wave, body + 14);
        } else if (id == "data") {
            // PCM, float, or the extensible form of either.
            if ((format != 1 && format != 3 && format != 0xFFFE) || blockAlign == 0 || byteRate == 0)
                return std::nullopt;
            const qsizetype frames = qsizetype(byteRate) * milliseconds / 1000 / blockAlign;
            const qsizetype silence = frames * blockAlign;
            const qsizetype end = body + size;
            QByteArray out = wave.left(end);
            out.append(silence, bits == 8 ? char(0x80) : char(0)); // 8-bit samples are unsigned
            out.append(wave.mid(end));
            qToLittleEndian<quint32>(quint32(size + silence), out.data() + at + 4);
            qToLittleEndian<quint32>(quint32(out.size() - 8), out.data() + 4);
            return out;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}
