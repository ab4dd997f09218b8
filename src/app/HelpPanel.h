#pragma once

#include "uikit/Panel.h"

struct Services;

// The help panel PictureHelp: four fixed topics and a mail link to the maker.
class HelpPanel final : public Panel
{
    Q_OBJECT
public:
    HelpPanel(const Services& services, QWidget* parent);

    void showTopic(int topic, bool withSound = true);
    void mailMaker();
    void openMakersPage();
    // The four topics top down, then the mail link.
    QList<QWidget*> tabOrder() const;

private:
    const Services& m_services;
    ClickLabel* m_topics[4];
    QWidget* m_arrow;
    ClickLabel* m_text;
};
