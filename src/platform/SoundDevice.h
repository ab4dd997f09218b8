#pragma once

#include <QString>

// Plays wave files one at a time: a new sound cuts off the one playing. Never blocks, never reports.
class SoundDevice
{
public:
    virtual ~SoundDevice() = default;
    // Readies a file ahead of time so that its first play starts at once.
    virtual void preload(const QString& path) = 0;
    virtual void play(const QString& path) = 0;
};
