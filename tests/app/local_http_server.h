// LocalHttpServer: a tiny HTTP server on 127.0.0.1 (a port the system picks) for the
// update check's tests. Each connection's request head is recorded; then the server
// either sends its canned reply and closes, or, hanging, holds the connection open and
// never answers. A refused port is one bound but not listening.
//
// Thread: one thread of its own serves connections; the destructor stops and joins it.
// The other functions may be called from any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumora::test {

class LocalHttpServer {
public:
    // Serves `reply` (the whole response, status line and all) to every request.
    explicit LocalHttpServer(std::string reply);
    // Reads every request and never answers: LocalHttpServer server{LocalHttpServer::Hang{}}.
    struct Hang {};
    explicit LocalHttpServer(Hang);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // "http://127.0.0.1:<port>/".
    std::string Url() const;
    // A response with `status`, a content length and `body`.
    static std::string Reply(const std::string& body, int status = 200, const std::string& headers = "");

    // The request heads so far, once `count` have come (at most `timeout` later).
    std::vector<std::string> Requests(std::size_t count = 0, std::chrono::milliseconds timeout = {}) const;

private:
    void Listen();
    void Serve();
    void Handle(int client);

    std::string reply_;
    bool hang_ = false;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    int port_ = 0;
    std::vector<int> held_;  // hanging connections, closed on destruction
    mutable std::mutex mutex_;
    mutable std::condition_variable requestsChanged_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// The address of a port on 127.0.0.1 that refuses connections while `socket` stays open
// (bound, not listening); the caller closes it.
std::string RefusedUrl(int& socket);

}  // namespace lumora::test
