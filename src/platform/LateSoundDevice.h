#pragma once

#include "platform/SoundDevice.h"

#include <QLibrary>
#include <QStringList>

#include <memory>

// The sound player, opened from its module only when asked (once the window is up): the sound
// stack's libraries would otherwise hold up the start. Until then it keeps what it is asked: the
// files to ready, and the last sound to play, which plays as soon as the player is there.
class LateSoundDevice final : public SoundDevice
{
public:
    // modulePaths: where the module may be, the first found is opened.
    explicit LateSoundDevice(QStringList modulePaths);
    ~LateSoundDevice() override;

    // Opens the module and hands it what was asked meanwhile. An empty result, or why the program
    // will be silent.
    QString load();
    bool loaded() const { return m_device != nullptr; }

    void preload(const QString& path) override;
    void play(const QString& path) override;
    Readiness readiness(const QString& path) const override;

private:
    QStringList m_modulePaths;
    QLibrary m_module;
    std::unique_ptr<SoundDevice> m_device;
    bool m_tried = false;
    QStringList m_preloads;
    QString m_waiting; // asked to play before the player was there
};
