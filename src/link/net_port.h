// TCNetPort: the repeater's line through a serial-to-network converter at a remote site, as a
// SerialPort, so that the clone, verify and alignment exchanges run over it unchanged.
// rfc2217:// speaks telnet with the serial-line control option: the line is set to what the
// cable driver sets (9600 baud, 8 data bits, no parity, 2 stop bits, no flow control, DTR and RTS
// on), data bytes 255 are escaped, and negotiation never reaches the exchange as data. tcp://
// carries the bytes as they are. A connection that closes or resets fails the next read at once.
#pragma once

#include "link/port_name.h"
#include "link/serial_port.h"
#include "link/telnet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm54 {

// How an attempt to connect ended; NetOpenMessage says it in words.
enum class [[nodiscard]] NetOpen {
    Ok,
    NoSuchHost,          // the name does not resolve
    Refused,             // nothing listens at the port
    TimedOut,            // no answer within the limit
    NotRfc2217,          // connected, but no telnet answer came
    NegotiationRefused,  // the server refused the serial-line control option
    LineRefused,         // the server did not take the line settings
    Closed,              // the server closed the connection (another client may hold its port)
    Cancelled,
    Failed,              // any other system failure
};

struct NetConnectOptions {
    int LimitMs = 5000;                 // the whole attempt, connecting and negotiating
    std::function<bool()> Cancelled;    // polled every few milliseconds while connecting; may be empty
    std::function<void()> PumpEvents;   // run between the polls (a window's events); may be empty
};

class TCNetPort final : public SerialPort {
public:
    TCNetPort() = default;
    ~TCNetPort() override;
    TCNetPort(const TCNetPort&) = delete;
    TCNetPort& operator=(const TCNetPort&) = delete;

    // name must be rfc2217:// or tcp:// (ParsePortName). On failure the port is closed and
    // OpenMessage says what went wrong.
    NetOpen Open(const PortName& name, const NetConnectOptions& options = {});
    // Takes over a connected socket as it stands, with no negotiation (a test's socket pair).
    void Adopt(int fd, PortKind kind);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& OpenMessage() const { return openMessage_; }
    // How long a Send may wait for the connection to take more bytes.
    void SetWriteStallLimit(int ms) { writeStallMs_ = ms; }

    int Send(const uint8_t* data, size_t count) override;
    int InQueue() override;
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override;
    void PurgeRx() override;
    void PurgeTx() override;
    void WaitReadable(int ms) override;
    const std::string& ErrorText() const override { return errorText_; }
    std::string SystemReason() const override { return reason_; }

private:
    void Reset(PortKind kind);
    NetOpen Negotiate(const NetConnectOptions& options, int64_t deadline);
    NetOpen OpenFailed(NetOpen result, const std::string& message);
    // Reads what the connection holds into the data queue and answers negotiation. False once
    // the connection has closed or failed (reason_ says how).
    bool Pump();
    bool SendRaw(const std::vector<uint8_t>& bytes, int& written);
    void Fail(const std::string& text, const std::string& reason);
    void Take(const telnet::Command& command);
    bool LineConfirmed() const;
    // The longer of the server's slowest answer while negotiating and the kernel's estimate.
    int64_t RoundTripMs() const;

    int fd_ = -1;
    bool telnet_ = false;
    bool closed_ = false;
    std::string where_;  // HOST:PORT
    std::string errorText_;
    std::string reason_;
    std::string openMessage_;
    int writeStallMs_ = 5000;
    int64_t answerMs_ = 0;
    telnet::Decoder decoder_;
    telnet::Options options_{true};
    std::vector<uint8_t> rx_;
    size_t rxStart_ = 0;
    // The server's answers to the line settings, by command (SetBaudRate to SetStopSize); -1 none.
    int64_t confirmed_[5] = {-1, -1, -1, -1, -1};
};

// The words for an open that did not succeed, naming where (HOST:PORT) and the limit in ms.
std::string NetOpenMessage(NetOpen result, const std::string& where, int limitMs, const std::string& detail);

}  // namespace qm54
