#include "stats/DeviceTable.h"

#include <array>

namespace {

enum Flag : unsigned {
    FrontCamera = 1 << 0,
    RearCamera = 1 << 1,
    Microphone = 1 << 2,
    Proximity = 1 << 3,
    Has3g = 1 << 4,
    Gps = 1 << 5,
    Phone = 1 << 6,
    Magnetometer = 1 << 7,
    Gyroscope = 1 << 8,
    Simulator = 1 << 9,
    Bluetooth = 1 << 10,
    Speaker = 1 << 11,
};

struct Row {
    const char* test;
    bool prefix;
    const char* device;
    const char* resolution;
    const char* ppi;
    const char* capacity;
    const char* processor;
    const char* gpu;
    const char* front;
    const char* rear;
    uint32_t cores;
    unsigned yes;
    unsigned no;
    // audio, video, talk, 3G browsing, Wi-Fi browsing, standby; in hours
    std::array<int, 6> hours;
};

constexpr unsigned kIphone4Flags = FrontCamera | RearCamera | Microphone | Gyroscope |
                                   Magnetometer | Proximity | Has3g | Gps | Phone;
constexpr unsigned kIpod4Flags = FrontCamera | RearCamera | Microphone | Gyroscope;

// clang-format off
constexpr Row kRows[] = {
    {"iPhone1,1", false, "iPhone 2G", "480 x 320", "163 ppi", "1400 mAh", "ARM11", "PowerVR MBX Lite 3D", "No", "2 MP", 1,
     RearCamera | Microphone | Proximity | Has3g | Phone, 0, {24, 7, 8, 6, 6, 250}},
    {"iPhone1,2", false, "iPhone 3G", "480 x 320", "163 ppi", "1150 mAh", "ARM11", "PowerVR MBX Lite 3D", "No", "2 MP", 1,
     RearCamera | Microphone | Proximity | Has3g | Gps | Phone, 0, {24, 7, 5, 5, 6, 300}},
    {"iPhone2", true, "iPhone 3GS", "480 x 320", "163 ppi", "1219 mAh", "ARM Cortex-A8", "PowerVR SGX535", "No", "3 MP", 1,
     RearCamera | Microphone | Magnetometer | Proximity | Has3g | Gps | Phone, 0, {30, 10, 5, 5, 9, 300}},
    {"iPhone3", true, "iPhone 4", "960 x 640", "326 ppi", "1420 mAh", "ARM Cortex-A8 Apple A4", "PowerVR SGX535", "0.3 MP", "5 MP", 1,
     kIphone4Flags, 0, {40, 10, 7, 6, 10, 300}},
    {"iPhone4", true, "iPhone 5", "960 x 640", "326 ppi", "1420 mAh", "ARM Cortex-A9 Apple A5", "PowerVR SGX543MP2", "0.3 MP", "5 MP", 2,
     kIphone4Flags, 0, {40, 10, 7, 6, 10, 300}},
    {"iPod1", true, "iPod Touch 1G", "480 x 320", "163 ppi", "900 mAh", "ARM11", "PowerVR MBX Lite 3D", "No", "No", 1,
     0, Bluetooth | Speaker, {22, 5, 0, 0, 5, 200}},
    {"iPod2", true, "iPod Touch 2G", "480 x 320", "163 ppi", "789 mAh", "ARM11", "PowerVR MBX Lite 3D", "No", "No", 1,
     0, 0, {36, 6, 0, 0, 6, 300}},
    {"iPod3", true, "iPod Touch 3G", "480 x 320", "163 ppi", "789 mAh", "ARM Cortex-A8", "PowerVR SGX535", "No", "No", 1,
     0, 0, {30, 6, 0, 0, 9, 300}},
    {"iPod4", true, "iPod Touch 4G", "960 x 640", "326 ppi", "930 mAh", "ARM Cortex-A8 Apple A4", "PowerVR SGX535", "0.3 MP", "0.7 MP", 1,
     kIpod4Flags, 0, {40, 7, 0, 0, 9, 300}},
    {"iPod5", true, "iPod Touch 5G", "960 x 640", "326 ppi", "930 mAh", "ARM Cortex-A9 Apple A5", "PowerVR SGX543MP2", "0.3 MP", "0.7 MP", 2,
     kIpod4Flags, 0, {40, 7, 0, 0, 9, 300}},
    {"iPad1", true, "iPad 1G", "1024 x 768", "132 ppi", "6750 mAh", "ARM Cortex-A8 Apple A4", "PowerVR SGX535", "No", "No", 1,
     Microphone | Magnetometer, 0, {140, 10, 0, 0, 10, 720}},
    {"iPad2", true, "iPad 2G", "1024 x 768", "132 ppi", "6750 mAh", "ARM Cortex-A9 Apple A5", "PowerVR SGX543MP2", "0.3 MP", "0.7 MP", 2,
     FrontCamera | RearCamera | Microphone | Gyroscope | Magnetometer, 0, {140, 10, 0, 0, 10, 720}},
    // The development simulator poses as an iPod Touch 4G.
    {"i386", false, "iPod Touch 4G", "960 x 640", "326 ppi", "930 mAh", "ARM Cortex-A8 Apple A4", "PowerVR SGX535", "0.3 MP", "0.7 MP", 1,
     Simulator | kIpod4Flags, 0, {40, 7, 0, 0, 9, 300}},
};
// clang-format on

bool matches(const Row& row, const QString& machine)
{
    return row.prefix ? machine.startsWith(QLatin1String(row.test))
                      : machine == QLatin1String(row.test);
}

void setFlags(DeviceFacts& f, unsigned mask, bool value)
{
    const std::pair<Flag, bool*> flags[] = {
        {FrontCamera, &f.front_camera},
        {RearCamera, &f.rear_camera},
        {Microphone, &f.microphone},
        {Proximity, &f.proximity},
        {Has3g, &f.has3g},
        {Gps, &f.gps},
        {Phone, &f.phone},
        {Magnetometer, &f.magnetometer},
        {Gyroscope, &f.gyroscope},
        {Simulator, &f.simulator},
        {Bluetooth, &f.bluetooth},
        {Speaker, &f.speaker},
    };
    for (const auto& [flag, field] : flags)
        if (mask & flag)
            *field = value;
}

} // namespace

int DeviceTable::apply(const QString& machine, DeviceFacts& f)
{
    int number = 0;
    for (const Row& row : kRows) {
        ++number;
        if (!matches(row, machine))
            continue;
        f.device = row.device;
        f.display_resolution = row.resolution;
        f.display_ppi = row.ppi;
        f.battery_capacity = row.capacity;
        f.processor = row.processor;
        f.gpu = row.gpu;
        f.front_camera_resolution = row.front;
        f.rear_camera_resolution = row.rear;
        f.coreNumber = row.cores;
        setFlags(f, row.yes, true);
        setFlags(f, row.no, false);
        constexpr double kHour = 3600;
        f.battery_life_audio = row.hours[0] * kHour;
        f.battery_life_video = row.hours[1] * kHour;
        f.battery_life_talk = row.hours[2] * kHour;
        f.battery_life_browsing_3g = row.hours[3] * kHour;
        f.battery_life_browsing_wifi = row.hours[4] * kHour;
        f.battery_life_standby = row.hours[5] * kHour;
        return number;
    }
    return 0;
}
