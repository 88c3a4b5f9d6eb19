// A pseudo-terminal pair for tests of the real driver: the driver opens slavePath, the test plays
// the repeater's end on master. Both ends are closed when the pair goes away.
#pragma once

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qm54test {

struct PtyPair {
    int master = -1;
    int slave = -1;  // held open so the line state can be read back and the pair outlives Close
    std::string slavePath;

    PtyPair()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) slavePath = name;
    }
    ~PtyPair()
    {
        CloseMaster();
        if (slave >= 0) ::close(slave);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    void CloseMaster()
    {
        if (master >= 0) ::close(master);
        master = -1;
    }
    bool Write(const std::vector<uint8_t>& bytes) const
    {
        return ::write(master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Reads from the master until count bytes came or nothing arrived for quietMs.
    std::vector<uint8_t> Read(size_t count, int quietMs = 5000) const
    {
        std::vector<uint8_t> got;
        while (got.size() < count) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, quietMs) <= 0) break;
            uint8_t buf[4096];
            ssize_t n = ::read(master, buf, std::min(sizeof buf, count - got.size()));
            if (n <= 0) break;
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }
};

}  // namespace qm54test
