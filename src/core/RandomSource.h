#pragma once

#include <cstdint>
#include <optional>
#include <random>

// Uniform random numbers for the shuffle. A real run seeds from the clock before every deal; a
// test fixes the seed so that a deal can be repeated exactly.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedForDeal() = 0;
    // Uniform in [0, 1), single precision.
    virtual float uniform() = 0;
};

class MersenneRandom final : public RandomSource {
public:
    // Without a seed every deal takes a fresh one from the clock.
    explicit MersenneRandom(std::optional<std::uint32_t> fixedSeed = std::nullopt);
    void seedForDeal() override;
    float uniform() override;

private:
    std::optional<std::uint32_t> m_fixedSeed;
    std::mt19937 m_engine;
};
