#include "sim/sim_repeater.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace qm54 {

namespace {

using namespace clone_byte;
constexpr int kArea5 = 5;
// The data byte that a KeepWrong fault stores changed: in a channel record the squelch level, in
// an alpha tag a character of its text.
constexpr size_t kKeptWrongByte = 5;

// One frame kind the repeater understands: a read request or a write block of one area.
struct FrameKind {
    uint8_t Command;
    bool IsRead;
    int Area;
    uint8_t Length;     // the length byte of the write block, or of the read reply
    int FirstBlock;     // block numbers firstBlock .. firstBlock + blocks - 1
    int Blocks;
    size_t Offset;      // image offset of the first block (area 5: offset into its own store)
    size_t BlockSize;   // payload bytes per block
};

// Areas 1 and 2 are read as block 0 and written as block 0xFF.
constexpr FrameKind kFrames[] = {
    {0x12, true, 1, 0x52, 0, 1, 0, 80},
    {0x22, true, 2, 0x82, 0, 1, 80, 128},
    {0x42, true, 3, 0x32, 0, 16, 208, 48},
    {0x62, true, 4, 0x0C, 1, 48, 976, 10},
    {0x11, false, 1, 0x52, 0xFF, 1, 0, 80},
    {0x21, false, 2, 0x82, 0xFF, 1, 80, 128},
    {0x41, false, 3, 0x32, 0, 16, 208, 48},
    {0x63, false, kArea5, 0x0C, 0, 10, 0, 10},
    {0x61, false, 4, 0x0C, 1, 48, 976, 10},
};

constexpr uint8_t kAlignCommand = 0xB1;
constexpr uint8_t kAlignStatus = 0xB2;

bool IsAlignFrame(uint8_t command) { return command == kAlignCommand || command == kAlignStatus; }

std::string HexBytes(const uint8_t* data, size_t count)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

// What an alignment command asks for, as the simulator logs it; empty for a frame it does not know.
std::string DescribeAlignCommand(const std::vector<uint8_t>& frame)
{
    const uint8_t letter = frame[3];
    if (frame[2] == 2) {
        if (letter == 'r') return "RX off";
        if (letter == 't') return "TX off";
        return {};
    }
    const bool rx = letter == 'R' && frame[2] == 0x0A;
    const bool tx = letter == 'T' && frame[2] == 0x0A;
    const bool trx = letter == 'T' && frame[2] == 0x10;
    if (!rx && !tx && !trx) return {};
    std::string text = rx ? "RX on" : tx ? "TX on" : "TRX on";
    text += std::string(": mode ") + (frame[4] == 'R' ? "Repeater" : frame[4] == 'B' ? "Base" : "?");
    text += std::string(", width ") + (frame[frame.size() - 2] == 'N' ? "Narrow" : frame[frame.size() - 2] == 'W' ? "Wide" : "?");
    if (trx)
        text += ", tx " + HexBytes(frame.data() + 5, 6) + ", rx " + HexBytes(frame.data() + 11, 6);
    else
        text += std::string(rx ? ", rx " : ", tx ") + HexBytes(frame.data() + 5, 6);
    return text;
}

const FrameKind* FindFrame(uint8_t command)
{
    for (const FrameKind& f : kFrames)
        if (f.Command == command) return &f;
    return nullptr;
}

// The sum of a frame's bytes before its last one.
uint8_t SumBeforeLast(const std::vector<uint8_t>& frame)
{
    return ByteSum(std::span<const uint8_t>(frame.data(), frame.size() - 1));
}

void SealFrame(std::vector<uint8_t>& frame)
{
    frame.back() = SumBeforeLast(frame);
}

struct FaultName {
    const char* Name;
    SimFaultKind Kind;
};
constexpr FaultName kFaultNames[] = {
    {"checksum", SimFaultKind::BadChecksum}, {"header", SimFaultKind::WrongHeader},
    {"block", SimFaultKind::WrongBlock},     {"start", SimFaultKind::WrongStart},
    {"ack", SimFaultKind::WrongAck},         {"silence", SimFaultKind::Silence},
    {"garbage", SimFaultKind::Garbage},      {"hangup", SimFaultKind::HangUp},
    {"flood", SimFaultKind::Flood},          {"len0", SimFaultKind::LengthZero},
    {"len255", SimFaultKind::Length255},     {"keep", SimFaultKind::KeepWrong},
};

bool ParseNumber(const std::string& text, int low, int high, int& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty() && value >= low &&
           value <= high;
}

}  // namespace

