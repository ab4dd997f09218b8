#include "LogPanel.h"

#include "Services.h"

#include "LineList.h"

namespace {

using K = ControlKind;

// clang-format off
const ControlSpec controls[] = {
    {K::List, "ListLog", 0, 0, 7335, 3270, {.bg = "#FFFFC0", .accessible = "日志列表"}},
    {K::Label, "Label删除日志", 5880, 3600, 1215, 375, {.caption = "删除日志",
     .align = Qt::AlignHCenter | Qt::AlignTop, .hand = true}},
    {K::Label, "Label日志总条数", 1440, 3360, 615, 255, {.caption = "0"}},
    {K::Label, "Label12", 120, 3360, 1080, 180, {.caption = "日志总条数："}},
    {K::Button, "Image1", 5880, 3480, 1335, 390, {.index = 7, .picture = ":/pictures/button.jpg"}},
};
// clang-format on

} // namespace

LogPanel::LogPanel(const Services& services, QWidget* parent) : ClickLabel(parent), m_services(services)
{
    setObjectName(QStringLiteral("PictureLog"));
    setAccessibleName(QStringLiteral("查看日志"));
    setGeometry(twips(1680, 960, 7335, 3975));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0x80));
    setPalette(pal);
    buildControls(this, controls);
    findChild<QWidget*>(QStringLiteral("Label12"))->adjustSize();

    m_list = findChild<LineList*>(QStringLiteral("ListLog"));
    m_count = findChild<ClickLabel*>(QStringLiteral("Label日志总条数"));
    connect(m_list, &QAbstractItemView::clicked, this, [this] { ShowLogEntry(); });
    connect(m_list, &LineList::currentRowChanged, this, [this] { ShowLogEntry(); });
    connect(findChild<ClickLabel*>(QStringLiteral("Label删除日志")), &ClickLabel::clicked, this,
            &LogPanel::DeleteLogEntry);
}

void LogPanel::LoadLog()
{
    m_log = LogFile::load(m_services.files, m_services.path(LogFile::fileName));
    ++m_loads;
    if (!m_log.ok)
        m_services.messages.inform(m_log.error);
    const QStringList& texts = m_log.texts;
    m_count->setText(QString::number(texts.size()));
    {
        const QSignalBlocker blocker(m_list);
        m_list->setLines(texts);
        // The first line with the first line's text is line 0.
        m_list->setCurrentRow(texts.isEmpty() ? -1 : 0);
    }
    ShowLogEntry();
}

void LogPanel::AfterOpen()
{
    if (m_services.files.exists(m_services.path(LogFile::fileName))) {
        LoadLog();
        return;
    }
    // The file has gone since the last load: the old lines are no longer the truth.
    m_count->setText(QStringLiteral("0"));
    m_log = {};
    m_list->setLines({});
    ShowLogEntry();
}

void LogPanel::reloadIfChanged()
{
    if (m_log.stamp.matches(m_services.files, m_services.path(LogFile::fileName)))
        return;
    const QString current = m_list->text(m_list->currentRow());
    LoadLog();
    const int row = int(m_list->lines().indexOf(current));
    if (row > 0)
        m_list->setCurrentRow(row);
}

void LogPanel::ShowLogEntry()
{
    m_list->setToolTip(m_list->text(m_list->currentRow()));
}

void LogPanel::DeleteLogEntry()
{
    if (m_list->count() == 0)
        return;
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    const int loads = m_loads;
    if (!m_services.messages.confirm(QStringLiteral("小心：此操作将删除此条日志！")))
        return;
    const QString path = m_services.path(LogFile::fileName);
    if (loads != m_loads || !m_log.stamp.matches(m_services.files, path)) {
        LoadLog();
        m_services.messages.inform(FileStamp::changedElsewhere(QString::fromUtf8(LogFile::fileName)));
        return;
    }
    QList<QByteArrayView> kept = m_log.raw;
    kept.removeAt(row);
    QString error;
    if (!LogFile::rewrite(m_services.files, path, kept, &error))
        m_services.messages.inform(QStringLiteral("日志未能保存：无法写入 %1（%2）")
                                       .arg(QString::fromUtf8(LogFile::fileName), error));
    LoadLog();
}
