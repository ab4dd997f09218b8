// Run three times by run_scale_e2e.sh, under Xvfb: at scale 1 it writes down where every control
// is; at 2 and 1.5 it checks that each is there, the scale times larger, and that the pictures are
// drawn for the screen rather than enlarged.
#include "WindowBench.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/DueReminder.h"
#include "alarm/core/AlarmRuntime.h"
#include "app/FormMain.h"
#include "log/core/LogSession.h"
#include "uikit/ScaledPicture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

const char* const panels[] = {"LabelArrange", "LabelClock", "LabelLog", "ImageHelp2", "ImageOption2"};

// How sharp an image is: the mean squared difference of neighbouring pixels' grey levels. An edge
// one device pixel wide gives about twice the figure of the same edge enlarged to two.
double sharpness(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    qint64 count = 0;
    for (int y = 0; y + 1 < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        const uchar* below = grey.constScanLine(y + 1);
        for (int x = 0; x + 1 < grey.width(); ++x) {
            sum += std::pow(row[x] - row[x + 1], 2) + std::pow(row[x] - below[x], 2);
            count += 2;
        }
    }
    return count ? sum / count : 0;
}

// Every named widget of the window where it stands, in the window's logical pixels.
QStringList layout(const FormMain& window)
{
    QStringList lines;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisibleTo(&window))
            continue;
        const QRect r(w->mapTo(&window, QPoint()), w->size());
        lines.append(QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(w->objectName())
                         .arg(r.x())
                         .arg(r.y())
                         .arg(r.width())
                         .arg(r.height()));
    }
    lines.sort();
    return lines;
}

} // namespace

class TestScaledPictures : public QObject
{
    Q_OBJECT
private slots:
    void picturesForTheScreen()
    {
        const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        const QString rects = qEnvironmentVariable("KESTRIN_LAYOUT_FILE");
        QVERIFY(!rects.isEmpty());
        WindowBench bench;
        bench.clock.set(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
        bench.write("agenda.txt", agendaRecord("开会", QDate(2026, 12, 6), QDate(2026, 12, 9)));
        AgendaSession agenda(bench.services);
        LogSession log(bench.files, bench.path("my.log"));
        AlarmTable table;
        AlarmRuntime alarms(bench.services, table);
        DueReminder dueReminder(bench.services);
        FormMain window(bench.services, bench.tray, {agenda, log, alarms, dueReminder});
        window.showAtStart();
        agenda.reload();
        window.greet();
        QCOMPARE(window.devicePixelRatioF(), scale);

        QStringList seen = layout(window);
        for (const char* panel : panels) {
            QTest::mouseClick(window.findChild<QWidget*>(QString::fromUtf8(panel)), Qt::LeftButton);
            seen += layout(window);
        }
        // Regions that show a picture alone: the title, the two icons, the alarm panel's clock.
        QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("LabelClock")), Qt::LeftButton);
        QList<std::pair<QString, QRect>> regions = {{QStringLiteral("title"), QRect(20, 10, 180, 80)}};
        for (const char* name : {"ImageOption1", "ImageHelp1", "ImageClock1"}) {
            const QWidget* w = window.findChild<QWidget*>(QString::fromLatin1(name));
            regions.append({QString::fromLatin1(name), QRect(w->mapTo(&window, QPoint()), w->size())});
        }
        const QImage screen = window.grab().toImage();
        const QString oneX = rects + QStringLiteral(".png");
        if (scale == 1.0) {
            QFile out(rects);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(seen.join(u'\n').toUtf8());
            QVERIFY(screen.save(oneX));
            // At scale 1 the @2x pictures are not read: each is its 1x file, pixel for pixel.
            const QFileInfoList pictures = QDir(QStringLiteral(":/pictures")).entryInfoList();
            QVERIFY(pictures.size() > 10);
            for (const QFileInfo& picture : pictures)
                if (!picture.fileName().contains(u'@'))
                    QVERIFY2(scaledPicture(picture.filePath(), 1.0).toImage() ==
                                 QPixmap::fromImage(QImage(picture.filePath())).toImage(),
                             qPrintable(picture.fileName()));
            return;
        }
        // The layout in logical pixels is the one at scale 1: on the screen, every rectangle is the
        // scale times its 1× rectangle, and so is the window.
        QFile in(rects);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(seen, QString::fromUtf8(in.readAll()).split(u'\n'));
        QCOMPARE(screen.size(), QSize(qRound(599 * scale), qRound(400 * scale)));
        const QImage before(oneX);
        QCOMPARE(before.size(), QSize(599, 400));
        for (const auto& [name, logical] : regions) {
            const QRect device(qRound(logical.x() * scale), qRound(logical.y() * scale),
                               qRound(logical.width() * scale), qRound(logical.height() * scale));
            const QImage enlarged =
                before.copy(logical).scaled(device.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const double drawn = sharpness(screen.copy(device)), old = sharpness(enlarged);
            qInfo("%s at %.2f: %.0f against %.0f for the 1x window enlarged", qPrintable(name), scale, drawn,
                  old);
            // Edges one device pixel wide rather than spread over two or more. Measured 2.8 to 3.8
            // times the enlarged figure at scale 2, 1.7 to 2.2 at 1.5; the 1x picture drawn at scale 2
            // (pixels doubled) gives 1.0 to 1.5, hence the margins.
            QVERIFY2(drawn > (scale >= 2.0 ? 2.0 : 1.4) * old, qPrintable(name));
        }
    }
};

QTEST_MAIN(TestScaledPictures)
#include "tst_scaledpictures.moc"
