// Typing into the find line over a 10,000-entry log: each key matches every entry against what is
// typed, the pinyin having been read once for the load; beside it, a plain substring scan of the
// same texts, the least a find can do. Run: ./build/bench/kestrin_bench --benchmark_filter=Find
#include "find/core/FindIndex.h"
#include "find/core/PinyinReader.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

constexpr int entries = 10000;

// Items as people write them: a few common words, now and then a Latin one, a number.
QStringList logTexts()
{
    static const QStringList words = {
        QStringLiteral("买菜"),     QStringLiteral("写周报"),       QStringLiteral("交水电费"),
        QStringLiteral("开会"),     QStringLiteral("给妈妈打电话"), QStringLiteral("还书"),
        QStringLiteral("体检"),     QStringLiteral("PPT"),          QStringLiteral("季度总结"),
        QStringLiteral("准备材料"), QStringLiteral("接孩子"),       QStringLiteral("修车"),
        QStringLiteral("review"),   QStringLiteral("订机票"),       QStringLiteral("交房租"),
        QStringLiteral("报销")};
    QRandomGenerator rng(11);
    QStringList texts;
    for (int i = 0; i < entries; ++i) {
        QString text;
        for (int w = 0, n = 1 + int(rng.bounded(4)); w < n; ++w)
            text += words[rng.bounded(words.size())];
        texts.append(text + QString::number(i));
    }
    return texts;
}

QList<QList<QDate>> logDates()
{
    QList<QList<QDate>> dates;
    const QDate start(2025, 1, 1);
    for (int i = 0; i < entries; ++i)
        dates.append({start.addDays(i / 20), start.addDays(i / 20 + 3), start.addDays(i / 20 + 2)});
    return dates;
}

// What is typed, a key at a time: the benchmark's argument picks the word.
const char* const typed[] = {"xzb", "jiaoshuidianfei", "2025-06", "周报"};

void BM_FindKeystroke(benchmark::State& state)
{
    FindIndex index;
    index.setLines(logTexts(), logDates());
    const QString word = QString::fromUtf8(typed[state.range(0)]);
    index.matching(FindQuery(word)); // the load's reading, done at the first find
    qsizetype found = 0;
    int key = 0;
    for (auto _ : state) {
        const QList<int> rows = index.matching(FindQuery(word.left(1 + key % word.size())));
        found += rows.size();
        ++key;
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_FindKeystroke)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(1);

void BM_FindFloorSubstring(benchmark::State& state)
{
    const QStringList texts = logTexts();
    const QString word = QStringLiteral("xzb");
    qsizetype found = 0;
    int key = 0;
    for (auto _ : state) {
        const QString part = word.left(1 + key % word.size());
        for (const QString& text : texts)
            found += text.contains(part) ? 1 : 0;
        ++key;
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_FindFloorSubstring)->Unit(benchmark::kMillisecond)->MinTime(1);

// A find over each new load of the log, every entry's pinyin read for it.
void firstFinds(benchmark::State& state)
{
    const QStringList texts = logTexts();
    const QList<QList<QDate>> dates = logDates();
    for (auto _ : state) {
        FindIndex index;
        index.setLines(texts, dates);
        benchmark::DoNotOptimize(index.matching(FindQuery(u"x")).size());
    }
}

// The first find of a process, run alone (--benchmark_filter=FindFirstInProcess): every entry's
// pinyin read, each character's readings looked up in the Unihan table for the first time.
void BM_FindFirstInProcess(benchmark::State& state)
{
    firstFinds(state);
}
BENCHMARK(BM_FindFirstInProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// What the first find after a load costs: every entry's pinyin read (the characters' readings
// kept from an earlier find).
void BM_FindFirstAfterLoad(benchmark::State& state)
{
    firstFinds(state);
}
BENCHMARK(BM_FindFirstAfterLoad)->Unit(benchmark::kMillisecond)->MinTime(1);

} // namespace
