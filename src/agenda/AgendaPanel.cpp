#include "AgendaPanel.h"

#include "AgendaFile.h"
#include "AgendaOrder.h"
#include "AgendaTexts.h"
#include "DateText.h"
#include "LogFile.h"
#include "Services.h"

#include "LineList.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>

namespace {

using K = ControlKind;
constexpr auto centred = Qt::AlignHCenter | Qt::AlignVCenter;

// Topmost first.
// clang-format off
const ControlSpec controls[] = {
    {K::Text, "Text剩余天数", 4080, 2400, 1335, 270, {.fg = "#FF0000", .bg = "#FFFFC0", .locked = true,
     .accessible = "剩余天数"}},
    {K::Text, "Text完成日期", 4080, 1680, 1335, 270, {.locked = true, .accessible = "完成日期"}},
    {K::Text, "Text设置日期", 4080, 960, 1335, 270, {.locked = true, .accessible = "设置日期"}},
    {K::Combo, "Combo排序", 4080, 3480, 1335, 300, {.accessible = "排序方式"}},
    {K::List, "ListAgenda", 120, 480, 3855, 3420, {.bg = "#FFFFC0", .accessible = "日程列表"}},
    {K::MultiText, "Text添加日程", 120, 2160, 3855, 855, {.bg = "#FFFFC0", .accessible = "日程内容"}},
    {K::Label, "Label取消添加", 2040, 3360, 1335, 255, {.caption = "取消添加", .align = centred, .hand = true}},
    {K::Label, "Label确认添加", 600, 3360, 1335, 255, {.caption = "确认添加", .align = centred, .hand = true}},
    {K::Button, "Image1", 2160, 3240, 1335, 390, {.index = 4, .picture = ":/pictures/button.jpg"}},
    {K::Label, "Label添加或修改标题", 120, 1800, 2655, 255, {.caption = "请填写将要添加或修改的日程：",
     .fg = "#0000FF"}},
    {K::Label, "Label修改日程", 5760, 3240, 1215, 255, {.caption = "修改日程", .align = centred, .hand = true}},
    {K::Label, "Label删除日程", 5760, 2400, 1215, 255, {.caption = "删除日程", .align = centred, .hand = true}},
    {K::Button, "Image1", 5760, 3120, 1335, 390, {.index = 2, .picture = ":/pictures/button.jpg"}},
    {K::Button, "Image1", 5760, 2280, 1335, 390, {.index = 1, .picture = ":/pictures/button.jpg"}},
    {K::Label, "Label添加日程", 5760, 1440, 1215, 255, {.caption = "添加日程", .align = centred, .hand = true}},
    {K::Button, "Image1", 5760, 1320, 1335, 390, {.index = 0, .picture = ":/pictures/button.jpg"}},
    {K::Label, "Label4", 4080, 2160, 975, 255, {.caption = "剩余天数："}},
    {K::Label, "Label3", 4080, 1440, 975, 255, {.caption = "完成日期："}},
    {K::Label, "Label2", 4080, 720, 975, 255, {.caption = "设置日期："}},
    {K::Button, "Image1", 720, 3240, 1335, 390, {.index = 3, .picture = ":/pictures/button.jpg"}},
};
// clang-format on

constexpr int browsingHeight = 3300;
constexpr int addingHeight = 960;
constexpr int modifyingHeight = 1140;

const QString dateTip = QStringLiteral("请按标准格式填写日期,如：2002-12-27");

} // namespace

