#pragma once

#include <QColor>
#include <QListView>

#include <functional>

class QAbstractListModel;

// A list box of text lines, some of which can be marked (the agenda marks its overdue lines)
// independently of the current line. Refilled whole at every load, so it takes all lines at once:
// 32,767 lines are replaced in a few milliseconds, where adding items one by one takes many more.
// Given a function instead of the texts, it makes only the texts that are asked for.
class LineList final : public QListView
{
    Q_OBJECT
public:
    explicit LineList(QWidget* parent = nullptr);

    void setLines(const QStringList& lines);
    void setLines(int count, std::function<QString(int row)> textOf);
    QStringList lines() const;
    int count() const { return m_count; }
    QString text(int row) const;
    // The first line with this text, or -1.
    int indexOf(const QString& text) const;
    int currentRow() const;
    // Moves the current line (-1 for none) without touching the marks.
    void setCurrentRow(int row);

    // Each line's own tool tip, made when the pointer rests on it; none without one.
    void setLineTips(std::function<QString(int row)> tipOf) { m_tipOf = std::move(tipOf); }
    QString lineTip(int row) const { return m_tipOf ? m_tipOf(row) : QString(); }

    void setMarks(const QList<bool>& marks);
    bool isMarked(int row) const { return m_marks.value(row); }
    QList<int> markedRows() const;
    // What a screen reader says of a marked line.
    void setMarkDescription(const QString& text) { m_markDescription = text; }
    QString markDescription() const { return m_markDescription; }
    // What a screen reader says of a line besides its text and its mark; none without one.
    void setLineDescriptions(std::function<QString(int row)> descriptionOf)
    {
        m_descriptionOf = std::move(descriptionOf);
    }
    // The mark's word and the line's own description, as a screen reader hears them.
    QString lineDescription(int row) const;
    // What a line shows besides its text: its level in a tree, whether its subtree is shown, a
    // coloured mark at its start, and words after the text in a muted colour.
    struct Decoration
    {
        enum Fold
        {
            Leaf,
            Open,
            Folded, // as the model gives them to the painter: 0, 1, 2
        };
        int depth = 0;
        Fold fold = Leaf;
        int subtasks = 0; // the lines under it, shown or folded
        QColor flag;      // none when invalid
        QString tail;
    };
    // None given: every line plain, drawn as it always was. tree: room for the fold marks is kept.
    void setDecorations(std::function<Decoration(int row)> decorationOf, bool tree)
    {
        m_decorationOf = std::move(decorationOf);
        m_tree = tree;
        viewport()->update();
    }
    Decoration decoration(int row) const { return m_decorationOf ? m_decorationOf(row) : Decoration(); }
    bool isTree() const { return m_tree; }

    // Room kept under the last line, for what lies over the list's bottom edge.
    void setBottomMargin(int pixels) { setViewportMargins(0, 0, 0, pixels); }

signals:
    void currentRowChanged(int row);
    // A right click (which first makes its line current), the menu key or Shift+F10 asks for the
    // menu of the current line, to be shown at globalPos.
    void menuRequested(int row, const QPoint& globalPos);
    // Left (fold) or Right (unfold) on the current line, or a click on a line's fold mark.
    void foldRequested(int row, bool fold);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void requestMenuAtCurrentLine();

    QAbstractListModel* m_model;
    std::function<QString(int row)> m_textOf;
    std::function<QString(int row)> m_tipOf;
    std::function<QString(int row)> m_descriptionOf;
    std::function<Decoration(int row)> m_decorationOf;
    bool m_tree = false;
    int m_count = 0;
    QList<bool> m_marks;
    QString m_markDescription;
};
