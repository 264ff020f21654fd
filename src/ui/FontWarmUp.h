#pragma once

#include <thread>

// Reads fontconfig's configuration and font list on a worker thread. The first font the toolkit
// loads needs them, and reading them is the longest single step before the first window; begun
// before the application object is made, it runs while the toolkit connects to the display.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Waits for the worker. Fonts may be used without it (fontconfig loads once either way),
    // but waiting keeps the two threads from both reading the configuration.
    void finish();

private:
    std::thread m_thread;
};