AgendaPanel::AgendaPanel(const Services& services, AgendaTable& table, QWidget* parent)
    : ClickLabel(parent), m_services(services), m_table(table), m_midnight(new QTimer(this)),
      m_dayCheck(new QTimer(this))
{
    setObjectName(QStringLiteral("Picture安排日程"));
    setAccessibleName(QStringLiteral("安排日程"));
    setGeometry(twips(1680, 960, 7335, 3975));
    setPixmap(QPixmap(QStringLiteral(":/pictures/agenda_background.jpg")));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    buildControls(this, controls);

    m_list = findChild<LineList*>(QStringLiteral("ListAgenda"));
    m_order = findChild<QComboBox*>(QStringLiteral("Combo排序"));
    m_setDate = findChild<QLineEdit*>(QStringLiteral("Text设置日期"));
    m_finishDate = findChild<QLineEdit*>(QStringLiteral("Text完成日期"));
    m_daysLeft = findChild<QLineEdit*>(QStringLiteral("Text剩余天数"));
    m_entry = findChild<QPlainTextEdit*>(QStringLiteral("Text添加日程"));
    m_title = findChild<ClickLabel*>(QStringLiteral("Label添加或修改标题"));
    m_confirm = findChild<ClickLabel*>(QStringLiteral("Label确认添加"));
    m_cancel = findChild<ClickLabel*>(QStringLiteral("Label取消添加"));
    m_add = findChild<ClickLabel*>(QStringLiteral("Label添加日程"));
    m_modify = findChild<ClickLabel*>(QStringLiteral("Label修改日程"));
    m_delete = findChild<ClickLabel*>(QStringLiteral("Label删除日程"));

    m_list->setMarkDescription(QStringLiteral("逾期"));
    setTabOrder(m_list, m_order);
    setTabOrder(m_order, m_setDate);
    setTabOrder(m_setDate, m_finishDate);
    setTabOrder(m_finishDate, m_daysLeft);
    setTabOrder(m_daysLeft, m_entry);

    connect(m_list, &LineList::currentRowChanged, this, [this] { ShowItemDetails(); });
    connect(m_order, &QComboBox::activated, this, [this] { SortAgenda(); });
    connect(m_add, &ClickLabel::clicked, this, &AgendaPanel::BeginAdd);
    connect(m_modify, &ClickLabel::clicked, this, &AgendaPanel::BeginModify);
    connect(m_delete, &ClickLabel::clicked, this, &AgendaPanel::DeleteItem);
    connect(m_confirm, &ClickLabel::clicked, this, &AgendaPanel::ConfirmEdit);
    connect(m_cancel, &ClickLabel::clicked, this, &AgendaPanel::CancelEdit);

    m_order->addItems(AgendaOrder::entryTexts());
    m_order->setCurrentIndex(0);

    // Days left change at midnight, and the program stays in the tray for days. A machine that
    // sleeps or a clock that is set delays the midnight timer: the quarter-hourly check catches that.
    m_midnight->setObjectName(QStringLiteral("midnightTimer"));
    m_midnight->setSingleShot(true);
    connect(m_midnight, &QTimer::timeout, this, &AgendaPanel::checkDate);
    m_dayCheck->setObjectName(QStringLiteral("dayCheckTimer"));
    m_dayCheck->setInterval(15 * 60 * 1000);
    connect(m_dayCheck, &QTimer::timeout, this, &AgendaPanel::checkDate);
    m_dayCheck->start();
    armMidnightTimer();
}

bool AgendaPanel::inEntryMode() const
{
    return !m_list->isEnabled();
}

QString AgendaPanel::currentText() const
{
    return m_list->text(m_list->currentRow());
}

bool AgendaPanel::LoadAgenda()
{
    const QString path = m_services.path(AgendaFile::fileName);
    m_table.Today = m_services.clock.today();
    AgendaFile::Load load = AgendaFile::load(m_services.files, path, m_table.Today);
    ++m_loads;
    m_loaded = load.ok;
    m_loadError = load.error;
    m_stamp = load.stamp;
    m_table.Agenda = std::move(load.items);
    showTable();
    if (!load.ok)
        m_services.messages.inform(load.error);
    return load.ok;
}

void AgendaPanel::showTable()
{
    m_table.OverdueCount = 0;
    QList<bool> marks(m_table.AgendaCount(), false);
    for (int i = 0; i < m_table.AgendaCount(); ++i) {
        if (m_table.Agenda[i].DaysLeft < 0) {
            ++m_table.OverdueCount;
            marks[i] = true;
        }
    }
    fillList(AgendaOrder::lines(m_table.Agenda, AgendaOrdering::FileOrder), marks);
    emit agendaLoaded(m_table.AgendaCount(), m_table.OverdueCount);
}

void AgendaPanel::armMidnightTimer()
{
    const QDateTime now = m_services.clock.now();
    const qint64 ms = now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0))) + 1;
    m_midnight->start(int(std::clamp<qint64>(ms, 1, 25 * 3600 * 1000)));
}

void AgendaPanel::checkDate()
{
    armMidnightTimer();
    const QDate today = m_services.clock.today();
    // Ending an entry loads the file, and so counts from the new date.
    if (!m_table.Today.isValid() || today == m_table.Today || inEntryMode())
        return;
    const QString current = currentText();
    m_table.Today = today;
    for (AgendaItem& item : m_table.Agenda)
        item.DaysLeft = int(today.daysTo(item.FinishDate));
    showTable();
    if (AgendaOrder::fromText(m_order->currentText()) != AgendaOrdering::FileOrder)
        SortAgenda();
    if (m_list->lines().contains(current))
        makeCurrent(current);
}

bool AgendaPanel::fileUnchanged() const
{
    return m_stamp.matches(m_services.files, m_services.path(AgendaFile::fileName));
}

