#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// A text box's text as the user sees it while an input method composes into it. Qt's ibus plugin
// keeps a composition cancelled with Escape and hands it back when the box is finalised (a line
// edit's Return, a form's confirm), so what is no longer shown is dropped and what is shown is
// committed before the box is read.
class ComposedText : public QObject
{
public:
    // What settling asks of the input method: Qt's, or a test's.
    struct InputMethod
    {
        std::function<void()> commit;
        std::function<void()> reset;
    };
    static InputMethod qtInputMethod();

    // Watches box, which owns it; a line edit's Return then takes the text as shown.
    explicit ComposedText(QWidget* box, InputMethod inputMethod = qtInputMethod());
    // Commits what the box shows being composed, and drops what the input method holds but no
    // longer shows; nothing when the keyboard is elsewhere.
    void settle();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* m_box;
    InputMethod m_inputMethod;
    QString m_shown; // the composition the box shows, empty when none
};
