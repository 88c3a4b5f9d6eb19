// SimRepeater: the repeater behind its interface cable, as the simulator tool and tests play it.
// Fed the bytes the computer sends, it returns what comes back on the line: the cable's echo of
// every byte, then the repeater's answers to the clone read and write. It keeps its own memory
// image, stores what a write sends, and misbehaves on request (SimFault) at a chosen block.
#pragma once

#include "link/clone.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qm54 {

enum class SimFaultKind {
    BadChecksum,  // a read reply's sum is off by one
    WrongHeader,  // a read reply carries another command code
    WrongBlock,   // a read reply carries the next block number
    WrongStart,   // the start request is answered 0x02 0x02
    WrongAck,     // a written block is acknowledged 0x06 0x06
    Silence,      // from this block on nothing but the cable's echo; the reply stops half way
    Garbage,      // the reply is replaced by as many meaningless bytes
    HangUp,       // the line goes dead instead of the reply
    Flood,        // an endless stream of bytes instead of the reply
    LengthZero,   // a read reply's length byte is 0
    Length255,    // a read reply's length byte is 255
    KeepWrong,    // a written block is acknowledged, but its sixth data byte is stored changed
};

// Where a fault strikes: area 1 to 5 and the block number as the frame carries it (areas 1 and 2
// have one block, 0), or SimAlignArea for every alignment command and status request. The start
// answer and a flood without a place strike at the start request.
inline constexpr int SimAlignArea = 6;

struct SimFault {
    SimFaultKind Kind;
    int Area = 0;
    int Block = 0;
    bool AtStart = false;
};

// Parses "KIND@AREA:BLOCK", "KIND@align" (or "start", "flood" alone). Kinds: checksum, header, block, start,
// ack, silence, garbage, hangup, flood, len0, len255, keep. On failure error says why.
std::optional<SimFault> ParseSimFault(const std::string& text, std::string& error);

class SimRepeater {
public:
    explicit SimRepeater(const CloneImage& image) : image_(image) {}

    void AddFault(const SimFault& fault) { faults_.push_back(fault); }

    // One byte from the computer; returns the bytes that come back (echo first).
    std::vector<uint8_t> Feed(uint8_t byte);
    std::vector<uint8_t> Feed(const std::vector<uint8_t>& bytes);

    // The computer closed the port: a clone under way is abandoned.
    void LineClosed();
    // The line has been quiet for a while: a frame left half sent is dropped, as the computer
    // sends every frame in one go.
    void LineIdle() { frame_.clear(); }

    bool HungUp() const { return hungUp_; }
    bool Flooding() const { return flooding_; }
    // Filler for a flood: deterministic bytes that never form a valid answer.
    std::vector<uint8_t> FloodBytes(size_t count);

    // True once after a clone that stored blocks was ended with 0x28.
    bool TakeCompletedWrite();

    // VR, NSQ and RSSI of the status reply.
    void SetStatus(uint8_t vr, uint8_t nsq, uint8_t rssi) { status_ = {vr, nsq, rssi}; }
    // What the alignment commands and status requests since the last call asked for, decoded,
    // one line each ("RX on: mode Base, width Narrow, rx 15 00 28 80 05 7F").
    std::vector<std::string> TakeAlignLog() { return std::exchange(alignLog_, {}); }

    const CloneImage& Image() const { return image_; }
    // Area 5 is written but not part of the image: ten blocks of ten bytes.
    const std::array<uint8_t, 100>& Area5() const { return area5_; }

private:
    void ProcessFrame(std::vector<uint8_t>& out);
    void ProcessAlignFrame(std::vector<uint8_t>& out);
    const SimFault* FaultAt(int area, int block, bool start = false) const;
    void Answer(std::vector<uint8_t> reply, int area, int block, bool isRead, std::vector<uint8_t>& out);
    uint8_t NextNoise();

    CloneImage image_;
    std::array<uint8_t, 100> area5_{};
    std::vector<SimFault> faults_;
    std::vector<uint8_t> frame_;  // a request or write block being received
    bool inSession_ = false;      // a start (or resync) was answered and acknowledged
    bool awaitingAck_ = false;
    bool storedInSession_ = false;
    bool completedWrite_ = false;
    bool silent_ = false;
    bool hungUp_ = false;
    bool flooding_ = false;
    uint32_t noise_ = 0x2545F491;
    std::array<uint8_t, 3> status_{0x0A, 0x7F, 0x00};
    std::vector<std::string> alignLog_;
};

}  // namespace qm54
