#include "uikit/ProgramIcon.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace {

const QString picture = QStringLiteral(":/pictures/kestrin.png");
constexpr int fullSize = 256;
constexpr int keptUpTo = 64; // the tray's sizes and the like

class PictureIconEngine final : public QIconEngine
{
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::clamp(std::min(size.width(), size.height()), 1, fullSize);
        if (const auto kept = m_kept.constFind(side); kept != m_kept.constEnd())
            return *kept;
        // The tray's sizes come scaled already: decoding the full picture to scale it costs more
        // than anything else the tray does at start.
        const QString scaled = QStringLiteral(":/pictures/kestrin-%1.png").arg(side);
        const bool readyScaled = QFile::exists(scaled);
        QImageReader reader(readyScaled ? scaled : picture);
        if (!readyScaled && side < fullSize)
            reader.setScaledSize(QSize(side, side));
        QImage image = reader.read();
        if (!image.isNull() && image.width() != side)
            image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QPixmap result = QPixmap::fromImage(std::move(image));
        if (side <= keptUpTo)
            m_kept.insert(side, result);
        return result;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::clamp(std::min(size.width(), size.height()), 0, fullSize);
        return QSize(side, side);
    }

    // What X takes as the window's icon: the sizes title bars and task bars draw, all shipped
    // scaled. The desktop's switchers and docks take the installed theme's icon instead; offering
    // the full picture here cost the start more than all the window's other pictures.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    }
    QIconEngine* clone() const override { return new PictureIconEngine(*this); }
    QString key() const override { return QStringLiteral("KestrinPictureIcon"); }

private:
    QHash<int, QPixmap> m_kept;
};

} // namespace

QIcon programIcon()
{
    return QIcon(new PictureIconEngine);
}
