#include "uikit/LineListDelegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>

int LineListDelegate::textIndent(int depth, bool tree)
{
    constexpr int indentStep = 14, textMargin = 3;
    return textMargin + (tree ? depth * indentStep + foldMarkWidth : 0);
}

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
    const int fold = index.data(FoldRole).toInt();
    const QColor flag = index.data(FlagRole).value<QColor>();
    const QString tailText = index.data(TailRole).toString();
    const int left = textIndent(index.data(DepthRole).toInt(), index.data(TreeRole).toBool());
    if (flag.isValid())
        painter->fillRect(QRect(r.left() + 1, r.top() + 2, 3, r.height() - 4), flag);
    if (fold != 0) {
        // A small triangle: right for a folded subtree, down for an open one.
        const QPointF c(r.left() + left - 7, r.center().y() + 0.5);
        QPainterPath mark;
        if (fold == 2)
            mark.addPolygon(QPolygonF{{c.x() - 2, c.y() - 4}, {c.x() + 3, c.y()}, {c.x() - 2, c.y() + 4}});
        else
            mark.addPolygon(QPolygonF{{c.x() - 4, c.y() - 2}, {c.x() + 4, c.y() - 2}, {c.x(), c.y() + 3}});
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(mark, option.palette.color(QPalette::Text));
    }
    const QFontMetrics metrics = painter->fontMetrics();
    const int room = r.width() - left - 3;
    // A pixel or two more than the advance: elidedText measures more finely than it reports.
    const int tailWidth =
        tailText.isEmpty() ? 0 : qMin(metrics.horizontalAdvance(tailText) + 2, room * 2 / 5);
    const QString text = metrics.elidedText(index.data().toString(), Qt::ElideRight, room - tailWidth);
    const QRect textRect = r.adjusted(left, 0, -3, 0);
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
    if (tailWidth > 0) {
        painter->setPen(marked ? QColor(0xA0, 0x50, 0x50) : QColor(0x70, 0x70, 0x70));
        const QString tail = metrics.elidedText(tailText, Qt::ElideRight, tailWidth);
        painter->drawText(textRect.adjusted(metrics.horizontalAdvance(text), 0, 0, 0),
                          Qt::AlignVCenter | Qt::AlignLeft, tail);
    }
    painter->restore();
}
