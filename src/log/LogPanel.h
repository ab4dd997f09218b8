#pragma once

#include "log/core/LogStore.h"
#include "uikit/Panel.h"

class LineList;
class ListFinder;
class QMenu;
struct Services;

// The log panel PictureLog: my.log line by line, its entry count, and deleting single entries.
class LogPanel final : public Panel
{
    Q_OBJECT
public:
    LogPanel(const Services& services, QWidget* parent);

    void loadLog();
    // What opening the panel does after the panel switch.
    void onOpened();
    void showCurrentEntry();
    void deleteCurrentEntry();
    // Loads my.log again when it was changed elsewhere.
    void reloadIfChanged();

    LogStore& store() { return m_store; }
    QList<QWidget*> tabOrder() const;
    // The menu of ListLog's current line, as a right click or the menu key opens it.
    QMenu* menu() const { return m_menu; }
    ListFinder* finder() const { return m_finder; }

signals:
    // "恢复到日程" was chosen for line row of the lines loaded now.
    void restoreRequested(int row);

private:
    void showLines();
    // The lines found, or all of them, with the current line given when it is among them.
    void listLines(const QString& current);
    // The store's row of a line on view.
    int storeRow(int row) const { return m_rows.value(row, -1); }

    const Services& m_services;
    LogStore m_store;
    LineList* m_list;
    ClickLabel* m_count;
    QMenu* m_menu;
    ListFinder* m_finder;
    QList<int> m_rows;    // the store's rows of the lines on view
    int m_menuLoads = -1; // the load whose lines the menu was opened on
};
