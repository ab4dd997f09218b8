#include "app/Navigation.h"

#include "platform/Services.h"
#include "tray/ReminderPanel.h"
#include "uikit/Controls.h"

Navigation::Navigation(const Services& services, const Controls& controls, QObject* parent)
    : QObject(parent), m_services(services), m_c(controls)
{
    connect(m_c.arrange, &ClickLabel::clicked, this, &Navigation::openAgendaPanel);
    for (ClickLabel* label : {m_c.arrange, m_c.clockLabel, m_c.logLabel})
        connect(label, &ClickLabel::pointerMoved, this, [this, label] { hoverLabel(label); });
    connect(qobject_cast<ClickLabel*>(m_c.option1), &ClickLabel::pointerMoved, this,
            [this] { hoverIcon(m_c.option1, m_c.option2, m_c.optionLabel); });
    connect(qobject_cast<ClickLabel*>(m_c.help1), &ClickLabel::pointerMoved, this,
            [this] { hoverIcon(m_c.help1, m_c.help2, m_c.helpLabel); });
    connect(qobject_cast<ClickLabel*>(m_c.option2), &ClickLabel::clicked, this,
            &Navigation::openOptionsPanel);
}

void Navigation::setHighlight(ClickLabel* label, Highlight highlight, const char* colour)
{
    m_highlights.insert(label, highlight);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(colour));
    label->setPalette(pal);
}

void Navigation::playHover() const
{
    m_services.play(Sound::Hover);
}

void Navigation::playClick() const
{
    m_services.play(Sound::Click);
}

void Navigation::showPanel(QWidget* target)
{
    m_c.reminder->stopReminder();
    for (QWidget* panel : {m_c.agenda, m_c.clock, m_c.log, m_c.options, m_c.help})
        panel->setVisible(panel == target);
}

void Navigation::navigateTo(ClickLabel* label, QWidget* panel)
{
    playClick();
    m_c.indicator->move(m_c.indicator->x(), label->y());
    showPanel(panel);
}

void Navigation::openAgendaPanel()
{
    navigateTo(m_c.arrange, m_c.agenda);
}

void Navigation::openOptionsPanel()
{
    playClick();
    showPanel(m_c.options);
}

void Navigation::openHelpPanel()
{
    playClick();
    showPanel(m_c.help);
}

void Navigation::returnToAgenda()
{
    m_c.indicator->move(m_c.indicator->x(), m_c.arrange->y());
    m_c.clock->hide();
    m_c.agenda->show();
}

void Navigation::showAgenda()
{
    m_c.indicator->move(m_c.indicator->x(), m_c.arrange->y());
    showPanel(m_c.agenda);
}

void Navigation::hoverLabel(ClickLabel* label)
{
    // Lit already, or still in its creation colour: neither lights up nor sounds.
    if (highlight(label) != Highlight::Normal)
        return;
    setHighlight(label, Highlight::Lit, "#FF0000");
    playHover();
}

void Navigation::hoverIcon(QWidget* normal, QWidget* raised, ClickLabel* caption)
{
    normal->hide();
    raised->show();
    setHighlight(caption, Highlight::Lit, "#0000FF");
    playHover();
}

void Navigation::resetHover()
{
    for (ClickLabel* label : {m_c.arrange, m_c.clockLabel, m_c.logLabel, m_c.helpLabel})
        setHighlight(label, Highlight::Normal, "#000000");
    m_c.help1->show();
    m_c.help2->hide();
    setHighlight(m_c.optionLabel, Highlight::Normal, "#000000");
    m_c.option1->show();
    m_c.option2->hide();
}
