#include "uikit/Panel.h"

#include "uikit/ShownPicture.h"

Panel::Panel(QWidget* parent, const Look& look, std::span<const ControlRow> controls) : ClickLabel(parent)
{
    setObjectName(QString::fromUtf8(look.name));
    setAccessibleName(QString::fromUtf8(look.accessible));
    setGeometry(mainPanelRect);
    if (look.fill.isValid()) {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, look.fill);
        setPalette(pal);
    }
    if (look.picture)
        ShownPicture::attach(this, QString::fromUtf8(look.picture));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    buildControls(this, controls);
}
