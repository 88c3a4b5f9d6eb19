#include "link/net_port.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qm54 {

namespace {

namespace cp = telnet::comport;

constexpr int kPollSliceMs = 20;
constexpr size_t kReadChunk = 4096;
// Received data waiting for the exchange is held up to this size; beyond it the connection is
// left unread until the exchange takes some (a flooding server cannot grow memory).
constexpr size_t kRxLimit = 64 * 1024;
constexpr uint32_t kBaud = 9600;
// A round trip this long or longer makes a purge wait for the line to be quiet.
constexpr int64_t kSlowPathMs = 20;
constexpr int64_t kReplyMs = 150;  // the longest reply, 92 bytes with its echo, at 9600 baud, and some
constexpr uint8_t kDataBits = 8;

int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int Remaining(int64_t deadline) { return static_cast<int>(std::max<int64_t>(0, deadline - NowMs())); }

bool CancelledNow(const NetConnectOptions& options)
{
    if (options.PumpEvents) options.PumpEvents();
    return options.Cancelled && options.Cancelled();
}

std::string Seconds(int ms)
{
    const int tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

const char* kServerClosed = "the server closed the connection";

}  // namespace

std::string NetOpenMessage(NetOpen result, const std::string& where, int limitMs, const std::string& detail)
{
    switch (result) {
    case NetOpen::Ok: return {};
    case NetOpen::NoSuchHost: return "The name of " + where + " does not resolve (" + detail + ").";
    case NetOpen::Refused: return "Nothing listens at " + where + " (connection refused).";
    case NetOpen::TimedOut:
        return "No answer from " + where + " within " + Seconds(limitMs) +
               (detail.empty() ? std::string(".") : " (" + detail + ").");
    case NetOpen::NotRfc2217:
        return "The server at " + where + " does not speak RFC 2217: no telnet answer within " + Seconds(limitMs) +
               " (for a raw TCP port use tcp://).";
    case NetOpen::NegotiationRefused:
        return "The server at " + where +
               " refused the serial-line control of RFC 2217 (negotiation refused; for a raw TCP port use tcp://).";
    case NetOpen::LineRefused:
        return "The server at " + where + " did not set its line to 9600 baud, 8 data bits, no parity, 2 stop bits (" +
               detail + ").";
    case NetOpen::Closed:
        return "The server at " + where + " closed the connection (another client may hold the port).";
    case NetOpen::Cancelled: return "Connecting to " + where + " was cancelled.";
    case NetOpen::Failed: return "Cannot connect to " + where + ": " + detail + ".";
    }
    return {};
}

TCNetPort::~TCNetPort() { Close(); }

void TCNetPort::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

NetOpen TCNetPort::OpenFailed(NetOpen result, const std::string& message)
{
    Close();
    openMessage_ = message;
    Fail("Port Open Error", message);
    return result;
}

void TCNetPort::Adopt(int fd, PortKind kind)
{
    Reset(kind);
    fd_ = fd;
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

void TCNetPort::Reset(PortKind kind)
{
    Close();
    telnet_ = kind == PortKind::Rfc2217;
    closed_ = false;
    answerMs_ = 0;
    errorText_.clear();
    reason_.clear();
    openMessage_.clear();
    decoder_ = telnet::Decoder{};
    options_ = telnet::Options{true};
    rx_.clear();
    rxStart_ = 0;
    std::fill(std::begin(confirmed_), std::end(confirmed_), -1);
}

NetOpen TCNetPort::Open(const PortName& name, const NetConnectOptions& options)
{
    Reset(name.Kind);
    where_ = HostAndPort(name);
    const int64_t deadline = NowMs() + options.LimitMs;

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int gai = ::getaddrinfo(name.Host.c_str(), name.Service.c_str(), &hints, &found);
    if (gai != 0) {
        const bool missing = gai == EAI_NONAME || gai == EAI_AGAIN || gai == EAI_FAIL
#ifdef EAI_NODATA
                             || gai == EAI_NODATA
#endif
            ;
        const std::string why = ::gai_strerror(gai);
        return OpenFailed(missing ? NetOpen::NoSuchHost : NetOpen::Failed,
                          NetOpenMessage(missing ? NetOpen::NoSuchHost : NetOpen::Failed, where_, options.LimitMs, why));
    }
    NetOpen result = NetOpen::Failed;
    std::string detail = "no address";
    for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
        fd_ = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd_ < 0) {
            detail = std::strerror(errno);
            continue;
        }
        int err = ::connect(fd_, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (err == EINPROGRESS) {
            err = ETIMEDOUT;
            while (Remaining(deadline) > 0) {
                if (CancelledNow(options)) {
                    ::freeaddrinfo(found);
                    return OpenFailed(NetOpen::Cancelled, NetOpenMessage(NetOpen::Cancelled, where_, 0, ""));
                }
                pollfd p{fd_, POLLOUT, 0};
                if (::poll(&p, 1, std::min(kPollSliceMs, Remaining(deadline))) > 0) {
                    socklen_t len = sizeof err;
                    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
                    break;
                }
            }
        }
        if (err == 0) {
            result = NetOpen::Ok;
            break;
        }
        result = err == ECONNREFUSED ? NetOpen::Refused : err == ETIMEDOUT ? NetOpen::TimedOut : NetOpen::Failed;
        detail = std::strerror(err);
        Close();
        if (result == NetOpen::TimedOut) break;
    }
    ::freeaddrinfo(found);
    if (result != NetOpen::Ok)
        return OpenFailed(result, NetOpenMessage(result, where_, options.LimitMs,
                                                 result == NetOpen::TimedOut ? std::string() : detail));
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // single bytes go out at once
    if (!telnet_) return NetOpen::Ok;
    return Negotiate(options, deadline);
}

NetOpen TCNetPort::Negotiate(const NetConnectOptions& options, int64_t deadline)
{
    const int limitMs = options.LimitMs;
    int written = 0;
    if (!SendRaw(options_.Opening(), written))
        return OpenFailed(NetOpen::Closed, NetOpenMessage(NetOpen::Closed, where_, limitMs, ""));
    auto waitFor = [&](auto done) -> NetOpen {
        while (!done()) {
            const bool open = Pump();
            if (done()) break;  // a close right after the answer fails the first read instead
            if (!open) return NetOpen::Closed;
            if (Remaining(deadline) == 0) return NetOpen::TimedOut;
            if (CancelledNow(options)) return NetOpen::Cancelled;
            pollfd p{fd_, POLLIN, 0};
            ::poll(&p, 1, std::min(kPollSliceMs, Remaining(deadline)));
        }
        return NetOpen::Ok;
    };
    const int64_t asked = NowMs();
    NetOpen step = waitFor([&] { return options_.ComPort() != telnet::Options::Answer::Pending; });
    answerMs_ = NowMs() - asked;
    if (step == NetOpen::TimedOut) step = NetOpen::NotRfc2217;
    if (step == NetOpen::Ok && options_.ComPort() == telnet::Options::Answer::Refused) step = NetOpen::NegotiationRefused;
    if (step != NetOpen::Ok) return OpenFailed(step, NetOpenMessage(step, where_, limitMs, ""));

    const std::array<uint8_t, 4> baud{0, 0, kBaud >> 8, kBaud & 0xFF};
    std::vector<uint8_t> setup = telnet::ComPortCommand(cp::SetBaudRate, baud);
    for (auto [code, value] : {std::pair{cp::SetDataSize, kDataBits}, {cp::SetParity, cp::ParityNone},
                               {cp::SetStopSize, cp::StopBits2}, {cp::SetControl, cp::ControlNoFlow},
                               {cp::SetControl, cp::ControlDtrOn}, {cp::SetControl, cp::ControlRtsOn}}) {
        const auto command = telnet::ComPortCommand(code, std::span<const uint8_t>(&value, 1));
        setup.insert(setup.end(), command.begin(), command.end());
    }
    if (!SendRaw(setup, written)) return OpenFailed(NetOpen::Closed, NetOpenMessage(NetOpen::Closed, where_, limitMs, ""));
    const int64_t set = NowMs();
    step = waitFor([&] { return LineConfirmed(); });
    answerMs_ = std::max(answerMs_, NowMs() - set);
    if (step == NetOpen::TimedOut)
        return OpenFailed(NetOpen::LineRefused,
                          NetOpenMessage(NetOpen::LineRefused, where_, limitMs, "it did not confirm them"));
    if (step != NetOpen::Ok) return OpenFailed(step, NetOpenMessage(step, where_, limitMs, ""));
    const int64_t want[4] = {kBaud, kDataBits, cp::ParityNone, cp::StopBits2};
    for (int i = 0; i < 4; ++i)
        if (confirmed_[i + 1] != want[i]) {
            static const char* kNames[4] = {"baud rate", "data size", "parity", "stop size"};
            return OpenFailed(NetOpen::LineRefused,
                              NetOpenMessage(NetOpen::LineRefused, where_, limitMs,
                                             std::string("it answered ") + kNames[i] + " " +
                                                 std::to_string(confirmed_[i + 1])));
        }
    return NetOpen::Ok;
}

bool TCNetPort::LineConfirmed() const
{
    return std::all_of(std::begin(confirmed_) + 1, std::end(confirmed_), [](int64_t v) { return v >= 0; });
}

void TCNetPort::Take(const telnet::Command& command)
{
    std::vector<uint8_t> reply;
    if (command.Verb != telnet::Sb) {
        options_.Receive(command.Verb, command.Option, reply);
        int written = 0;
        if (!reply.empty()) SendRaw(reply, written);
        return;
    }
    if (command.Option != telnet::OptComPort || command.PayloadSize < 2) return;
    const uint8_t code = command.Payload[0];
    if (code == cp::ServerOffset + cp::SetBaudRate && command.PayloadSize >= 5) {
        confirmed_[cp::SetBaudRate] = (int64_t{command.Payload[1]} << 24) | (command.Payload[2] << 16) |
                                      (command.Payload[3] << 8) | command.Payload[4];
    } else if (code > cp::ServerOffset + cp::SetBaudRate && code <= cp::ServerOffset + cp::SetStopSize) {
        confirmed_[code - cp::ServerOffset] = command.Payload[1];
    }
    // Line and modem state notifications and flow-control notices carry nothing for the exchange.
}

void TCNetPort::Fail(const std::string& text, const std::string& reason)
{
    errorText_ = text;
    reason_ = reason;
}

bool TCNetPort::Pump()
{
    if (fd_ < 0) {
        Fail("Invalid Handle Error", std::strerror(EBADF));
        return false;
    }
    if (closed_) return false;
    std::array<uint8_t, kReadChunk> chunk{};
    std::vector<telnet::Command> commands;
    while (rx_.size() - rxStart_ < kRxLimit) {
        const ssize_t n = ::recv(fd_, chunk.data(), chunk.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (n <= 0) {
            closed_ = true;
            std::string reason = n == 0 ? kServerClosed : std::strerror(errno);
            if (telnet_ && decoder_.InsideCommand()) reason += ", in the middle of a telnet command";
            Fail("ReadFile Error", reason);
            return false;
        }
        // Acknowledged at once: a server that holds back small segments until the last one is
        // acknowledged (Nagle) would otherwise wait for the delayed acknowledgement at every reply.
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        const std::span<const uint8_t> got(chunk.data(), static_cast<size_t>(n));
        if (!telnet_) {
            rx_.insert(rx_.end(), got.begin(), got.end());
            continue;
        }
        commands.clear();
        decoder_.Feed(got, rx_, commands);
        for (const telnet::Command& c : commands) Take(c);
        if (closed_) return false;
    }
    return true;
}

bool TCNetPort::SendRaw(const std::vector<uint8_t>& bytes, int& written)
{
    written = 0;
    const int64_t stallLimit = writeStallMs_;
    int64_t lastProgress = NowMs();
    while (static_cast<size_t>(written) < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + written, bytes.size() - written, MSG_NOSIGNAL);
        if (n > 0) {
            written += static_cast<int>(n);
            lastProgress = NowMs();
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (NowMs() - lastProgress >= stallLimit) {
                Fail("WriteFile Error [" + std::to_string(written) + "]", std::strerror(ETIMEDOUT));
                return false;
            }
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, kPollSliceMs);
            continue;
        }
        closed_ = true;
        const int err = errno;
        Fail("WriteFile Error [" + std::to_string(written) + "]",
             err == EPIPE || err == ECONNRESET ? std::string(kServerClosed) : std::strerror(err));
        return false;
    }
    return true;
}

