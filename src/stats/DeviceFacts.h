#pragma once

#include <QString>

#include <cstdint>

// The per-model hardware facts of the Details page, at their defaults for a
// machine that no table row knows. Battery-life values are seconds of rated
// use; 0 means the model has no such activity or is unknown.
struct DeviceFacts {
    QString device = "N/A";
    QString display_resolution = "N/A";
    QString display_ppi = "N/A";
    QString battery_voltage = "3.7 V";
    QString battery_capacity = "N/A";
    QString processor = "N/A";
    QString gpu = "N/A";
    QString front_camera_resolution = "No";
    QString rear_camera_resolution = "No";
    uint32_t coreNumber = 1;

    bool front_camera = false, rear_camera = false, microphone = false, phone = false;
    bool gyroscope = false, magnetometer = false, proximity = false, has3g = false;
    bool gps = false, simulator = false;
    bool bluetooth = true, wifi = true, accelerometer = true, touchscreen = true;
    bool speaker = true, ambient_light = true;

    double battery_life_audio = 0, battery_life_video = 0, battery_life_talk = 0;
    double battery_life_browsing_3g = 0, battery_life_browsing_wifi = 0;
    double battery_life_standby = 0;
};
