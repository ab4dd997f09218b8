#include "uikit/ListFinder.h"

#include "uikit/FindBar.h"
#include "uikit/LineList.h"

#include <QAction>
#include <QLineEdit>
#include <QShortcut>

#include <numeric>

ListFinder::ListFinder(LineList* list, QWidget* panel)
    : QObject(panel), m_list(list), m_panel(panel), m_bar(nullptr), m_action(new QAction(this))
{
    m_action->setText(QStringLiteral("查找…(&F)"));
    m_action->setObjectName(QStringLiteral("ActionFind"));
    m_action->setShortcut(QKeySequence::Find);
    // Shown in the menus; the panel's own shortcut reaches it wherever the keyboard is in the
    // window, the navigation's captions included. A hidden panel's shortcut does not match, so
    // the key finds in the panel on view.
    m_action->setShortcutContext(Qt::WidgetShortcut);
    connect(m_action, &QAction::triggered, this, &ListFinder::open);
    auto* shortcut = new QShortcut(QKeySequence::Find, panel, this, &ListFinder::open, Qt::WindowShortcut);
    connect(m_action, &QAction::enabledChanged, shortcut, &QShortcut::setEnabled);

    connect(m_list, &LineList::currentRowChanged, this, [this] {
        if (isFinding() && !m_filling)
            m_moved = true;
    });
}

bool ListFinder::isFinding() const
{
    return m_bar && m_bar->isOpen();
}

void ListFinder::open()
{
    if (!m_action->isEnabled())
        return;
    if (!m_bar) {
        // Made at the first find: most runs never open it.
        m_bar = new FindBar(m_list, m_panel);
        connect(m_bar, &FindBar::wordsChanged, this, &ListFinder::changed);
        connect(m_bar, &FindBar::closed, this, [this] {
            m_current = m_list->text(m_list->currentRow());
            emit changed();
        });
    }
    if (!isFinding()) {
        m_before = m_list->text(m_list->currentRow());
        m_moved = false;
    }
    m_bar->open();
}

void ListFinder::close()
{
    if (m_bar)
        m_bar->close();
}

void ListFinder::setEnabled(bool enabled)
{
    if (!enabled)
        close();
    m_action->setEnabled(enabled);
}

void ListFinder::setLines(std::function<void(FindIndex&)> read)
{
    m_index.setLines({});
    m_read = std::move(read);
}

QList<int> ListFinder::matching(int count)
{
    if (!isFinding()) {
        QList<int> all(count);
        std::iota(all.begin(), all.end(), 0);
        return all;
    }
    if (m_read) {
        m_read(m_index);
        m_read = nullptr;
    }
    const QList<int> rows = m_index.matching(FindQuery(m_bar->words()));
    m_bar->setCount(int(rows.size()), m_index.size());
    return rows;
}

QString ListFinder::lineToKeep() const
{
    if (isFinding())
        return m_list->text(m_list->currentRow());
    return m_moved ? m_current : m_before;
}
