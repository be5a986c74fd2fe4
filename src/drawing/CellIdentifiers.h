#pragma once

// Reuse identifiers under which the screens recycle their cells. The class
// and style created for each are noted beside it (Default = one left label,
// Value1 = left label and right-aligned detail).
namespace cellid {

inline constexpr const char* kCellNormal = "CellNormal";             // CustomCell, Value1
inline constexpr const char* kCellDetails = "CellDetails";           // CustomCell, Default; About:
                                                                     // CustomDetailCell, Value1
inline constexpr const char* kCellTwoline = "CellTwoline";           // CustomCell, Value1
inline constexpr const char* kCellOnOffGraph = "CellOnOffGraph";     // CustomCell, Value1, lamp
inline constexpr const char* kCellSlider = "CellSlider";             // CustomCell, Value1
inline constexpr const char* kCellSwitch = "CellSwitch";             // CustomDetailCell, Value1
inline constexpr const char* kCellBatteryGraph = "CellBatteryGraph"; // CustomCell, Default
inline constexpr const char* kCellDiskGraph = "CellDiskGraph";       // CustomCell, Default
inline constexpr const char* kCellCPUGraph = "CellCPUGraph";         // CustomCell, Default
inline constexpr const char* kCellExternalIp = "CellExternalIp";     // CustomCell, Value1
inline constexpr const char* kMemoryCellNormal = "MemoryCellNormal"; // CustomCell, Value1
inline constexpr const char* kMemoryCellMemoryGraph =
    "MemoryCellMemoryGraph";                                 // CustomCell, Default
inline constexpr const char* kYoutubeCell = "YoutubeCell";   // CustomCell, Value1
inline constexpr const char* kFacebookCell = "FacebookCell"; // CustomCell, Value1
inline constexpr const char* kRatingCell = "RatingCell";     // CustomCell, Value1
// Page list on large screens: a plain TableViewCell, Default.
inline constexpr const char* kRootViewControllerCellIdentifier = "RootViewControllerCellIdentifier";
// Process, route and connection cells; on the system log a plain
// TableViewCell, Default.
inline constexpr const char* kCell = "Cell";

} // namespace cellid