std::optional<SimFault> ParseSimFault(const std::string& text, std::string& error)
{
    const size_t at = text.find('@');
    const std::string name = text.substr(0, at);
    const FaultName* found = nullptr;
    for (const FaultName& f : kFaultNames)
        if (name == f.Name) found = &f;
    if (!found) {
        error = "unknown fault \"" + name + "\"";
        return std::nullopt;
    }
    SimFault fault{found->Kind};
    if (at == std::string::npos) {
        if (fault.Kind == SimFaultKind::WrongStart || fault.Kind == SimFaultKind::Flood) {
            fault.AtStart = true;
            return fault;
        }
        error = "fault \"" + name + "\" needs @AREA:BLOCK";
        return std::nullopt;
    }
    const std::string where = text.substr(at + 1);
    if (where == "align") {
        fault.Area = SimAlignArea;
        return fault;
    }
    const size_t colon = where.find(':');
    if (colon == std::string::npos || !ParseNumber(where.substr(0, colon), 1, 5, fault.Area) ||
        !ParseNumber(where.substr(colon + 1), 0, 48, fault.Block)) {
        error = "bad place \"" + where + "\" (AREA 1-5, BLOCK 0-48, or align)";
        return std::nullopt;
    }
    return fault;
}

const SimFault* SimRepeater::FaultAt(int area, int block, bool start) const
{
    for (const SimFault& f : faults_) {
        if (start ? f.AtStart : (!f.AtStart && f.Area == area && (area <= 2 || f.Block == block)))
            return &f;
    }
    return nullptr;
}

uint8_t SimRepeater::NextNoise()
{
    noise_ ^= noise_ << 13;
    noise_ ^= noise_ >> 17;
    noise_ ^= noise_ << 5;
    return static_cast<uint8_t>(noise_ >> 24);
}

std::vector<uint8_t> SimRepeater::FloodBytes(size_t count)
{
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) b = NextNoise();
    return bytes;
}

bool SimRepeater::TakeCompletedWrite()
{
    return std::exchange(completedWrite_, false);
}

void SimRepeater::LineClosed()
{
    frame_.clear();
    inSession_ = awaitingAck_ = storedInSession_ = false;
    flooding_ = false;
}

