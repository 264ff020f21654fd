#pragma once

#include "MemoryStore.h"

#include "core/AssetStore.h"
#include "core/Clock.h"
#include "core/RandomSource.h"
#include "core/Services.h"
#include "core/SoundPlayer.h"
#include "ui/ActionLabel.h"
#include "windows/frmLotaro.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Arms a handler for the next modal window (of that name, if given) before the code that opens
// it runs. Afterwards the window is closed whatever happened, so that a failed check inside the
// handler can never leave exec() waiting. The handler polls from a timer rather than waiting in
// a loop of its own, so that several handlers can be armed at once.
inline void onNextModal(std::function<void(QWidget*)> act, const QString& name = QString())
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        QWidget* modal = QApplication::activeModalWidget();
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
            QTest::mouseClick(window->findChild<ActionLabel*>(QStringLiteral("lblOK")),
                              Qt::LeftButton);
        },
        name);
}

inline void answerNewGame(std::function<void(QWidget*)> adjust = {})
{
    answerOK(QStringLiteral("frmNováHra"), std::move(adjust));
}

// Clicks the caption of an option, as a player would choose it.
inline void chooseCaption(QWidget* dialog, const QString& name)
{
    QTest::mouseClick(dialog->findChild<ActionLabel*>(name), Qt::LeftButton);
}

// Moves the mouse over a widget without a button pressed. The event goes through the
// application, so it climbs to the first ancestor that tracks the mouse, as a real move does;
// QTest::mouseMove on the offscreen platform only reports the pointer entering a window.
inline void hoverOver(QWidget* widget, QPoint at = QPoint(3, 3))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Scenarios whose outcome does not depend on the screen run on one size only.
inline bool skipOffMainScreen(std::initializer_list<const char*> sizeDependent)
{
    for (const char* name : sizeDependent)
        if (qstrcmp(QTest::currentTestFunction(), name) == 0)
            return false;
    return QGuiApplication::primaryScreen()->size() != QSize(1024, 768);
}

// A clock that stands still until the test moves it.
struct FakeClock final : Clock {
    QTime currentTime() const override { return time; }
    QDate currentDate() const override { return date; }
    void advance(int seconds) { time = time.addSecs(seconds); }
    QTime time{10, 0, 0};
    QDate date{2026, 12, 6};
};

// Remembers every sound that was asked for instead of playing it.
struct RecordingSound final : SoundPlayer {
    void PlaySoundFile(const QString& name, bool async, bool loop) override
    {
        requests.append(name);
        withOptions += !async || loop;
    }
    QStringList requests;
    int withOptions = 0;
};

// A board window with everything it needs, all fakes but the asset store, which unpacks into
// a directory of the test's own.
struct GameHarness {
    std::unique_ptr<QTemporaryDir> temp;
    std::unique_ptr<AssetStore> assets;
    MemoryStore store;
    RecordingSound sound;
    std::unique_ptr<MersenneRandom> random;
    FakeClock clock;
    std::unique_ptr<frmLotaro> board;

    // ownSet: where the own picture set is read from.
    void reset(std::uint32_t seed, const QString& ownSet = QString())
    {
        temp = std::make_unique<QTemporaryDir>();
        assets = std::make_unique<AssetStore>(temp->path(), ownSet);
        store = MemoryStore();
        sound = RecordingSound();
        random = std::make_unique<MersenneRandom>(seed);
        clock = FakeClock();
    }

    // Starts the board and answers its first new-game dialog with the stored choice, unless
    // the test answers it itself.
    void start(bool answer = true)
    {
        board = std::make_unique<frmLotaro>(Services{store, *random, clock, *assets, sound});
        if (answer)
            answerNewGame();
        board->load();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
    }

    void finish()
    {
        board.reset();
        assets->RemoveAssetTree();
    }
};
