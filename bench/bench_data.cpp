// The data path on a full-size agenda and log: 32,767 GBK records with a realistic mix of lengths
// and commas inside texts. Run: ./build/bench/kestrin_bench (offscreen).
#include "TestBench.h"
#include "agenda/AgendaPanel.h"
#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/DueReminder.h"
#include "backup/core/Backups.h"
#include "log/LogPanel.h"
#include "log/core/LogFile.h"
#include "log/core/LogSession.h"
#include "platform/files/DiskTextFiles.h"
#include "platform/files/TextCodec.h"

#include "uikit/LineList.h"
#include "uikit/ListFinder.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int records = 32767;
const QDate today(2026, 12, 7);

QString itemText(QRandomGenerator& rng, int i)
{
    static const QStringList words = {
        QStringLiteral("买菜"),   QStringLiteral("做饭"),     QStringLiteral("开会"),
        QStringLiteral("写报告"), QStringLiteral("交房租"),   QStringLiteral("给妈妈打电话"),
        QStringLiteral("review"), QStringLiteral("准备材料"), QStringLiteral("体检"),
        QStringLiteral("还书"),   QStringLiteral("季度总结"), QStringLiteral("plan Q3")};
    QString text;
    const int n = 1 + int(rng.bounded(6));
    for (int w = 0; w < n; ++w) {
        if (w)
            text += rng.bounded(4) == 0 ? QStringLiteral(",") : QStringLiteral(" ");
        text += words[rng.bounded(words.size())];
    }
    return text + QStringLiteral(" #") + QString::number(i); // unique, as the program keeps them
}

QByteArray agendaBytes()
{
    QRandomGenerator rng(7);
    QByteArray bytes;
    for (int i = 0; i < records; ++i) {
        const QDate set = today.addDays(-int(rng.bounded(400)));
        bytes += AgendaFile::formatRecord(itemText(rng, i), set, set.addDays(int(rng.bounded(500))));
    }
    return bytes;
}

QByteArray logBytes()
{
    QRandomGenerator rng(8);
    QByteArray bytes;
    for (int i = 0; i < records; ++i)
        bytes += TextCodec::encode(LogFile::formatEntry(itemText(rng, i), QStringLiteral("2026-01-02"),
                                                        QStringLiteral("2026-02-03"),
                                                        QStringLiteral("2026-03-04")))
                     .value() +
                 "\r\n";
    return bytes;
}

TestBench& bench()
{
    static TestBench* b = [] {
        auto* created = new TestBench;
        created->clock.set(QDateTime(today, QTime(9, 0)));
        created->write("agenda.txt", agendaBytes());
        created->write("my.log", logBytes());
        return created;
    }();
    return *b;
}

