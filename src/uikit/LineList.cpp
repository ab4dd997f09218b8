#include "uikit/LineList.h"

#include "uikit/LineListDelegate.h"

#include <QAbstractListModel>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// The lines as the view reads them; marks go to the painter and out as an accessible description.
class LinesModel final : public QAbstractListModel
{
public:
    explicit LinesModel(LineList* list) : QAbstractListModel(list), m_list(list) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_list->count(); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return m_list->text(index.row());
        if (role == Qt::ToolTipRole)
            return m_list->lineTip(index.row());
        if (role == LineListDelegate::MarkedRole)
            return m_list->isMarked(index.row());
        if (role >= LineListDelegate::DepthRole && role <= LineListDelegate::TreeRole) {
            if (!m_list->isTree())
                return {};
            const LineList::Decoration line = m_list->decoration(index.row());
            switch (role) {
            case LineListDelegate::DepthRole:
                return line.depth;
            case LineListDelegate::FoldRole:
                return int(line.fold);
            case LineListDelegate::FlagRole:
                return line.flag;
            case LineListDelegate::TailRole:
                return line.tail;
            default:
                return true;
            }
        }
        if (role == Qt::AccessibleDescriptionRole) {
            const QString description = m_list->lineDescription(index.row());
            return description.isEmpty() ? QVariant() : QVariant(description);
        }
        return {};
    }
    void reset(const std::function<void()>& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    LineList* m_list;
};

} // namespace

LineList::LineList(QWidget* parent) : QListView(parent), m_model(new LinesModel(this))
{
    setModel(m_model);
    setItemDelegate(new LineListDelegate(this));
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched); // lays out the lines in view first, the rest in the background
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                emit currentRowChanged(current.isValid() ? current.row() : -1);
            });
}

void LineList::setLines(const QStringList& lines)
{
    setLines(int(lines.size()), [lines](int row) { return lines[row]; });
}

void LineList::setLines(int count, std::function<QString(int row)> textOf)
{
    static_cast<LinesModel*>(m_model)->reset([&] {
        m_textOf = std::move(textOf);
        m_count = count;
        m_marks.clear();
    });
}

QStringList LineList::lines() const
{
    QStringList all;
    all.reserve(m_count);
    for (int row = 0; row < m_count; ++row)
        all.append(m_textOf(row));
    return all;
}

QString LineList::text(int row) const
{
    if (row < 0 || row >= m_count)
        return {};
    return m_textOf(row);
}

int LineList::indexOf(const QString& text) const
{
    for (int row = 0; row < m_count; ++row) {
        if (m_textOf(row) == text)
            return row;
    }
    return -1;
}

int LineList::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void LineList::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
}

void LineList::setMarks(const QList<bool>& marks)
{
    m_marks = marks;
    viewport()->update();
}

QString LineList::lineDescription(int row) const
{
    QStringList parts;
    if (isMarked(row))
        parts.append(m_markDescription);
    if (m_descriptionOf)
        if (const QString own = m_descriptionOf(row); !own.isEmpty())
            parts.append(own);
    return parts.join(QStringLiteral("，"));
}

QList<int> LineList::markedRows() const
{
    QList<int> rows;
    for (int i = 0; i < m_marks.size(); ++i)
        if (m_marks[i])
            rows.append(i);
    return rows;
}

void LineList::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse) {
        requestMenuAtCurrentLine();
        return;
    }
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid())
        return;
    setCurrentRow(index.row());
    emit menuRequested(index.row(), event->globalPos());
}

void LineList::keyPressEvent(QKeyEvent* event)
{
    // The menu key arrives as a context menu event; Shift+F10, its other name, does not everywhere.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        event->accept();
        requestMenuAtCurrentLine();
        return;
    }
    // Left and Right fold and unfold as in every tree; a plain list lets them be.
    if (m_tree && event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && currentRow() >= 0) {
        event->accept();
        emit foldRequested(currentRow(), event->key() == Qt::Key_Left);
        return;
    }
    QListView::keyPressEvent(event);
}

void LineList::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (m_tree && index.isValid() && event->button() == Qt::LeftButton) {
        const Decoration line = decoration(index.row());
        const int x = int(event->position().x()) - visualRect(index).left();
        const int markStart =
            LineListDelegate::textIndent(line.depth, true) - LineListDelegate::foldMarkWidth;
        if (line.fold != Decoration::Leaf && x >= markStart &&
            x < markStart + LineListDelegate::foldMarkWidth) {
            setCurrentRow(index.row());
            emit foldRequested(index.row(), line.fold == Decoration::Open);
            event->accept();
            return;
        }
    }
    QListView::mousePressEvent(event);
}

void LineList::requestMenuAtCurrentLine()
{
    const int row = currentRow();
    if (row < 0)
        return;
    scrollTo(currentIndex());
    const QRect line = visualRect(currentIndex());
    emit menuRequested(row, viewport()->mapToGlobal(line.bottomLeft()));
}
