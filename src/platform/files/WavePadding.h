#pragma once

#include <QByteArray>

#include <optional>

// A PCM wave file with silence added after its sound. Qt's sound effect stops its output as soon
// as it has handed over the last sample, and that stop drops whatever the sound server has not yet
// played: a short sound lost its end, or all of it. With silence behind it, only silence is lost.
// nullopt for anything that is not a PCM or float wave file this can read.
std::optional<QByteArray> withTrailingSilence(const QByteArray& wave, int milliseconds);
