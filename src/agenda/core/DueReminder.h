#pragma once

#include "agenda/core/AgendaItem.h"
#include "platform/Result.h"

#include <QDateTime>
#include <QObject>

#include <optional>

class WallTimer;
struct Services;

// The daily word about what is due: at the chosen time each day, when something is due today or
// tomorrow or overdue, one notification with 打开日程 and 一小时后再提醒. A machine asleep at that
// time says it on waking the same day; never twice a day, never for a day already past. It sleeps
// on a wall timer between words.
class DueReminder final : public QObject
{
    Q_OBJECT
public:
    // The time kept in kestrin.ini; nothing when off, as it is until chosen.
    static std::optional<QTime> chosenTime(const QString& settingsPath);
    // Through kestrin.ini's check: a file read in part is refused and left as it is.
    static Result choose(const QString& settingsPath, std::optional<QTime> time);
    // "今天到期 2 件：写周报、交水电费；明天到期 1 件；逾期 1 件"; empty when nothing is due.
    static QString digest(const QList<AgendaItem>& items, QDate today);

    explicit DueReminder(const Services& services, QObject* parent = nullptr);

    // Reads the chosen time again and sets the timer for it.
    void reload();
    std::optional<QTime> time() const { return m_time; }
    QDateTime nextWord() const;

signals:
    // 打开日程 was pressed.
    void agendaWanted();

private:
    void fired();
    void arm();
    void say();
    void onAction(int handle, const QString& key);

    const Services& m_services;
    WallTimer* m_timer;
    std::optional<QTime> m_time;
    QDate m_said;       // the day of the last word, kept in kestrin.ini across runs
    QDateTime m_again;  // a word put off by an hour
    QList<int> m_words; // the notifications given, for their buttons
};
