#include "app/http_peek.h"

#include "app/curl_library.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr long kConnectTimeoutMs = 15000;
constexpr long kTotalTimeoutMs = 60000;
constexpr long kMaxRedirects = 5;
// How long one wait for the network may last; Cancel ends it at once anyway.
constexpr int kPollMs = 1000;

CURLM* Multi(void* handle) { return static_cast<CURLM*>(handle); }

}  // namespace

struct HttpPeek::Body {
    std::string bytes;
    std::size_t limit = 0;
    bool full = false;
};

HttpPeek::HttpPeek(std::string userAgent) : userAgent_(std::move(userAgent)), curl_(CurlLibrary::Get()) {
    if (curl_) multi_ = curl_->multi_init();
}

HttpPeek::~HttpPeek() {
    if (multi_) curl_->multi_cleanup(Multi(multi_));
}

void HttpPeek::Cancel() {
    cancelled_ = true;
    if (multi_) curl_->multi_wakeup(Multi(multi_));
}

std::size_t HttpPeek::OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& body = *static_cast<Body*>(user);
    const std::size_t bytes = size * count;
    body.bytes.append(data, std::min(bytes, body.limit - body.bytes.size()));
    body.full = body.bytes.size() == body.limit;
    // Anything but `bytes` ends the transfer: the rest of the body is not wanted.
    return body.full ? 0 : bytes;
}

void HttpPeek::Configure(void* handle, const std::string& url, Body& body) const {
    CURL* easy = static_cast<CURL*>(handle);
    curl_->easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_->easy_setopt(easy, CURLOPT_USERAGENT, userAgent_.c_str());
    curl_->easy_setopt(easy, CURLOPT_PROXY, "");  // straight to the server, whatever the environment says
    curl_->easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_->easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_->easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_->easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_->easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_->easy_setopt(easy, CURLOPT_TIMEOUT_MS, kTotalTimeoutMs);
    curl_->easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // A name lookup still going on when the transfer is cancelled finishes in libcurl's
    // own lookup thread, which cleans up after itself, instead of being waited for here.
    curl_->easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    curl_->easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpPeek::OnBody);
    curl_->easy_setopt(easy, CURLOPT_WRITEDATA, &body);
}

std::optional<std::string> HttpPeek::Fetch(const std::string& url, std::size_t maxBytes) {
    if (!multi_ || maxBytes == 0 || cancelled_) return std::nullopt;
    CURL* easy = curl_->easy_init();
    if (!easy) return std::nullopt;
    Body body;
    body.limit = maxBytes;
    Configure(easy, url, body);
    int result = CURLE_FAILED_INIT;
    if (curl_->multi_add_handle(Multi(multi_), easy) == CURLM_OK) {
        result = Transfer();
        curl_->multi_remove_handle(Multi(multi_), easy);
    }
    curl_->easy_cleanup(easy);
    if (cancelled_ || (result != CURLE_OK && !body.full)) return std::nullopt;
    return std::move(body.bytes);
}

int HttpPeek::Transfer() {
    CURLM* multi = Multi(multi_);
    int running = 1;
    while (!cancelled_) {
        if (curl_->multi_perform(multi, &running) != CURLM_OK) return CURLE_FAILED_INIT;
        if (running == 0) {
            int queued = 0;
            while (CURLMsg* message = curl_->multi_info_read(multi, &queued)) {
                if (message->msg == CURLMSG_DONE) return message->data.result;
            }
            return CURLE_FAILED_INIT;
        }
        if (curl_->multi_poll(multi, nullptr, 0, kPollMs, nullptr) != CURLM_OK) return CURLE_FAILED_INIT;
    }
    return CURLE_ABORTED_BY_CALLBACK;
}

}  // namespace lumora
