// VcamConfig: how the virtual camera adapter feeds its device. The defaults are what chat
// programs handle best: 1280x720 YUYV at 30 frames per second.
// A plain value; free to copy between threads.
#pragma once

#include "vcam/device_frame_format.h"

#include <algorithm>
#include <chrono>

namespace lumora {

struct VcamConfig {
    // The format asked for. A device that keeps another format it was locked to (by an
    // earlier producer) is fed in that one, if it is YUYV or I420.
    DeviceFrameFormat format;
    int framesPerSecond = 30;
    // Repeat the last frame at the device rate while no new frame comes, so capture
    // clients do not time out.
    bool repeatWhileStalled = true;
    // Waits between attempts to reopen a lost device: doubling from the first to the cap.
    std::chrono::milliseconds reconnectFirstDelay{100};
    std::chrono::milliseconds reconnectMaxDelay{5000};

    // The time between two frames at framesPerSecond (at least one a second).
    std::chrono::steady_clock::duration FramePeriod() const {
        return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::seconds(1)) /
               std::max(framesPerSecond, 1);
    }
};

}  // namespace lumora