void AgendaPanel::reloadKeeping(const QString& currentText)
{
    if (LoadAgenda())
        SortAgenda();
    if (m_list->lines().contains(currentText))
        makeCurrent(currentText);
}

void AgendaPanel::sayChangedElsewhere()
{
    m_services.messages.inform(FileStamp::changedElsewhere(QString::fromUtf8(AgendaFile::fileName)));
}

void AgendaPanel::reloadIfChanged()
{
    if (inEntryMode() || fileUnchanged())
        return;
    reloadKeeping(currentText());
}

void AgendaPanel::fillList(const QStringList& lines, const QList<bool>& marks)
{
    {
        const QSignalBlocker blocker(m_list);
        m_list->setLines(lines);
        MarkOverdue(marks);
        m_list->setCurrentRow(-1);
    }
    if (!lines.isEmpty())
        makeCurrent(lines.first());
    else
        ShowItemDetails();
}

void AgendaPanel::MarkOverdue(const QList<bool>& marks)
{
    m_list->setMarks(marks);
}

void AgendaPanel::makeCurrent(const QString& text)
{
    const int row = int(m_list->lines().indexOf(text));
    if (row >= 0 && m_list->currentRow() != row)
        m_list->setCurrentRow(row); // shows the details through currentRowChanged
    else
        ShowItemDetails();
}

void AgendaPanel::SortAgenda()
{
    const AgendaOrdering ordering = AgendaOrder::fromText(m_order->currentText());
    if (ordering == AgendaOrdering::FileOrder) {
        LoadAgenda();
        return;
    }
    const QStringList lines = AgendaOrder::lines(m_table.Agenda, ordering);
    fillList(lines, AgendaOrder::overdueMarks(m_table.Agenda, lines));
}

void AgendaPanel::ShowItemDetails()
{
    const QString text = currentText();
    if (m_list->currentRow() >= 0) {
        for (const AgendaItem& item : std::as_const(m_table.Agenda)) {
            if (item.Content != text)
                continue;
            m_setDate->setText(DateText::format(item.SetDate));
            m_finishDate->setText(DateText::format(item.FinishDate));
            m_daysLeft->setText(AgendaTexts::daysLeft(item.DaysLeft));
        }
    }
    m_list->setToolTip(text);
}

void AgendaPanel::setBrowsing(bool browsing)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_add, m_delete, m_modify, m_order, m_daysLeft, m_list})
        w->setEnabled(browsing);
    m_setDate->setReadOnly(browsing);
    m_finishDate->setReadOnly(browsing);
    const QString tip = browsing ? QString() : dateTip;
    m_setDate->setToolTip(tip);
    m_finishDate->setToolTip(tip);
}

void AgendaPanel::BeginAdd()
{
    // An addition to a file that does not load would never show, and the error would come back.
    if (!m_loaded) {
        m_services.messages.inform(m_loadError + QStringLiteral("\r\n请先修正此文件，才能添加日程。"));
        return;
    }
    m_list->resize(m_list->width(), twipsToPixels(addingHeight));
    SavedListIndex = m_list->currentRow();
    m_title->setText(QStringLiteral("请填写将要添加的日程："));
    setBrowsing(false);
    m_table.Today = m_services.clock.today();
    m_setDate->setText(DateText::format(m_table.Today));
    m_finishDate->setText(DateText::format(m_table.Today.addDays(1)));
    m_entry->clear();
    m_entry->setFocus();
}

void AgendaPanel::BeginModify()
{
    // Without a current line there is nothing to modify; a typed text would only be dropped.
    if (m_list->currentRow() < 0)
        return;
    SavedListIndex = m_list->currentRow();
    m_confirm->setText(QStringLiteral("确认修改"));
    m_cancel->setText(QStringLiteral("取消修改"));
    m_title->setText(QStringLiteral("请填写将要修改的日程："));
    m_list->resize(m_list->width(), twipsToPixels(modifyingHeight));
    setBrowsing(false);
    m_entry->setPlainText(currentText());
    m_entry->setFocus();
}

void AgendaPanel::restoreSavedLine()
{
    if (m_list->count() == 0)
        return;
    const int row = SavedListIndex < 0 ? 0 : qMin(SavedListIndex, m_list->count() - 1);
    makeCurrent(m_list->text(row));
}

void AgendaPanel::CancelEdit()
{
    m_list->resize(m_list->width(), twipsToPixels(browsingHeight));
    setBrowsing(true);
    m_confirm->setText(QStringLiteral("确认添加"));
    m_cancel->setText(QStringLiteral("取消添加"));
    if (LoadAgenda())
        SortAgenda();
    restoreSavedLine();
}

