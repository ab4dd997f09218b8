#pragma once

#include "Controls.h"
#include "LogStore.h"

class LineList;
struct Services;

// The log panel PictureLog: my.log line by line, its entry count, and deleting single entries.
class LogPanel final : public ClickLabel
{
    Q_OBJECT
public:
    LogPanel(const Services& services, QWidget* parent);

    void LoadLog();
    // What opening the panel does after the panel switch.
    void AfterOpen();
    void ShowLogEntry();
    void DeleteLogEntry();
    // Loads my.log again when it was changed elsewhere.
    void reloadIfChanged();

private:
    void showLines();

    const Services& m_services;
    LogStore m_store;
    LineList* m_list;
    ClickLabel* m_count;
};
