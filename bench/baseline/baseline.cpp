// The yardstick for the whole-program figures: a bare Qt window of the same size with about sixty
// child widgets, a background picture and a tray icon, which hides itself after three seconds.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kestrin"));
    window.setFixedSize(599, 400);
    QPalette pal = window.palette();
    pal.setBrush(QPalette::Window, QPixmap(QStringLiteral(":/pictures/main_background.jpg")));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    for (int i = 0; i < 60; ++i) {
        QWidget* w = i % 4 == 0 ? static_cast<QWidget*>(new QLineEdit(&window))
                                : new QLabel(QStringLiteral("标签 %1").arg(i), &window);
        w->setGeometry(10 + (i % 6) * 95, 10 + (i / 6) * 38, 90, 24);
    }
    QSystemTrayIcon tray(QIcon(QStringLiteral(":/pictures/kestrin.png")), &window);
    tray.show();
    window.show();
    QTimer::singleShot(3200, &window, [&] { window.hide(); });
    const int code = app.exec();
    tray.hide();
    return code;
}
