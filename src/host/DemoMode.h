#pragma once

// Demonstration mode: the host reports the machine identifier "i386", which
// the collectors take as the development simulator and answer with fixed
// values. Only the --demo command-line option turns it on.
class DemoMode {
public:
    static void setEnabled(bool enabled);
    static bool enabled();

    // The machine identifier reported while demo mode is on.
    static constexpr const char* kMachine = "i386";
};
