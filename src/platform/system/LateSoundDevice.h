#pragma once

#include "platform/Result.h"
#include "platform/SoundDevice.h"

#include <QLibrary>
#include <QStringList>

#include <functional>
#include <memory>

// The sound player, opened from its module at the first sound readied or played: the sound stack's
// libraries would otherwise weigh on every start, also one that goes straight to the tray and
// never makes a sound. The module stays loaded to the end.
class LateSoundDevice final : public SoundDevice
{
public:
    // modulePaths: where the module may be; the first found is opened.
    explicit LateSoundDevice(QStringList modulePaths);
    ~LateSoundDevice() override;

    // Opens the module, once; fails with why the program will be silent.
    Result load();
    // Hears why the module could not be opened, when it is opened for a sound.
    std::function<void(const QString& problem)> onProblem;

    void preload(const QString& path) override;
    void play(const QString& path) override;
    Readiness readiness(const QString& path) const override;

private:
    bool ready();

    QStringList m_modulePaths;
    QLibrary m_module;
    std::unique_ptr<SoundDevice> m_device;
    bool m_tried = false;
};
