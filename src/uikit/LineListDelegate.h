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
    // A line of a tree: its level (int), its fold mark (0 none, 1 open, 2 folded), a coloured
    // mark at its start (QColor) and words after the text (QString); TreeRole: whether the list
    // keeps room for fold marks at all.
    static constexpr int DepthRole = Qt::UserRole + 2;
    static constexpr int FoldRole = Qt::UserRole + 3;
    static constexpr int FlagRole = Qt::UserRole + 4;
    static constexpr int TailRole = Qt::UserRole + 5;
    static constexpr int TreeRole = Qt::UserRole + 6;
    // Where a line's text starts, after its level's indent and its fold mark.
    static int textIndent(int depth, bool tree);
    static constexpr int foldMarkWidth = 12;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
