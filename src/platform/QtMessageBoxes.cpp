#include "QtMessageBoxes.h"

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
    return box.clickedButton() != no;
}
