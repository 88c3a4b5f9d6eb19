// TCRsDrv: the serial line on a termios device (a USB serial cable, a native port or a
// pseudo-terminal). Synchronous and non-blocking: reads return what is queued, writes are
// finished before Send returns. Every operation reports by its result and leaves a message
// in ErrorText and the system's reason in SystemReason; nothing throws.
#pragma once

#include "link/serial_port.h"

#include <cstdint>
#include <string>

namespace qm54 {

class TCRsDrv final : public SerialPort {
public:
    TCRsDrv() = default;
    ~TCRsDrv() override;
    TCRsDrv(const TCRsDrv&) = delete;
    TCRsDrv& operator=(const TCRsDrv&) = delete;

    // Line settings, stored only; they take effect at the next Open. Parity and StopBits take the
    // codes of the line-settings convention (parity 0 none, 1 odd, 2 even, 3 mark, 4 space;
    // stop bits 0 one, 1 one and a half, 2 two); only their low byte is applied.
    void SetBaudRate(uint32_t baud) { baudRate_ = baud; }
    void SetByteSize(uint8_t bits) { byteSize_ = bits; }
    void SetParity(int32_t parity) { parity_ = parity; }
    void SetStopBits(int32_t stopBits) { stopBits_ = stopBits; }
    // Milliseconds between the first and the second application of the line state (0: once only).
    void SetSettleWait(int ms) { settleMs_ = ms; }
    // How long Send waits for a full transmit queue to take more bytes before it gives up.
    void SetWriteStallLimit(int ms) { writeStallMs_ = ms; }

    // 0 open and configured, 1 failed. path is a device path such as /dev/ttyUSB0.
    int Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& PortName() const { return portName_; }

    int Send(const uint8_t* data, size_t count) override;
    int InQueue() override;
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override;
    void PurgeRx() override;
    void PurgeTx() override;
    void WaitReadable(int ms) override;
    const std::string& ErrorText() const override { return errorText_; }
    std::string SystemReason() const override;
    int SystemError() const { return lastErrno_; }  // errno behind SystemReason, 0 when none

    uint32_t BaudRate() const { return baudRate_; }
    uint8_t ByteSize() const { return byteSize_; }
    int32_t Parity() const { return parity_; }
    int32_t StopBits() const { return stopBits_; }
    uint32_t InBufSize() const { return inBufSize_; }
    uint32_t OutBufSize() const { return outBufSize_; }

private:
    void ClearError();
    void Fail(const std::string& text, int err);
    bool ApplyLineState();
    int WriteChunk(const uint8_t* data, size_t count);

    int fd_ = -1;
    std::string portName_;
    std::string errorText_;
    uint32_t baudRate_ = 38400;
    uint8_t byteSize_ = 8;
    int32_t parity_ = 0;
    int32_t stopBits_ = 2;
    uint32_t inBufSize_ = 2048;
    uint32_t outBufSize_ = 2048;
    int settleMs_ = 10;
    int writeStallMs_ = 5000;
    int lastErrno_ = 0;
};

}  // namespace qm54
