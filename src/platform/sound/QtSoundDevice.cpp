#include "platform/sound/QtSoundDevice.h"

#include "platform/files/WavePadding.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

namespace {

QtMessageHandler nextHandler = nullptr;
QLoggingCategory::CategoryFilter nextFilter = nullptr;

// A machine without a sound server is silent by design, and a missing sound is never reported:
// Qt Multimedia's complaints about it are not for the user. Everything else goes on as it was.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const bool noServer = type == QtWarningMsg && qstrcmp(context.category, "default") == 0 &&
                          (text == QLatin1String("PulseAudioService: pa_context_connect() failed") ||
                           text == QLatin1String("No audio device detected"));
    if (!noServer)
        nextHandler(type, context, text);
}

void quietFilter(QLoggingCategory* category)
{
    if (nextFilter)
        nextFilter(category);
    // Whoever asks for these categories in QT_LOGGING_RULES still gets them.
    static const bool asked = qEnvironmentVariable("QT_LOGGING_RULES").contains(QLatin1String("multimedia"));
    if (!asked && qstrncmp(category->categoryName(), "qt.multimedia", 13) == 0) {
        for (QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
            category->setEnabled(type, false);
    }
}

} // namespace

QtSoundDevice::QtSoundDevice(QObject* parent) : QObject(parent)
{
    static const bool installed = [] {
        nextHandler = qInstallMessageHandler(quietHandler);
        nextFilter = QLoggingCategory::installFilter(quietFilter);
        return true;
    }();
    Q_UNUSED(installed);
}

QSoundEffect* QtSoundDevice::effectFor(const QString& path)
{
    if (QSoundEffect* effect = m_effects.value(path))
        return effect;
    if (!QFileInfo(path).isFile())
        return nullptr; // tried again on the next play, in case the file turns up
    auto* effect = new QSoundEffect(this);
    QString source = path;
    QFile file(path);
    if (m_padded.isValid() && file.open(QIODevice::ReadOnly)) {
        // More silence than the output reads ahead (16 KiB, under half a second at 22 kHz).
        if (const auto padded = withTrailingSilence(file.readAll(), 1000)) {
            QFile copy(m_padded.filePath(QString::number(m_effects.size()) + QStringLiteral(".wav")));
            if (copy.open(QIODevice::WriteOnly) && copy.write(*padded) == padded->size())
                source = copy.fileName();
        }
    }
    effect->setSource(QUrl::fromLocalFile(source));
    m_effects.insert(path, effect);
    return effect;
}

void QtSoundDevice::preload(const QString& path)
{
    QSoundEffect* effect = effectFor(path);
    if (!effect || m_preloaded.contains(effect))
        return;
    m_preloaded.insert(effect);
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

SoundDevice::Readiness QtSoundDevice::readiness(const QString& path) const
{
    const QSoundEffect* effect = m_effects.value(path);
    if (!effect)
        return Loading;
    switch (effect->status()) {
    case QSoundEffect::Ready:
        return Ready;
    case QSoundEffect::Error:
        return Unplayable;
    default:
        return Loading;
    }
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
