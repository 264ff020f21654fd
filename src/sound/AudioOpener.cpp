#include "AudioOpener.h"

#include "sound/SdlLibrary.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

struct AudioOpener::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    QObject* receiver = nullptr; // none once the receiver is going
    bool stop = false;
    bool finished = false;
    bool started = false;
    // Touched by the worker only.
    QByteArray appName;
    const SdlLibrary* sdl = nullptr;
    bool tried = false;
    bool initialised = false;

    // Loads SDL and starts its sound part, once: the libraries it pulls in load on this thread,
    // and only once the game asks for sound.
    void initialise()
    {
        if (std::exchange(tried, true) || !(sdl = SdlLibrary::get()))
            return;
        // SDL must leave SIGINT and SIGTERM to the game, which cleans up on them.
        sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        sdl->SetHint(SDL_HINT_APP_NAME, appName.constData());
        sdl->SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, appName.constData());
        sdl->SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
        initialised = sdl->InitSubSystem(SDL_INIT_AUDIO) == 0;
    }

    void run()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stop || !jobs.empty(); });
            if (jobs.empty())
                break;
            std::function<void()> job = std::move(jobs.front());
            jobs.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
        lock.unlock();
        if (initialised)
            sdl->QuitSubSystem(SDL_INIT_AUDIO);
        // SDL keeps its error text per thread; a thread it did not make must hand that back.
        if (sdl)
            sdl->TLSCleanup();
        lock.lock();
        finished = true;
        wake.notify_all();
    }

    void post(std::function<void()> job)
    {
        std::lock_guard lock(mutex);
        jobs.push_back(std::move(job));
        if (!started) {
            started = true;
            // Keeps the state alive for as long as the thread runs, also past the opener.
            std::thread([self = this->self.lock()] { self->run(); }).detach();
        }
        wake.notify_all();
    }

    std::weak_ptr<Shared> self;
};

AudioOpener::AudioOpener(QObject* receiver, const QByteArray& appName)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->self = m_shared;
    m_shared->receiver = receiver;
    m_shared->appName = appName;
}

AudioOpener::~AudioOpener()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->receiver = nullptr;
    m_shared->stop = true;
    m_shared->wake.notify_all();
    // The device is closed and SDL shut down in order, unless the server does not answer.
    if (m_shared->started)
        m_shared->wake.wait_for(lock, std::chrono::seconds(1),
                                [this] { return m_shared->finished; });
}

void AudioOpener::open(std::function<void(const Opened&)> done)
{
    m_shared->post([s = m_shared.get(), done = std::move(done)] {
        Opened opened;
        s->initialise();
        if (s->initialised) {
            SDL_AudioSpec wanted{};
            wanted.freq = 22050;
            wanted.format = AUDIO_S16SYS;
            wanted.channels = 2;
            // 12 ms a period: a sound starts within one.
            wanted.samples = 256;
            SDL_AudioSpec obtained{};
            opened.device = s->sdl->OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                                    SDL_AUDIO_ALLOW_FREQUENCY_CHANGE |
                                                        SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
            if (opened.device != 0) {
                opened.sdl = s->sdl;
                opened.freq = obtained.freq;
                opened.format = obtained.format;
                opened.channels = obtained.channels;
                s->sdl->PauseAudioDevice(opened.device, 0);
            }
        }
        std::lock_guard lock(s->mutex);
        if (s->receiver)
            QMetaObject::invokeMethod(
                s->receiver, [done, opened] { done(opened); }, Qt::QueuedConnection);
    });
}

void AudioOpener::close(const SdlLibrary* sdl, quint32 device)
{
    m_shared->post([sdl, device] {
        sdl->ClearQueuedAudio(device);
        sdl->CloseAudioDevice(device);
    });
}
