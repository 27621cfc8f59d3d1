#include "local_http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <stdexcept>

namespace lumora::test {
namespace {

// A TCP socket bound to 127.0.0.1 on a port the system picks; answers the port.
int BindLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot bind a loopback socket");
    }
    port = ntohs(address.sin_port);
    return fd;
}

std::string LoopbackUrl(int port) { return "http://127.0.0.1:" + std::to_string(port) + "/"; }

// Waits for `fd` or the wake pipe; false when woken (or on error).
bool WaitReadable(int fd, int wake) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
    return ::poll(fds, 2, -1) > 0 && !(fds[1].revents & POLLIN) && (fds[0].revents & (POLLIN | POLLHUP));
}

}  // namespace

LocalHttpServer::LocalHttpServer(std::string reply) : reply_(std::move(reply)) { Listen(); }

LocalHttpServer::LocalHttpServer(Hang) : hang_(true) { Listen(); }

void LocalHttpServer::Listen() {
    listener_ = BindLoopback(port_);
    if (::listen(listener_, 16) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0) throw std::runtime_error("cannot listen");
    thread_ = std::thread(&LocalHttpServer::Serve, this);
}

LocalHttpServer::~LocalHttpServer() {
    [[maybe_unused]] const ssize_t written = ::write(wake_[1], "x", 1);
    thread_.join();
    for (const int fd : held_) ::close(fd);
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

std::string LocalHttpServer::Url() const { return LoopbackUrl(port_); }

std::string LocalHttpServer::Reply(const std::string& body, int status, const std::string& headers) {
    return "HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

std::vector<std::string> LocalHttpServer::Requests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    requestsChanged_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
    return requests_;
}

void LocalHttpServer::Serve() {
    while (WaitReadable(listener_, wake_[0])) {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) Handle(client);
    }
}

void LocalHttpServer::Handle(int client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && WaitReadable(client, wake_[0])) {
        const ssize_t count = ::read(client, buffer, sizeof buffer);
        if (count <= 0) break;
        head.append(buffer, static_cast<std::size_t>(count));
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(head);
    }
    requestsChanged_.notify_all();
    if (hang_) {
        held_.push_back(client);
        return;
    }
    // The client may stop reading early; a short write is fine then.
    [[maybe_unused]] const ssize_t sent = ::send(client, reply_.data(), reply_.size(), MSG_NOSIGNAL);
    ::shutdown(client, SHUT_WR);
    ::close(client);
}

std::string RefusedUrl(int& socket) {
    int port = 0;
    socket = BindLoopback(port);
    return LoopbackUrl(port);
}

}  // namespace lumora::test
