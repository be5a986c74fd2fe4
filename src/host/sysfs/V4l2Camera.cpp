#include "host/sysfs/V4l2Camera.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

int xioctl(int fd, unsigned long request, void* arg)
{
    int r;
    do {
        r = ::ioctl(fd, request, arg);
    } while (r < 0 && errno == EINTR);
    return r;
}

uint64_t largestFrame(int fd)
{
    uint64_t best = 0;
    v4l2_fmtdesc fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (fmt.index = 0; xioctl(fd, VIDIOC_ENUM_FMT, &fmt) == 0 && fmt.index < 64; ++fmt.index) {
        v4l2_frmsizeenum size{};
        size.pixel_format = fmt.pixelformat;
        for (size.index = 0; xioctl(fd, VIDIOC_ENUM_FRAMESIZES, &size) == 0 && size.index < 256;
             ++size.index) {
            if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
                best =
                    std::max<uint64_t>(best, uint64_t{size.discrete.width} * size.discrete.height);
            } else {
                best = std::max<uint64_t>(best, uint64_t{size.stepwise.max_width} *
                                                    size.stepwise.max_height);
                break; // stepwise and continuous list one entry only
            }
        }
    }
    return best;
}

} // namespace

std::optional<CameraMode> V4l2Camera::query(const std::string& deviceNode)
{
    const int fd = ::open(deviceNode.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<CameraMode> result;
    v4l2_capability cap{};
    if (xioctl(fd, VIDIOC_QUERYCAP, &cap) == 0) {
        const uint32_t caps =
            (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
        if (caps & V4L2_CAP_VIDEO_CAPTURE) {
            CameraMode mode;
            mode.max_pixels = largestFrame(fd);
            v4l2_control ctrl{};
            ctrl.id = V4L2_CID_CAMERA_ORIENTATION;
            if (xioctl(fd, VIDIOC_G_CTRL, &ctrl) == 0) {
                mode.facing =
                    ctrl.value == V4L2_CAMERA_ORIENTATION_FRONT  ? CameraMode::Facing::Front
                    : ctrl.value == V4L2_CAMERA_ORIENTATION_BACK ? CameraMode::Facing::Back
                                                                 : CameraMode::Facing::External;
            }
            result = mode;
        }
    }
    ::close(fd);
    return result;
}
