#include "app/update_check.h"

#include "app/http_peek.h"
#include "app/packed_version.h"
#include "app/update_available_event.h"

#include <QCoreApplication>

#include <system_error>

namespace lumora {
namespace {

constexpr char kUserAgent[] = "Lumora";
constexpr std::size_t kReplyBytes = 8;

}  // namespace

UpdateCheck::UpdateCheck() = default;

UpdateCheck::~UpdateCheck() { Stop(); }

bool UpdateCheck::Start(const ProductSite& site, QObject* receiver) {
    if (peek_ || !receiver) return false;
    peek_ = std::make_unique<HttpPeek>(kUserAgent);
    finished_ = false;
    try {
        thread_ = std::thread(&UpdateCheck::Run, this, site.CheckUpdateUrl(), site.DownloadUrl(), receiver);
    } catch (const std::system_error&) {
        finished_ = true;
        return false;
    }
    return true;
}

void UpdateCheck::Stop() {
    if (!thread_.joinable()) return;
    peek_->Cancel();
    thread_.join();
}

bool UpdateCheck::WaitFinished(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return finishedChanged_.wait_for(lock, timeout, [this] { return finished_; });
}

void UpdateCheck::Run(const std::string& checkUrl, const std::string& downloadUrl, QObject* receiver) {
    const auto reply = peek_->Fetch(checkUrl, kReplyBytes);
    if (reply) {
        const PackedVersion server = PackedVersion::FromReply(*reply);
        if (server.IsNewerThan(kRunningVersion)) {
            QCoreApplication::postEvent(receiver, new UpdateAvailableEvent(server, downloadUrl));
        }
    }
    const std::lock_guard lock(mutex_);
    finished_ = true;
    finishedChanged_.notify_all();
}

}  // namespace lumora
