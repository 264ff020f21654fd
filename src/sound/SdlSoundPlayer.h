#pragma once

#include "core/SoundPlayer.h"

#include "sound/AudioOpener.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>

#include <functional>

class QTimer;
struct SdlLibrary;

// Plays WAV files (PCM and Microsoft ADPCM) through one SDL audio device, opened ahead of the first
// sound (prepare) or on a request, and closed again once the last sound has been heard out. The
// device opens off the user-interface thread: a request made while it opens is played once it is
// open, unless that takes over a second; a server that never answers leaves the game silent. A
// request made while another game sound is still playing is dropped, neither cutting it off nor
// queued behind it; a missing or unreadable file is not heard; a machine without any output device
// gives the system beep instead.
//
// Only WAV files are played: the game asks for nothing else, so MIDI files and named system
// sounds are not looked up at all.
class SdlSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    // Waiting: for the device to open.
    enum class Result { Played, Dropped, Unreadable, Beeped, NotWav, Waiting };

    // beep: how the system beep is given; the default is the application's.
    explicit SdlSoundPlayer(std::function<void()> beep = {}, QObject* parent = nullptr);
    ~SdlSoundPlayer() override;

    void PlaySoundFile(const QString& name, bool async = true, bool loop = false) override;
    void prepare() override;

    // Bit 1: at least one waveform output device (MIDI output, bit 2, is never reported): 0 also
    // while the device is being opened, which asking starts.
    int SoundDevices();
    // Whether a sound of the game is still being played.
    bool isPlaying();
    Result lastResult() const { return m_lastResult; }
    bool deviceOpen() const { return m_device != 0; }
    bool opening() const { return m_state == State::Opening; }

    // Decodes a WAV file into the device's format; empty when it cannot be read.
    QByteArray decode(const QString& path);

private:
    bool deviceReady();
    void opened(const AudioOpener::Opened& result);
    void closeDevice();
    void topUpLoop();
    void scheduleIdleClose(qsizetype bytes);

    std::function<void()> m_beep;
    const SdlLibrary* m_sdl = nullptr;
    enum class State { Closed, Opening, Open, Failed } m_state = State::Closed;
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
    struct Pending {
        QString name;
        bool loop = false;
        QElapsedTimer since;
    } m_pending;
    AudioOpener m_opener; // last: its answers must not outlive the state above
};
