// Runs a fuzz target without libFuzzer: "fuzz_smoke_X N DIR" feeds every file in DIR, then N
// mutations of them (bytes flipped, cut, repeated, spliced), from a fixed seed so that a failure
// comes back on the next run. The long, guided runs are libFuzzer's.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QRandomGenerator>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void run(const QByteArray& bytes)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

QByteArray mutate(QByteArray bytes, const QList<QByteArray>& seeds, QRandomGenerator& rng)
{
    static const char interesting[] = {'\r', '\n', '"',    '#',    ',',    '-', '0',
                                       '9',  ' ',  '\x80', '\x81', '\xff', '\0'};
    const int steps = 1 + int(rng.bounded(4));
    for (int s = 0; s < steps; ++s) {
        const qsizetype at = bytes.isEmpty() ? 0 : qsizetype(rng.bounded(quint32(bytes.size())));
        switch (rng.bounded(5)) {
        case 0: // one byte changed to a random or an interesting one
            if (!bytes.isEmpty())
                bytes[at] = rng.bounded(2) ? char(rng.bounded(256))
                                           : interesting[rng.bounded(quint32(sizeof interesting))];
            break;
        case 1: // a byte inserted
            bytes.insert(at, interesting[rng.bounded(quint32(sizeof interesting))]);
            break;
        case 2: // cut short
            bytes.truncate(at);
            break;
        case 3: // a stretch repeated
            bytes.insert(at, bytes.mid(at, qsizetype(rng.bounded(64))));
            break;
        default: { // spliced with another seed
            const QByteArray& other = seeds[rng.bounded(quint32(seeds.size()))];
            bytes = bytes.left(at) +
                    other.mid(other.isEmpty() ? 0 : qsizetype(rng.bounded(quint32(other.size()))));
            break;
        }
        }
    }
    return bytes;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MUTATIONS SEED_DIR\n", argv[0]);
        return 2;
    }
    const int mutations = std::atoi(argv[1]);
    QList<QByteArray> seeds;
    const QDir dir(QString::fromLocal8Bit(argv[2]));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            seeds.append(file.readAll());
    }
    if (seeds.isEmpty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[2]);
        return 2;
    }
    for (const QByteArray& seed : std::as_const(seeds))
        run(seed);
    QRandomGenerator rng(20021227);
    for (int i = 0; i < mutations; ++i)
        run(mutate(seeds[rng.bounded(quint32(seeds.size()))], seeds, rng));
    std::printf("%lld seeds and %d mutations passed\n", qint64(seeds.size()), mutations);
    return 0;
}
