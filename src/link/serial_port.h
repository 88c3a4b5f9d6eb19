// What the clone and alignment exchanges need of a serial line, and of time.
// TCRsDrv implements SerialPort on termios; tests and fuzz targets script both interfaces,
// so that a whole exchange runs with no port and no real waits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm54 {

class SerialPort {
public:
    virtual ~SerialPort() = default;
    virtual int Send(const uint8_t* data, size_t count) = 0;            // 0 all written, 1 failed
    virtual int InQueue() = 0;                                          // bytes waiting, -1 failed
    virtual int ReadAvail(size_t max, uint8_t* buffer, size_t& got) = 0; // 0 done (got may be 0), 1 failed
    virtual void PurgeRx() = 0;
    virtual void PurgeTx() = 0;
    // Waits at most ms milliseconds for a received byte (poll() on a real port). Returns at once
    // when bytes are already waiting.
    virtual void WaitReadable(int ms) = 0;
    virtual const std::string& ErrorText() const = 0;
    virtual std::string SystemReason() const = 0; // strerror of the last failure, empty when none
};

// Monotonic milliseconds and plain waits. The real one uses steady_clock; a scripted one advances
// a counter, so tests of the 5000 ms rule finish at once.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t NowMs() = 0;
    virtual void SleepMs(int ms) = 0;
};

Clock& SystemClock();

// The fixed waits of the link, in one place so that tests may shorten them.
struct LinkTiming {
    int SettleMs = 10;        // PortSettleWait (settings key H67WAIT) before the line state is applied again
    int HandshakePauseMs = 100; // after the purge of CloneStart and CloneResync, and after an area 1 request
    int ShortPauseMs = 200;
    int AlignPauseMs = 500;
    int EndPauseMs = 700;     // after 0x28
    int CompletePauseMs = 2000; // before "Upload is completed" / "Download is completed"
    int NoDataMs = 5000;      // RecvWait ends after this long without a byte
    int PollMs = 10;          // longest single wait for a byte inside RecvWait
    int VerifyLimitMs = 30000; // a verify's read-back gives up after this long
};

// What an exchange tells its window, and how it learns of Cancel. The Qt progress window, the
// tool's text progress bar and test scripts implement it.
class LinkObserver {
public:
    virtual ~LinkObserver() = default;
    virtual void SetProgress(int position, int maximum) = 0;
    virtual void PumpEvents() = 0;              // let the front end process pending events
    virtual bool CancelRequested() const = 0;
};

// How a RecvWait ended. A cancelled wait is never a reply: the caller decides what the line
// gets next.
enum class [[nodiscard]] RecvResult {
    Received,       // the bytes arrived and were copied
    DriverFailure,  // the port failed, or the count asked for is not 1 to 1024
    NoData,         // no byte came for timing.noDataMs
    Cancelled,      // observer.CancelRequested() became true; dest untouched
};

// RecvWait: the one timed receive of the link. Collects exactly `want` bytes (1 to 1024) into dest
// (surplus bytes of the last read are dropped). The no-data limit counts from the call or from the
// last received byte. observer.PumpEvents() runs between polls.
RecvResult RecvWait(SerialPort& port, uint8_t* dest, size_t want, LinkObserver& observer, Clock& clock,
                    const LinkTiming& timing);

}  // namespace qm54
