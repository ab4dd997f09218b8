#include "platform/Sounds.h"

namespace Sounds {

const char* fileName(Sound sound)
{
    switch (sound) {
    case Sound::Alarm:
        return "clock1.wav";
    case Sound::Hover:
        return "Moveme.wav";
    case Sound::Click:
        return "ClickMe.wav";
    }
    return "";
}

} // namespace Sounds
