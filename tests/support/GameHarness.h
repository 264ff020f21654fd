#pragma once

#include "FakeClock.h"
#include "MemoryStore.h"
#include "NewGame.h"
#include "RecordingSound.h"

#include "core/AssetStore.h"
#include "core/RandomSource.h"
#include "core/Services.h"
#include "windows/frmLotaro.h"

#include <QTemporaryDir>

#include <memory>

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
