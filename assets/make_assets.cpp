// Draws the program's pictures and synthesizes its sounds. Deterministic: the same build gives
// the same files. Run: make_assets <assets directory>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtEndian>

#include "platform/Sounds.h"

#include <cmath>
#include <functional>

namespace {

QDir out;

// Pictures with transparent parts are PNG; opaque ones JPEG, which decodes several times faster
// at startup than a PNG of soft gradients. Each is drawn twice: for a screen at scale 1, and at
// scale 2 (name@2x), where its edges are one device pixel wide rather than two.
void save(const char* name, int w, int h, const std::function<void(QPainter&, int, int)>& draw,
          bool doubled = true)
{
    for (int scale : {1, 2}) {
        if (scale == 2 && !doubled)
            break;
        QImage image(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p, w, h);
        p.end();
        bool opaque = true;
        for (int y = 0; y < image.height() && opaque; ++y)
            for (int x = 0; x < image.width() && opaque; ++x)
                opaque = qAlpha(image.pixel(x, y)) == 255;
        const QString file = QStringLiteral("pictures/%1%2.%3")
                                 .arg(QLatin1String(name), scale == 1 ? QString() : QStringLiteral("@2x"),
                                      opaque ? QStringLiteral("jpg") : QStringLiteral("png"));
        if (opaque)
            image.convertToFormat(QImage::Format_RGB32).save(out.filePath(file), "JPEG", 92);
        else
            image.save(out.filePath(file));
    }
}

void gradientFill(QPainter& p, int w, int h, QColor top, QColor bottom)
{
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(0, 0, w, h, g);
}

void glow(QPainter& p, QPointF c, qreal r, QColor colour)
{
    QRadialGradient g(c, r);
    g.setColorAt(0, colour);
    QColor edge = colour;
    edge.setAlpha(0);
    g.setColorAt(1, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void gear(QPainter& p, QPointF c, qreal r, QColor body, QColor hole)
{
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a = M_PI * i / teeth;
        const qreal rr = i % 2 ? r * 0.78 : r;
        const qreal a1 = a - M_PI / teeth / 2, a2 = a + M_PI / teeth / 2;
        QPointF p1 = c + QPointF(std::cos(a1) * rr, std::sin(a1) * rr);
        QPointF p2 = c + QPointF(std::cos(a2) * rr, std::sin(a2) * rr);
        if (i == 0)
            path.moveTo(p1);
        else
            path.lineTo(p1);
        path.lineTo(p2);
    }
    path.closeSubpath();
    p.setPen(QPen(body.darker(140), 1));
    p.setBrush(body);
    p.drawPath(path);
    p.setBrush(hole);
    p.drawEllipse(c, r * 0.32, r * 0.32);
}

void helpIcon(QPainter& p, int w, int h, QColor fill)
{
    QRadialGradient g(w * 0.35, h * 0.3, w * 0.8);
    g.setColorAt(0, fill.lighter(150));
    g.setColorAt(1, fill);
    p.setPen(QPen(fill.darker(150), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, w - 3, h - 3));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(h * 2 / 3);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, QStringLiteral("?"));
}

void alarmClock(QPainter& p, QRectF body, qreal tilt, bool ringing)
{
    p.save();
    p.translate(body.center());
    p.rotate(tilt);
    const qreal r = std::min(body.width(), body.height()) / 2;
    // bells
    p.setPen(QPen(QColor(0x7a, 0x4a, 0x12), 1));
    p.setBrush(QColor(0xf2, 0xb6, 0x3c));
    p.drawChord(QRectF(-r * 1.05, -r * 1.15, r * 0.9, r * 0.9), 0 * 16, 180 * 16);
    p.drawChord(QRectF(r * 0.15, -r * 1.15, r * 0.9, r * 0.9), 0 * 16, 180 * 16);
    // legs
    p.setPen(QPen(QColor(0x5b, 0x3a, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-r * 0.55, r * 0.75), QPointF(-r * 0.8, r * 1.05));
    p.drawLine(QPointF(r * 0.55, r * 0.75), QPointF(r * 0.8, r * 1.05));
    // face
    QRadialGradient g(QPointF(-r * 0.3, -r * 0.3), r * 1.4);
    g.setColorAt(0, QColor(0xff, 0x8a, 0x7a));
    g.setColorAt(1, QColor(0xc8, 0x2e, 0x2e));
    p.setPen(QPen(QColor(0x80, 0x18, 0x18), 1.2));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), r * 0.92, r * 0.92);
    p.setBrush(QColor(0xfd, 0xfb, 0xf4));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, 0), r * 0.7, r * 0.7);
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(0, -r * 0.5));
    p.drawLine(QPointF(0, 0), QPointF(r * 0.35, r * 0.1));
    p.restore();
    if (ringing) {
        p.setPen(QPen(QColor(0xff, 0xd4, 0x4a), 1.6, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = body.center();
        for (int s : {-1, 1}) {
            for (int k = 0; k < 2; ++k) {
                const qreal rr = r * (1.15 + 0.25 * k);
                p.drawArc(QRectF(c.x() - rr, c.y() - rr, 2 * rr, 2 * rr), (s < 0 ? 135 : 15) * 16, 30 * 16);
            }
        }
    }
}

// The program's icon on a 256-pixel grid; icon.svg below draws the same shapes.
void kestrinIcon(QPainter& p)
{
    QLinearGradient g(0, 0, 0, 256);
    g.setColorAt(0, QColor(0x3b, 0x82, 0xd0));
    g.setColorAt(1, QColor(0x1c, 0x4d, 0x8c));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 48, 48);
    // A calendar sheet with a bold tick: still legible at 16 pixels.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(52, 64, 152, 140), 18, 18);
    p.setBrush(QColor(0xe0, 0x4a, 0x3c));
    p.drawRoundedRect(QRectF(52, 64, 152, 40), 18, 18);
    p.drawRect(QRectF(52, 84, 152, 20));
    p.setBrush(QColor(0x1c, 0x3f, 0x6e));
    p.drawRoundedRect(QRectF(82, 48, 14, 34), 7, 7);
    p.drawRoundedRect(QRectF(160, 48, 14, 34), 7, 7);
    p.setPen(QPen(QColor(0x1f, 0x8f, 0x4a), 22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(88, 152), QPointF(118, 180), QPointF(172, 124)}));
}

