// A real ser2net serving a simulator's pseudo-terminal on free loopback ports, for the tests of
// network ports: its YAML written into a temporary folder, started in the foreground, ready once
// the kernel lists its ports as listening, and killed and reaped when the object goes away.
#pragma once

#include "process.h"
#include "loopback_peer.h"

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace qm54test {

inline std::string Ser2netProgram()
{
    for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net"})
        if (::access(path, X_OK) == 0) return path;
    return {};
}

// The configuration that the user guide gives a dealer, on loopback: one accepter, speaking
// telnet with the serial-line control option, or raw TCP.
inline std::string Ser2netYaml(const std::string& device, bool telnet, int port)
{
    std::ostringstream y;
    y << "connection: &repeater\n"
      << "    accepter: " << (telnet ? "telnet(rfc2217),tcp," : "tcp,") << "127.0.0.1," << port << "\n"
      << "    connector: serialdev," << device << ",9600n82,local\n"
      << "    options:\n      kickolduser: false\n      chardelay: false\n";
    return y.str();
}

// True once 127.0.0.1:port is in the kernel's list of listening sockets (no connection is made,
// so the server does not open its device for a probe).
inline bool LoopbackListening(int port)
{
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
    std::istringstream in(qm54e2e::ReadText("/proc/net/tcp"));
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (local == wanted && state == "0A") return true;
    }
    return false;
}

class Ser2netProcess {
public:
    // telnet: the accepter speaks telnet with the serial-line control option; else raw TCP.
    Ser2netProcess(const qm54e2e::TempFolder& dir, const std::string& device, bool telnet = true) : telnet_(telnet)
    {
        port_ = UnusedLoopbackPort();
        const std::string yaml = dir.File("ser2net.yaml");
        qm54e2e::WriteText(yaml, Ser2netYaml(device, telnet, port_));
        const std::string program = Ser2netProgram();
        if (program.empty()) return;
        child_ = std::make_unique<qm54e2e::Child>(
            std::vector<std::string>{program, "-n", "-d", "-c", yaml, "-P", dir.File("ser2net.pid")}, false);
        for (int i = 0; i < 500; ++i) {
            if (LoopbackListening(port_)) {
                ready_ = true;
                break;
            }
            ::usleep(10000);
        }
    }
    ~Ser2netProcess() { Kill(); }
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    bool Ready() const { return ready_; }
    // The port name of the accepter, as its kind asks (scheme "rfc2217" or "tcp"), or as given.
    std::string Url() const { return Url(telnet_ ? "rfc2217" : "tcp"); }
    std::string Url(const std::string& scheme) const { return scheme + "://127.0.0.1:" + std::to_string(port_); }
    int Port() const { return port_; }
    void Kill()
    {
        if (child_ == nullptr) return;
        child_->Signal(SIGKILL);
        child_->Wait(10000);
        child_.reset();
    }

private:
    std::unique_ptr<qm54e2e::Child> child_;
    bool telnet_;
    int port_ = 0;
    bool ready_ = false;
};

}  // namespace qm54test
