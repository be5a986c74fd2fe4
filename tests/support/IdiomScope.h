#pragma once

#include "ui/Device.h"

namespace testsupport {

// Sets the screen class for one test and puts the previous one back.
class IdiomScope {
public:
    explicit IdiomScope(ui::UserInterfaceIdiom idiom) : m_saved(ui::Device::userInterfaceIdiom())
    {
        ui::Device::setUserInterfaceIdiom(idiom);
    }
    ~IdiomScope() { ui::Device::setUserInterfaceIdiom(m_saved); }
    IdiomScope(const IdiomScope&) = delete;
    IdiomScope& operator=(const IdiomScope&) = delete;

private:
    ui::UserInterfaceIdiom m_saved;
};

} // namespace testsupport
