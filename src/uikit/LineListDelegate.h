#pragma once

#include <QStyledItemDelegate>

// Draws a LineList so that its two kinds of state stay apart: marked lines (the agenda's overdue
// ones) are tinted all at once, and the current line carries a frame of its own whether or not
// the list has the focus or the pointer.
class LineListDelegate final : public QStyledItemDelegate
{
public:
    // Whether a line is marked, as the model tells it.
    static constexpr int MarkedRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
