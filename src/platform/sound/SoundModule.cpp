// The door into the sound module: the program opens it with QLibrary once its window is up.
#include "platform/sound/QtSoundDevice.h"

extern "C" Q_DECL_EXPORT SoundDevice* kestrin_create_sound_device()
{
    return new QtSoundDevice;
}
