// The scripted repeater, cable, clock, observer and prompter of the clone tests: every byte sent
// comes back as echo and the repeater answers from its own memory, so that a whole exchange runs
// with no port and no real waits.
#pragma once

#include "link/clone.h"
#include "model/image/emem.h"
#include "model/image/map54.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

namespace clonetest {

using namespace qm54;
using Bytes = std::vector<uint8_t>;

struct FakeClock : Clock {
    int64_t now = 0;
    int64_t NowMs() override { return now; }
    void SleepMs(int ms) override { now += ms; }
};

// Written here from the frame layout, independently of the code under test.
inline uint8_t Sum(const Bytes& b)
{
    int s = 0;
    for (uint8_t x : b) s += x;
    return static_cast<uint8_t>(s & 0xFF);
}
inline Bytes Frame(Bytes head, const Bytes& payload)
{
    head.insert(head.end(), payload.begin(), payload.end());
    head.push_back(Sum(head));
    return head;
}
inline Bytes ReadRequest(uint8_t cmd, uint8_t block) { return Frame({cmd, 0x00, 0x02, block}, {}); }
inline Bytes Part(const Bytes& image, size_t from, size_t count)
{
    return Bytes(image.begin() + static_cast<long>(from), image.begin() + static_cast<long>(from + count));
}

// What can go wrong with the repeater's answer to one request.
enum class Fault {
    None, BadChecksum, WrongCommand, WrongBlock, Silence, Garbage, Length0, Length255,
    BadAck, ReadFailure, SendFailure, WrongStartAnswer, NoReply,
    Undecodable  // every reply fine, but the image does not decode as this model
};

// A repeater with its own memory, answering requests as they are sent. One fault may be placed
// on the answer to the first request whose command and block match.
struct FakeRepeater : SerialPort {
    FakeClock& clock;
    Bytes memory = Bytes(1456);
    Bytes line;          // everything the computer sent, in order
    std::vector<Bytes> sends;  // the same, one entry per Send
    Bytes queued;        // echo and answers waiting to be read
    bool silent = false; // once silent, nothing more arrives, not even the echo
    int startAnswersMissing = 0;  // start requests left unanswered before the repeater wakes up
    int startRequests = 0;
    struct Target { uint8_t cmd; uint8_t block; Fault fault; };
    std::optional<Target> target;
    bool failReads = false;
    std::function<void(const Bytes&)> onSend;  // lets a test cancel at a chosen request
    std::string error = "";

    explicit FakeRepeater(FakeClock& c) : clock(c)
    {
        for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 7 + 3);
    }

    Fault TakeFault(const Bytes& sent)
    {
        if (!target || sent.empty() || sent[0] != target->cmd) return Fault::None;
        if (sent.size() >= 4 && sent[3] != target->block) return Fault::None;
        const Fault f = target->fault;
        target.reset();
        return f;
    }

    Bytes Reply(uint8_t cmd, uint8_t block, size_t offset, size_t size)
    {
        return Frame({cmd, 0x00, static_cast<uint8_t>(size + 2), block}, Part(memory, offset, size));
    }

    static void Spoil(Bytes& reply, Fault f)
    {
        switch (f) {
        case Fault::BadChecksum: reply.back() = static_cast<uint8_t>(reply.back() + 1); break;
        case Fault::WrongCommand: reply[0] ^= 0x01; reply.back() = Sum(Part(reply, 0, reply.size() - 1)); break;
        case Fault::WrongBlock: reply[3] += 1; reply.back() = Sum(Part(reply, 0, reply.size() - 1)); break;
        case Fault::Garbage: for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<uint8_t>(0xA5 ^ (i * 31)); break;
        case Fault::Length0: reply[2] = 0; reply.back() = Sum(Part(reply, 0, 2)); break;
        case Fault::Length255: reply[2] = 255; break;
        default: break;
        }
    }

