#pragma once

#include <QFrame>

class LineList;
class QLabel;
class QLineEdit;

// The find line over a list's bottom edge, shown only while finding: what is typed narrows the
// list, the count says how many lines of how many are shown. Esc, or clearing it, closes it; the
// arrow keys and Page Up/Down move in the list from it, Return goes to the list.
class FindBar final : public QFrame
{
    Q_OBJECT
public:
    FindBar(LineList* list, QWidget* parent);

    // Shows it over the list with the keyboard in it.
    void open();
    void close();
    bool isOpen() const { return isVisible(); }
    QString words() const;
    void setCount(int found, int total);
    QLineEdit* line() const { return m_line; }

signals:
    void wordsChanged(const QString& words);
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    LineList* m_list;
    QLineEdit* m_line;
    QLabel* m_count;
};
