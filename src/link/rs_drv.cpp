#include "link/rs_drv.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace qm54 {

namespace {

struct BaudCode {
    uint32_t Baud;
    speed_t Code;
};

constexpr BaudCode kBauds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool SpeedCode(uint32_t baud, speed_t& code)
{
    for (const auto& b : kBauds) {
        if (b.Baud == baud) {
            code = b.Code;
            return true;
        }
    }
    return false;
}

bool CharSizeFlag(uint8_t bits, tcflag_t& flag)
{
    switch (bits) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false;
    }
}

// Parity codes: 0 none, 1 odd, 2 even, 3 mark, 4 space.
bool ParityFlags(uint8_t parity, tcflag_t& flags)
{
    switch (parity) {
    case 0: flags = 0; return true;
    case 1: flags = PARENB | PARODD; return true;
    case 2: flags = PARENB; return true;
    case 3: flags = PARENB | PARODD | CMSPAR; return true;
    case 4: flags = PARENB | CMSPAR; return true;
    default: return false;
    }
}

// Stop-bit codes: 0 one, 1 one and a half (two on this platform), 2 two.
bool StopFlags(uint8_t stopBits, tcflag_t& flags)
{
    if (stopBits > 2) return false;
    flags = stopBits == 0 ? 0 : CSTOPB;
    return true;
}

}  // namespace

TCRsDrv::~TCRsDrv()
{
    Close();
}

void TCRsDrv::ClearError()
{
    errorText_.clear();
    lastErrno_ = 0;
}

void TCRsDrv::Fail(const std::string& text, int err)
{
    errorText_ = text;
    lastErrno_ = err;
}

std::string TCRsDrv::SystemReason() const
{
    return lastErrno_ == 0 ? std::string() : std::string(std::strerror(lastErrno_));
}

// Raw 8-bit line with the stored settings, no flow control, reads that return at once with what is
// queued; then DTR and RTS raised (a pseudo-terminal has no modem lines, so that may fail quietly).
bool TCRsDrv::ApplyLineState()
{
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) {
        Fail("SetCommState Error", errno);
        return false;
    }
    speed_t speed{};
    tcflag_t size{}, parity{}, stop{};
    if (!SpeedCode(baudRate_, speed) || !CharSizeFlag(byteSize_, size) ||
        !ParityFlags(static_cast<uint8_t>(parity_ & 0xFF), parity) ||
        !StopFlags(static_cast<uint8_t>(stopBits_ & 0xFF), stop)) {
        Fail("SetCommState Error", EINVAL);
        return false;
    }
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= size | parity | stop | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 || tcsetattr(fd_, TCSANOW, &tio) != 0) {
        Fail("SetCommState Error", errno);
        return false;
    }
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(fd_, TIOCMBIS, &lines);
    return true;
}

int TCRsDrv::Open(const std::string& path)
{
    Close();
    ClearError();
    portName_ = path;

    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        Fail("Port Open Error", errno);
        return 1;
    }
    if (!isatty(fd_)) {
        int err = errno == 0 ? ENOTTY : errno;
        ::close(fd_);
        fd_ = -1;
        Fail("Port Open Error", err);
        return 1;
    }
    (void)ioctl(fd_, TIOCEXCL);  // nobody else opens the port while we hold it
    // A second copy of this program, which opened the port before the exclusive mode could stop
    // it (or runs as root), would interleave its frames with ours: the advisory lock stops it.
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
        Fail("Port Open Error", EBUSY);
        return 1;
    }
    tcflush(fd_, TCIOFLUSH);

    bool ok = ApplyLineState();
    if (ok && settleMs_ > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs_));
        ok = ApplyLineState();
    }
    if (!ok) {
        std::string text = errorText_;
        int err = lastErrno_;
        Close();
        Fail(text, err);
        return 1;
    }
    return 0;
}

void TCRsDrv::Close()
{
    if (fd_ < 0) return;
    int dtr = TIOCM_DTR;
    (void)ioctl(fd_, TIOCMBIC, &dtr);
    tcflush(fd_, TCIOFLUSH);
    (void)ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

void TCRsDrv::PurgeRx()
{
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

void TCRsDrv::PurgeTx()
{
    if (fd_ >= 0) tcflush(fd_, TCOFLUSH);
}

// Writes one chunk completely: partial writes continue, a full transmit queue is waited on until
// it takes bytes again. Returns the number written; less than count means failure (error set).
int TCRsDrv::WriteChunk(const uint8_t* data, size_t count)
{
    size_t written = 0;
    using Steady = std::chrono::steady_clock;
    auto lastProgress = Steady::now();
    while (written < count) {
        ssize_t n = ::write(fd_, data + written, count - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            lastProgress = Steady::now();
            continue;
        }
        int err = n < 0 ? errno : EAGAIN;
        if (err == EINTR) continue;
        if (err != EAGAIN && err != EWOULDBLOCK) {
            Fail("WriteFile Error [" + std::to_string(written) + "]", err);
            break;
        }
        auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - lastProgress).count();
        if (waited >= writeStallMs_) {
            Fail("WriteFile Error [" + std::to_string(written) + "]", ETIMEDOUT);
            break;
        }
        pollfd p{fd_, POLLOUT, 0};
        if (poll(&p, 1, static_cast<int>(writeStallMs_ - waited)) > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            Fail("WriteFile Error [" + std::to_string(written) + "]", EIO);
            break;
        }
    }
    return static_cast<int>(written);
}

int TCRsDrv::Send(const uint8_t* data, size_t count)
{
    ClearError();
    if (fd_ < 0) {
        Fail("Invalid Handle Error", EBADF);
        return 1;
    }
    size_t done = 0;
    while (done < count) {
        size_t chunk = std::min<size_t>(count - done, outBufSize_);
        if (static_cast<size_t>(WriteChunk(data + done, chunk)) != chunk) return 1;
        done += chunk;
    }
    return 0;
}

int TCRsDrv::InQueue()
{
    ClearError();
    if (fd_ < 0) {
        Fail("Invalid Handle Error", EBADF);
        return -1;
    }
    int queued = 0;
    if (ioctl(fd_, FIONREAD, &queued) != 0) {
        Fail("ClearCommError", errno);
        return -1;
    }
    if (queued > 0) return queued;
    // Nothing queued: a line that has hung up (the cable pulled, the other end of a
    // pseudo-terminal closed) must be a failure, not an endless wait for bytes.
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) {
        Fail("ClearCommError", EIO);
        return -1;
    }
    return 0;
}

int TCRsDrv::ReadAvail(size_t max, uint8_t* buffer, size_t& got)
{
    got = 0;
    int queued = InQueue();
    if (queued < 0) return 1;
    if (queued == 0 || max == 0) return 0;
    ssize_t n = ::read(fd_, buffer, std::min<size_t>(max, outBufSize_));
    if (n > 0) {
        got = static_cast<size_t>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        Fail("ReadFile Error", errno);
        return 1;
    }
    return 0;
}

void TCRsDrv::WaitReadable(int ms)
{
    if (fd_ < 0 || ms <= 0) return;
    pollfd p{fd_, POLLIN, 0};
    (void)poll(&p, 1, ms);
}

}  // namespace qm54