void BM_AgendaFileLoad(benchmark::State& state)
{
    DiskTextFiles files;
    const QString path = bench().path("agenda.txt");
    for (auto _ : state) {
        auto load = AgendaFile::load(files, path, today);
        benchmark::DoNotOptimize(load.items.data());
        if (load.items.size() != records)
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_AgendaFileLoad)->Unit(benchmark::kMillisecond)->MinTime(2);

// The first load of a process, converter start-up included: run it alone in a fresh process
// (--benchmark_filter=FirstLoad), since any earlier benchmark warms the converter.
void BM_AgendaFileFirstLoad(benchmark::State& state)
{
    DiskTextFiles files;
    const QString path = bench().path("agenda.txt");
    for (auto _ : state)
        benchmark::DoNotOptimize(AgendaFile::load(files, path, today).items.size());
}
BENCHMARK(BM_AgendaFileFirstLoad)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

void BM_LoadAgendaWithList(benchmark::State& state)
{
    AgendaSession session(bench().services);
    DueReminder dueReminder(bench().services);
    AgendaPanel panel(bench().services, session, dueReminder, nullptr);
    panel.show();
    auto* list = panel.findChild<LineList*>(QStringLiteral("ListAgenda"));
    for (auto _ : state) {
        panel.loadAgenda();
        list->viewport()->repaint();
    }
}
BENCHMARK(BM_LoadAgendaWithList)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_SortAgenda(benchmark::State& state)
{
    AgendaSession session(bench().services);
    DueReminder dueReminder(bench().services);
    AgendaPanel panel(bench().services, session, dueReminder, nullptr);
    panel.show();
    panel.loadAgenda();
    auto* combo = panel.findChild<QComboBox*>(QString::fromUtf8("Combo排序"));
    auto* list = panel.findChild<LineList*>(QStringLiteral("ListAgenda"));
    combo->setCurrentIndex(int(state.range(0)));
    state.SetLabel(combo->currentText().toStdString());
    for (auto _ : state) {
        panel.chooseOrdering(combo->currentIndex()); // as the combo box's choice does
        list->viewport()->repaint();
    }
}
BENCHMARK(BM_SortAgenda)->DenseRange(1, 3)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_AgendaRewrite(benchmark::State& state)
{
    DiskTextFiles files;
    const auto load = AgendaFile::load(files, bench().path("agenda.txt"), today);
    const QString path = bench().path("rewrite.txt");
    for (auto _ : state) {
        if (!AgendaFile::rewrite(files, path, load.items))
            state.SkipWithError("rewrite failed");
    }
}
BENCHMARK(BM_AgendaRewrite)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_LoadLog(benchmark::State& state)
{
    LogSession log(bench().files, bench().path("my.log"));
    LogPanel panel(bench().services, log, nullptr);
    panel.show();
    auto* list = panel.findChild<LineList*>(QStringLiteral("ListLog"));
    for (auto _ : state) {
        log.load();
        list->viewport()->repaint();
    }
}
BENCHMARK(BM_LoadLog)->Unit(benchmark::kMillisecond)->MinTime(2);

// A key typed in the log panel's find line over the full-size log, the list narrowed and repainted
// (the pinyin read at the find before the loop, as the first key does).
void BM_FindKeyInLogPanel(benchmark::State& state)
{
    LogSession log(bench().files, bench().path("my.log"));
    LogPanel panel(bench().services, log, nullptr);
    panel.show();
    log.load();
    auto* list = panel.findChild<LineList*>(QStringLiteral("ListLog"));
    panel.finder()->open();
    QLineEdit* line = panel.findChild<QLineEdit*>(QStringLiteral("FindLine"));
    line->setText(QStringLiteral("m"));
    const QStringList keys = {QStringLiteral("mc"), QStringLiteral("mca"), QStringLiteral("mcai")};
    int key = 0;
    for (auto _ : state) {
        line->setText(keys[key++ % keys.size()]);
        list->viewport()->repaint();
    }
}
BENCHMARK(BM_FindKeyInLogPanel)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_DeleteLogEntry(benchmark::State& state)
{
    LogSession log(bench().files, bench().path("my.log"));
    LogPanel panel(bench().services, log, nullptr);
    panel.show();
    auto* list = panel.findChild<LineList*>(QStringLiteral("ListLog"));
    const QByteArray original = bench().read("my.log");
    for (auto _ : state) {
        state.PauseTiming();
        bench().write("my.log", original);
        log.load();
        list->setCurrentRow(records / 2);
        state.ResumeTiming();
        panel.deleteCurrentEntry();
        list->viewport()->repaint();
    }
    bench().write("my.log", original);
}
BENCHMARK(BM_DeleteLogEntry)->Unit(benchmark::kMillisecond)->MinTime(2);

// What every store write adds: taking and letting go of the data folder's hold.
void BM_FolderHold(benchmark::State& state)
{
    DiskTextFiles files;
    const QString path = bench().path("agenda.txt");
    for (auto _ : state) {
        if (!files.holdFolderOf(path))
            state.SkipWithError("hold refused");
    }
}
BENCHMARK(BM_FolderHold)->Unit(benchmark::kMicrosecond)->MinTime(2);

// Floors: the least any program must do for the same result, measured in the same run, so that
// the figures above can be given as ratios that travel between machines.

// Read agenda.txt and decode it into one QString with decode.
void readAndDecode(benchmark::State& state, std::optional<QString> (*decode)(QByteArrayView))
{
    const QString path = bench().path("agenda.txt");
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("read failed");
        const std::optional<QString> text = decode(file.readAll());
        benchmark::DoNotOptimize(text->data());
    }
}