const char iconSvg[] = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#3b82d0"/>
      <stop offset="1" stop-color="#1c4d8c"/>
    </linearGradient>
  </defs>
  <rect x="8" y="8" width="240" height="240" rx="48" fill="url(#sky)"/>
  <rect x="52" y="64" width="152" height="140" rx="18" fill="#ffffff"/>
  <rect x="52" y="64" width="152" height="40" rx="18" fill="#e04a3c"/>
  <rect x="52" y="84" width="152" height="20" fill="#e04a3c"/>
  <rect x="82" y="48" width="14" height="34" rx="7" fill="#1c3f6e"/>
  <rect x="160" y="48" width="14" height="34" rx="7" fill="#1c3f6e"/>
  <polyline points="88,152 118,180 172,124" fill="none" stroke="#1f8f4a" stroke-width="22"
            stroke-linecap="round" stroke-linejoin="round"/>
</svg>
)svg";

// The icon for the desktop: the sizes of the hicolor theme, each drawn at its size, and the SVG.
void drawIcons()
{
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 256.0, size / 256.0);
        kestrinIcon(p);
        p.end();
        image.save(out.filePath(QStringLiteral("icons/kestrin-%1.png").arg(size)));
    }
    QFile svg(out.filePath(QStringLiteral("icons/kestrin.svg")));
    if (svg.open(QIODevice::WriteOnly))
        svg.write(iconSvg);
}

