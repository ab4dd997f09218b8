#include "platform/qt/QtMessageBoxes.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

void QtMessageBoxes::inform(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tidewell"), text, QMessageBox::NoButton, m_parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtMessageBoxes::confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("继续否？"), text, QMessageBox::NoButton, m_parent);
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    // A box also ends with no button clicked: when the program is ending (SIGTERM, the tray's
    // close command) every event loop stops, this one included. Only Yes may delete.
    return box.clickedButton() == yes;
}

std::optional<int> QtMessageBoxes::ask(const QString& text, const QStringList& answers)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tidewell"), text, QMessageBox::NoButton, m_parent);
    QList<QPushButton*> buttons;
    for (const QString& answer : answers)
        buttons.append(box.addButton(answer, QMessageBox::ActionRole));
    QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(buttons.value(0, cancel));
    box.setEscapeButton(cancel);
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen >= 0 ? std::optional<int>(int(chosen)) : std::nullopt;
}

QString QtMessageBoxes::chooseSaveFile(const QString& title, const QString& startPath,
                                       const QStringList& filters)
{
    QString filter = filters.value(0);
    QString path =
        QFileDialog::getSaveFileName(m_parent, title, startPath, filters.join(QStringLiteral(";;")), &filter);
    // "CSV 表格 (*.csv)": its ending, for a name typed without one.
    const QString ending = filter.section(QStringLiteral("(*"), 1).section(u')', 0, 0);
    if (!path.isEmpty() && !ending.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += ending;
    return path;
}

QString QtMessageBoxes::chooseFile(const QString& title, const QString& startDir, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, startDir, filter);
}

std::optional<QString> QtMessageBoxes::askText(const QString& title, const QString& label,
                                               const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, label, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}
