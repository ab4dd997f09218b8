// An agenda of 10,000 items, 3,000 of them subtasks up to five levels deep, one in twenty with a
// priority and one in twenty-five with tags, against the same agenda without structure (argument 0): the
// load, the list drawn, the merge of a sync with nothing changed. kestrin_bench --benchmark_filter=Structure
// (offscreen).
#include "TestBench.h"
#include "agenda/AgendaPanel.h"
#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/DueReminder.h"
#include "agenda/core/StructureFile.h"
#include "sync/core/SyncMerge.h"

#include "uikit/LineList.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int items = 10000, subtasks = 3000;
const QDate today(2026, 12, 7);

QString textOf(int i)
{
    return QStringLiteral("装修第%1步 买材料").arg(i);
}

// In each ten items, the second to the fourth are subtasks (3,000 in all), chained under the
// first; in every other ten, under the third of the ten before, five levels deep.
ItemStructure structureOf(int i)
{
    ItemStructure structure;
    const int position = i % 10, block = i / 10;
    if (position >= 1 && position <= 3) {
        int parent = i - 1;
        if (block % 2 == 1 && position == 1)
            parent = i - 8;
        else if (block % 2 == 1 && position == 3)
            parent = i - 2;
        structure.parent = textOf(parent);
    }
    if (i % 20 == 0)
        structure.priority = ItemStructure::Priority(1 + i % 3);
    if (i % 25 == 0)
        structure.tags = {QStringLiteral("工作"), QStringLiteral("家庭")};
    return structure;
}

TestBench& bench(bool structured)
{
    static TestBench* made[2] = {};
    if (!made[structured]) {
        auto* b = new TestBench;
        b->clock.set(QDateTime(today, QTime(9, 0)));
        QByteArray agenda;
        QList<StructureFile::Entry> lines;
        for (int i = 0; i < items; ++i) {
            agenda += AgendaFile::formatRecord(textOf(i), today, today.addDays(i % 400));
            lines.append({textOf(i), structureOf(i)});
        }
        b->write("agenda.txt", agenda);
        if (structured && !StructureFile::rewrite(b->files, b->path("structure.txt"), lines))
            qFatal("structure.txt was not written");
        made[structured] = b;
    }
    return *made[structured];
}

void BM_StructureLoad(benchmark::State& state)
{
    TestBench& b = bench(state.range(0));
    AgendaStore store(b.files, b.path("agenda.txt"), b.path("my.log"));
    for (auto _ : state)
        if (!store.load(today) || store.table().count() != items)
            state.SkipWithError("load failed");
}
BENCHMARK(BM_StructureLoad)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(1);

// Apart, so that callgrind can count it alone (bench/structure_instructions.sh).
[[gnu::noinline]] void loadAndDraw(AgendaPanel& panel, LineList* list)
{
    panel.loadAgenda();
    list->viewport()->repaint();
}

void BM_StructureList(benchmark::State& state)
{
    TestBench& b = bench(state.range(0));
    AgendaSession session(b.services);
    DueReminder dueReminder(b.services);
    AgendaPanel panel(b.services, session, dueReminder, nullptr);
    panel.show();
    auto* list = panel.findChild<LineList*>(QStringLiteral("ListAgenda"));
    for (auto _ : state)
        loadAndDraw(panel, list);
}
BENCHMARK(BM_StructureList)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(1);

// The merge of a sync at rest: every task as agreed, nothing to send.
void BM_StructureSyncAtRest(benchmark::State& state)
{
    TestBench& b = bench(state.range(0));
    AgendaStore store(b.files, b.path("agenda.txt"), b.path("my.log"));
    if (!store.load(today))
        state.SkipWithError("load failed");
    QList<SyncEntry> base;
    QList<ServerTask> server;
    for (const AgendaItem& item : store.table().items) {
        const QString uid = QStringLiteral("u") + QString::number(base.size());
        const TaskValues values{item.text,   item.setDate, item.finishDate,
                                item.repeat, item.time,    item.structure};
        base.append({uid, uid + QStringLiteral(".ics"), "\"1\"", values});
        ServerTask task;
        task.href = uid + QStringLiteral(".ics");
        task.etag = "\"1\"";
        task.uid = uid;
        task.values = values;
        server.append(task);
    }
    for (auto _ : state) {
        const SyncPlan plan = SyncMerge::plan(
            base, store.table().items, server, {}, today, [] { return QString(); },
            [](const QString&) { return QString(); });
        if (!plan.uploads.isEmpty() || plan.agendaChanged)
            state.SkipWithError("a sync at rest changed something");
    }
}
BENCHMARK(BM_StructureSyncAtRest)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(1);

} // namespace
