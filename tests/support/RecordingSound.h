#pragma once

#include "core/SoundPlayer.h"

#include <QStringList>

// Remembers every sound that was asked for instead of playing it.
class RecordingSound final : public SoundPlayer {
public:
    void PlaySoundFile(const QString& name, bool async, bool loop) override
    {
        requests.append(name);
        withOptions += !async || loop;
    }
    QStringList requests;
    int withOptions = 0;
};
