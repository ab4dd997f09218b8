#include "uikit/ScaledPicture.h"

#include <QFile>
#include <QImage>

#include <cmath>

QString doubledPath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot < 0 ? path + QStringLiteral("@2x") : path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

QPixmap scaledPicture(const QString& path, qreal devicePixelRatio)
{
    // Through QImage: QPixmap's own loader would keep a copy in the pixmap cache.
    if (devicePixelRatio <= 1.0 || !QFile::exists(doubledPath(path)))
        return QPixmap::fromImage(QImage(path));
    QImage image(doubledPath(path));
    if (image.isNull())
        return QPixmap::fromImage(QImage(path));
    const qreal ratio = std::min<qreal>(devicePixelRatio, 2.0);
    if (ratio < 2.0) {
        const QSize logical = image.size() / 2;
        image = image.scaled(qRound(logical.width() * ratio), qRound(logical.height() * ratio),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(image));
}
