#include "core/AssetStore.h"
#include "core/Clock.h"
#include "core/Magnification.h"
#include "core/RandomSource.h"
#include "core/Services.h"
#include "core/SettingsStore.h"
#include "core/SignalWatcher.h"
#include "sound/SdlSoundPlayer.h"
#include "ui/DisplayCheck.h"
#include "ui/FontWarmUp.h"
#include "ui/Screen.h"
#include "ui/WindowLook.h"
#include "windows/frmLotaro.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {
// Answers --help and --version on the terminal, before any display is needed. Any other
// argument is ignored.
bool answeredOnTerminal(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::printf("lotaro %s\n", LOTARO_VERSION);
            return true;
        }
        if (arg == "--help" || arg == "-h") {
            std::printf("Usage: lotaro [--scale=M]\n\n"
                        "Lotaro, a matching-pairs card game for one or two players.\n"
                        "Settings and the hall of fame: $XDG_CONFIG_HOME/Lotaro/Lotaro.ini\n"
                        "Own pictures 1.jpg..40.jpg: next to the executable or in\n"
                        "$XDG_DATA_HOME/Lotaro/\n\n"
                        "  --scale=M  draw the game M times its size (0.5 to 8); --scale=1\n"
                        "             keeps its own pixels (by default a screen larger than\n"
                        "             1280x1024 gets the factor that fills it)\n"
                        "  --help     show this text and exit\n"
                        "  --version  show the version and exit\n");
            return true;
        }
    }
    return false;
}

// "--scale=M": the factor the player asks for; 0 leaves it to the screen. None when the
// factor cannot be read or lies outside what the game can be drawn at.
std::optional<double> requestedScale(int argc, char* argv[])
{
    constexpr std::string_view option = "--scale=";
    double factor = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.substr(0, option.size()) != option)
            continue;
        const char* value = argv[i] + option.size();
        char* end = nullptr;
        factor = std::strtod(value, &end);
        if (end == value || *end != '\0' || !(factor >= Magnification::smallest) ||
            factor > Magnification::largest)
            return std::nullopt;
    }
    return factor;
}
} // namespace

int main(int argc, char* argv[])
{
    if (answeredOnTerminal(argc, argv))
        return 0;
    const std::optional<double> scale = requestedScale(argc, argv);
    if (!scale) {
        std::fputs("lotaro: --scale needs a factor from 0.5 to 8, for example --scale=1.5\n",
                   stderr);
        return 2;
    }
    DisplayCheck::exitPlainlyWithoutDisplay();
    FontWarmUp fonts;
    // On X11 the toolkit hands every repaint over in shared memory and has the server report
    // when it is done with it: the clock's once-a-second repaint would wake two more threads
    // each second. The game's repaints are small, and sent plainly they need no answer.
    qputenv("QT_XCB_NO_MITSHM", "1");
    // Under native Wayland the compositor places every window, and the dialogs would not stand
    // where the game puts them: where an X server is there too (XWayland), the game runs on it,
    // and on Wayland only where there is no X. A platform the user chose is kept.
    const bool choosePlatform =
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (choosePlatform)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication app(argc, argv);
    Screen::magnify(*scale);
    // Read when the display was opened; programs the game starts (the mail client and browser
    // of the about window) keep their own way of drawing.
    qunsetenv("QT_XCB_NO_MITSHM");
    if (choosePlatform)
        qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral("Lotaro"));
    // The program ends through its own quit path only, never because a dialog was the last
    // window to close.
    QApplication::setQuitOnLastWindowClosed(false);
    fonts.finish();
    WindowLook::installLook();

    IniSettingsStore store;
    SystemClock clock;
    MersenneRandom random;
    // The own picture set is looked for next to the executable first.
    AssetStore assets(QString(), QCoreApplication::applicationDirPath());
    // The X11 platform ends the process with exit() when the X server goes away.
    assets.removeTreeAtExit();
    SdlSoundPlayer sound;

    frmLotaro board(Services{store, random, clock, assets, sound});
    // A signal or the end of the session ends the game as "Konec" does.
    SignalWatcher signals([&board](int) { board.endRun(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &board,
                     [&board] { board.endRun(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&assets] { assets.RemoveAssetTree(); });

    // Start-up opens modal windows; it runs once the event loop is there to end them.
    QTimer::singleShot(0, &board, [&board] { board.load(); });
    return QApplication::exec();
}
