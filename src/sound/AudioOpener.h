#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>

struct SdlLibrary;

// Starts SDL's sound part, opens and closes the output device on a thread of its own: a sound
// server can be slow to answer, or never answer at all, and must not hold up the windows. Jobs run
// one after the other; each answer comes back on the receiver's thread. A thread stuck in a server
// that never answers is left behind when the receiver goes.
class AudioOpener {
public:
    struct Opened {
        const SdlLibrary* sdl = nullptr;
        quint32 device = 0; // 0: no device
        int freq = 0;
        quint16 format = 0;
        quint8 channels = 0;
    };

    // appName: how the sound server lists the game's output.
    AudioOpener(QObject* receiver, const QByteArray& appName);
    ~AudioOpener();
    AudioOpener(const AudioOpener&) = delete;
    AudioOpener& operator=(const AudioOpener&) = delete;

    void open(std::function<void(const Opened&)> done);
    void close(const SdlLibrary* sdl, quint32 device);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
