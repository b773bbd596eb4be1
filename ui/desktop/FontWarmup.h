#pragma once

#include <thread>

namespace tilava {

// Starts the system's font set-up on a thread of its own while the program connects to the
// window system, so the widget's first text does not wait for it. The thread is joined when
// the object goes. On systems whose font set-up is quick (Windows) it does nothing.
class FontWarmup {
public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

private:
    std::thread thread_;
};

} // namespace tilava
