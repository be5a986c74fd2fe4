#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One video-capture device as V4L2 describes it.
struct CameraMode {
    uint64_t max_pixels = 0; // largest frame size offered, width × height
    enum class Facing { Front, Back, External, Unknown } facing = Facing::Unknown;
};

class V4l2Camera {
public:
    // Opens the device node and asks for its capture capability, its largest
    // frame size over all formats and its orientation control. nullopt for
    // nodes that do not capture video (metadata nodes, encoders) or cannot be opened.
    static std::optional<CameraMode> query(const std::string& deviceNode);
};
