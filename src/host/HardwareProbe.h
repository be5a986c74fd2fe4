#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What a look at the hardware found, in the device-fact vocabulary of the
// Details page. A field is nullopt when its source could not be read; then
// the caller keeps its own default.
struct HardwareFacts {
    std::optional<std::string> device, display_resolution, display_ppi;
    std::optional<std::string> battery_voltage, battery_capacity;
    std::optional<std::string> processor, gpu;
    std::optional<std::string> front_camera_resolution, rear_camera_resolution;
    std::optional<uint32_t> coreNumber;
    std::optional<bool> front_camera, rear_camera, microphone, phone, gyroscope, magnetometer;
    std::optional<bool> proximity, has3g, gps, bluetooth, wifi, accelerometer, touchscreen;
    std::optional<bool> speaker, ambient_light;
};

class HardwareProbe {
public:
    virtual ~HardwareProbe() = default;
    virtual HardwareFacts probe() = 0;

    // "2 MP", "0.3 MP", "1.2 MP": megapixels to one decimal, no ".0".
    static std::string megapixelText(uint64_t pixels);
};
