#include "platform/files/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace Settings {

namespace {

// The line QSettings stumbles on: a section heading left open is what it refuses.
int badLine(QFile& file)
{
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[') && !line.contains(']'))
            return number;
    }
    return 0;
}

struct Entry
{
    Key key;
    const char* name;
};

// clang-format off
constexpr Entry keys[] = {
    {Key::RemindTime,      "remind/time"},
    {Key::RemindSaid,      "remind/said"},
    {Key::ItemsToldThrough, "remind/itemsToldThrough"},
    {Key::BackupElsewhere, "backup/dir"},
    {Key::UnknownYearTold, "holidays/toldUnknownYear"},
    {Key::Ringtone,        "ringtones/alarm%1"},
    {Key::Alarms,          "alarms"},
    {Key::Alarm,           "alarms/alarm%1"},
    {Key::AlarmTime,       "alarms/alarm%1/time"},
    {Key::AlarmRings,      "alarms/alarm%1/rings"},
    {Key::AlarmRepeat,     "alarms/alarm%1/repeat"},
    {Key::AlarmPrompt,     "alarms/alarm%1/prompt"},
    {Key::AlarmSnoozed,    "alarms/alarm%1/snoozed"},
    {Key::FoldedItems,     "agenda/folded"},
};
// clang-format on

} // namespace

QString name(Key key, int row)
{
    for (const Entry& entry : keys) {
        if (entry.key != key)
            continue;
        const QString name = QString::fromLatin1(entry.name);
        return name.contains(u'%') ? name.arg(row + 1) : name;
    }
    Q_UNREACHABLE();
}

QVariant value(const QString& path, Key key, int row)
{
    return QSettings(path, QSettings::IniFormat).value(name(key, row));
}

Result set(const QString& path, Key key, const QVariant& value, int row)
{
    return change(path, [&](QSettings& settings) {
        if (value.isValid())
            settings.setValue(name(key, row), value);
        else
            settings.remove(name(key, row));
    });
}

Result read(const QString& path, const std::function<void(QSettings&)>& look)
{
    QSettings settings(path, QSettings::IniFormat);
    const Result checked = check(settings);
    look(settings);
    return checked;
}

Result check(const QSettings& settings)
{
    // Read here: QSettings keeps a file it has read once in a cache of its own, and its status
    // tells of a malformed file only to the first reader.
    const QString path = settings.fileName();
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists())
        return Result::done();
    if (!file.open(QIODevice::ReadOnly) || QFileInfo(path).isDir())
        return Result::failed(QStringLiteral("无法读取 %1").arg(name));
    if (const int line = badLine(file))
        return Result::failed(QStringLiteral("%1 第 %2 行格式有误").arg(name).arg(line));
    if (settings.status() != QSettings::NoError)
        return Result::failed(QStringLiteral("%1 格式有误").arg(name));
    return Result::done();
}

Result written(const QSettings& settings)
{
    if (settings.status() == QSettings::NoError)
        return Result::done();
    return Result::failed(QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(settings.fileName())));
}

Result change(const QString& path, const std::function<void(QSettings&)>& edit)
{
    QSettings settings(path, QSettings::IniFormat);
    if (const Result read = check(settings); !read)
        return Result::failed(read.error() + QStringLiteral("，为免丢失其中的设置，没有改动它"));
    edit(settings);
    // QSettings writes the whole file anew beside the old one and renames it over: old or new, never half.
    settings.sync();
    return written(settings);
}

} // namespace Settings
