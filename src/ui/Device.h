#pragma once

namespace ui {

// The screen class, decided once at start (see Device::setUserInterfaceIdiom).
enum class UserInterfaceIdiom { Phone = 0, Pad = 1 };

// What the screens ask of "the current device": its interface idiom. Large
// screens (desktops, tablets) are the pad idiom, everything else the phone's.
class Device {
public:
    static UserInterfaceIdiom userInterfaceIdiom();
    static void setUserInterfaceIdiom(UserInterfaceIdiom idiom);
    static bool isPad() { return userInterfaceIdiom() == UserInterfaceIdiom::Pad; }
};

} // namespace ui
