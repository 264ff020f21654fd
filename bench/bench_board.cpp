// Times the deal of each board and the handling of card clicks on the board window, offscreen
// on a screen of the size asked for, with the game's own libraries.
//
//   bench_board [--screen=WxH] [--rounds=N] [parts...]
//
// Parts: "deals" (each board), "deal" (10 x 8 only), "session" (the peak memory of 200 deals),
// "clicks" (a whole 10 x 8 game), "own" (the first 10 x 8 deal of a built-in set, then one of
// the own set found in $XDG_DATA_HOME/Lotaro, each with the peak memory after it). Without
// parts: deals, session and clicks.
#include "core/AssetCatalogue.h"
#include "core/AssetStore.h"
#include "core/Clock.h"
#include "core/GameSettings.h"
#include "core/RandomSource.h"
#include "core/Services.h"
#include "core/SettingsStore.h"
#include "core/SoundPlayer.h"
#include "ui/CardPicture.h"
#include "ui/FramedDialog.h"
#include "ui/WindowLook.h"
#include "windows/frmLotaro.h"

#include "Figures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMouseEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
class Store final : public SettingsStore {
public:
    QString read(const QString& s, const QString& k, const QString& d) const override
    {
        return values.value(s + u'/' + k, d);
    }
    void write(const QString& s, const QString& k, const QString& v) override
    {
        values.insert(s + u'/' + k, v);
    }
    QHash<QString, QString> values;
};

class Silence final : public SoundPlayer {
public:
    void PlaySoundFile(const QString&, bool, bool) override {}
};

// Answers every modal window: the new-game dialog with the board size asked for (keeping the
// time of its "OK", so that a deal is measured from the dialog's closing on), every other
// window with its "OK". A control that is not there, or a window that "OK" does not close, ends
// the run rather than leave it waiting for ever.
QElapsedTimer okPressed;
int presses = 0; // since the last deal began
int wantedBoard = 0;
int wantedFace = -1; // -1: the one the dialog shows
void press(QWidget* window, const QString& name)
{
    QObject* control = window->findChild<QObject*>(name);
    if (!control || !QMetaObject::invokeMethod(control, "clicked")) {
        std::fprintf(stderr, "bench_board: %s has no %s to press\n",
                     qPrintable(window->objectName()), qPrintable(name));
        std::exit(1);
    }
}

void answerModals()
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [] {
        QWidget* modal = FramedDialog::topmost();
        if (!modal || !modal->isVisible())
            return;
        if (modal->objectName() == u"frmNováHra") {
            press(modal, QStringLiteral("lblPočetKaret_") + QString::number(wantedBoard));
            if (wantedFace >= 0)
                press(modal, QStringLiteral("lblLíc_") + QString::number(wantedFace));
        }
        if (++presses > 50) {
            std::fprintf(stderr, "bench_board: %s stays open after \"OK\"\n",
                         qPrintable(modal->objectName()));
            std::exit(1);
        }
        okPressed.start();
        press(modal, QStringLiteral("lblOK"));
    });
    poll->start(1);
}

// The process's peak resident set so far, in MB.
double peakRssMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

void click(QWidget* card)
{
    const QPointF at(card->width() / 2.0, card->height() / 2.0);
    const QPointF global = card->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(card, &press);
    QApplication::sendEvent(card, &release);
}

// The offscreen platform's screen, before the application reads it.
void chooseScreen(const QString& size, const QTemporaryDir& dir)
{
    const QStringList wh = size.split(u'x');
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (wh.size() != 2 || !config.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "bench_board: no screen %s\n", qPrintable(size));
        std::exit(2);
    }
    config.write(QStringLiteral("{\"screens\":[{\"name\":\"S\",\"x\":0,\"y\":0,\"width\":%1,"
                                "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96,"
                                "\"dpr\":1}]}")
                     .arg(wh[0], wh[1])
                     .toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
}

double deal(frmLotaro& board, int size)
{
    wantedBoard = size;
    presses = 0;
    board.menuAction(MenuItem::NewGame); // removes the board, asks the dialog, deals anew
    QApplication::processEvents();
    return okPressed.nsecsElapsed() / 1e6;
}

