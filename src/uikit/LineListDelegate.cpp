#include "uikit/LineListDelegate.h"

#include <QAbstractItemView>
#include <QPainter>

void LineListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const bool marked = index.data(MarkedRole).toBool();
    const bool current = view && view->currentIndex() == index;
    const QRect r = option.rect;

    painter->save();
    if (marked)
        painter->fillRect(r, QColor(0xF6, 0xC4, 0xB8));
    if (current) {
        painter->fillRect(r, marked ? QColor(0xE8, 0xA9, 0x98) : QColor(0xCF, 0xE3, 0xF7));
        painter->setPen(QPen(QColor(0x1F, 0x5F, 0xA8), 1));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    QFont font = option.font;
    font.setBold(current);
    painter->setFont(font);
    painter->setPen(marked ? QColor(0xA0, 0x10, 0x10) : option.palette.color(QPalette::Text));
    const QString text =
        painter->fontMetrics().elidedText(index.data().toString(), Qt::ElideRight, r.width() - 6);
    painter->drawText(r.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}
