#pragma once

#include "platform/Result.h"
#include "uikit/Panel.h"

class LogSession;

class LineList;
class ListFinder;
class QMenu;
struct Services;

// The log panel PictureLog: the log session's lines, their count, and deleting single entries.
class LogPanel final : public Panel
{
    Q_OBJECT
public:
    LogPanel(const Services& services, LogSession& session, QWidget* parent);

    // What opening the panel does after the panel switch.
    void onOpened();
    void showCurrentEntry();
    void deleteCurrentEntry();

    QList<QWidget*> tabOrder() const;
    // The menu of ListLog's current line, as a right click or the menu key opens it.
    QMenu* menu() const { return m_menu; }
    ListFinder* finder() const { return m_finder; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The session's lines as loaded; elsewhere: the file changed elsewhere, and the place is kept.
    void showLines(bool elsewhere);
    // Says what a step the panel asked for came to, when it did not go as asked.
    void tell(const Result& result) const;
    // The lines found, or all of them, with the current line given when it is among them.
    void listLines(const QString& current);
    // The store's row of a line on view.
    int storeRow(int row) const { return m_rows.value(row, -1); }

    const Services& m_services;
    LogSession& m_session;
    LineList* m_list;
    ClickLabel* m_count;
    QMenu* m_menu;
    ListFinder* m_finder;
    QList<int> m_rows;    // the store's rows of the lines on view
    int m_menuLoads = -1; // the load whose lines the menu was opened on
    bool m_captionSized = false;
};
