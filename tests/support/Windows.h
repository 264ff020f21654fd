#pragma once

#include "MemoryStore.h"

#include "core/AssetStore.h"
#include "core/Clock.h"
#include "core/RandomSource.h"
#include "core/SoundPlayer.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "ui/FramedDialog.h"
#include "windows/frmLotaro.h"

#include <QStyleHints>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

template <class T = QWidget> T* child(const QWidget* in, const QString& name)
{
    return in->findChild<T*>(name);
}

inline void clickOn(const QWidget* in, const QString& name)
{
    QTest::mouseClick(child(in, name), Qt::LeftButton);
}

// Arms a handler for the next modal window (of that name, if given). The window is closed
// afterwards whatever happened, so a failed check never leaves exec() waiting; handlers poll
// from timers, so that several can be armed at once.
inline void onNextModal(std::function<void(QWidget*)> act, const QString& name = QString())
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        QWidget* modal = FramedDialog::topmost();
        const bool found =
            modal && modal->isVisible() && (name.isEmpty() || modal->objectName() == name);
        if (!found && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        const auto guard = qScopeGuard([&] {
            if (found && modal->isVisible())
                modal->close();
        });
        if (!found)
            QTest::qFail("no modal window opened", __FILE__, __LINE__);
        else
            act(modal);
    });
    poll->start();
}

// Answers the next modal window of that name with its "OK", after adjusting it if asked.
inline void answerOK(const QString& name, std::function<void(QWidget*)> adjust = {})
{
    onNextModal(
        [adjust = std::move(adjust)](QWidget* window) {
            if (adjust)
                adjust(window);
            clickOn(window, u"lblOK"_s);
        },
        name);
}

// Moves the mouse over a widget through the application, so the event climbs as a real one
// does; QTest::mouseMove on the offscreen platform only reports entering a window.
inline void hoverOver(QWidget* widget, QPoint at = QPoint(3, 3))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

inline void checkNoWindowOpen()
{
    for (QWidget* w : QApplication::allWidgets())
        if (w->isWindow() || dynamic_cast<FramedDialog*>(w))
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName() + u" left open"_s));
}

// A scenario runs at 1024 x 768 device pixels only, unless the row it runs was made by
// everyScreen in its data function: the choice stays with the rows when a test is renamed.
inline QSet<QByteArray> rowsOnEveryScreen;
inline QTestData& everyScreen(const char* tag)
{
    rowsOnEveryScreen.insert(QByteArray(QTest::currentTestFunction()) + '/' + tag);
    return QTest::newRow(tag);
}
inline bool skipOffMainScreen()
{
    const QByteArray row = QByteArray(QTest::currentTestFunction()) + '/' + QTest::currentDataTag();
    return !rowsOnEveryScreen.contains(row) &&
           QGuiApplication::primaryScreen()->size() * qApp->devicePixelRatio() != QSize(1024, 768);
}

// Checks a running timer's interval once, then runs it at a few milliseconds: a test waits on
// what the timer does, never on the game's clock.
inline void runFast(QTimer* timer, int interval)
{
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), interval);
    timer->setInterval(2);
}

// A result window's half-second blinking, run fast: check(ticks) before the first tick and after
// each of four, each wait ending on the tick it counts.
inline QTimer* blinkTimer(const QWidget* window)
{
    return child<QTimer>(window, u"Timer1"_s);
}
inline void eachBlink(QWidget* window, const std::function<void(qsizetype)>& check)
{
    QSignalSpy ticks(blinkTimer(window), &QTimer::timeout);
    runFast(blinkTimer(window), 500);
    check(0);
    for (int tick = 1; tick <= 4 && !QTest::currentTestFailed(); ++tick) {
        QVERIFY2(ticks.wait(1000), "the window blinks on");
        check(ticks.count());
    }
}

[[nodiscard]] inline auto darkDesktop() // for as long as the guard lives
{
    const QPalette light = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24)));
    return qScopeGuard([light] { QApplication::setPalette(light); });
}

// A clock that stands still until the test moves it.
struct FakeClock final : Clock {
    QTime currentTime() const override { return time; }
    QDate currentDate() const override { return date; }
    QTime time{10, 0, 0};
    QDate date{2026, 12, 6};
};

// Remembers every sound that was asked for instead of playing it.
struct RecordingSound final : SoundPlayer {
    // The game asks for every sound without waiting for it and without a loop.
    void PlaySoundFile(const QString& name, bool async, bool loop) override
    {
        requests.append(async && !loop ? name : name + u" (waits or loops)");
    }
    void prepare() override { ++prepared; }
    QStringList requests;
    int prepared = 0;
};

// A board window's services, all fakes but the asset store, which unpacks into a directory of
// the test's own.
struct GameHarness {
    std::unique_ptr<QTemporaryDir> temp;
    std::unique_ptr<AssetStore> assets;
    MemoryStore store;
    RecordingSound sound;
    std::unique_ptr<MersenneRandom> random;
    FakeClock clock;
    std::unique_ptr<frmLotaro> board;

    void reset(std::uint32_t seed, const QString& ownSet = QString())
    {
        temp = std::make_unique<QTemporaryDir>();
        assets = std::make_unique<AssetStore>(temp->path(), ownSet);
        store = MemoryStore();
        sound = RecordingSound();
        random = std::make_unique<MersenneRandom>(seed);
        clock = FakeClock();
        // Tests click the board at once after a dialog: no double-click may be ignored.
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    }
    Services services() { return {store, *random, clock, *assets, sound}; }
    void choose(const QString& key, const QString& value)
    {
        store.write(SettingsKeys::section, key, value);
    }

    // Starts the board and, unless the test does, answers its new-game dialog.
    void start(bool answer = true)
    {
        board = std::make_unique<frmLotaro>(services());
        if (answer)
            answerOK(u"frmNováHra"_s);
        board->load();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
    }

    template <class T = QWidget> T* find(const QString& name, int k = -1) const
    {
        return child<T>(board.get(), k < 0 ? name : name + QString::number(k));
    }
    ActionLabel* menu(int k) const { return find<ActionLabel>(u"lblNabídka_"_s, k); }
    CardPicture* card(int k) const { return find<CardPicture>(u"imgLotaro_"_s, k); }
    QList<CardPicture*> cards() const
    {
        QList<CardPicture*> found;
        while (auto* card = this->card(int(found.size())))
            found.append(card);
        return found;
    }
    int requests(GameSound s) const { return int(sound.requests.count(assets->soundPath(s))); }
};
