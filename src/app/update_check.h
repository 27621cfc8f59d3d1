// UpdateCheck: once per start, asks the web site in the background whether a newer
// version of Lumora exists.
//
// A worker thread of its own GETs the site's "checkupdate.php" (user agent "Lumora"),
// reads the first 8 bytes of the reply as a PackedVersion and, when that is newer than
// kRunningVersion, posts an UpdateAvailableEvent to the receiver; it never touches a
// widget. A failed request, an empty or unreadable reply and a version that is not newer
// all end the check without a word.
//
// Stop cancels a check still under way and joins the thread; it returns within a few
// milliseconds even while the server hangs (see HttpPeek), and never kills a thread.
//
// Thread: Start, Stop, WaitFinished and the destructor belong to the user-interface
// thread. Lifetime: the receiver must live until Stop (or the destructor, which stops)
// has returned; after that nothing more is posted.
#pragma once

#include "app/product_site.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class QObject;

namespace lumora {

class HttpPeek;

class UpdateCheck {
public:
    UpdateCheck();
    ~UpdateCheck();
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // Starts the check of `site`; an object checks once. False when it has been started
    // before or the thread cannot be created.
    bool Start(const ProductSite& site, QObject* receiver);

    // Cancels the check if it still runs and joins its thread. Safe to call at any time,
    // and more than once.
    void Stop();

    // Waits until the worker has finished on its own (its event, if any, is posted by
    // then), at most `timeout`. True when it has, or when no check was started.
    bool WaitFinished(std::chrono::milliseconds timeout);

private:
    void Run(const std::string& checkUrl, const std::string& downloadUrl, QObject* receiver);

    std::unique_ptr<HttpPeek> peek_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable finishedChanged_;
    bool finished_ = true;
};

}  // namespace lumora
