#pragma once

// The program's three sounds. They live as wave files in the program directory, where the user
// may replace them.
enum class Sound
{
    Alarm, // each ring of an alarm
    Hover, // the pointer lighting up a navigation label or icon
    Click, // a navigation click, a switch, a help topic
};

namespace Sounds {

inline constexpr Sound all[] = {Sound::Alarm, Sound::Hover, Sound::Click};

// The file's name in the program directory.
const char* fileName(Sound sound);

} // namespace Sounds
