#pragma once

#include "core/SoundPlayer.h"

#include <QStringList>

// Remembers every sound that was asked for instead of playing it.
class RecordingSound final : public SoundPlayer {
public:
    void PlaySoundFile(const QString& name, std::optional<bool> async,
                       std::optional<bool> loop) override
    {
        requests.append(name);
        withOptions += async.has_value() || loop.has_value();
    }
    QStringList requests;
    int withOptions = 0;
};
