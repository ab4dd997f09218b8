#include "platform/LateSoundDevice.h"

#include <QDir>
#include <QFileInfo>

LateSoundDevice::LateSoundDevice(QStringList modulePaths) : m_modulePaths(std::move(modulePaths)) {}

// The module stays loaded to the end: the player's code must outlive the player.
LateSoundDevice::~LateSoundDevice() = default;

QString LateSoundDevice::load()
{
    if (m_tried)
        return {};
    m_tried = true;
    const auto found = std::find_if(m_modulePaths.cbegin(), m_modulePaths.cend(),
                                    [](const QString& path) { return QFileInfo(path).isFile(); });
    if (found == m_modulePaths.cend())
        return QStringLiteral("找不到声音模块（%1），本次运行没有声音。")
            .arg(QDir::toNativeSeparators(m_modulePaths.value(0)));
    m_module.setFileName(*found);
    using Create = SoundDevice* (*)();
    const auto create = reinterpret_cast<Create>(m_module.resolve("kestrin_create_sound_device"));
    if (!create)
        return QStringLiteral("无法打开声音模块（%1），本次运行没有声音。").arg(m_module.errorString());
    m_device.reset(create());
    for (const QString& path : std::as_const(m_preloads))
        m_device->preload(path);
    m_preloads.clear();
    if (!m_waiting.isEmpty())
        m_device->play(std::exchange(m_waiting, QString()));
    return {};
}

void LateSoundDevice::preload(const QString& path)
{
    if (m_device)
        m_device->preload(path);
    else
        m_preloads.append(path);
}

void LateSoundDevice::play(const QString& path)
{
    if (m_device)
        m_device->play(path);
    else if (!m_tried)
        m_waiting = path;
}

SoundDevice::Readiness LateSoundDevice::readiness(const QString& path) const
{
    return m_device ? m_device->readiness(path) : Loading;
}