int TCNetPort::Send(const uint8_t* data, size_t count)
{
    if (fd_ < 0) {
        Fail("Invalid Handle Error", std::strerror(EBADF));
        return 1;
    }
    if (closed_) {
        errorText_ = "WriteFile Error [0]";
        return 1;
    }
    std::vector<uint8_t> out;
    const std::span<const uint8_t> bytes(data, count);
    if (telnet_) telnet::AppendEscaped(bytes, out);
    else out.assign(bytes.begin(), bytes.end());
    int written = 0;
    return SendRaw(out, written) ? 0 : 1;
}

int TCNetPort::InQueue()
{
    const bool open = Pump();
    const size_t waiting = rx_.size() - rxStart_;
    if (!open && waiting == 0) return -1;
    return static_cast<int>(waiting);
}

int TCNetPort::ReadAvail(size_t max, uint8_t* buffer, size_t& got)
{
    got = 0;
    const bool open = Pump();
    const size_t waiting = rx_.size() - rxStart_;
    if (!open && waiting == 0) return 1;
    got = std::min(max, waiting);
    std::copy_n(rx_.begin() + static_cast<std::ptrdiff_t>(rxStart_), got, buffer);
    rxStart_ += got;
    if (rxStart_ == rx_.size()) {
        rx_.clear();
        rxStart_ = 0;
    }
    return 0;
}

