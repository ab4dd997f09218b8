#include "uikit/ComposedText.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

ComposedText::InputMethod ComposedText::qtInputMethod()
{
    return {[] { QGuiApplication::inputMethod()->commit(); },
            [] { QGuiApplication::inputMethod()->reset(); }};
}

ComposedText::ComposedText(QWidget* box, InputMethod inputMethod)
    : QObject(box), m_box(box), m_inputMethod(std::move(inputMethod))
{
    box->installEventFilter(this);
}

void ComposedText::settle()
{
    if (!m_box->hasFocus())
        return;
    if (m_shown.isEmpty())
        m_inputMethod.reset();
    else
        m_inputMethod.commit();
}

bool ComposedText::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::InputMethod) {
        m_shown = static_cast<QInputMethodEvent*>(event)->preeditString();
    } else if (event->type() == QEvent::FocusOut) {
        m_shown.clear();
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        // A line edit commits whatever the input method holds before it says Return was pressed.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            settle();
    }
    return QObject::eventFilter(watched, event);
}
