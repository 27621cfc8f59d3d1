// XScreenReader: reads rectangles of an X root window into client memory, through a
// shared-memory segment (MIT-SHM) when the server offers it and accepts our segment, with
// plain XGetImage otherwise. The segment is kept and reused while the requested size fits.
//
// Borrows the connection, which must outlive the reader; one thread at a time (the owner's
// lock). The image a Read answers stays valid until the next Read or the reader's end.
#pragma once

#include "x_display_connection.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

namespace lumora::zimage {

class XScreenReader {
public:
    explicit XScreenReader(XDisplayConnection& connection) noexcept;
    ~XScreenReader();
    XScreenReader(const XScreenReader&) = delete;
    XScreenReader& operator=(const XScreenReader&) = delete;

    // The width x height pixels of the root window at (x, y), which must lie inside the
    // root window; null on failure.
    const XImage* Read(int x, int y, int width, int height);

private:
    const XImage* ReadShared(int x, int y, int width, int height);
    const XImage* ReadPlain(int x, int y, int width, int height);
    bool PrepareShared(int width, int height);
    void ReleaseShared() noexcept;
    void ReleasePlain() noexcept;

    XDisplayConnection& connection_;
    bool shm_usable_;
    XShmSegmentInfo segment_{};
    bool attached_ = false;           // the server knows segment_
    XImage* shared_image_ = nullptr;  // capacity image, attached to segment_
    XImage shared_view_{};            // the requested part of shared_image_
    XImage* plain_image_ = nullptr;
};

}  // namespace lumora::zimage
