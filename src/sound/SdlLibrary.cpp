#include "SdlLibrary.h"

#include <QLibrary>

namespace {
const SdlLibrary* load()
{
    // Never unloaded: SDL's audio thread may outlive any object of ours.
    static QLibrary library(QStringLiteral("SDL2-2.0"), 0);
    if (!library.load())
        return nullptr;
    static SdlLibrary sdl;
    bool complete = true;
#define LOTARO_SDL_RESOLVE(name)                                                                   \
    sdl.name = reinterpret_cast<decltype(sdl.name)>(library.resolve("SDL_" #name));                \
    complete = complete && sdl.name;
    LOTARO_SDL_FUNCTIONS(LOTARO_SDL_RESOLVE)
#undef LOTARO_SDL_RESOLVE
    return complete ? &sdl : nullptr;
}
} // namespace

const SdlLibrary* SdlLibrary::get()
{
    static const SdlLibrary* const sdl = load();
    return sdl;
}
