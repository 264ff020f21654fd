#include "RandomSource.h"

#include <chrono>

MersenneRandom::MersenneRandom(std::optional<std::uint32_t> fixedSeed) : m_fixedSeed(fixedSeed)
{
    seedForDeal();
}

void MersenneRandom::seedForDeal()
{
    if (m_fixedSeed) {
        m_engine.seed(*m_fixedSeed);
        return;
    }
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

float MersenneRandom::uniform()
{
    // The top 24 bits make an exact float in [0, 1); the standard distributions are not
    // guaranteed to draw the same sequence on every library, this is.
    return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f);
}
