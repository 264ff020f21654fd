#pragma once

#include <QString>

// The one routine through which every window plays a sound. Callers check the sound switch
// first; the player never makes them wait.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // async: play and return at once (the default); loop: repeat until another sound plays.
    virtual void PlaySoundFile(const QString& name, bool async = true, bool loop = false) = 0;
    // Gets the output ready ahead of the first sound, without waiting for it.
    virtual void prepare() {}
};
