#pragma once

#include <QString>

#include <optional>

// The one routine through which every window plays a sound. Callers check the sound switch
// first; the player never makes them wait.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // async: play and return at once (the default); loop: repeat until another sound plays.
    virtual void PlaySoundFile(const QString& name, std::optional<bool> async = std::nullopt,
                               std::optional<bool> loop = std::nullopt) = 0;
};
