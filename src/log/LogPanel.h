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

private:
    const Services& m_services;
    LogFile::Load m_log; // beside the list, so that a rewrite gives every line back byte for byte
    LineList* m_list;
    ClickLabel* m_count;
};