// The program's icon at the sizes a tray asks for, read from the full picture as the program once
// read it at start: a small file to decode instead of the full one to scale.
void scaleTrayIcons()
{
    const QString full = out.filePath(QStringLiteral("pictures/kestrin.png"));
    for (int side : {16, 22, 24, 32, 44, 48, 64}) {
        QImageReader reader(full);
        reader.setScaledSize(QSize(side, side));
        reader.read().save(out.filePath(QStringLiteral("pictures/kestrin-%1.png").arg(side)));
    }
}

void drawPictures()
{
    save("main_background", 600, 400, [](QPainter& p, int w, int h) {
        gradientFill(p, w, h, QColor(0xf1, 0xf6, 0xfb), QColor(0xcf, 0xdf, 0xee));
        glow(p, QPointF(520, 40), 180, QColor(255, 255, 255, 150));
        glow(p, QPointF(60, 380), 160, QColor(0xa9, 0xc6, 0xe2, 110));
        QLinearGradient strip(0, 0, 110, 0);
        strip.setColorAt(0, QColor(0xc2, 0xd6, 0xea));
        strip.setColorAt(1, QColor(0xdc, 0xe8, 0xf4, 0));
        p.fillRect(0, 0, 110, h, strip);
        p.setPen(QPen(QColor(0x9d, 0xb8, 0xd3), 1));
        p.drawLine(0, 332, w, 332);
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setItalic(true);
        f.setBold(true);
        f.setPixelSize(30);
        p.setFont(f);
        p.setPen(QColor(0x2d, 0x57, 0x86));
        p.drawText(QRect(16, 10, 260, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kestrin"));
        f.setPixelSize(12);
        f.setBold(false);
        p.setFont(f);
        p.setPen(QColor(0x5a, 0x7c, 0xa3));
        p.drawText(QRect(18, 46, 260, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tidewell"));
    });
    save("agenda_background", 487, 273, [](QPainter& p, int w, int h) {
        gradientFill(p, w, h, QColor(0xfd, 0xf8, 0xec), QColor(0xf1, 0xe4, 0xc8));
        glow(p, QPointF(430, 240), 140, QColor(0xf6, 0xd9, 0xa4, 120));
        p.setPen(QPen(QColor(0xd8, 0xc2, 0x98), 1));
        p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    });
    save("reminder_background", 495, 263, [](QPainter& p, int w, int h) {
        gradientFill(p, w, h, QColor(0x1d, 0x3a, 0x63), QColor(0x2c, 0x5b, 0x8d));
        glow(p, QPointF(270, 95), 120, QColor(0x6f, 0xa8, 0xe0, 120));
        glow(p, QPointF(60, 230), 110, QColor(0x13, 0x2a, 0x4a, 160));
        // A bell at the left, and a badge for the overdue count that the panel writes over it.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0xd8, 0x6a));
        QPainterPath bell;
        bell.moveTo(60, 110);
        bell.cubicTo(60, 62, 95, 56, 102, 56);
        bell.cubicTo(109, 56, 144, 62, 144, 110);
        bell.lineTo(152, 122);
        bell.lineTo(52, 122);
        bell.closeSubpath();
        p.drawPath(bell);
        p.drawEllipse(QPointF(102, 128), 8, 8);
        glow(p, QPointF(265, 92), 34, QColor(0xff, 0x6b, 0x5a, 120));
        p.setBrush(QColor(0xd9, 0x3d, 0x32));
        p.setPen(QPen(QColor(0xff, 0xff, 0xff, 160), 1.5));
        p.drawEllipse(QPointF(265, 92), 21, 21);
    });
    save("clock_background", 500, 300, [](QPainter& p, int w, int h) {
        gradientFill(p, w, h, QColor(0x24, 0x34, 0x5e), QColor(0x3a, 0x4f, 0x88));
        glow(p, QPointF(450, 250), 130, QColor(0x8d, 0x7c, 0xd8, 110));
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        for (int i = 0; i < 3; ++i)
            p.drawLine(20, 36 + 72 * i, 480, 36 + 72 * i);
    });
    save("options_background", 500, 300, [](QPainter& p, int w, int h) {
        p.fillRect(0, 0, w, h, Qt::white);
        glow(p, QPointF(w, h), 230, QColor(0xd5, 0xe6, 0xf6, 200));
        glow(p, QPointF(0, 0), 120, QColor(0xee, 0xf4, 0xfa, 200));
    });
    save("button", 87, 24, [](QPainter& p, int w, int h) {
        gradientFill(p, w, h, QColor(0xfb, 0xfd, 0xff), QColor(0xc9, 0xdb, 0xee));
        p.setPen(QColor(255, 255, 255, 200));
        p.drawLine(0, 0, w, 0);
    });
    save("option_normal", 40, 35, [](QPainter& p, int, int) {
        gear(p, QPointF(20, 17.5), 14, QColor(0x7d, 0x93, 0xad), QColor(0xe8, 0xef, 0xf6));
    });
    save("option_raised", 35, 35, [](QPainter& p, int, int) {
        glow(p, QPointF(17.5, 17.5), 17, QColor(0xff, 0xe9, 0x9a, 200));
        gear(p, QPointF(17.5, 17.5), 14, QColor(0x3f, 0x7c, 0xc4), QColor(0xff, 0xff, 0xff));
    });
    save("help_normal", 29, 30,
         [](QPainter& p, int w, int h) { helpIcon(p, w, h, QColor(0x7d, 0x93, 0xad)); });
    save("help_raised", 29, 30,
         [](QPainter& p, int w, int h) { helpIcon(p, w, h, QColor(0x3f, 0x7c, 0xc4)); });
    save("switch_on", 21, 21, [](QPainter& p, int w, int h) {
        QRadialGradient g(7, 6, 16);
        g.setColorAt(0, QColor(0x9c, 0xe6, 0x8c));
        g.setColorAt(1, QColor(0x2e, 0x9a, 0x3a));
        p.setPen(QPen(QColor(0x1f, 0x6e, 0x28), 1));
        p.setBrush(g);
        p.drawEllipse(QRectF(1, 1, w - 2, h - 2));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(5.5, 10.5), QPointF(9, 14), QPointF(15.5, 6.5)}));
    });
    save("switch_off", 20, 20, [](QPainter& p, int w, int h) {
        QRadialGradient g(7, 6, 15);
        g.setColorAt(0, QColor(0xee, 0xee, 0xee));
        g.setColorAt(1, QColor(0xa8, 0xa8, 0xa8));
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        p.setBrush(g);
        p.drawEllipse(QRectF(1, 1, w - 2, h - 2));
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
    });
    save("topic_arrow", 23, 18, [](QPainter& p, int, int) {
        QLinearGradient g(0, 0, 23, 0);
        g.setColorAt(0, QColor(0x7f, 0xb2, 0xea));
        g.setColorAt(1, QColor(0x1f, 0x5f, 0xa8));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPolygon(QPolygonF({QPointF(1, 5), QPointF(12, 5), QPointF(12, 1), QPointF(22, 9),
                                 QPointF(12, 17), QPointF(12, 13), QPointF(1, 13)}));
    });
    save("help_decoration", 262, 226, [](QPainter& p, int w, int h) {
        gradientFill(p, w, h, QColor(0xfb, 0xfd, 0xff), QColor(0xea, 0xf2, 0xfa));
        glow(p, QPointF(200, 180), 90, QColor(0xff, 0xe6, 0xa8, 140));
        glow(p, QPointF(40, 30), 70, QColor(0xcf, 0xe2, 0xf6, 160));
        // A light bulb tucked into the corner, faint so the text over it stays easy to read.
        p.setPen(QPen(QColor(0xe6, 0xc2, 0x5c, 110), 1.5));
        p.setBrush(QColor(0xff, 0xf1, 0xbf, 80));
        p.drawEllipse(QPointF(240, 196), 13, 13);
        p.setBrush(QColor(0xc9, 0xd3, 0xde, 110));
        p.drawRect(QRectF(234, 208, 12, 8));
    });
    save("clock1", 50, 70, [](QPainter& p, int, int) { alarmClock(p, QRectF(5, 18, 40, 40), -12, true); });
    save("clock2", 49, 38, [](QPainter& p, int, int) { alarmClock(p, QRectF(10, 6, 29, 29), 12, false); });
    save("notice_background", 305, 126, [](QPainter& p, int w, int h) {
        gradientFill(p, w, h, QColor(0x2a, 0x46, 0x78), QColor(0x47, 0x6b, 0xa6));
        glow(p, QPointF(260, 30), 80, QColor(0xff, 0xd7, 0x7a, 90));
    });
    // The program's icon is read from this at every size asked for, 256 and below.
    save(
        "kestrin", 256, 256, [](QPainter& p, int, int) { kestrinIcon(p); }, false);
}

void writeWav(const char* name, const std::vector<double>& samples, int rate)
{
    QByteArray data;
    for (double s : samples) {
        const qint16 v = qint16(std::lround(std::clamp(s, -1.0, 1.0) * 32767 * 0.9));
        char b[2];
        qToLittleEndian(v, b);
        data.append(b, 2);
    }
    QByteArray wav;
    auto u32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + data.size());
    wav.append("WAVEfmt ");
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(data.size());
    wav.append(data);
    QFile f(out.filePath(QStringLiteral("sounds/%1").arg(QLatin1String(name))));
    f.open(QIODevice::WriteOnly);
    f.write(wav);
}

