// What a network port receives, whatever the server sends: the input is written into a socket
// pair as the server's side of an rfc2217:// connection, then that side stops sending. Properties:
// the port hands the exchange exactly the data bytes an independent reading of the telnet stream
// finds (no negotiation or notification byte, every doubled 255 once), then fails with a reason;
// every read stays within its buffer (the sanitizers watch), and reading ends in bounded time.
//
// Input: the bytes the server sends.
#include "fuzz_check.h"
#include "link/net_port.h"

#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace {

using namespace qm54;
using Bytes = std::vector<uint8_t>;

constexpr size_t kMaxInput = 16384;
constexpr int kMaxReads = 100000;

// The data of a telnet stream, read plainly: IAC IAC is 255; IAC and a negotiation verb take the
// option byte with them; IAC SB runs to IAC SE (inside it IAC IAC is payload, and any other IAC
// command ends it and is read as that command); every other IAC command is two bytes.
Bytes ReferenceData(const uint8_t* in, size_t size)
{
    constexpr uint8_t Iac = 255, Sb = 250, Se = 240, Will = 251, Dont = 254;
    Bytes data;
    bool inSub = false;
    for (size_t i = 0; i < size; ++i) {
        if (in[i] != Iac) {
            if (!inSub) data.push_back(in[i]);
            continue;
        }
        if (i + 1 >= size) break;
        const uint8_t verb = in[++i];
        if (inSub) {
            if (verb == Iac) continue;
            inSub = false;
            if (verb == Se) continue;
        }
        if (verb == Iac) data.push_back(Iac);
        else if (verb >= Will && verb <= Dont) ++i;
        else if (verb == Sb) {
            ++i;  // the option
            inSub = true;
        }
    }
    return data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInput) return 0;
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return 0;
    // The socket holds the whole input; the port's replies go back into the server's side unread.
    const int buffer = 4 * kMaxInput;
    ::setsockopt(pair[1], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    ::setsockopt(pair[0], SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    ::setsockopt(pair[1], SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::send(pair[1], data + sent, size - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    FUZZ_CHECK(sent == size);
    ::shutdown(pair[1], SHUT_WR);

    TCNetPort port;
    port.Adopt(pair[0], PortKind::Rfc2217);
    Bytes got;
    bool failed = false;
    for (int i = 0; i < kMaxReads && !failed; ++i) {
        uint8_t chunk[97];  // an odd size, so reads end inside sequences
        size_t n = 0;
        failed = port.ReadAvail(sizeof chunk, chunk, n) != 0;
        FUZZ_CHECK(n <= sizeof chunk);
        got.insert(got.end(), chunk, chunk + n);
        if (!failed && n == 0) port.WaitReadable(10);
    }
    FUZZ_CHECK(failed);
    FUZZ_CHECK(!port.SystemReason().empty());
    FUZZ_CHECK(got == ReferenceData(data, size));
    port.Close();
    ::close(pair[1]);
    return 0;
}