    Bytes Answer(const Bytes& s, Fault f)
    {
        if (s.size() == 1) {
            if (s[0] == 0x02) {
                if (startAnswersMissing > 0) { --startAnswersMissing; return {}; }
                return f == Fault::WrongStartAnswer ? Bytes{0x02, 0x02} : Bytes{0x02, 0x01};
            }
            if (s[0] == 0x03) return {0x30, 0x31};
            return {};
        }
        const uint8_t cmd = s[0], block = s[3];
        Bytes reply;
        switch (cmd) {
        case 0x12: reply = Reply(cmd, block, 0, 80); break;
        case 0x22: reply = Reply(cmd, block, 80, 128); break;
        case 0x42: reply = Reply(cmd, block, 208 + 48 * block, 48); break;
        case 0x62: reply = Reply(cmd, block, 976 + 10 * (block - 1), 10); break;
        default: {  // a written block
            Store(s);
            return f == Fault::BadAck ? Bytes{0x06, 0x06} : Bytes{0x06, 0x17};
        }
        }
        Spoil(reply, f);
        return reply;
    }

    std::map<uint8_t, std::vector<Bytes>> written;  // write command -> frames received
    void Store(const Bytes& s) { written[s[0]].push_back(s); }
    bool Ended() const { return std::find(sends.begin(), sends.end(), Bytes{0x28}) != sends.end(); }
    Bytes LastSend() const { return sends.empty() ? Bytes{} : sends.back(); }

    int Send(const uint8_t* data, size_t count) override
    {
        const Bytes s(data, data + count);
        const Fault f = TakeFault(s);
        if (f == Fault::SendFailure) return 1;
        if (s == Bytes{0x02}) ++startRequests;
        line.insert(line.end(), s.begin(), s.end());
        sends.push_back(s);
        if (onSend) onSend(s);
        if (silent) return 0;
        queued.insert(queued.end(), s.begin(), s.end());
        if (f == Fault::Silence) { silent = true; return 0; }
        if (f == Fault::ReadFailure) failReads = true;
        const Bytes a = f == Fault::NoReply ? Bytes{} : Answer(s, f);
        queued.insert(queued.end(), a.begin(), a.end());
        return 0;
    }
    int InQueue() override { return failReads ? -1 : static_cast<int>(queued.size()); }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override
    {
        got = 0;
        if (failReads) return 1;
        got = std::min(max, queued.size());
        std::copy_n(queued.begin(), got, buffer);
        queued.erase(queued.begin(), queued.begin() + static_cast<long>(got));
        return 0;
    }
    void PurgeRx() override { queued.clear(); }
    void PurgeTx() override {}
    void WaitReadable(int ms) override
    {
        if (queued.empty()) clock.now += ms;
    }
    const std::string& ErrorText() const override { return error; }
    std::string SystemReason() const override { return {}; }
};

struct Observer : LinkObserver {
    std::vector<int> positions;
    bool cancel = false;
    void SetProgress(int position, int maximum) override
    {
        EXPECT_EQ(maximum, 33);
        if (positions.empty() || positions.back() != position) positions.push_back(position);
    }
    void PumpEvents() override {}
    bool CancelRequested() const override { return cancel; }
};

struct Prompts : Prompter {
    std::vector<std::string> texts;
    MsgResult answer = MsgResult::Yes;
    MsgResult Show(const std::string& text, MsgKind, MsgButtons buttons, const std::string&) override
    {
        texts.push_back(text);
        return buttons == MsgButtons::YesNo ? answer : MsgResult::Ok;
    }
};

struct Rig {
    FakeClock clock;
    FakeRepeater repeater{clock};
    Observer observer;
    Prompts prompts;
    LinkTiming timing;
    CloneLink link{repeater, observer, clock, timing};
};

struct FailureCase {
    const char* name;
    uint8_t cmd;
    uint8_t block;
    Fault fault;
    const char* message;
    bool nak;
};

inline void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }


// An image to write whose band bytes match the repeater's.
inline CloneImage ImageToWrite(const FakeRepeater& repeater)
{
    CloneImage image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 13 + 1);
    image[4] = repeater.memory[4];
    image[5] = repeater.memory[5];
    return image;
}

}  // namespace clonetest
