#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

// (docs/ARCHITECTURE.md, "Why the unusual code exists".)
// A large picture decoded only while its widget is shown: the panels are hidden nearly all the
// time, and their decoded backgrounds were most of the program's private memory. A widget gets its
// show event before its first paint, so it is never seen without its picture; a minimised window
// keeps it.
class ShownPicture final : public QObject
{
public:
    // show(picture) when widget is shown, show(QPixmap()) when it is hidden.
    static void attach(QWidget* widget, const QString& path, std::function<void(const QPixmap&)> show);
    // The usual case: a label's own picture.
    static void attach(QLabel* label, const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ShownPicture(QWidget* widget, const QString& path, std::function<void(const QPixmap&)> show);

    QString m_path;
    std::function<void(const QPixmap&)> m_show;
    const QMetaObject* m_type; // the widget's class while it is whole
};
