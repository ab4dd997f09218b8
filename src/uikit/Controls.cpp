#include "uikit/Controls.h"

#include "uikit/LineList.h"
#include "uikit/ScaledPicture.h"
#include "uikit/ShownPicture.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

void setTabChain(const QList<QWidget*>& widgets)
{
    // Qt leaves out of the chain whatever takes no focus now, such as the entry box while
    // browsing; its place must be kept for when it does.
    QList<Qt::FocusPolicy> policies;
    for (QWidget* w : widgets) {
        policies.append(w->focusPolicy());
        if (w->focusPolicy() == Qt::NoFocus)
            w->setFocusPolicy(Qt::TabFocus);
    }
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
    for (qsizetype i = 0; i < widgets.size(); ++i)
        widgets[i]->setFocusPolicy(policies[i]);
}

void missingControl(const QObject* root, const QString& name, int index)
{
    qFatal("%s has no control %s (index %d)", qPrintable(root->objectName()), qPrintable(name), index);
}

QFont layoutFont()
{
    return QFont(QStringLiteral("Sans Serif"), 9);
}

QString fontFamily(const QString& face)
{
    // Asking the font database for its families is slow: once per run is enough.
    static const QStringList installed = QFontDatabase::families();
    if (installed.contains(face))
        return face;
    // Kai-style faces stand in for the brush face; any CJK face for the others.
    const QStringList kai = {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB"),
                             QStringLiteral("KaiTi"), QStringLiteral("STKaiti")};
    const QStringList sans = {QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
    if (face == QStringLiteral("华文行楷")) {
        for (const QString& f : kai)
            if (installed.contains(f))
                return f;
    }
    for (const QString& f : sans)
        if (installed.contains(f))
            return f;
    return QString();
}

namespace {

bool isWindowed(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Panel:
    case ControlKind::Text:
    case ControlKind::MultiText:
    case ControlKind::Check:
    case ControlKind::Combo:
    case ControlKind::List:
        return true;
    default:
        return false;
    }
}

void applyColours(QWidget* w, const ControlLook& look)
{
    QPalette pal = w->palette();
    if (look.fg) {
        pal.setColor(QPalette::WindowText, QColor(look.fg));
        pal.setColor(QPalette::Text, QColor(look.fg));
    }
    if (look.bg) {
        pal.setColor(QPalette::Window, QColor(look.bg));
        pal.setColor(QPalette::Base, QColor(look.bg));
        pal.setColor(QPalette::Button, QColor(look.bg));
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

// A label, an image, a picture panel or a button: all of them a ClickLabel.
ClickLabel* createLabel(QWidget* container, const ControlRow& control)
{
    const ControlLook& look = control.look;
    auto* label = new ClickLabel(container);
    if (look.picture) {
        // Small pictures (buttons, icons) are shared through the pixmap cache; a large one is
        // decoded only while it is on view. Above scale 1, each is drawn for the screen.
        const QRect box = twips(control.left, control.top, control.width, control.height);
        if (box.width() * box.height() >= 128 * 128)
            ShownPicture::attach(label, QString::fromUtf8(look.picture));
        else if (const qreal ratio = label->devicePixelRatioF(); ratio > 1.0)
            label->setPixmap(scaledPicture(QString::fromUtf8(look.picture), ratio));
        else
            label->setPixmap(QPixmap(QString::fromUtf8(look.picture)));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        label->setText(look.caption ? QString::fromUtf8(look.caption) : QString());
        label->setAlignment(look.align);
    }
    if (control.kind == ControlKind::Button) {
        label->setFrameShape(QFrame::Box);
        label->setLineWidth(1);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("QLabel { border: 1px solid #6d7f94; }"));
    }
    if (control.kind == ControlKind::Image && look.picture)
        label->setScaledContents(true);
    if (control.kind == ControlKind::Label)
        label->setWordWrap(control.height > 300);
    label->setMouseTracking(true);
    return label;
}

QWidget* createWidget(QWidget* container, const ControlRow& control)
{
    switch (control.kind) {
    case ControlKind::Panel:
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::Button:
        return createLabel(container, control);
    case ControlKind::Text: {
        auto* edit = new QLineEdit(container);
        edit->setReadOnly(control.look.locked);
        return edit;
    }
    case ControlKind::MultiText:
        return new QPlainTextEdit(container);
    case ControlKind::Check:
        return new QCheckBox(container);
    case ControlKind::Combo:
        return new QComboBox(container);
    case ControlKind::List:
        return new LineList(container);
    case ControlKind::Frame: {
        auto* frame = new QFrame(container);
        frame->setFrameShape(QFrame::Box);
        return frame;
    }
    }
    Q_UNREACHABLE();
    return nullptr;
}

QWidget* create(QWidget* container, const ControlRow& control)
{
    const ControlLook& look = control.look;
    QWidget* w = createWidget(container, control);
    w->setObjectName(QString::fromUtf8(control.name));
    if (look.index >= 0)
        w->setProperty("index", look.index);
    w->setGeometry(twips(control.left, control.top, control.width, control.height));
    applyColours(w, look);
    if (look.font) {
        QFont font(fontFamily(QString::fromUtf8(look.font)));
        font.setPointSizeF(look.points);
        font.setBold(look.bold);
        w->setFont(font);
    }
    if (look.hand) {
        w->setCursor(Qt::PointingHandCursor);
        if (auto* label = qobject_cast<ClickLabel*>(w))
            label->setCommand(true);
    }
    // A label is read by its text as it is at the time; a name set here would freeze it.
    if (look.accessible)
        w->setAccessibleName(QString::fromUtf8(look.accessible));
    w->setVisible(!look.hidden);
    return w;
}

} // namespace

void buildControls(QWidget* container, std::span<const ControlRow> entries)
{
    QList<QWidget*> windowed;
    // The last created lies on top, so build from the bottom of the table up.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        QWidget* w = create(container, *it);
        if (isWindowed(it->kind))
            windowed.prepend(w);
    }
    for (auto it = windowed.rbegin(); it != windowed.rend(); ++it)
        (*it)->raise();
}
