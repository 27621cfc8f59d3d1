// FaceTracker: finds a face with the Haar cascade "facedetect.xml" from the program folder
// and then follows it with CFaceTrack, both through a FaceEngine (face_engine.h). Detection
// is slow, so it runs on a worker thread of the tracker's own; following is fast and runs on
// the streaming thread inside Feed.
//
// The cycle: while no face is followed, every frame Feed gets the lock for is converted for
// CFaceTrack as usual and left there for the worker, which is woken; it detects in it
// (FaceDetector) and trains CFaceTrack with the face found.
// From then on Feed moves the face frame by frame until CFaceTrack loses it, and the cycle
// starts again. GetFace reports the face in frame coordinates (y from the bottom row).
//
// Threads and locks:
// - Start, Feed, GetFace and ForgetFace are called under the face-tracking effect's lock
//   (Start and ForgetFace on the user-interface thread, the others on the streaming
//   thread), so they never overlap one another.
// - The worker takes the tracker's lock for a whole detection. Feed only tries that lock:
//   while the worker is busy the frame is neither followed nor queued, and the video never
//   waits for a detection.
// - The face and the following flag have a small lock of their own, held only to read or
//   write them, so GetFace and ForgetFace never wait for a detection either. A detection
//   that was running when ForgetFace was called is thrown away when it ends.
// Lock order: effect lock, tracker lock, face lock; the worker takes the last two.
//
// Lifetime: the engine (the first one loads the face module) and the worker are made by the
// first Start and kept; later Starts reuse them. The destructor stops the worker and waits
// for it. Buffers grow with the frame size and are kept.
#pragma once

#include "effects/face_engine.h"
#include "effects/face_following_zoom.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumora {

inline constexpr char kFaceCascadeFileName[] = "facedetect.xml";

class FaceTracker {
public:
    // The cascade beside the running program.
    static std::string DefaultCascadePath();

    explicit FaceTracker(std::string cascadePath = DefaultCascadePath());
    ~FaceTracker();
    FaceTracker(const FaceTracker&) = delete;
    FaceTracker& operator=(const FaceTracker&) = delete;

    // Makes what is missing of the engine, the cascade and the worker. False when the face
    // module or the cascade cannot be loaded. A worker that cannot be started still
    // answers true: faces are then never found.
    bool Start();

    // Shows the tracker one frame (VideoFrame layout). True when the followed face was
    // found in it; false when no face is followed (the frame is then queued for detection
    // if the worker is free), when the face was lost in it, or when the worker was busy.
    bool Feed(const std::uint8_t* pixels, std::int32_t width, std::int32_t height);

    // The followed face in frame coordinates of a frame `height` rows high: left and right
    // as found, top = height - top - 1 and bottom = height - bottom - 1, so top is the
    // larger y. False when no face is followed.
    bool GetFace(FaceRect& face, std::int32_t width, std::int32_t height) const;

    // Stops following; the next frame fed is queued for a new detection.
    void ForgetFace();

    // From any thread.
    bool HasWorker() const noexcept { return workerRunning_.load(std::memory_order_acquire); }

    // For diagnostics, from any thread: a frame is queued for the worker, or the worker is
    // detecting in it and training CFaceTrack; and how many detections the worker has
    // finished (counted before Detecting turns false).
    bool Detecting() const noexcept { return detecting_.load(std::memory_order_acquire); }
    std::uint32_t DetectionsFinished() const noexcept { return detectionsFinished_.load(std::memory_order_acquire); }

private:
    void WorkerLoop();
    bool DetectAndTrain(FtRect& face);
    bool DetectFace(FtRect& face);
    // Publishes a result unless ForgetFace was called since `generation` was read.
    void Publish(std::uint32_t generation, const FtRect& face, bool tracking);

    const std::string cascadePath_;

    // Made by Start; touched by the worker only under lock_.
    std::unique_ptr<FaceEngine> engine_;

    std::mutex lock_;  // the worker's lock: everything below up to the face lock
    std::vector<std::uint8_t> trackingBuffer_;  // packed top-down red-green-blue
    std::int32_t trackingWidth_ = 0;  // size CFaceTrack was trained for
    std::int32_t trackingHeight_ = 0;
    std::int32_t detectionWidth_ = 0;
    std::int32_t detectionHeight_ = 0;

    mutable std::mutex faceLock_;
    FtRect face_;  // top-down
    bool tracking_ = false;
    std::uint32_t generation_ = 0;  // counts ForgetFace calls

    std::mutex signalLock_;
    std::condition_variable signal_;
    bool requested_ = false;
    bool quit_ = false;
    std::thread worker_;

    std::atomic<bool> workerRunning_{false};  // set once the worker is started
    std::atomic<bool> detecting_{false};
    std::atomic<std::uint32_t> detectionsFinished_{0};
};

}  // namespace lumora
