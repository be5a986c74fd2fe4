#include "ui/Device.h"

#include <atomic>

namespace ui {

namespace {
std::atomic<UserInterfaceIdiom> g_idiom{UserInterfaceIdiom::Phone};
}

UserInterfaceIdiom Device::userInterfaceIdiom()
{
    return g_idiom.load();
}

void Device::setUserInterfaceIdiom(UserInterfaceIdiom idiom)
{
    g_idiom.store(idiom);
}

} // namespace ui
