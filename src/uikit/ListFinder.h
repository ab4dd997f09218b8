#pragma once

#include "find/core/FindIndex.h"

#include <QObject>

#include <functional>

class FindBar;
class LineList;
class QAction;

// Finding in one panel's list: Ctrl+F anywhere in the panel (or the menus' 查找…) opens the find
// line; the panel asks which of its lines match and fills its list with them. Closed, the line
// current is the one the user moved to while finding, or else the one current before.
class ListFinder final : public QObject
{
    Q_OBJECT
public:
    ListFinder(LineList* list, QWidget* panel);

    // 查找…(&F), Ctrl+F, for the panel's menus.
    QAction* action() const { return m_action; }
    bool isFinding() const;
    void open();
    void close();
    // While an entry is made there is no finding.
    void setEnabled(bool enabled);

    // A new load: how to read its lines for a find (texts, and the log's dates), done only when
    // one is made.
    void setLines(std::function<void(FindIndex&)> read);
    // The rows of the load's count lines that match what is typed, their number shown in the find
    // line; all of them when not finding.
    QList<int> matching(int count);
    // The panel refills its list: a move of the current line meanwhile is not the user's.
    template <typename Fill> void refill(Fill fill)
    {
        const bool was = m_filling;
        m_filling = true;
        fill();
        m_filling = was;
    }
    // The line to make current after changed(): the current one while finding; once the find is
    // closed, the one moved to while finding or else the one current before.
    QString lineToKeep() const;

signals:
    // What is typed changed, or the find was closed: the panel fills its list again.
    void changed();

private:
    LineList* m_list;
    QWidget* m_panel;
    FindBar* m_bar; // made at the first find
    QAction* m_action;
    FindIndex m_index;
    std::function<void(FindIndex&)> m_read; // the load's lines, not read yet
    QString m_before;                       // the line current when the find opened
    QString m_current;                      // the line current when it closed
    bool m_moved = false;
    bool m_filling = false;
};
