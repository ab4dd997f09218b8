#pragma once

#include <QLabel>

// Labels, images and picture panels: all of them can be clicked and report pointer moves.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    // A label that acts as a button: Tab reaches it and shows a focus frame, Space and Return do
    // what a click does, and screen readers report a button named by its caption.
    void setCommand(bool command);
    bool isCommand() const { return m_command; }
    // The label whose click the keyboard gives instead of this one's (an icon whose clickable
    // face shows only under the pointer).
    void setKeyboardTarget(ClickLabel* target) { m_keyboardTarget = target; }
    // What Space, Return or a screen reader's press does.
    void press();

signals:
    void clicked();
    void pointerMoved();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool plainCaption() const;

    bool m_pressed = false;
    bool m_command = false;
    ClickLabel* m_keyboardTarget = nullptr;
};
