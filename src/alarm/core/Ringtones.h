#pragma once

#include "platform/Result.h"

#include <QString>

// The wave file each alarm rings, kept in kestrin.ini. An alarm without a choice, or whose chosen
// file is gone, rings the default sound: a ring is never silent because a file moved.
class Ringtones
{
public:
    Ringtones(const QString& settingsPath, const QString& defaultPath);
    ~Ringtones();

    // The file chosen for alarm row (0 to 2); empty for the default.
    QString chosen(int row) const;
    // Whether path can ring.
    static Result checkWave(const QString& path);
    Result choose(int row, const QString& path);
    Result reset(int row);
    // The file that rings now.
    QString ringPath(int row) const;
    // The caption's tool tip: which file rings. playable: whether the player can play the chosen file.
    QString describe(int row, bool playable = true) const;

private:
    QString m_settingsPath;
    QString m_defaultPath;
};
