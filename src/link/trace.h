// Serial traces: what went over the line in one exchange, as text. A TraceRecorder collects the
// bytes (through a TracingPort wrapped around the real port) and the exchange's marks; the store
// keeps the last ten traces in a folder. Recording only appends to a string, so a traced exchange
// runs at the pace of an untraced one.
//
// A trace reads, one event a line, with the milliseconds since the exchange began:
//        12 tx 02
//        15 rx 02 02 01
//      5020 -- timeout
//      5031 == result: Timeout
// "tx" is one frame sent, "rx" the bytes received until the next event (the cable's echo of the
// frame, then the answer).
#pragma once

#include "link/clone.h"
#include "link/serial_port.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm54 {

class TraceRecorder final : public LinkTrace {
public:
    // heading is the first line, after "# ".
    TraceRecorder(Clock& clock, const std::string& heading);

    void Sent(std::span<const uint8_t> bytes) override;
    void Received(std::span<const uint8_t> bytes) override;
    void Mark(TraceMark mark) override;
    void Result(const std::string& result);

    // The trace so far, bytes still being received included.
    std::string Text() const;

private:
    void FlushReceived();
    void Line(int64_t at, const char* tag, const std::string& rest);
    int64_t Elapsed() const;

    Clock& clock_;
    int64_t start_;
    std::string text_;
    std::vector<uint8_t> pendingRx_;
    int64_t pendingRxAt_ = 0;
};

// A SerialPort that passes everything to port and tells trace what was sent and received.
class TracingPort final : public SerialPort {
public:
    TracingPort(SerialPort& port, LinkTrace& trace) : port_(port), trace_(trace) {}

    int Send(const uint8_t* data, size_t count) override;
    int InQueue() override { return port_.InQueue(); }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override;
    void PurgeRx() override { port_.PurgeRx(); }
    void PurgeTx() override { port_.PurgeTx(); }
    void WaitReadable(int ms) override { port_.WaitReadable(ms); }
    const std::string& ErrorText() const override { return port_.ErrorText(); }
    std::string SystemReason() const override { return port_.SystemReason(); }

private:
    SerialPort& port_;
    LinkTrace& trace_;
};

// The result as a trace names it ("Ok", "Timeout", ...).
const char* ResultName(CloneResult result);

// Writes text as a new trace in folder (created when missing), named by stamp (UtcTimeStamp, so
// that names sort as times) and kind (only letters, digits and '-' are kept), and removes the
// oldest traces there until keep are left, never the one just written.
// Returns the path written, or empty when it could not be written (reason says why).
std::string StoreTrace(const std::string& folder, const std::string& stamp, const std::string& kind,
                       const std::string& text, std::string& reason, size_t keep = 10);

// The path of the newest trace in folder (the last by name), empty when there is none.
std::string NewestTrace(const std::string& folder);

}  // namespace qm54
