#include "x_screen_reader.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace lumora::zimage {

XScreenReader::XScreenReader(XDisplayConnection& connection) noexcept
    : connection_(connection), shm_usable_(XShmQueryExtension(connection.display()) == True) {}

XScreenReader::~XScreenReader() {
    ReleaseShared();
    ReleasePlain();
}

const XImage* XScreenReader::Read(int x, int y, int width, int height) {
    if (shm_usable_) {
        if (const XImage* image = ReadShared(x, y, width, height)) return image;
    }
    return ReadPlain(x, y, width, height);
}

const XImage* XScreenReader::ReadShared(int x, int y, int width, int height) {
    if (!PrepareShared(width, height)) return nullptr;
    // XShmGetImage fills the image's own size, so read through a header that describes
    // just the requested width and height over the same memory and row stride.
    shared_view_ = *shared_image_;
    shared_view_.width = width;
    shared_view_.height = height;
    Display* display = connection_.display();
    if (!XShmGetImage(display, connection_.root(), &shared_view_, x, y, AllPlanes) || !connection_.Sync()) {
        return nullptr;
    }
    return &shared_view_;
}

bool XScreenReader::PrepareShared(int width, int height) {
    if (shared_image_ != nullptr && shared_image_->width >= width && shared_image_->height >= height) return true;
    ReleaseShared();

    Display* display = connection_.display();
    const int screen = DefaultScreen(display);
    shared_image_ = XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                                    ZPixmap, nullptr, &segment_, width, height);
    if (shared_image_ == nullptr) {
        shm_usable_ = false;
        return false;
    }
    segment_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(shared_image_->bytes_per_line) * height,
                            IPC_CREAT | 0600);
    if (segment_.shmid >= 0) {
        segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        // Marked for removal at once: it disappears when the last user detaches, even if
        // the process dies.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    if (segment_.shmid < 0 || segment_.shmaddr == reinterpret_cast<char*>(-1)) {
        segment_.shmaddr = nullptr;
        ReleaseShared();
        shm_usable_ = false;
        return false;
    }
    shared_image_->data = segment_.shmaddr;
    segment_.readOnly = False;
    // A server on another machine cannot attach; the error arrives with the sync.
    attached_ = XShmAttach(display, &segment_) == True && connection_.Sync();
    if (!attached_) {
        ReleaseShared();
        shm_usable_ = false;
        return false;
    }
    return true;
}

void XScreenReader::ReleaseShared() noexcept {
    if (shared_image_ == nullptr) return;
    if (segment_.shmaddr != nullptr) {
        if (attached_ && !connection_.broken()) {
            XShmDetach(connection_.display(), &segment_);
            connection_.Sync();
        }
        shmdt(segment_.shmaddr);
    }
    shared_image_->data = nullptr;  // the segment is not XDestroyImage's to free
    XDestroyImage(shared_image_);
    shared_image_ = nullptr;
    segment_ = {};
    attached_ = false;
}

const XImage* XScreenReader::ReadPlain(int x, int y, int width, int height) {
    ReleasePlain();
    connection_.ClearErrors();
    plain_image_ = XGetImage(connection_.display(), connection_.root(), x, y, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (plain_image_ != nullptr && !connection_.Sync()) ReleasePlain();
    return plain_image_;
}

void XScreenReader::ReleasePlain() noexcept {
    if (plain_image_ != nullptr) XDestroyImage(plain_image_);
    plain_image_ = nullptr;
}

}  // namespace lumora::zimage
