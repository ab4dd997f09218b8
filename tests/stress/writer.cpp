// Crash-safety helper. "writer DIR" changes the agenda and the log through the real panels as fast
// as it can until it is killed; "writer --check DIR" then checks that nothing was torn or lost.
#include "AgendaFile.h"
#include "AgendaPanel.h"
#include "LogFile.h"
#include "LogPanel.h"
#include "TestBench.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>

#include "LineList.h"

#include <cstdio>

namespace {

const QRegularExpression itemName(QStringLiteral("^item-(\\d+)$"));
const QRegularExpression logEntry(
    QStringLiteral("^(item|keep)-(\\d+): 设置日期\\d{4}-\\d{2}-\\d{2}; 预定完成日期\\d{4}-\\d{2}-\\d{2}; "
                   "删除日期\\d{4}-\\d{2}-\\d{2}$"));

struct State
{
    bool ok = true;
    QString problem;
    QSet<int> inAgenda, inLog;
    QSet<int> keepsInAgenda, keepsInLog; // the three items the agenda starts with
    int highest = -1;
};

State inspect(const QString& dir)
{
    State s;
    DiskTextFiles files;
    auto fail = [&s](const QString& why) {
        s.ok = false;
        s.problem = why;
        return s;
    };
    const auto agendaRead = files.read(dir + QStringLiteral("/agenda.txt"));
    if (agendaRead.status != TextFiles::Read::Ok || agendaRead.bytes.isEmpty())
        return fail(QStringLiteral("agenda.txt missing or empty"));
    if (!agendaRead.bytes.endsWith("\r\n"))
        return fail(QStringLiteral("agenda.txt ends inside a line"));
    const auto agenda = AgendaFile::load(files, dir + QStringLiteral("/agenda.txt"), QDate::currentDate());
    if (!agenda.ok)
        return fail(agenda.error);
    for (const AgendaItem& item : agenda.items) {
        const auto m = itemName.match(item.Content);
        if (m.hasMatch()) {
            s.inAgenda.insert(m.captured(1).toInt());
            s.highest = qMax(s.highest, m.captured(1).toInt());
        } else if (item.Content.startsWith(QStringLiteral("keep-"))) {
            s.keepsInAgenda.insert(item.Content.mid(5).toInt());
        } else {
            return fail(QStringLiteral("strange item: ") + item.Content);
        }
    }
    const auto logRead = files.read(dir + QStringLiteral("/my.log"));
    if (logRead.status == TextFiles::Read::Ok && !logRead.bytes.isEmpty() && !logRead.bytes.endsWith("\r\n"))
        return fail(QStringLiteral("my.log ends inside a line"));
    const auto log = LogFile::load(files, dir + QStringLiteral("/my.log"));
    for (const QString& line : log.texts) {
        if (line.startsWith(QStringLiteral("seed-")))
            continue;
        const auto m = logEntry.match(line);
        if (!m.hasMatch())
            return fail(QStringLiteral("torn log line: ") + line);
        if (m.captured(1) == QStringLiteral("keep")) {
            s.keepsInLog.insert(m.captured(2).toInt());
            continue;
        }
        s.inLog.insert(m.captured(2).toInt());
        s.highest = qMax(s.highest, m.captured(2).toInt());
    }
    // Items are numbered in the order they were added: every number up to the highest must still be
    // in the agenda or archived in the log.
    for (int n = 0; n <= s.highest; ++n)
        if (!s.inAgenda.contains(n) && !s.inLog.contains(n))
            return fail(QStringLiteral("item-%1 left the agenda without its log entry").arg(n));
    for (int n = 1; n <= 3; ++n)
        if (!s.keepsInAgenda.contains(n) && !s.keepsInLog.contains(n))
            return fail(QStringLiteral("keep-%1 left the agenda without its log entry").arg(n));
    return s;
}

int write(const QString& dir)
{
    SystemClock clock;
    ScriptedMessageBoxes messages; // answers Yes to every confirmation
    DiskTextFiles files;
    RecordingSound sound;
    RecordingShell shell;
    const Services services{clock, messages, files, sound, shell, dir};
    AgendaTable table;
    AgendaPanel agenda(services, table, nullptr);
    LogPanel log(services, nullptr);
    QObject::connect(&agenda, &AgendaPanel::logChanged, &log, &LogPanel::LoadLog);
    agenda.LoadAgenda();
    log.LoadLog();
    int next = inspect(dir).highest + 1;
    auto* list = agenda.findChild<LineList*>(QStringLiteral("ListAgenda"));
    auto* logList = log.findChild<LineList*>(QStringLiteral("ListLog"));
    auto* entry = agenda.findChild<QPlainTextEdit*>(QString::fromUtf8("Text添加日程"));
    auto* finish = agenda.findChild<QLineEdit*>(QString::fromUtf8("Text完成日期"));
    QRandomGenerator rng(QRandomGenerator::system()->generate());
    for (;;) {
        const int op = int(rng.bounded(100));
        if ((op < 55 && list->count() < 400) || list->count() < 3) {
            agenda.BeginAdd();
            entry->setPlainText(QStringLiteral("item-%1").arg(next++));
            agenda.ConfirmEdit();
        } else if (op < 70) {
            list->setCurrentRow(int(rng.bounded(list->count())));
            agenda.BeginModify();
            finish->setText(QDate(2026, 1, 1).addDays(rng.bounded(400)).toString(Qt::ISODate));
            agenda.ConfirmEdit();
        } else if (op < 92) {
            list->setCurrentRow(int(rng.bounded(list->count())));
            agenda.DeleteItem();
        } else {
            // Only the seed lines are ever deleted from the log: the archive of items must stay.
            for (int row = 0; row < logList->count(); ++row) {
                if (logList->text(row).startsWith(QStringLiteral("seed-"))) {
                    logList->setCurrentRow(row);
                    log.DeleteLogEntry();
                    break;
                }
            }
        }
        if (!messages.shown.filter(QStringLiteral("无法")).isEmpty()) {
            std::fprintf(stderr, "writer: %s\n", qPrintable(messages.shown.join(u'\n')));
            return 1;
        }
        messages.shown.clear();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--check")) {
        const State s = inspect(args[2]);
        if (!s.ok) {
            std::fprintf(stderr, "check: %s\n", qPrintable(s.problem));
            return 1;
        }
        std::printf("%lld in the agenda, %lld archived\n", qint64(s.inAgenda.size()), qint64(s.inLog.size()));
        return 0;
    }
    if (args.size() != 2)
        return 2;
    return write(args[1]);
}
