#pragma once

#include <QStyledItemDelegate>

// Draws the agenda list so that its two kinds of state stay apart: overdue lines are marked
// all at once, and the current line carries a frame of its own.
class AgendaListDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
