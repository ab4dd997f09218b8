#pragma once

#include <QString>

// Plays wave files one at a time: a new sound cuts off the one playing. Never blocks, never reports.
class SoundDevice
{
public:
    enum Readiness
    {
        Ready,      // plays at once
        Loading,    // being readied, or never asked for: a play now may be late or silent
        Unplayable, // the player cannot play it
    };

    virtual ~SoundDevice() = default;
    // Readies a file ahead of time so that its first play starts at once.
    virtual void preload(const QString& path) = 0;
    virtual void play(const QString& path) = 0;
    virtual Readiness readiness(const QString& path) const = 0;
};
