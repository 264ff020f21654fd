#pragma once

class AssetStore;
class Clock;
class RandomSource;
class SettingsStore;
class SoundPlayer;

// The seams through which the windows reach the outside world. A real run wires the real
// ones in main; a test hands in its own.
struct Services {
    SettingsStore& store;
    RandomSource& random;
    const Clock& clock;
    AssetStore& assets;
    SoundPlayer& sound;
};