int64_t TCNetPort::RoundTripMs() const
{
    tcp_info info{};
    socklen_t len = sizeof info;
    const int64_t kernel = ::getsockopt(fd_, IPPROTO_TCP, TCP_INFO, &info, &len) == 0 ? info.tcpi_rtt / 1000 : 0;
    return std::max(answerMs_, kernel);
}

// On a slow path the answer to a request that timed out may still be on its way; a retry must not
// take it for its own. Whatever the repeater sends for a request made before the purge arrives
// within a round trip and the length of a reply, so on a path slower than a few milliseconds the
// purge drops what comes for that long.
void TCNetPort::PurgeRx()
{
    static_cast<void>(Pump());
    rx_.clear();
    rxStart_ = 0;
    const int64_t roundTrip = fd_ >= 0 && !closed_ ? RoundTripMs() : 0;
    if (roundTrip >= kSlowPathMs) {
        const int64_t until = NowMs() + roundTrip + kReplyMs;
        while (NowMs() < until) {
            pollfd p{fd_, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(std::min<int64_t>(kPollSliceMs, std::max<int64_t>(0, until - NowMs()))));
            if (!Pump()) break;
            rx_.clear();
            rxStart_ = 0;
        }
    }
    if (!telnet_ || closed_ || fd_ < 0) return;
    const uint8_t what = cp::PurgeReceive;
    int written = 0;
    static_cast<void>(SendRaw(telnet::ComPortCommand(cp::PurgeData, std::span<const uint8_t>(&what, 1)), written));
}

// Send returns only when every byte is with the connection, so nothing waits here to be purged;
// a purge of the server's transmit queue could only cut bytes that the exchange has just sent.
void TCNetPort::PurgeTx() {}

void TCNetPort::WaitReadable(int ms)
{
    if (fd_ < 0 || closed_ || rx_.size() > rxStart_) return;
    pollfd p{fd_, POLLIN, 0};
    ::poll(&p, 1, ms);
}

}  // namespace qm54
