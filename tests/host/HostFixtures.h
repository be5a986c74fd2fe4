#pragma once

#include "support/TestSupport.h"

#include <string>

// The root of a captured machine: its files at their real paths below it.
inline std::string machineRoot(const char* name)
{
    return testsupport::fixture(std::string("machines/") + name);
}
