#include "app/HelpPanel.h"

#include "app/core/Contact.h"
#include "app/core/HelpTexts.h"
#include "platform/Services.h"

#include <QFrame>
#include <QUrl>

namespace {

using K = ControlKind;

// clang-format off
const ControlRow controls[] = {
    {K::Label, "Label详细内容", 3720, 600, 3375, 2895, {.caption = "无。"}},
    {K::Label, "Label15", 3600, 240, 975, 255, {.index = 1, .caption = "详细内容：", .fg = "#000000", .font = "宋体",
     .points = 9, .bold = true}},
    {K::Label, "Label帮助主题4", 720, 3360, 2175, 255, {.caption = "走近Quorrel工作室...", .hand = true}},
    {K::Label, "Label帮助主题3", 720, 1320, 2175, 255, {.caption = "关于Kestrin", .hand = true}},
    {K::Label, "Label帮助主题2", 720, 960, 2175, 255, {.caption = "使用技巧荟萃", .hand = true}},
    {K::Label, "Label帮助主题1", 720, 600, 2175, 255, {.caption = "使用最佳环境", .hand = true}},
    {K::Label, "Label15", 960, 240, 975, 255, {.index = 0, .caption = "主题：", .fg = "#000000", .font = "宋体",
     .points = 9, .bold = true}},
    {K::Label, "Label给我来信", 3600, 3600, 3375, 255, {.caption = "现在就来信获得您的个性化Kestrin!", .fg = "#FF0000",
     .align = Qt::AlignHCenter | Qt::AlignTop, .hand = true}},
    {K::Frame, "Shape1", 480, 120, 2775, 3735},
    {K::Image, "Image帮助主题箭头", 120, 3360, 345, 270, {.picture = ":/pictures/topic_arrow.png"}},
    {K::Button, "Image3", 3360, 120, 3960, 3420, {.picture = ":/pictures/help_decoration.jpg"}},
};
// clang-format on

void setForeground(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    w->setPalette(pal);
}

} // namespace

HelpPanel::HelpPanel(const Services& services, QWidget* parent)
    : Panel(parent, {"PictureHelp", "帮助信息", nullptr, Qt::white}, controls), m_services(services)
{

    auto* shape = control<QFrame>(this, "Shape1");
    shape->setStyleSheet(QStringLiteral("QFrame { border: 1px solid #FFFFC0; background: transparent; }"));
    m_arrow = control<QWidget>(this, "Image帮助主题箭头");
    m_text = control<ClickLabel>(this, "Label详细内容");
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Blanks that begin a line are part of the texts' layout.
    m_text->setTextFormat(Qt::PlainText);
    for (int n = 1; n <= 4; ++n) {
        m_topics[n - 1] = control<ClickLabel>(this, QStringLiteral("Label帮助主题%1").arg(n));
        connect(m_topics[n - 1], &ClickLabel::clicked, this, [this, n] { showTopic(n); });
    }
    connect(control<ClickLabel>(this, "Label给我来信"), &ClickLabel::clicked, this, &HelpPanel::mailMaker);
    setTabChain(tabOrder());
}

QList<QWidget*> HelpPanel::tabOrder() const
{
    return {m_topics[0], m_topics[1], m_topics[2], m_topics[3], control<QWidget>(this, "Label给我来信")};
}

void HelpPanel::showTopic(int topic, bool withSound)
{
    m_arrow->move(m_arrow->x(), m_topics[topic - 1]->y());
    for (int n = 1; n <= 4; ++n)
        setForeground(m_topics[n - 1], n == topic ? QColor(0x00, 0x00, 0xFF) : QColor(0x00, 0x00, 0x00));
    const bool soundFirst = topic == 1 || topic == 4;
    if (withSound && soundFirst)
        m_services.play(Sound::Click);
    m_text->setText(HelpTexts::topic(topic));
    if (withSound && !soundFirst)
        m_services.play(Sound::Click);
}

void HelpPanel::mailMaker()
{
    // A desktop without a mail program simply does nothing.
    m_services.shell.openUrl(QUrl(QStringLiteral("mailto:") + Contact::mail1));
}

void HelpPanel::openMakersPage()
{
    m_services.shell.openUrl(QUrl(QStringLiteral("http://") + Contact::web2 + QStringLiteral("/")));
}
