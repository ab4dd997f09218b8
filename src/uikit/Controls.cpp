#include "uikit/Controls.h"

#include "uikit/LineList.h"
#include "uikit/ScaledPicture.h"
#include "uikit/ShownPicture.h"
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (m_pressed && event->button() == Qt::LeftButton && inside) {
        m_pressed = false;
        emit clicked();
    }
    m_pressed = false;
    event->accept();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved();
    // Moves over a control or a panel must not reach the window background (it resets highlights).
    event->accept();
}

namespace {

// A command label as a screen reader sees it: a button, named by its caption (or by the accessible
// name of a picture), pressed by the reader's action.
class CommandAccessible final : public QAccessibleWidget
{
public:
    explicit CommandAccessible(ClickLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const ClickLabel*>(widget());
        if (t == QAccessible::Name && label->accessibleName().isEmpty())
            return label->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<ClickLabel*>(widget())->press();
    }
};

QAccessibleInterface* commandFactory(const QString& className, QObject* object)
{
    auto* label = qobject_cast<ClickLabel*>(object);
    if (className == QLatin1String("ClickLabel") && label && label->isCommand())
        return new CommandAccessible(label);
    return nullptr;
}

} // namespace

void ClickLabel::setCommand(bool command)
{
    static const bool installed = [] {
        QAccessible::installFactory(commandFactory);
        return true;
    }();
    Q_UNUSED(installed);
    m_command = command;
    setFocusPolicy(command ? Qt::TabFocus : Qt::NoFocus);
    // Qt makes and keeps a label's interface at its first event (a name given at creation): drop
    // it, so that the next one asked for is made as what the label is now.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(this))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

// QLabel gives any label that takes the focus a text document of its own, to move between links
// with the keyboard: some 24 KiB a label, half a megabyte for the commands, at the start. A caption
// has no links, and is painted as the plain text it is (but where it is centred upright: the
// document puts it a pixel lower than plain text, and the look stays as it was).
bool ClickLabel::event(QEvent* event)
{
    if (event->type() != QEvent::Polish || !plainCaption())
        return QLabel::event(event);
    const Qt::FocusPolicy policy = focusPolicy();
    setFocusPolicy(Qt::NoFocus);
    const bool handled = QLabel::event(event);
    setFocusPolicy(policy);
    return handled;
}

void ClickLabel::focusInEvent(QFocusEvent* event)
{
    if (plainCaption())
        QFrame::focusInEvent(event); // QLabel's would make the document after all
    else
        QLabel::focusInEvent(event);
}

bool ClickLabel::plainCaption() const
{
    return focusPolicy() != Qt::NoFocus && textFormat() != Qt::RichText && !(alignment() & Qt::AlignVCenter);
}

void ClickLabel::press()
{
    if (m_keyboardTarget)
        m_keyboardTarget->press();
    else
        emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (m_command && event->modifiers() == Qt::NoModifier &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        press();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Dashes of black on white: seen on the light panels and the dark alarm panel alike.
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(frame);
}

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

QWidget* create(QWidget* container, const ControlRow& control)
{
    const ControlLook& look = control.look;
    const QString caption = look.caption ? QString::fromUtf8(look.caption) : QString();
    QWidget* w = nullptr;
    switch (control.kind) {
    case ControlKind::Panel:
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::Button: {
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
            label->setText(caption);
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
        w = label;
        break;
    }
    case ControlKind::Text: {
        auto* edit = new QLineEdit(container);
        edit->setReadOnly(look.locked);
        w = edit;
        break;
    }
    case ControlKind::MultiText:
        w = new QPlainTextEdit(container);
        break;
    case ControlKind::Check:
        w = new QCheckBox(container);
        break;
    case ControlKind::Combo:
        w = new QComboBox(container);
        break;
    case ControlKind::List: {
        w = new LineList(container);
        break;
    }
    case ControlKind::Frame: {
        auto* frame = new QFrame(container);
        frame->setFrameShape(QFrame::Box);
        w = frame;
        break;
    }
    }
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
