// HttpPeek: the first bytes of the body of an HTTP or HTTPS GET, fetched with libcurl on
// the calling thread and cancellable from any other thread within a few milliseconds,
// whatever the network does: the transfer waits in curl_multi_poll, which Cancel wakes.
// Where libcurl cannot be loaded, every Fetch fails.
//
// Requests go straight to the server (no proxy), with the user agent given, following up
// to five redirects to http or https addresses only; no other scheme is ever fetched. A
// connection must stand within 15 seconds and the whole request end within 60. The body
// is read as the server sends it, whatever the HTTP status.
//
// Thread: Fetch runs on one thread at a time (the object's worker); Cancel may be called
// from any thread while the object lives. The object must outlive both.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>

namespace lumora {

struct CurlLibrary;

class HttpPeek {
public:
    explicit HttpPeek(std::string userAgent);
    ~HttpPeek();
    HttpPeek(const HttpPeek&) = delete;
    HttpPeek& operator=(const HttpPeek&) = delete;

    // Blocks until `maxBytes` bytes of the body are in (the transfer stops there), the
    // body ends, the request fails, or Cancel is called. Answers the bytes read (fewer than
    // `maxBytes` for a shorter body), or nothing on failure or cancellation.
    std::optional<std::string> Fetch(const std::string& url, std::size_t maxBytes);

    // Makes a running Fetch return soon with nothing, and every later one at once.
    void Cancel();

private:
    struct Body;
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* body);
    void Configure(void* easy, const std::string& url, Body& body) const;
    // Drives the transfer of the added handle; answers its libcurl result.
    int Transfer();

    std::string userAgent_;
    const CurlLibrary* curl_;  // null without libcurl: every Fetch fails
    void* multi_ = nullptr;    // CURLM*, for the object's lifetime
    std::atomic<bool> cancelled_{false};
};

}  // namespace lumora