void BM_FloorReadDecode(benchmark::State& state)
{
    readAndDecode(state, TextCodec::decode);
}
BENCHMARK(BM_FloorReadDecode)->Unit(benchmark::kMillisecond)->MinTime(2);

// Read agenda.txt and decode each record's text into a string of its own, as any table of items
// holds them: the floor with the allocations a load cannot do without.
void BM_FloorReadDecodeStrings(benchmark::State& state)
{
    const QString path = bench().path("agenda.txt");
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("read failed");
        const QByteArray bytes = file.readAll();
        QList<QString> texts;
        texts.reserve(records);
        TextCodec::forEachLine(QByteArrayView(bytes), [&texts](QByteArrayView line) {
            const qsizetype close = line.indexOf('"', 1);
            texts.append(TextCodec::decode(line.sliced(1, close - 1)).value_or(QString()));
            return true;
        });
        benchmark::DoNotOptimize(texts.data());
    }
}
BENCHMARK(BM_FloorReadDecodeStrings)->Unit(benchmark::kMillisecond)->MinTime(2);

// The same with Qt's own converter instead of the program's tables: the floor a program built
// on the converter alone would have.
void BM_FloorReadDecodeQt(benchmark::State& state)
{
    readAndDecode(state, TextCodec::decodeWithConverter);
}
BENCHMARK(BM_FloorReadDecodeQt)->Unit(benchmark::kMillisecond)->MinTime(2);

// std::stable_sort of the 32,767 keys of an ordering (finish dates, with their row numbers).
void BM_FloorStableSort(benchmark::State& state)
{
    DiskTextFiles files;
    const auto load = AgendaFile::load(files, bench().path("agenda.txt"), today);
    std::vector<std::pair<qint64, int>> keys;
    for (int i = 0; i < int(load.items.size()); ++i)
        keys.emplace_back(load.items[i].finishDate.toJulianDay(), i);
    for (auto _ : state) {
        std::vector<std::pair<qint64, int>> sorted = keys;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        benchmark::DoNotOptimize(sorted.data());
    }
}
BENCHMARK(BM_FloorStableSort)->Unit(benchmark::kMillisecond)->MinTime(2);

// Write agenda.txt's bytes to a new file and fsync it.
void BM_FloorWriteSync(benchmark::State& state)
{
    const QByteArray bytes = bench().read("agenda.txt");
    const QByteArray path = QFile::encodeName(bench().path("floor.txt"));
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
            ::fsync(fd) != 0)
            state.SkipWithError("write failed");
        ::close(fd);
    }
}
BENCHMARK(BM_FloorWriteSync)->Unit(benchmark::kMillisecond)->MinTime(2);

// Read my.log and split it into lines.
void BM_FloorReadSplit(benchmark::State& state)
{
    const QString path = bench().path("my.log");
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("read failed");
        const QByteArray bytes = file.readAll();
        const QList<QByteArrayView> lines = TextCodec::splitLines(bytes);
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(BM_FloorReadSplit)->Unit(benchmark::kMillisecond)->MinTime(2);

// The backup of the day's first change, on the full-size agenda and log: both copied and synced
// (state 1), or both already copied for their dates, only read and compared (state 0).
void BM_Backup(benchmark::State& state)
{
    DiskTextFiles files;
    Backups backups(files, bench().dir.path(), {});
    const bool copying = state.range(0) != 0;
    state.SetLabel(copying ? "copies both files" : "copies up to date");
    if (!backups.take().isEmpty())
        state.SkipWithError("backup failed");
    for (auto _ : state) {
        if (copying) {
            state.PauseTiming();
            QDir(backups.localDir()).removeRecursively();
            state.ResumeTiming();
        }
        if (!backups.take().isEmpty())
            state.SkipWithError("backup failed");
    }
}
BENCHMARK(BM_Backup)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
