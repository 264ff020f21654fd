// Times the deal of each board and the handling of card clicks on the board window, offscreen
// on a 1024 x 768 screen, with the game's own libraries; last, the deal of an own picture set
// of photos as large as a camera's.
#include "core/AssetCatalogue.h"
#include "core/AssetStore.h"
#include "core/Clock.h"
#include "core/GameSettings.h"
#include "core/RandomSource.h"
#include "core/Services.h"
#include "core/SettingsStore.h"
#include "core/SoundPlayer.h"
#include "ui/CardPicture.h"
#include "ui/WindowLook.h"
#include "windows/frmLotaro.h"

#include "Figures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

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
// window with its "OK".
QElapsedTimer okPressed;
int wantedBoard = 0;
int wantedFace = 1;
void answerModals()
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (modal->objectName() == u"frmNováHra")
            QMetaObject::invokeMethod(modal->findChild<QObject*>(QStringLiteral("lblPočetKaret_") +
                                                                 QString::number(wantedBoard)),
                                      "clicked");
        if (modal->objectName() == u"frmNováHra")
            QMetaObject::invokeMethod(
                modal->findChild<QObject*>(QStringLiteral("lblLíc_") + QString::number(wantedFace)),
                "clicked");
        okPressed.start();
        QMetaObject::invokeMethod(modal->findChild<QObject*>(QStringLiteral("lblOK")), "clicked");
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

// Forty own pictures of 3900 x 3900 (about 60 KB each), as a player might copy them from a
// camera without shrinking them. Drawn in a child process, so that the pictures' own memory
// stays out of this one's peak.
void writeLargeOwnSet(const QString& directory)
{
    const pid_t child = fork();
    if (child == 0) {
        for (int n = 1; n <= 40; ++n) {
            QImage photo(3900, 3900, QImage::Format_RGB32);
            photo.fill(QColor::fromHsv(n * 9, 160, 220));
            QPainter painter(&photo);
            painter.setBrush(QColor::fromHsv(n * 9 + 180, 200, 120));
            painter.drawEllipse(QRect(1500, 1500, 900, 900));
            painter.end();
            QImageWriter writer(directory + u'/' + QString::number(n) + QStringLiteral(".jpg"),
                                "jpeg");
            writer.setQuality(75);
            writer.setOptimizedWrite(true);
            writer.write(photo);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir own;
    writeLargeOwnSet(own.path());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AssetCatalogue::ensureRegistered();
    WindowLook::installLook();
    QTemporaryDir temp;
    AssetStore assets(temp.path(), own.path());
    Store store;
    SystemClock clock;
    MersenneRandom random(3);
    Silence sound;
    store.write(SettingsKeys::section, SettingsKeys::flip, QStringLiteral("3"));
    frmLotaro board(Services{store, random, clock, assets, sound});
    answerModals();
    board.load();
    QApplication::processEvents();

    for (int size : {0, 1, 2}) {
        std::vector<double> deals;
        for (int i = 0; i < 15; ++i) {
            wantedBoard = size;
            board.menuAction(0); // removes the board, asks the dialog, deals anew
            QApplication::processEvents();
            deals.push_back(okPressed.nsecsElapsed() / 1e6);
        }
        static const char* names[] = {"deal 10 x 8 (OK to board painted)",
                                      "deal 8 x 6 (OK to board painted)",
                                      "deal 6 x 5 (OK to board painted)"};
        Figures::of(deals).print(names[size]);
    }

    // A long session: nothing may pile up from one deal to the next.
    wantedBoard = 0;
    board.menuAction(0);
    QApplication::processEvents();
    const double afterOne = peakRssMb();
    for (int i = 1; i < 200; ++i) {
        board.menuAction(0);
        QApplication::processEvents();
    }
    const double afterMany = peakRssMb();
    std::printf("peak rss after 1 / 200 deals of 10 x 8: %.1f %.1f MB\n", afterOne, afterMany);

    // A whole 10 x 8 game in "Celý tah", pairs found by their values, and single clicks.
    wantedBoard = 0;
    board.menuAction(0);
    QApplication::processEvents();
    const QStringList values = board.gameState().cardValue;
    std::vector<double> clicks;
    QElapsedTimer total;
    total.start();
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
                clicks.push_back(ms);
            sum += ms;
        }
    }
    Figures::of(clicks).print("card click (handler + repaint)");
    std::printf("%-34s %7.2f ms (80 clicks, the last one deals the next game)\n",
                "whole 10 x 8 game, clicks in all", sum);

    // The own set of camera-sized photos: each is decoded at the card's size.
    const double builtIn = peakRssMb();
    wantedBoard = 0;
    wantedFace = 5;
    std::vector<double> ownDeals;
    for (int i = 0; i < 7; ++i) {
        board.menuAction(0);
        QApplication::processEvents();
        ownDeals.push_back(okPressed.nsecsElapsed() / 1e6);
    }
    Figures::of(ownDeals).print("own 3900-px photos: deal 10 x 8");
    const QFileInfo first(own.filePath(QStringLiteral("1.jpg")));
    std::printf("own 3900-px photos: peak rss above built-in deals: %.1f MB (set %s, %lld KB "
                "a photo)\n",
                peakRssMb() - builtIn, qPrintable(board.settings().faceSet), first.size() / 1024);
    assets.RemoveAssetTree();
    return 0;
}
