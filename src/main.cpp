#include "game/RunState.h"
#include "game/frmLotaro.h"
#include "platform/Clock.h"
#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lotaro"));
    // The program ends through its own quit path only, never because a dialog was the last
    // window to close.
    QApplication::setQuitOnLastWindowClosed(false);

    IniSettingsStore store;
    SystemClock clock;
    MersenneRandom random;
    RunState run;
    run.tempPath = QDir::tempPath() + u'/';
    run.ownSetDir = QCoreApplication::applicationDirPath();

    frmLotaro board(run, store, random, clock);
    // Start-up opens modal windows; it runs once the event loop is there to end them.
    QTimer::singleShot(0, &board, [&board] { board.load(); });
    return QApplication::exec();
}
