// Loopback sockets for the tests of network ports: a listener on a free port of 127.0.0.1, a
// scripted peer that serves one connection from a thread, and a relay that delays every byte by
// a set time in both directions. Every wait is bounded; the destructors stop their threads and
// close their sockets.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace qm54test {

using Bytes = std::vector<uint8_t>;

inline int64_t LoopbackNowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A listening socket on 127.0.0.1 at a port the system chose. backlog 0 with one connection
// left unaccepted makes a port that takes no more connections (their attempts time out).
class LoopbackListener {
public:
    explicit LoopbackListener(int backlog = 4)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, backlog) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackListener()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return port_; }
    // The next connection, or -1 after timeoutMs.
    int Accept(int timeoutMs) const
    {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return -1;
        return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

// A port number on 127.0.0.1 that nothing listens at (bound, then released).
inline int UnusedLoopbackPort()
{
    LoopbackListener probe;
    return probe.Port();
}

inline int ConnectLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

// The peer's side of one connection, as a script sees it.
class PeerLine {
public:
    explicit PeerLine(int fd) : fd_(fd) {}
    void Send(const Bytes& bytes) const
    {
        size_t done = 0;
        while (fd_ >= 0 && done < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return;
            done += static_cast<size_t>(n);
        }
    }
    // Reads until at least count bytes came in all (what came so far stays in Received), or
    // timeoutMs passed, or the client closed. True when count was reached.
    bool Read(size_t count, int timeoutMs)
    {
        const int64_t until = LoopbackNowMs() + timeoutMs;
        while (received_.size() < count && LoopbackNowMs() < until) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0) continue;
            uint8_t buf[4096];
            const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
            if (n <= 0) return false;
            received_.insert(received_.end(), buf, buf + n);
        }
        return received_.size() >= count;
    }
    const Bytes& Received() const { return received_; }
    void Forget() { received_.clear(); }

private:
    int fd_;
    Bytes received_;
};

// Serves one connection with script, in a thread; the connection is closed when the script
// returns. A script waits only through PeerLine's bounded reads.
class ScriptedPeer {
public:
    explicit ScriptedPeer(std::function<void(PeerLine&)> script)
    {
        thread_ = std::thread([this, script = std::move(script)] {
            const int fd = listener_.Accept(5000);
            if (fd < 0) return;
            PeerLine line(fd);
            script(line);
            ::close(fd);
        });
    }
    ~ScriptedPeer() { thread_.join(); }
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;
    int Port() const { return listener_.Port(); }

private:
    LoopbackListener listener_;
    std::thread thread_;
};

// Forwards one connection at a time between its port and target port on loopback, holding every
// byte for delayMs in each direction (the order and the spacing of the bytes kept), like a slow
// network path. A closed side closes the other.
class DelayRelay {
public:
    DelayRelay(int targetPort, int delayMs) : target_(targetPort), delayMs_(delayMs)
    {
        thread_ = std::thread([this] { Run(); });
    }
    ~DelayRelay()
    {
        stop_ = true;
        thread_.join();
    }
    DelayRelay(const DelayRelay&) = delete;
    DelayRelay& operator=(const DelayRelay&) = delete;
    int Port() const { return listener_.Port(); }

private:
    struct Held {
        int64_t due;
        Bytes bytes;
    };
    struct Direction {
        int from, to;
        std::deque<Held> queue;
        bool ended = false;
    };

    void Run()
    {
        while (!stop_) {
            const int client = listener_.Accept(50);
            if (client < 0) continue;
            const int server = ConnectLoopback(target_);
            if (server >= 0) Serve(client, server);
            ::close(client);
            if (server >= 0) ::close(server);
        }
    }

    void Serve(int client, int server)
    {
        const int on = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        Direction dirs[2] = {{client, server, {}}, {server, client, {}}};
        while (!stop_) {
            pollfd p[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            ::poll(p, 2, 1);
            const int64_t now = LoopbackNowMs();
            for (int i = 0; i < 2; ++i) {
                Direction& d = dirs[i];
                if (!d.ended && (p[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                    uint8_t buf[4096];
                    const ssize_t n = ::recv(d.from, buf, sizeof buf, 0);
                    if (n > 0) d.queue.push_back({now + delayMs_, Bytes(buf, buf + n)});
                    else d.ended = true;
                }
                while (!d.queue.empty() && d.queue.front().due <= now) {
                    const Bytes& b = d.queue.front().bytes;
                    if (::send(d.to, b.data(), b.size(), MSG_NOSIGNAL) < 0) return;
                    d.queue.pop_front();
                }
                if (d.ended && d.queue.empty()) return;  // the other side is closed with it
            }
        }
    }

    LoopbackListener listener_;
    int target_;
    int delayMs_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace qm54test
