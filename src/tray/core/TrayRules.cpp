#include "TrayRules.h"

namespace TrayRules {

ClickAction onClick(TrayClick click, bool windowMinimized)
{
    switch (click) {
    case TrayClick::LeftRelease:
    case TrayClick::DoubleClick:
        return windowMinimized ? ClickAction::Restore : ClickAction::Minimize;
    case TrayClick::RightRelease:
    case TrayClick::Other:
        break;
    }
    return ClickAction::Nothing;
}

QString tipText(const QString& text)
{
    constexpr qsizetype limit = 64;
    if (text.size() <= limit)
        return text;
    qsizetype cut = limit;
    if (text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut);
}

} // namespace TrayRules