std::vector<uint8_t> SimRepeater::Feed(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> out;
    for (uint8_t b : bytes) {
        std::vector<uint8_t> part = Feed(b);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

std::vector<uint8_t> SimRepeater::Feed(uint8_t byte)
{
    std::vector<uint8_t> out;
    if (hungUp_) return out;
    out.push_back(byte);  // the cable echoes every byte, whatever the repeater does
    if (silent_ || flooding_) return out;

    if (!frame_.empty()) {
        frame_.push_back(byte);
        if (frame_.size() >= 3 && frame_[2] < 2) {
            frame_.clear();  // no frame is that short: drop it and wait for the next command
        } else if (frame_.size() >= 3 && frame_.size() == size_t{frame_[2]} + 3) {
            ProcessFrame(out);
            frame_.clear();
        }
        return out;
    }
    if (FindFrame(byte) || IsAlignFrame(byte)) {
        frame_.push_back(byte);
        return out;
    }

    switch (byte) {
    case Start: {
        awaitingAck_ = true;
        inSession_ = false;
        const SimFault* f = FaultAt(0, 0, true);
        if (f && f->Kind == SimFaultKind::Flood) {
            flooding_ = true;
        } else {
            out.push_back(Start);
            out.push_back(f && f->Kind == SimFaultKind::WrongStart ? Start : StartAnswer);
        }
        break;
    }
    case Resync:
        if (inSession_) {
            awaitingAck_ = true;
            out.push_back(Resync);  // with the echo, the three bytes the computer waits for
            out.push_back(StartAnswer);
        }
        break;
    case Ack:
        if (awaitingAck_) inSession_ = true;
        awaitingAck_ = false;
        break;
    case Nak:
        awaitingAck_ = false;
        break;
    case End:
        if (inSession_ && storedInSession_) completedWrite_ = true;
        inSession_ = storedInSession_ = false;
        break;
    default:  // 0x27 after the channel blocks, and anything unknown: echo only
        break;
    }
    return out;
}

void SimRepeater::ProcessFrame(std::vector<uint8_t>& out)
{
    if (IsAlignFrame(frame_[0])) {
        ProcessAlignFrame(out);
        return;
    }
    const FrameKind& kind = *FindFrame(frame_[0]);
    const int block = frame_[3];
    const bool sumOk = SumBeforeLast(frame_) == frame_.back();
    const bool shapeOk = frame_[1] == 0 && block >= kind.FirstBlock && block < kind.FirstBlock + kind.Blocks &&
                         frame_[2] == (kind.IsRead ? 2 : kind.Length);
    if (!inSession_) return;  // a repeater that was not started ignores frames
    if (!sumOk || !shapeOk) {
        out.push_back(Nak);
        if (!kind.IsRead) out.push_back(Nak);
        return;
    }
    const size_t index = static_cast<size_t>(block - kind.FirstBlock);
    const size_t offset = kind.Offset + index * kind.BlockSize;
    const int faultBlock = kind.Area <= 2 ? 0 : block;

    if (kind.IsRead) {
        std::vector<uint8_t> reply = {kind.Command, 0x00, kind.Length, static_cast<uint8_t>(block)};
        reply.insert(reply.end(), image_.begin() + static_cast<long>(offset),
                     image_.begin() + static_cast<long>(offset + kind.BlockSize));
        reply.push_back(0);
        SealFrame(reply);
        Answer(std::move(reply), kind.Area, faultBlock, true, out);
        return;
    }
    const uint8_t* payload = frame_.data() + 4;
    uint8_t* store = kind.Area == kArea5 ? area5_.data() : image_.data();
    std::copy_n(payload, kind.BlockSize, store + offset);
    const SimFault* fault = FaultAt(kind.Area, faultBlock);
    if (fault && fault->Kind == SimFaultKind::KeepWrong) store[offset + kKeptWrongByte] ^= 0x01;
    storedInSession_ = true;
    Answer({Ack, WriteAccepted}, kind.Area, faultBlock, false, out);
}

// The alignment mode: commands are acknowledged 0x06 0x17 and change nothing in the image; the
// status request is answered with VR, NSQ and RSSI.
void SimRepeater::ProcessAlignFrame(std::vector<uint8_t>& out)
{
    if (!inSession_) return;
    const bool sumOk = SumBeforeLast(frame_) == frame_.back() && frame_[1] == 0;
    if (frame_[0] == kAlignStatus) {
        if (!sumOk || frame_[2] != 2 || frame_[3] != 'Q') {
            out.push_back(Nak);
            return;
        }
        alignLog_.push_back("status: VR " + HexBytes(&status_[0], 1) + " NSQ " + HexBytes(&status_[1], 1) +
                            " RSSI " + HexBytes(&status_[2], 1));
        std::vector<uint8_t> reply{kAlignStatus, 0x00, 0x05, 0x41, status_[0], status_[1], status_[2], 0};
        SealFrame(reply);
        Answer(std::move(reply), SimAlignArea, 0, true, out);
        return;
    }
    const std::string command = sumOk ? DescribeAlignCommand(frame_) : std::string();
    if (command.empty()) {
        alignLog_.push_back("refused: " + HexBytes(frame_.data(), frame_.size()));
        out.push_back(Nak);
        out.push_back(Nak);
        return;
    }
    alignLog_.push_back(command);
    Answer({Ack, WriteAccepted}, SimAlignArea, 0, false, out);
}

// Sends a reply, or what the fault at this block makes of it.
void SimRepeater::Answer(std::vector<uint8_t> reply, int area, int block, bool isRead, std::vector<uint8_t>& out)
{
    const SimFault* fault = FaultAt(area, block);
    if (fault) {
        switch (fault->Kind) {
        case SimFaultKind::BadChecksum:
            if (isRead) ++reply.back();
            break;
        case SimFaultKind::WrongHeader:
            if (isRead) {
                reply[0] ^= 0x80;
                SealFrame(reply);
            }
            break;
        case SimFaultKind::WrongBlock:
            if (isRead) {
                ++reply[3];
                SealFrame(reply);
            }
            break;
        case SimFaultKind::LengthZero:
        case SimFaultKind::Length255:
            if (isRead) {
                reply[2] = fault->Kind == SimFaultKind::LengthZero ? 0 : 255;
                SealFrame(reply);
            }
            break;
        case SimFaultKind::WrongAck:
            if (!isRead) reply = {Ack, Ack};
            break;
        case SimFaultKind::Silence:
            reply.resize(reply.size() / 2);
            silent_ = true;
            break;
        case SimFaultKind::Garbage: {
            for (uint8_t& b : reply) b = NextNoise();
            if (isRead && SumBeforeLast(reply) == reply.back()) ++reply.back();
            if (!isRead && reply[0] == Ack && reply[1] == WriteAccepted) reply[1] = Nak;
            break;
        }
        case SimFaultKind::HangUp:
            hungUp_ = true;
            return;
        case SimFaultKind::Flood:
            flooding_ = true;
            return;
        case SimFaultKind::WrongStart:
        case SimFaultKind::KeepWrong:  // the reply is right; the stored byte is not
            break;
        }
    }
    out.insert(out.end(), reply.begin(), reply.end());
}

}  // namespace qm54
