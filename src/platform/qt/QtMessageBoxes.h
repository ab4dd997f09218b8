#pragma once

#include "platform/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

class QtMessageBoxes final : public MessageBoxes
{
public:
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    void inform(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<int> ask(const QString& text, const QStringList& answers) override;
    QString chooseSaveFile(const QString& title, const QString& startPath,
                           const QStringList& filters) override;
    QString chooseFile(const QString& title, const QString& startDir, const QString& filter) override;
    std::optional<QString> askText(const QString& title, const QString& label,
                                   const QString& initial) override;

private:
    QPointer<QWidget> m_parent;
};
