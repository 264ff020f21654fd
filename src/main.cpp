#include "assets/AssetCatalogue.h"
#include "assets/AssetStore.h"
#include "game/RunState.h"
#include "game/Services.h"
#include "game/WindowLook.h"
#include "game/frmLotaro.h"
#include "platform/Clock.h"
#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"
#include "platform/SignalWatcher.h"
#include "sound/SdlSoundPlayer.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lotaro"));
    // The program ends through its own quit path only, never because a dialog was the last
    // window to close.
    QApplication::setQuitOnLastWindowClosed(false);
    AssetCatalogue::ensureRegistered();
    WindowLook::installLook();

    IniSettingsStore store;
    SystemClock clock;
    MersenneRandom random;
    AssetStore assets;
    SdlSoundPlayer sound;
    RunState run;
    run.ownSetDir = QCoreApplication::applicationDirPath();

    frmLotaro board(run, Services{store, random, clock, assets, sound});
    // A signal or the end of the session ends the game as "Konec" does.
    SignalWatcher signals([&board](int) { board.endRun(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &board,
                     [&board] { board.endRun(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&assets] { assets.RemoveAssetTree(); });

    // Start-up opens modal windows; it runs once the event loop is there to end them.
    QTimer::singleShot(0, &board, [&board] { board.load(); });
    return QApplication::exec();
}
