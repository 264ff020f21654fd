#include "core/AssetStore.h"
#include "core/Clock.h"
#include "core/RandomSource.h"
#include "core/Services.h"
#include "core/SettingsStore.h"
#include "core/SignalWatcher.h"
#include "sound/SdlSoundPlayer.h"
#include "ui/DisplayCheck.h"
#include "ui/FontWarmUp.h"
#include "ui/WindowLook.h"
#include "windows/frmLotaro.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {
// Names every option the game takes.
constexpr char usageLine[] = "Usage: lotaro [--help | --version]\n";

// Answers --help and --version on the terminal, before any display is needed, and refuses what
// it does not know, as command-line programs do: the exit status then, or none to play.
std::optional<int> answeredOnTerminal(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::printf("lotaro %s\n", LOTARO_VERSION);
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::printf("%s\n"
                        "Lotaro, a matching-pairs card game for one or two players.\n"
                        "Settings and the hall of fame: $XDG_CONFIG_HOME/Lotaro/Lotaro.ini\n"
                        "Own pictures 1.jpg..40.jpg: next to the executable or in\n"
                        "$XDG_DATA_HOME/Lotaro/\n\n"
                        "  --help     show this text and exit\n"
                        "  --version  show the version and exit\n",
                        usageLine);
            return 0;
        }
        std::fprintf(stderr, "lotaro: unknown option '%s'\n%s", argv[i], usageLine);
        return 2;
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char* argv[])
{
    // A launcher that closed the game's output, or "lotaro | true": the first warning written
    // there would end the game. A message that cannot be written is simply lost.
    std::signal(SIGPIPE, SIG_IGN);
    if (const std::optional<int> status = answeredOnTerminal(argc, argv))
        return *status;
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
    // Read when the display was opened; programs the game starts (the mail client and browser
    // of the about window) keep their own way of drawing.
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
