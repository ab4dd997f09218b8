#pragma once

#include "platform/SoundDevice.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTemporaryDir>

class QSoundEffect;

class QtSoundDevice final : public QObject, public SoundDevice
{
public:
    explicit QtSoundDevice(QObject* parent = nullptr);
    void preload(const QString& path) override;
    void play(const QString& path) override;
    Readiness readiness(const QString& path) const override;

private:
    QSoundEffect* effectFor(const QString& path);

    QHash<QString, QSoundEffect*> m_effects;
    QSoundEffect* m_playing = nullptr;
    QSet<QSoundEffect*> m_preloaded; // asked to ready: readied once
    QSet<QSoundEffect*> m_warmed;
    QTemporaryDir m_padded; // the sounds with silence behind them, as the effects play them
};
