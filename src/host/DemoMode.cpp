#include "host/DemoMode.h"

#include <atomic>

namespace {
std::atomic<bool> g_demo{false};
}

void DemoMode::setEnabled(bool enabled)
{
    g_demo.store(enabled);
}

bool DemoMode::enabled()
{
    return g_demo.load();
}
