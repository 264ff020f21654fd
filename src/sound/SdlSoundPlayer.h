#pragma once

#include "core/SoundPlayer.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <functional>

class QTimer;
struct SdlLibrary;

// Plays WAV files (PCM and Microsoft ADPCM) through one SDL audio device, opened on the first
// request and closed again half a second after the last sound ends. A request made while another
// game sound is still playing is dropped, neither cutting it off nor queued behind it; a missing or
// unreadable file is not heard; a machine without any output device gives the system beep instead.
//
// Only WAV files are played: the game asks for nothing else, so MIDI files and named system
// sounds are not looked up at all.
class SdlSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    enum class Result { Played, Dropped, Unreadable, Beeped, NotWav };

    // beep: how the system beep is given; the default is the application's.
    explicit SdlSoundPlayer(std::function<void()> beep = {}, QObject* parent = nullptr);
    ~SdlSoundPlayer() override;

    void PlaySoundFile(const QString& name, bool async = true, bool loop = false) override;

    // Bit 1: at least one waveform output device (MIDI output, bit 2, is never reported).
    int SoundDevices();
    // Whether a sound of the game is still being played.
    bool isPlaying();
    Result lastResult() const { return m_lastResult; }
    bool deviceOpen() const { return m_device != 0; }

    // Decodes a WAV file into the device's format; empty when it cannot be read.
    QByteArray decode(const QString& path);

private:
    bool openDevice();
    void closeDevice();
    void topUpLoop();
    void scheduleIdleClose(qsizetype bytes);

    std::function<void()> m_beep;
    const SdlLibrary* m_sdl = nullptr;
    bool m_initialised = false;
    bool m_deviceTried = false;
    quint32 m_device = 0;
    int m_frameBytes = 0;
    struct DeviceFormat {
        int freq = 0;
        quint16 format = 0;
        quint8 channels = 0;
    } m_format;
    QHash<QString, QByteArray> m_decoded;
    QByteArray m_looping;
    QTimer* m_loopTimer = nullptr;
    QTimer* m_idleTimer = nullptr;
    Result m_lastResult = Result::Played;
};
