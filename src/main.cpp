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

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {
// Names every option the game takes.
constexpr char usageLine[] = "Usage: lotaro [--scale=M] [--help | --version]\n";

struct CommandLine {
    std::optional<int> exitStatus; // answered on the terminal: the run ends with this status
    double scale = 0;              // the factor asked for; 0 leaves it to the screen
};

// Answers --help and --version on the terminal, before any display is needed, reads --scale=M,
// and refuses what it does not know, as command-line programs do.
CommandLine readCommandLine(int argc, char* argv[])
{
    constexpr std::string_view scaleOption = "--scale=";
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::printf("lotaro %s\n", LOTARO_VERSION);
            return {0};
        }
        if (arg == "--help" || arg == "-h") {
            std::printf("%s\n"
                        "Lotaro, a matching-pairs card game for one or two players.\n"
                        "Settings and the hall of fame: $XDG_CONFIG_HOME/Lotaro/Lotaro.ini\n"
                        "Own pictures 1.jpg..40.jpg: next to the executable or in\n"
                        "$XDG_DATA_HOME/Lotaro/\n\n"
                        "  --scale=M  draw the game M times its size (0.5 to 8); --scale=1\n"
                        "             keeps its own pixels (by default a screen larger than\n"
                        "             1280x1024 gets the factor that fills it)\n"
                        "  --help     show this text and exit\n"
                        "  --version  show the version and exit\n",
                        usageLine);
            return {0};
        }
        if (arg.starts_with(scaleOption)) {
            const char* value = argv[i] + scaleOption.size();
            char* end = nullptr;
            line.scale = std::strtod(value, &end);
            if (end == value || *end != '\0' || !(line.scale >= Magnification::smallest) ||
                line.scale > Magnification::largest) {
                std::fputs(
                    "lotaro: --scale needs a factor from 0.5 to 8, for example --scale=1.5\n",
                    stderr);
                return {2};
            }
            continue;
        }
        // A desktop session that restores the game starts it with the session's name, which the
        // toolkit reads.
        if ((arg == "-session" || arg == "--session") && i + 1 < argc) {
            ++i;
            continue;
        }
        std::fprintf(stderr, "lotaro: unknown option '%s'\n%s", argv[i], usageLine);
        return {2};
    }
    return line;
}
} // namespace

int main(int argc, char* argv[])
{
    // A launcher that closed the game's output, or "lotaro | true": the first warning written
    // there would end the game. A message that cannot be written is simply lost.
    std::signal(SIGPIPE, SIG_IGN);
    const CommandLine line = readCommandLine(argc, argv);
    if (line.exitStatus)
        return *line.exitStatus;
    DisplayCheck::exitPlainlyWithoutDisplay();
    FontWarmUp fonts;
    const bool plainRepaints = Screen::chooseRepaintPath();
    // X is where the repaint path above was chosen and measured: where an X server is there too
    // (XWayland), the game runs on it, and on Wayland only where there is no X. A platform the
    // user chose is kept.
    const bool choosePlatform =
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (choosePlatform)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication app(argc, argv);
    Screen::magnify(line.scale);
    // Read when the display was opened; programs the game starts (the mail client and browser
    // of the about window) keep their own way of drawing.
    if (plainRepaints)
        qunsetenv("QT_XCB_NO_MITSHM");
    if (choosePlatform)
        qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral("Lotaro"));
    // Docks and task bars find the game's icon and name through its desktop file: on Wayland by
    // this name, on X by the window class that the file names.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Lotaro"));
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
