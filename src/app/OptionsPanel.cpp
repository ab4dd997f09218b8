#include "app/OptionsPanel.h"

#include "platform/Services.h"

namespace {

using K = ControlKind;

// clang-format off
const ControlRow controls[] = {
    {K::Label, "Label自动备份开关", 5160, 2400, 615, 255, {.caption = "打开", .fg = "#FF0000", .font = "宋体", .points = 9,
     .bold = true}},
    {K::Image, "Image自动备份1", 840, 2280, 315, 315, {.picture = ":/pictures/switch_on.png", .hand = true,
     .accessible = "退出Kestrin时自动备份日程与日志 开关"}},
    {K::Label, "Label自动备份", 1320, 2400, 3615, 255, {.caption = "退出Kestrin时自动备份日程与日志", .hand = true}},
    {K::Label, "Label自动添加日志开关", 5160, 1800, 735, 255, {.caption = "打开", .fg = "#FF0000", .font = "宋体",
     .points = 9, .bold = true}},
    {K::Image, "Image自动添加日志1", 840, 1680, 315, 315, {.picture = ":/pictures/switch_on.png", .hand = true,
     .accessible = "将删除日程时自动添加到日志 开关"}},
    {K::Label, "Label自动添加日志", 1320, 1800, 3615, 255, {.caption = "将删除日程时自动添加到日志", .hand = true}},
    {K::Label, "Label开机启动开关", 5160, 1200, 735, 255, {.caption = "打开", .fg = "#FF0000", .font = "宋体", .points = 9,
     .bold = true}},
    {K::Image, "Image开机启动1", 840, 1080, 315, 315, {.picture = ":/pictures/switch_on.png", .hand = true,
     .accessible = "开机时启动Kestrin 开关"}},
    {K::Label, "Label14", 5520, 240, 1815, 255, {.caption = "欢迎用户定做选项◆", .fg = "#004000"}},
    {K::Label, "Label开机启动", 1320, 1200, 3615, 255, {.caption = "开机时启动Kestrin", .hand = true}},
    {K::Label, "Label确认设置", 5400, 3480, 1215, 255, {.caption = "确认设置", .align = Qt::AlignHCenter, .hand = true}},
    {K::Button, "Image1", 5400, 3360, 1335, 390, {.index = 8, .picture = ":/pictures/button.jpg"}},
    {K::Image, "Image开机启动2", 840, 1080, 300, 300, {.picture = ":/pictures/switch_off.png", .hand = true, .hidden = true,
     .accessible = "开机时启动Kestrin 开关"}},
    {K::Image, "Image自动添加日志2", 840, 1680, 300, 300, {.picture = ":/pictures/switch_off.png", .hand = true,
     .hidden = true, .accessible = "将删除日程时自动添加到日志 开关"}},
    {K::Image, "Image自动备份2", 840, 2280, 300, 300, {.picture = ":/pictures/switch_off.png", .hand = true,
     .hidden = true, .accessible = "退出Kestrin时自动备份日程与日志 开关"}},
};
// clang-format on

const char* const rowNames[3] = {"开机启动", "自动添加日志", "自动备份"};

} // namespace

OptionsPanel::OptionsPanel(const Services& services, QWidget* parent)
    : Panel(parent, {"PictureOption", "选项", ":/pictures/options_background.jpg", Qt::white}, controls),
      m_services(services)
{

    for (int row = 0; row < 3; ++row) {
        const QString name = QString::fromUtf8(rowNames[row]);
        auto* on = control<ClickLabel>(this, QStringLiteral("Image") + name + QStringLiteral("1"));
        auto* off = control<ClickLabel>(this, QStringLiteral("Image") + name + QStringLiteral("2"));
        auto* label = control<ClickLabel>(this, QStringLiteral("Label") + name);
        m_rows[row] = {on, off,
                       control<QLabel>(this, QStringLiteral("Label") + name + QStringLiteral("开关"))};
        on->setFocusPolicy(Qt::NoFocus);
        off->setFocusPolicy(Qt::NoFocus);
        connect(on, &ClickLabel::clicked, this, [this, row] { switchOff(row); });
        connect(off, &ClickLabel::clicked, this, [this, row] { switchOn(row); });
        connect(label, &ClickLabel::clicked, this, [this, row] { toggleSwitch(row); });
    }
    connect(control<ClickLabel>(this, "Label确认设置"), &ClickLabel::clicked, this,
            &OptionsPanel::confirmOptions);
    setTabChain(tabOrder());
}

QList<QWidget*> OptionsPanel::tabOrder() const
{
    return {control<QWidget>(this, "Label开机启动"), control<QWidget>(this, "Label自动添加日志"),
            control<QWidget>(this, "Label自动备份"), control<QWidget>(this, "Label确认设置")};
}

void OptionsPanel::switchOff(int row)
{
    m_on[row] = false;
    m_rows[row].on->hide();
    m_rows[row].off->show();
    m_rows[row].state->setText(QStringLiteral("关闭"));
}

void OptionsPanel::switchOn(int row)
{
    m_on[row] = true;
    m_rows[row].off->hide();
    m_rows[row].on->show();
    m_rows[row].state->setText(QStringLiteral("打开"));
}

void OptionsPanel::toggleSwitch(int row)
{
    m_services.play(Sound::Click);
    if (isOn(row))
        switchOff(row);
    else
        switchOn(row);
}

void OptionsPanel::confirmOptions()
{
    m_services.messages.inform(QStringLiteral("以上选项仅供参考，尚未实现，欢迎大家来信定做!"));
}
