#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's modal message boxes and dialogs, behind an interface so that no test waits on a dialog.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // A plain message: OK only, no icon, the caption "Tidewell".
    virtual void inform(const QString& text) = 0;
    // A deletion confirmation: Yes and No, Yes the default, exclamation icon, caption "继续否？".
    // True only when Yes was chosen: a box closed any other way (Escape, its close box, the
    // program ending under it) is a No.
    virtual bool confirm(const QString& text) = 0;
    // A question with several answers, a button each, the first the default: the answer chosen, or
    // nothing when the box was closed any other way (Escape, its close box), which is a 取消.
    virtual std::optional<int> ask(const QString& text, const QStringList& answers) = 0;
    // A file to open, chosen in a file dialog; empty when the dialog was cancelled.
    virtual QString chooseFile(const QString& title, const QString& startDir, const QString& filter) = 0;
    // A file to write, chosen in a file dialog among filters ("CSV 表格 (*.csv)"); the chosen
    // filter's ending is added to a name typed without one. Empty when the dialog was cancelled.
    virtual QString chooseSaveFile(const QString& title, const QString& startPath,
                                   const QStringList& filters) = 0;
    // A line of text asked for, starting from initial; nothing when the dialog was cancelled.
    virtual std::optional<QString> askText(const QString& title, const QString& label,
                                           const QString& initial) = 0;
};
