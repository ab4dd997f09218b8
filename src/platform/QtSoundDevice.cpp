#include "QtSoundDevice.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

QtSoundDevice::QtSoundDevice(QObject* parent) : QObject(parent)
{
    // Without a sound server Qt warns on every play; a missing sound must stay silent.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.multimedia*=false"));
}

QSoundEffect* QtSoundDevice::effectFor(const QString& path)
{
    if (QSoundEffect* effect = m_effects.value(path))
        return effect;
    if (!QFileInfo(path).isFile())
        return nullptr; // tried again on the next play, in case the file turns up
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(path));
    m_effects.insert(path, effect);
    return effect;
}

void QtSoundDevice::preload(const QString& path)
{
    effectFor(path);
}

void QtSoundDevice::play(const QString& path)
{
    if (m_playing)
        m_playing->stop();
    m_playing = effectFor(path);
    if (m_playing && m_playing->status() != QSoundEffect::Error)
        m_playing->play();
}
