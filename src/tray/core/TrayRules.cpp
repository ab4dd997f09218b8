#include "tray/core/TrayRules.h"

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

StateChange onWindowState(Qt::WindowStates state, Qt::WindowStates lastState, bool hasTray)
{
    if (state & Qt::WindowMinimized)
        return {true, false, true, hasTray ? StateChange::HideInTray : StateChange::Keep, lastState};
    if (!(state & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return {true, true, false, StateChange::ShowAtNormalSize, Qt::WindowNoState};
    return {false, false, false, StateChange::Keep, Qt::WindowMaximized};
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
