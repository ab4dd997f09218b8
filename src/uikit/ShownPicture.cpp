#include "uikit/ShownPicture.h"

#include "uikit/ScaledPicture.h"

#include <QEvent>
#include <QImage>
#include <QLabel>

ShownPicture::ShownPicture(QWidget* widget, const QString& path, std::function<void(const QPixmap&)> show)
    : QObject(widget), m_path(path), m_show(std::move(show)), m_type(widget->metaObject())
{
    widget->installEventFilter(this);
}

void ShownPicture::attach(QWidget* widget, const QString& path, std::function<void(const QPixmap&)> show)
{
    new ShownPicture(widget, path, std::move(show));
}

void ShownPicture::attach(QLabel* label, const QString& path)
{
    attach(label, path, [label](const QPixmap& picture) { label->setPixmap(picture); });
}

bool ShownPicture::eventFilter(QObject* watched, QEvent* event)
{
    // A widget hides itself as QWidget's destructor runs, when its own class is gone already.
    if (!watched->metaObject()->inherits(m_type))
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show) {
        m_show(scaledPicture(m_path, static_cast<QWidget*>(watched)->devicePixelRatioF()));
    } else if (event->type() == QEvent::Hide && !event->spontaneous()) {
        // Only a hide of the program's own is sure to be followed by a show event before the
        // widget is seen again. A minimised window may come back without one (Wayland tells a
        // client nothing of it), and would show the desktop through where its picture was.
        m_show(QPixmap());
    }
    return QObject::eventFilter(watched, event);
}
