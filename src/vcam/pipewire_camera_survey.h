// PipeWireCameraSurvey: what a PipeWire daemon knows about the "Lumora Capture" node, as
// `lumora-vcam status` reports it from outside the program that publishes it: whether a
// daemon answers, whether the node is published, its format and how many consumers are
// linked to it.
// One call at a time; it runs a PipeWire loop of its own on the calling thread and waits
// at most `timeout` for the daemon's answers.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace lumora {

struct PipeWireCameraReport {
    bool daemonReachable = false;
    std::string daemonError;  // why it is not reachable
    bool published = false;
    std::uint32_t nodeId = 0;
    // The node's video.size, video.format and video.framerate ("" when not told).
    std::string size, format, rate;
    int consumers = 0;
};

PipeWireCameraReport SurveyPipeWireCamera(std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

}  // namespace lumora