void AgendaPanel::leaveEntryMode()
{
    setBrowsing(true);
    const bool loaded = LoadAgenda();
    m_list->resize(m_list->width(), twipsToPixels(browsingHeight));
    if (loaded)
        SortAgenda();
    restoreSavedLine();
}

void AgendaPanel::writeFailed(const QString& fileName, const QString& error)
{
    m_services.messages.inform(QStringLiteral("日程未能保存：无法写入 %1（%2）").arg(fileName, error));
}

void AgendaPanel::ConfirmEdit()
{
    const QString text = m_entry->toPlainText();
    if (text.isEmpty()) {
        m_services.messages.inform(QStringLiteral("请先添加日程内容!"));
        return;
    }
    // The file format has no escapes: such a text would not read back.
    if (text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r')) {
        m_services.messages.inform(QStringLiteral("日程内容不能包含双引号或换行!"));
        return;
    }
    const bool adding = m_confirm->text() == QStringLiteral("确认添加");
    const QString editedText = adding ? QString() : currentText();
    for (const AgendaItem& item : std::as_const(m_table.Agenda)) {
        // Modifying may keep the item's own text, but never take another item's.
        if (item.Content == text && (adding || item.Content != editedText)) {
            m_services.messages.inform(QStringLiteral("此日程已经存在!"));
            return;
        }
    }

    const auto setDate = DateText::parse(m_setDate->text());
    const auto finishDate = setDate ? DateText::parse(m_finishDate->text()) : std::nullopt;
    const QString path = m_services.path(AgendaFile::fileName);
    QString error;
    bool changedElsewhere = false;
    if (!setDate || !finishDate) {
        m_services.messages.inform(QStringLiteral("请输入有效日期！"));
    } else if (adding) {
        if (!AgendaFile::append(m_services.files, path, {text, *setDate, *finishDate, 0}, &error))
            writeFailed(QString::fromUtf8(AgendaFile::fileName), error);
    } else if (m_loaded && !fileUnchanged()) {
        changedElsewhere = true;
    } else if (m_loaded) {
        QList<AgendaItem> items = m_table.Agenda;
        for (AgendaItem& item : items) {
            if (item.Content == editedText)
                item = {text, *setDate, *finishDate, 0};
        }
        if (!AgendaFile::rewrite(m_services.files, path, items, &error))
            writeFailed(QString::fromUtf8(AgendaFile::fileName), error);
    }
    if (!adding) {
        m_confirm->setText(QStringLiteral("确认添加"));
        m_cancel->setText(QStringLiteral("取消添加"));
    }
    leaveEntryMode();
    if (changedElsewhere)
        sayChangedElsewhere();
}

void AgendaPanel::DeleteItem()
{
    if (m_list->currentRow() < 0)
        return;
    if (m_table.AgendaCount() == 1) {
        m_services.messages.inform(QStringLiteral("总得留下最后一件事吧!否则，显得太无聊了。"));
        return;
    }
    // The answer is given to the list as it stands; a load while the box is open makes it stale.
    const QString text = currentText();
    const int loads = m_loads;
    if (!m_services.messages.confirm(QStringLiteral("警告：即将删除此条日程！")))
        return;
    if (!m_loaded)
        return;
    if (loads != m_loads || !fileUnchanged()) {
        reloadKeeping(text);
        sayChangedElsewhere();
        return;
    }

    const QString deleted = DateText::format(m_services.clock.today());
    QStringList entries;
    QList<AgendaItem> kept;
    kept.reserve(m_table.AgendaCount());
    for (const AgendaItem& item : std::as_const(m_table.Agenda)) {
        if (item.Content == text)
            entries.append(LogFile::formatEntry(item.Content, DateText::format(item.SetDate),
                                                DateText::format(item.FinishDate), deleted));
        else
            kept.append(item);
    }
    if (entries.isEmpty())
        return;

    // The archive comes first: no item may leave the agenda without its log entry.
    QString error;
    if (!LogFile::append(m_services.files, m_services.path(LogFile::fileName), entries, &error)) {
        m_services.messages.inform(QStringLiteral("日志无法写入 %1（%2），日程未删除。")
                                       .arg(QString::fromUtf8(LogFile::fileName), error));
        return;
    }
    emit logChanged();
    if (!AgendaFile::rewrite(m_services.files, m_services.path(AgendaFile::fileName), kept, &error))
        writeFailed(QString::fromUtf8(AgendaFile::fileName), error);
    if (LoadAgenda())
        SortAgenda();
}
