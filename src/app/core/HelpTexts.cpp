#include "app/core/HelpTexts.h"

#include "app/core/Contact.h"
#include "platform/KestrinVersion.h"

#include <QStringList>

namespace HelpTexts {

namespace {

struct Line
{
    int blanks;
    QString text;
};

QString join(std::initializer_list<Line> lines)
{
    QStringList out;
    for (const Line& line : lines)
        out.append(QString(line.blanks, u' ') + line.text);
    return out.join(QStringLiteral("\r\n"));
}

} // namespace

QString topicTitle(int topic)
{
    static const QString titles[] = {QStringLiteral("使用最佳环境"), QStringLiteral("使用技巧荟萃"),
                                     QStringLiteral("关于Kestrin"), QStringLiteral("走近Quorrel工作室...")};
    return topic >= 1 && topic <= 4 ? titles[topic - 1] : QString();
}

QString topic(int topic)
{
    switch (topic) {
    case 1:
        return join({{0, QStringLiteral("最佳使用环境：")},
                     {6, QStringLiteral("Microsoft Windows 2000 或 XP")},
                     {6, QStringLiteral("800×600分辨率以上")},
                     {6, QStringLiteral("16位色以上")}});
    case 2:
        return join(
            {{0, QStringLiteral("使用技巧让您效率倍增：")},
             {0, {}},
             {6, QStringLiteral("*设置闹钟时间的标准格式为12:59:01，您也可以省略秒，即12:59")},
             {0, {}},
             {6, QStringLiteral("*设置日程相关日期和闹钟时间时，系统会按标准格式预填当前日期和时间")},
             {0, {}},
             {6, QStringLiteral("*请打开自动备份选项，便于软件自动恢复丢失的日程与日志文件")},
             {0, {}},
             {6, QStringLiteral("*Kestrin启动后自动最小化为托盘程序，左击可以打开主界面，右击可以弹出菜单")},
             {6, QStringLiteral("*纯绿色软件，只需拷贝完全安装的目录即可运行")}});
    case 3:
        return join({{0, QStringLiteral("中文名：Kestrin 英文名：Tidewell")},
                     {0, {}},
                     {5, QStringLiteral("版本号：V" KESTRIN_VERSION)},
                     {5, QStringLiteral("软件性质：全功能免费版")},
                     {0, {}},
                     {0, QStringLiteral("该软件向所有用户开放，您可以定制：")},
                     {0, {}},
                     {5, QStringLiteral("★您喜爱的日程显示方式；")},
                     {5, QStringLiteral("★您希望的逾期日程提醒方式；")},
                     {5, QStringLiteral("★定制闹钟铃声；")},
                     {5, QStringLiteral("★定制背景，甚至Kestrin形象")},
                     {0, {}},
                     {14, QStringLiteral("欢迎各网站免费提供下载")}});
    case 4:
        return join({{0, QStringLiteral("为广大用户提供专业软件定做")},
                     {4, QStringLiteral("价格低廉 + 服务优质")},
                     {0, {}},
                     {0, QStringLiteral("网址：") + Contact::web1},
                     {7, Contact::web2},
                     {0, QStringLiteral("邮箱：") + Contact::mail1},
                     {7, Contact::mail2},
                     {0, {}},
                     {0, {}},
                     {0, QStringLiteral("升级版内容预告：")},
                     {5, QStringLiteral("密码设置、铃声选择、异地备份与恢复、从日志恢复到日程")}});
    default:
        return QString();
    }
}

} // namespace HelpTexts
