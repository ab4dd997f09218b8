#pragma once

#include "SoundDevice.h"

#include <QHash>
#include <QObject>
#include <QSet>

class QSoundEffect;

class QtSoundDevice final : public QObject, public SoundDevice
{
public:
    explicit QtSoundDevice(QObject* parent = nullptr);
    void preload(const QString& path) override;
    void play(const QString& path) override;

private:
    QSoundEffect* effectFor(const QString& path);

    QHash<QString, QSoundEffect*> m_effects;
    QSoundEffect* m_playing = nullptr;
    QSet<QSoundEffect*> m_warmed;
};
