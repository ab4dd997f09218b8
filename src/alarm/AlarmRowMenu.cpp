#include "alarm/AlarmRowMenu.h"

#include "alarm/core/AlarmRuntime.h"
#include "platform/Services.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>

AlarmRowMenu::AlarmRowMenu(const Services& services, AlarmRuntime& runtime, Repeat (&repeats)[alarmCount],
                           std::function<void()> changed, QWidget* panel)
    : QObject(panel), m_services(services), m_runtime(runtime), m_repeats(repeats),
      m_changed(std::move(changed)), m_menu(new QMenu(panel)), m_repeatGroup(new QActionGroup(this))
{
    m_menu->setObjectName(QStringLiteral("MenuAlarmRow"));
    addRingtoneChoices();
    addRepeatChoices();
}

void AlarmRowMenu::addRingtoneChoices()
{
    QAction* choose = m_menu->addAction(QStringLiteral("选择铃声…"));
    choose->setObjectName(QStringLiteral("ActionChooseRingtone"));
    connect(choose, &QAction::triggered, this, &AlarmRowMenu::chooseRingtone);
    QAction* listen = m_menu->addAction(QStringLiteral("试听铃声"));
    listen->setObjectName(QStringLiteral("ActionListenRingtone"));
    connect(listen, &QAction::triggered, this,
            [this] { m_services.sound.play(m_runtime.ringingPath(m_row, true)); });
    QAction* reset = m_menu->addAction(QStringLiteral("恢复默认铃声"));
    reset->setObjectName(QStringLiteral("ActionDefaultRingtone"));
    connect(reset, &QAction::triggered, this, [this] {
        if (const Result done = m_runtime.ringtones().reset(m_row); !done)
            m_services.messages.inform(done.error() + QStringLiteral("，铃声未更改。"));
        m_changed();
    });
}

void AlarmRowMenu::addRepeatChoices()
{
    m_menu->addSeparator();
    const std::pair<Repeat, const char*> choices[] = {{Repeat::None, "仅响一次(&O)"},
                                                      {Repeat::Daily, "每天(&E)"},
                                                      {Repeat::Weekdays, "工作日（周一至周五）(&W)"},
                                                      {Repeat::Weekends, "周末（周六、周日）(&K)"},
                                                      {Repeat::OfficialWorkdays, "法定工作日（含调休）(&L)"}};
    for (const auto& [repeat, caption] : choices) {
        QAction* action = m_menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QStringLiteral("ActionRepeat_") + AlarmSchedule::key(repeat));
        action->setCheckable(true);
        action->setData(int(repeat));
        m_repeatGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, repeat = repeat] {
            m_repeats[m_row] = repeat;
            m_changed();
        });
    }
    m_menu->addSeparator();
    QAction* cancel = m_menu->addAction(QStringLiteral("取消推迟(&C)"));
    cancel->setObjectName(QStringLiteral("ActionCancelSnooze"));
    connect(cancel, &QAction::triggered, this, [this] {
        m_runtime.table().cancelSnooze(m_row);
        m_runtime.changed();
    });
}

void AlarmRowMenu::open(int row, QLineEdit* box, const QPoint& globalPos)
{
    m_row = row;
    m_menu->findChild<QAction*>(QStringLiteral("ActionDefaultRingtone"))
        ->setEnabled(!m_runtime.ringtones().chosen(row).isEmpty());
    for (QAction* choice : m_repeatGroup->actions())
        choice->setChecked(choice->data().toInt() == int(m_repeats[row]));
    m_menu->findChild<QAction*>(QStringLiteral("ActionCancelSnooze"))
        ->setEnabled(m_runtime.table().alarms[row].snoozedTo.isValid());
    if (!box) {
        m_menu->popup(globalPos);
        return;
    }
    // The time box keeps its editing commands above the row's.
    QMenu* menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addActions(m_menu->actions());
    menu->popup(globalPos);
}

void AlarmRowMenu::chooseRingtone()
{
    Ringtones& ringtones = m_runtime.ringtones();
    const QString current = ringtones.chosen(m_row);
    const QString start = current.isEmpty() ? m_services.appDir : QFileInfo(current).absolutePath();
    const QString path = m_services.messages.chooseFile(QStringLiteral("选择铃声"), start,
                                                        QStringLiteral("WAV 声音文件 (*.wav *.WAV)"));
    if (path.isEmpty())
        return;
    if (const Result refusal = Ringtones::checkWave(path); !refusal) {
        m_services.messages.inform(refusal.error());
        return;
    }
    if (const Result chosen = ringtones.choose(m_row, path); !chosen) {
        m_services.messages.inform(chosen.error() + QStringLiteral("，铃声未更改。"));
        return;
    }
    m_services.sound.preload(path);
    m_changed();
}
