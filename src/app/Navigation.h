#pragma once

#include <QHash>
#include <QObject>

class ClickLabel;
class QWidget;
class ReminderPanel;
struct Services;

// Switching between the panels from the navigation strip, with its hover highlights and sounds.
class Navigation final : public QObject
{
    Q_OBJECT
public:
    struct Controls
    {
        QWidget* agenda;
        QWidget* clock;
        QWidget* log;
        QWidget* options;
        QWidget* help;
        ReminderPanel* reminder;
        ClickLabel* indicator;
        ClickLabel* arrange;
        ClickLabel* clockLabel;
        ClickLabel* logLabel;
        ClickLabel* optionLabel;
        ClickLabel* helpLabel;
        QWidget* option1;
        QWidget* option2;
        QWidget* help1;
        QWidget* help2;
    };
    Navigation(const Services& services, const Controls& controls, QObject* parent);

    void showPanel(QWidget* target);
    // The first steps of a navigation label's click: sound, indicator, panel.
    void navigateTo(ClickLabel* label, QWidget* panel);
    void openAgendaPanel();
    void openOptionsPanel();
    void openHelpPanel();
    // Confirming or cancelling the alarm panel.
    void returnToAgenda();
    // The agenda panel on view, from wherever the window was, without a click's sound: a
    // notification's 打开日程.
    void showAgenda();
    void hoverLabel(ClickLabel* label);
    void hoverIcon(QWidget* normal, QWidget* raised, ClickLabel* caption);
    void resetHover();

    // A navigation caption's highlight. A caption lights up only from Normal, which the pointer's
    // first pass over the bare background sets: until then it keeps its creation colour.
    enum class Highlight
    {
        Untouched,
        Normal,
        Lit,
    };
    Highlight highlight(const ClickLabel* label) const
    {
        return m_highlights.value(label, Highlight::Untouched);
    }

private:
    void setHighlight(ClickLabel* label, Highlight highlight, const char* colour);
    void playHover() const;
    void playClick() const;

    const Services& m_services;
    Controls m_c;
    QHash<const ClickLabel*, Highlight> m_highlights;
};
