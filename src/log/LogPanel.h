#pragma once

#include "Controls.h"
#include "LogFile.h"

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
    const Services& m_services;
    LogFile::Load m_log; // beside the list, so that a rewrite gives every line back byte for byte
    int m_loads = 0;     // tells whether the lines were loaded again while a box was open
    LineList* m_list;
    ClickLabel* m_count;
};
