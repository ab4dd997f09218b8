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
    QSoundEffect* effect = effectFor(path);
    if (!effect)
        return;
    // A sound's first play opens its output cold and starts late, and the next ring half a second
    // later cuts it off: the first ring of an alarm went unheard. One muted play at start-up
    // takes that cost while nobody listens.
    auto warm = [this, effect] {
        if (effect->status() != QSoundEffect::Ready || m_warmed.contains(effect))
            return;
        m_warmed.insert(effect);
        if (m_playing == effect)
            return; // asked for in earnest already
        effect->setMuted(true);
        effect->play();
    };
    connect(effect, &QSoundEffect::statusChanged, this, warm);
    connect(effect, &QSoundEffect::playingChanged, this, [effect] {
        if (!effect->isPlaying())
            effect->setMuted(false);
    });
    warm();
}

void QtSoundDevice::play(const QString& path)
{
    if (m_playing)
        m_playing->stop();
    m_playing = effectFor(path);
    if (!m_playing || m_playing->status() == QSoundEffect::Error)
        return;
    m_playing->stop(); // a muted warm-up play may still be running
    m_playing->setMuted(false);
    m_playing->play();
}
