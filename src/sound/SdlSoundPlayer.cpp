#include "SdlSoundPlayer.h"

#include "sound/SdlLibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <utility>

SdlSoundPlayer::SdlSoundPlayer(std::function<void()> beep, QObject* parent)
    : QObject(parent), m_beep(beep ? std::move(beep) : [] { QApplication::beep(); }),
      m_opener(this, QCoreApplication::applicationName().toUtf8())
{
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    closeDevice();
}

void SdlSoundPlayer::prepare()
{
    if (m_state != State::Closed)
        return;
    m_state = State::Opening;
    m_opener.open([this](const AudioOpener::Opened& result) { opened(result); });
}

bool SdlSoundPlayer::deviceReady()
{
    // A device that went away (unplugged, sound server gone) is given up and tried anew.
    if (m_device != 0 && m_sdl->GetAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED)
        closeDevice();
    prepare();
    return m_state == State::Open;
}

void SdlSoundPlayer::opened(const AudioOpener::Opened& result)
{
    const Pending pending = std::exchange(m_pending, {});
    if (result.device == 0) {
        m_state = State::Failed;
        if (!pending.name.isEmpty()) {
            m_beep();
            m_lastResult = Result::Beeped;
        }
        return;
    }
    m_state = State::Open;
    m_sdl = result.sdl;
    m_device = result.device;
    const DeviceFormat format{result.freq, result.format, result.channels};
    // Sounds decoded for the device before can be played again as they are.
    if (format.freq != m_format.freq || format.format != m_format.format ||
        format.channels != m_format.channels)
        m_decoded.clear();
    m_format = format;
    m_frameBytes = SDL_AUDIO_BITSIZE(result.format) / 8 * result.channels;
    // A sound that came too late would answer nothing the player still sees.
    if (!pending.name.isEmpty() && pending.since.elapsed() < 1000)
        PlaySoundFile(pending.name, true, pending.loop);
    else
        scheduleIdleClose(0);
}

void SdlSoundPlayer::closeDevice()
{
    if (m_loopTimer)
        m_loopTimer->stop();
    m_looping.clear();
    if (m_device != 0)
        m_opener.close(m_sdl, m_device);
    m_device = 0;
    if (m_state == State::Open)
        m_state = State::Closed;
}

int SdlSoundPlayer::SoundDevices()
{
    return deviceReady() ? 1 : 0;
}

bool SdlSoundPlayer::isPlaying()
{
    return m_device != 0 && m_sdl->GetQueuedAudioSize(m_device) > 0;
}

QByteArray SdlSoundPlayer::decode(const QString& path)
{
    if (!deviceReady())
        return {};
    const auto cached = m_decoded.constFind(path);
    if (cached != m_decoded.constEnd())
        return *cached;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    SDL_AudioSpec wav{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!m_sdl->LoadWAV_RW(m_sdl->RWFromConstMem(bytes.constData(), int(bytes.size())), 1, &wav,
                           &buffer, &length))
        return {};
    SDL_AudioCVT cvt;
    QByteArray pcm;
    if (m_sdl->BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, m_format.format,
                             m_format.channels, m_format.freq) >= 0) {
        pcm.resize(qsizetype(length) * qMax(1, cvt.len_mult));
        memcpy(pcm.data(), buffer, length);
        cvt.buf = reinterpret_cast<Uint8*>(pcm.data());
        cvt.len = int(length);
        if (cvt.needed && m_sdl->ConvertAudio(&cvt) != 0)
            pcm.clear();
        else
            pcm.resize(cvt.needed ? cvt.len_cvt : int(length));
    }
    m_sdl->FreeWAV(buffer);
    if (!pcm.isEmpty())
        m_decoded.insert(path, pcm);
    return pcm;
}

void SdlSoundPlayer::PlaySoundFile(const QString& name, bool asynchronous, bool loop)
{
    if (!name.toUpper().endsWith(QStringLiteral(".WAV"))) {
        m_lastResult = Result::NotWav;
        return;
    }
    if (m_state == State::Failed) {
        m_beep();
        m_lastResult = Result::Beeped;
        return;
    }
    if (!deviceReady()) {
        m_pending = {name, asynchronous && loop, {}};
        m_pending.since.start();
        m_lastResult = Result::Waiting;
        return;
    }
    // Game sounds neither cut each other off nor wait in line.
    if (isPlaying()) {
        m_lastResult = Result::Dropped;
        return;
    }
    const QByteArray pcm = decode(name);
    if (pcm.isEmpty()) {
        m_lastResult = Result::Unreadable;
        return;
    }
    m_looping.clear();
    if (m_sdl->QueueAudio(m_device, pcm.constData(), Uint32(pcm.size())) != 0) {
        m_lastResult = Result::Dropped;
        return;
    }
    m_lastResult = Result::Played;
    scheduleIdleClose(pcm.size());
    if (asynchronous && loop) {
        m_looping = pcm;
        if (!m_loopTimer) {
            m_loopTimer = new QTimer(this);
            m_loopTimer->setInterval(50);
            connect(m_loopTimer, &QTimer::timeout, this, [this] { topUpLoop(); });
        }
        m_loopTimer->start();
    }
    if (!asynchronous) {
        // Waits for the sound, but never longer than it lasts (and a second): a device that
        // stops taking data must not hang the caller. The game itself never asks for this.
        const qint64 lengthMs =
            qint64(pcm.size()) * 1000 / qMax(1, m_frameBytes * m_format.freq) + 1000;
        QElapsedTimer waited;
        waited.start();
        while (isPlaying() && waited.elapsed() < lengthMs)
            QThread::msleep(5);
    }
}

void SdlSoundPlayer::scheduleIdleClose(qsizetype bytes)
{
    // An open device keeps SDL's audio thread waking many times a second, even when paused,
    // and the silence it keeps sending lies in the server's buffer ahead of the next sound: a
    // device opened anew starts sooner. It is closed once the sound has been heard out.
    if (!m_idleTimer) {
        m_idleTimer = new QTimer(this);
        m_idleTimer->setSingleShot(true);
        connect(m_idleTimer, &QTimer::timeout, this, [this] {
            if (!m_looping.isEmpty())
                return;
            if (isPlaying()) {
                m_idleTimer->start(50);
                return;
            }
            closeDevice();
        });
    }
    const qint64 lengthMs = qint64(bytes) * 1000 / qMax(1, m_frameBytes * m_format.freq);
    // The server still plays what SDL took from the queue last: a tenth of a second more.
    m_idleTimer->start(int(lengthMs) + 150);
}

void SdlSoundPlayer::topUpLoop()
{
    if (m_looping.isEmpty() || m_device == 0) {
        if (m_loopTimer)
            m_loopTimer->stop();
        return;
    }
    if (m_sdl->GetQueuedAudioSize(m_device) < Uint32(m_looping.size() / 2))
        m_sdl->QueueAudio(m_device, m_looping.constData(), Uint32(m_looping.size()));
}
