#pragma once

#include "core/RandomSource.h"

#include <vector>

// Hands out the given numbers in order and starts over at every deal.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values) : m_values(std::move(values)) {}
    void seedForDeal() override
    {
        m_next = 0;
        ++seeds;
    }
    float uniform() override { return m_values.at(m_next++); }

    int seeds = 0;

private:
    std::vector<float> m_values;
    size_t m_next = 0;
};
