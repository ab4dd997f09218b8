#include "uikit/ClickLabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (m_pressed && event->button() == Qt::LeftButton && inside) {
        m_pressed = false;
        emit clicked();
    }
    m_pressed = false;
    event->accept();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved();
    // Moves over a control or a panel must not reach the window background (it resets highlights).
    event->accept();
}

namespace {

// A command label as a screen reader sees it: a button, named by its caption (or by the accessible
// name of a picture), pressed by the reader's action.
class CommandAccessible final : public QAccessibleWidget
{
public:
    explicit CommandAccessible(ClickLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const ClickLabel*>(widget());
        if (t == QAccessible::Name && label->accessibleName().isEmpty())
            return label->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<ClickLabel*>(widget())->press();
    }
};

QAccessibleInterface* commandFactory(const QString& className, QObject* object)
{
    auto* label = qobject_cast<ClickLabel*>(object);
    if (className == QLatin1String("ClickLabel") && label && label->isCommand())
        return new CommandAccessible(label);
    return nullptr;
}

} // namespace

void ClickLabel::setCommand(bool command)
{
    static const bool installed = [] {
        QAccessible::installFactory(commandFactory);
        return true;
    }();
    Q_UNUSED(installed);
    m_command = command;
    setFocusPolicy(command ? Qt::TabFocus : Qt::NoFocus);
    // Qt makes and keeps a label's interface at its first event (a name given at creation): drop
    // it, so that the next one asked for is made as what the label is now.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(this))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

// QLabel gives any label that takes the focus a text document of its own, to move between links
// with the keyboard: some 24 KiB a label, half a megabyte for the commands, at the start. A caption
// has no links, and is painted as the plain text it is (but where it is centred upright: the
// document puts it a pixel lower than plain text, and the look stays as it was).
bool ClickLabel::event(QEvent* event)
{
    if (event->type() != QEvent::Polish || !plainCaption())
        return QLabel::event(event);
    const Qt::FocusPolicy policy = focusPolicy();
    setFocusPolicy(Qt::NoFocus);
    const bool handled = QLabel::event(event);
    setFocusPolicy(policy);
    return handled;
}

void ClickLabel::focusInEvent(QFocusEvent* event)
{
    if (plainCaption())
        QFrame::focusInEvent(event); // QLabel's would make the document after all
    else
        QLabel::focusInEvent(event);
}

bool ClickLabel::plainCaption() const
{
    return focusPolicy() != Qt::NoFocus && textFormat() != Qt::RichText && !(alignment() & Qt::AlignVCenter);
}

void ClickLabel::press()
{
    if (m_keyboardTarget)
        m_keyboardTarget->press();
    else
        emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (m_command && event->modifiers() == Qt::NoModifier &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        press();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Dashes of black on white: seen on the light panels and the dark alarm panel alike.
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(frame);
}
