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

    void reset(std::uint32_t seed)
    {
        temp = std::make_unique<QTemporaryDir>();
        assets = std::make_unique<AssetStore>(temp->path());
        store = MemoryStore();
        sound = RecordingSound();
        random = std::make_unique<MersenneRandom>(seed);
        clock = FakeClock();
    }

    // Starts the board and answers its first new-game dialog with the stored choice.
    void start()
    {
        board = std::make_unique<frmLotaro>(Services{store, *random, clock, *assets, sound});
        answerNewGame();
        board->load();
    }

    void finish()
    {
        board.reset();
        assets->RemoveAssetTree();
    }
};
