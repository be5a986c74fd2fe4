#pragma once

class Battery;
class CarrierService;
class DeviceIdentity;
class HardwareProbe;
class IdleInhibitor;
class KernelFacts;
class Mailer;
class MediaLibrary;
class Modem;
class ModemManagerClient;
class Reachability;

// The real host services of this machine, one shared object each, created on
// first use (thread-safe) and kept until exit. Collectors take these unless a
// test hands them fakes. Battery and IdleInhibitor use Qt timers and D-Bus:
// first ask for them on the main thread. The D-Bus services never block: they
// answer from a cache that asynchronous calls fill.
class HostServices {
public:
    static KernelFacts& kernel();
    static DeviceIdentity& identity();
    static HardwareProbe& hardware();
    // The modem and the carrier are one ModemManager client.
    static Modem& modem();
    static CarrierService& carrier();
    static ModemManagerClient& modemManager();
    static Battery& battery();
    static IdleInhibitor& idleInhibitor();
    // NetworkManager's connectivity, else a default route.
    static Reachability& reachability();
    // The desktop's mail program, shared by the Details report and About.
    static Mailer& mailer();
    // Counts on a worker only; its cache lives in the XDG cache folder.
    static MediaLibrary& mediaLibrary();
};
