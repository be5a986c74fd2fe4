#pragma once

class Battery;
class DeviceIdentity;
class HardwareProbe;
class IdleInhibitor;
class KernelFacts;
class Modem;

// The real host services of this machine, one shared object each, created on
// first use (thread-safe) and kept until exit. Collectors take these unless a
// test hands them fakes. Battery and IdleInhibitor use Qt timers and D-Bus:
// first ask for them on the main thread.
class HostServices {
public:
    static KernelFacts& kernel();
    static DeviceIdentity& identity();
    static HardwareProbe& hardware();
    static Modem& modem();
    static Battery& battery();
    static IdleInhibitor& idleInhibitor();
};