void deals(frmLotaro& board, const std::vector<int>& sizes, int rounds)
{
    static const char* names[] = {"deal 10 x 8 (OK to board painted)",
                                  "deal 8 x 6 (OK to board painted)",
                                  "deal 6 x 5 (OK to board painted)"};
    for (int size : sizes) {
        std::vector<double> times;
        for (int i = 0; i < rounds; ++i)
            times.push_back(deal(board, size));
        Figures::of(times).print(names[size]);
    }
}

// A long session: nothing may pile up from one deal to the next.
void session(frmLotaro& board, int rounds)
{
    deal(board, 0);
    const double afterOne = peakRssMb();
    for (int i = 1; i < rounds; ++i)
        deal(board, 0);
    std::printf("peak rss after 1 / %d deals of 10 x 8: %.1f %.1f MB\n", rounds, afterOne,
                peakRssMb());
}

// A whole 10 x 8 game in "Celý tah", pairs found by their values, and single clicks.
void clicks(frmLotaro& board)
{
    deal(board, 0);
    const QStringList values = board.gameState().cardValue;
    std::vector<double> times;
    double sum = 0;
    for (int pair = 1; pair <= 40; ++pair) {
        const int a = int(values.indexOf(QString::number(pair)));
        const int b = int(values.indexOf(QString::number(pair), a + 1));
        for (int k : {a, b}) {
            auto* card =
                board.findChild<CardPicture*>(QStringLiteral("imgLotaro_") + QString::number(k));
            QElapsedTimer t;
            t.start();
            click(card);
            QApplication::processEvents(); // the repaint
            const double ms = t.nsecsElapsed() / 1e6;
            if (pair < 40 || k == a)
                times.push_back(ms);
            sum += ms;
        }
    }
    Figures::of(times).print("card click (handler + repaint)");
    std::printf("%-34s %7.2f ms (80 clicks, the last one deals the next game)\n",
                "whole 10 x 8 game, clicks in all", sum);
}

// The first deal of each set in this process: the built-in set's (at start-up), then the own
// set's, each with the peak memory after it. The own set must be complete, or the dialog would
// not take it.
void ownSet(frmLotaro& board, double builtInMs)
{
    const double builtInRss = peakRssMb();
    wantedFace = 5;
    const double ownMs = deal(board, 0);
    wantedFace = -1;
    if (board.settings().faceSet != u"5") {
        std::fprintf(stderr, "bench_board: the own set was not dealt\n");
        std::exit(1);
    }
    std::printf("first 10 x 8 deal, built-in / own set: %.1f %.1f ms, peak rss %.1f %.1f MB\n",
                builtInMs, ownMs, builtInRss, peakRssMb());
}
} // namespace

int main(int argc, char** argv)
{
    QStringList parts;
    QString screen = QStringLiteral("1024x768");
    int rounds = 15;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(u"--screen="))
            screen = arg.mid(9);
        else if (arg.startsWith(u"--rounds="))
            rounds = std::max(1, arg.mid(9).toInt());
        else
            parts << arg;
    }
    if (parts.isEmpty())
        parts = {QStringLiteral("deals"), QStringLiteral("session"), QStringLiteral("clicks")};
    QTemporaryDir temp;
    chooseScreen(screen, temp);
    QApplication app(argc, argv);
    AssetCatalogue::ensureRegistered();
    WindowLook::installLook();
    AssetStore assets(temp.path());
    Store store;
    SystemClock clock;
    MersenneRandom random(3);
    Silence sound;
    store.write(SettingsKeys::section, SettingsKeys::flip, QStringLiteral("3"));
    frmLotaro board(Services{store, random, clock, assets, sound});
    answerModals();
    const bool own = parts.contains(u"own");
    wantedFace = own ? 1 : -1;
    board.load(); // shows the dialog and deals
    QApplication::processEvents();
    const double firstDealMs = okPressed.nsecsElapsed() / 1e6;
    for (const QString& part : parts) {
        if (part == u"deals")
            deals(board, {0, 1, 2}, rounds);
        else if (part == u"deal")
            deals(board, {0}, rounds);
        else if (part == u"session")
            session(board, rounds < 15 ? 20 : 200);
        else if (part == u"clicks")
            clicks(board);
        else if (part == u"own")
            ownSet(board, firstDealMs);
        else {
            std::fprintf(stderr, "bench_board: unknown part %s\n", qPrintable(part));
            return 2;
        }
    }
    assets.RemoveAssetTree();
    return 0;
}
