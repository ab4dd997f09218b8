#include "platform/system/LateSoundDevice.h"

#include <QDir>
#include <QFileInfo>

LateSoundDevice::LateSoundDevice(QStringList modulePaths) : m_modulePaths(std::move(modulePaths)) {}

LateSoundDevice::~LateSoundDevice() = default;

Result LateSoundDevice::load()
{
    if (m_tried)
        return Result::done();
    m_tried = true;
    const auto found = std::find_if(m_modulePaths.cbegin(), m_modulePaths.cend(),
                                    [](const QString& path) { return QFileInfo(path).isFile(); });
    if (found == m_modulePaths.cend())
        return Result::failed(QStringLiteral("找不到声音模块（%1），本次运行没有声音。")
                                  .arg(QDir::toNativeSeparators(m_modulePaths.value(0))));
    m_module.setFileName(*found);
    using Create = SoundDevice* (*)();
    const auto create = reinterpret_cast<Create>(m_module.resolve("kestrin_create_sound_device"));
    if (!create)
        return Result::failed(
            QStringLiteral("无法打开声音模块（%1），本次运行没有声音。").arg(m_module.errorString()));
    m_device.reset(create());
    return Result::done();
}

bool LateSoundDevice::ready()
{
    if (!m_tried)
        if (const Result loaded = load(); !loaded && onProblem)
            onProblem(loaded.error());
    return m_device != nullptr;
}

void LateSoundDevice::preload(const QString& path)
{
    if (ready())
        m_device->preload(path);
}

void LateSoundDevice::play(const QString& path)
{
    if (ready())
        m_device->play(path);
}

SoundDevice::Readiness LateSoundDevice::readiness(const QString& path) const
{
    return m_device ? m_device->readiness(path) : Loading;
}
