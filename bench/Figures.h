#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

// Median, min and max of a series of timings, printed as one line of the benchmark table.
struct Figures {
    double median, min, max;

    static Figures of(std::vector<double> v)
    {
        std::sort(v.begin(), v.end());
        return {v[v.size() / 2], v.front(), v.back()};
    }

    void print(const char* what) const
    {
        std::printf("%-34s median %7.3f ms   min %7.3f   max %7.3f\n", what, median, min, max);
    }
};