void makeSounds()
{
    const int rate = 22050;
    std::vector<double> ring;
    // Two bright bell strikes a beat, eight beats: an alarm of about 1.6 seconds.
    for (int beat = 0; beat < 8; ++beat) {
        const double f = beat % 2 ? 1318.5 : 1046.5;
        for (int i = 0; i < rate / 5; ++i) {
            const double t = double(i) / rate;
            const double env = std::exp(-t * 14) * std::min(1.0, t * 400);
            ring.push_back(env *
                           (0.6 * std::sin(2 * M_PI * f * t) + 0.25 * std::sin(2 * M_PI * f * 2.76 * t) +
                            0.15 * std::sin(2 * M_PI * f * 5.4 * t)));
        }
    }
    writeWav(Sounds::fileName(Sound::Alarm), ring, rate);

    std::vector<double> tick;
    for (int i = 0; i < rate * 45 / 1000; ++i) {
        const double t = double(i) / rate;
        tick.push_back(0.35 * std::exp(-t * 120) * std::min(1.0, t * 2000) * std::sin(2 * M_PI * 1800 * t));
    }
    writeWav(Sounds::fileName(Sound::Hover), tick, rate);

    std::vector<double> click;
    quint32 seed = 12345;
    for (int i = 0; i < rate * 30 / 1000; ++i) {
        const double t = double(i) / rate;
        seed = seed * 1103515245u + 12345u;
        const double noise = double((seed >> 16) & 0x7fff) / 16384.0 - 1.0;
        click.push_back(std::exp(-t * 220) * (0.5 * noise + 0.6 * std::sin(2 * M_PI * 1100 * t)));
    }
    writeWav(Sounds::fileName(Sound::Click), click, rate);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: make_assets <assets directory>");
        return 2;
    }
    out = QDir(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("pictures"));
    out.mkpath(QStringLiteral("sounds"));
    out.mkpath(QStringLiteral("icons"));
    drawPictures();
    scaleTrayIcons();
    drawIcons();
    makeSounds();
    return 0;
}
