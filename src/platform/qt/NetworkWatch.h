#pragma once

#include <QObject>

// Tells when the machine is back on the network, as NetworkManager announces it on the system bus.
// Without NetworkManager it stays silent.
class NetworkWatch final : public QObject
{
    Q_OBJECT
public:
    explicit NetworkWatch(QObject* parent = nullptr);

signals:
    void online();

private slots:
    void stateChanged(uint state);

private:
    uint m_state = 0;
};
