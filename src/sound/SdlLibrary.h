#pragma once

#include <SDL.h>

// The SDL functions the sound player uses, resolved from the shared library when sound is wanted
// rather than linked: SDL pulls in some thirty libraries (sound servers, codecs, Wayland), and
// loading them at launch would delay the first window for a sound that comes later, if at all.
#define LOTARO_SDL_FUNCTIONS(X)                                                                    \
    X(SetHint)                                                                                     \
    X(InitSubSystem)                                                                               \
    X(QuitSubSystem)                                                                               \
    X(OpenAudioDevice)                                                                             \
    X(CloseAudioDevice)                                                                            \
    X(PauseAudioDevice)                                                                            \
    X(GetAudioDeviceStatus)                                                                        \
    X(QueueAudio)                                                                                  \
    X(GetQueuedAudioSize)                                                                          \
    X(ClearQueuedAudio)                                                                            \
    X(RWFromConstMem)                                                                              \
    X(LoadWAV_RW)                                                                                  \
    X(FreeWAV)                                                                                     \
    X(BuildAudioCVT)                                                                               \
    X(ConvertAudio)                                                                                \
    X(TLSCleanup)

struct SdlLibrary {
#define LOTARO_SDL_POINTER(name) decltype(&SDL_##name) name = nullptr;
    LOTARO_SDL_FUNCTIONS(LOTARO_SDL_POINTER)
#undef LOTARO_SDL_POINTER

    // The library, loaded on the first call; nullptr when it or one of its functions is missing,
    // which the player treats as a machine without a sound device.
    static const SdlLibrary* get();
};
