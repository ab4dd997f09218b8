#include "uikit/FindBar.h"

#include "uikit/LineList.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

FindBar::FindBar(LineList* list, QWidget* parent)
    : QFrame(parent), m_list(list), m_line(new QLineEdit(this)), m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("FindBar"));
    m_line->setObjectName(QStringLiteral("FindLine"));
    m_count->setObjectName(QStringLiteral("FindCount"));
    m_line->setAccessibleName(QStringLiteral("查找"));
    m_line->setPlaceholderText(QStringLiteral("字词、拼音或首字母"));
    m_line->setClearButtonEnabled(false);
    m_line->setFrame(false);
    // The list's own face and ground, a line above it: part of the list, not a new control.
    setFont(list->font());
    setAutoFillBackground(true);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Window, list->palette().color(QPalette::Base));
    setPalette(palette);
    m_line->setPalette(palette);
    setFrameShape(QFrame::Box);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 1, 3, 1);
    layout->setSpacing(4);
    layout->addWidget(m_line, 1);
    layout->addWidget(m_count);
    m_line->installEventFilter(this);
    connect(m_line, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.trimmed().isEmpty() && isOpen())
            close();
        else
            emit wordsChanged(text);
    });
    hide();
}

void FindBar::place()
{
    const QRect list = m_list->geometry();
    const int height = m_line->sizeHint().height() + 2;
    setGeometry(list.left(), list.bottom() + 1 - height, list.width(), height);
}

void FindBar::open()
{
    if (!isOpen()) {
        place();
        show();
        raise();
        m_list->setBottomMargin(height());
    }
    m_line->setFocus();
    m_line->selectAll();
}

void FindBar::close()
{
    if (!isOpen())
        return;
    const bool hadFocus = m_line->hasFocus();
    hide();
    m_list->setBottomMargin(0);
    {
        const QSignalBlocker blocker(m_line);
        m_line->clear();
    }
    emit closed();
    if (hadFocus && m_list->isEnabled())
        m_list->setFocus();
}

QString FindBar::words() const
{
    return isOpen() ? m_line->text() : QString();
}

void FindBar::setCount(int found, int total)
{
    const QString text = QStringLiteral("找到 %1 条（共 %2 条）").arg(found).arg(total);
    if (m_count->text() == text)
        return;
    m_count->setText(text);
    // Heard when it changes, as the search box's description.
    m_line->setAccessibleDescription(text);
    QAccessibleEvent event(m_line, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    // Esc is the find line's own while it is open, whatever else listens for it around.
    if (watched == m_line && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    if (watched != m_line || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // Moving in the list while the keyboard stays here.
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(m_list, &copy);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_list->setFocus();
        return true;
    default:
        return false;
    }
}
