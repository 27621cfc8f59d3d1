// RecordingPlayback: plays a recorded file for the recording dialog's preview — a playbin of
// its own whose pictures arrive as frameReady on the user-interface thread (the sound, if
// any, is dropped). Position and duration are in nanoseconds.
//
// Thread: user-interface thread for every call. The streaming threads only hand pictures
// over through queued calls; Stop (and the destructor) sets the pipeline to NULL, which
// joins them, before anything is released.
#pragma once

#include <QImage>
#include <QObject>

#include <gst/gst.h>

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

class RecordingPlayback : public QObject {
    Q_OBJECT
public:
    explicit RecordingPlayback(QObject* parent = nullptr);
    ~RecordingPlayback() override;

    // Stops a running playback and plays `path` from the start. False (nothing runs) when
    // the file cannot be played.
    bool Play(const std::string& path);
    void Stop();
    bool Playing() const { return pipeline_ != nullptr; }

    std::optional<std::int64_t> Duration() const;
    std::optional<std::int64_t> Position() const;
    bool Seek(std::int64_t position);
    // True once the file has played to its end.
    bool Ended();

signals:
    void frameReady(const QImage& frame);

private:
    static GstFlowReturn OnSample(GstElement* sink, gpointer self);

    GstElement* pipeline_ = nullptr;
};

}  // namespace lumora
