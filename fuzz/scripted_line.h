// A clone exchange played against a transcript instead of a repeater, with time that moves only
// when the exchange waits. Shared by the clone fuzz targets and the seed generator.
//
// Transcript layout:
//   options byte (its meaning differs per target), cancel word (little-endian: the user presses Cancel after
//   that many event pumps; 0 = only when out of patience), then one record per Send:
//   control byte, answer length byte, answer bytes (what the repeater sends after the echo).
// Control bits: 0x01 the cable drops the echo of this send, 0x02 the send fails,
//               0x04 the next read fails.
// After the last record the repeater is silent; the cable still echoes.
#pragma once

#include "fuzz_input.h"
#include "link/serial_port.h"
#include "model/storage/prompter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qm54fuzz {

using Bytes = std::vector<uint8_t>;

namespace line_control {
constexpr uint8_t NoEcho = 0x01;
constexpr uint8_t SendFails = 0x02;
constexpr uint8_t ReadFails = 0x04;
}  // namespace line_control

struct FuzzClock : qm54::Clock {
    int64_t now = 0;
    int64_t NowMs() override { return now; }
    void SleepMs(int ms) override { now += ms; }
};

// A port whose received bytes wait in a queue; subclasses decide what a send puts there.
class QueuedPort : public qm54::SerialPort {
public:
    explicit QueuedPort(FuzzClock& clock) : clock_(clock) {}

    int InQueue() override { return static_cast<int>(queued_.size()); }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override
    {
        got = std::min(max, queued_.size());
        std::copy_n(queued_.begin(), got, buffer);
        queued_.erase(queued_.begin(), queued_.begin() + static_cast<long>(got));
        return 0;
    }
    void PurgeRx() override { queued_.clear(); }
    void PurgeTx() override {}
    void WaitReadable(int ms) override
    {
        if (queued_.empty()) clock_.now += ms;
    }
    const std::string& ErrorText() const override { return error_; }
    std::string SystemReason() const override { return {}; }

protected:
    void Queue(const Bytes& bytes) { queued_.insert(queued_.end(), bytes.begin(), bytes.end()); }
    bool LineEmpty() const { return queued_.empty(); }

private:
    FuzzClock& clock_;
    Bytes queued_;
    std::string error_ = "Scripted line failure";
};

class ScriptedLine : public QueuedPort {
public:
    ScriptedLine(FuzzInput& input, FuzzClock& clock) : QueuedPort(clock), input_(input) {}

    int Send(const uint8_t* data, size_t count) override
    {
        ++calls;
        const Bytes sent(data, data + count);
        uint8_t control = 0;
        Bytes answer;
        if (!input_.Empty()) {
            control = input_.Byte();
            const auto part = input_.Take(input_.Byte());
            answer.assign(part.begin(), part.end());
        }
        attempts.push_back(sent);
        attemptCalls.push_back(calls);
        if (control & line_control::SendFails) return 1;
        sends.push_back(sent);
        answers.push_back(answer);
        clean.push_back(LineEmpty() && !(control & line_control::NoEcho));
        if (!(control & line_control::NoEcho)) Queue(sent);
        Queue(answer);
        if (control & line_control::ReadFails) failNextRead_ = true;
        return 0;
    }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override
    {
        ++calls;
        got = 0;
        if (failNextRead_) {
            failNextRead_ = false;
            return 1;
        }
        return QueuedPort::ReadAvail(max, buffer, got);
    }
    void WaitReadable(int ms) override
    {
        ++calls;
        QueuedPort::WaitReadable(ms);
    }

    // The answer to the first send equal to request, when nothing else was waiting on the line and
    // the echo came back, so that the exchange received echo and answer as they stand; else null.
    const Bytes* CleanAnswerTo(const Bytes& request) const
    {
        const auto it = std::find(sends.begin(), sends.end(), request);
        if (it == sends.end()) return nullptr;
        const auto k = static_cast<size_t>(it - sends.begin());
        return clean[k] ? &answers[k] : nullptr;
    }

    std::vector<Bytes> attempts; // every Send, the failed ones included
    std::vector<int64_t> attemptCalls;  // the port calls made before each of them
    std::vector<Bytes> sends;    // what the computer sent, one entry per successful Send
    std::vector<Bytes> answers;  // the repeater's answer to each of them
    std::vector<bool> clean;     // the line was empty before the send and the echo came back
    int64_t calls = 0;           // port calls, the measure of how long the exchange ran

private:
    FuzzInput& input_;
    bool failNextRead_ = false;
};
// The user watching the progress window: presses Cancel after a number of event pumps, or after a
// minute of waiting in any case. Remembers how far the exchange had got when Cancel was first seen.
class FuzzUser : public qm54::LinkObserver {
public:
    static constexpr int64_t kPatienceMs = 60'000;

    FuzzUser(uint16_t cancelAfterPumps, const FuzzClock& clock, const ScriptedLine& line)
        : cancelAfterPumps_(cancelAfterPumps), clock_(clock), line_(line)
    {
    }

    void SetProgress(int position, int maximum) override
    {
        lastPosition = position;
        progressInRange = progressInRange && maximum > 0 && position >= 0 && position <= maximum;
    }
    void PumpEvents() override { ++pumps_; }
    bool CancelRequested() const override
    {
        const bool cancel = (cancelAfterPumps_ != 0 && pumps_ >= cancelAfterPumps_) || clock_.now >= kPatienceMs;
        if (cancel && cancelSeenAtCall < 0) cancelSeenAtCall = line_.calls;
        return cancel;
    }

    mutable int64_t cancelSeenAtCall = -1;
    int lastPosition = 0;
    bool progressInRange = true;

private:
    uint16_t cancelAfterPumps_;
    int64_t pumps_ = 0;
    const FuzzClock& clock_;
    const ScriptedLine& line_;
};

// Records every message; answers Yes/No questions with a fixed choice.
struct FuzzPrompter : qm54::Prompter {
    explicit FuzzPrompter(bool yes) : answer(yes ? qm54::MsgResult::Yes : qm54::MsgResult::No) {}
    qm54::MsgResult Show(const std::string& text, qm54::MsgKind, qm54::MsgButtons buttons, const std::string&) override
    {
        texts.push_back(text);
        return buttons == qm54::MsgButtons::YesNo ? answer : qm54::MsgResult::Ok;
    }
    qm54::MsgResult answer;
    std::vector<std::string> texts;
};

}  // namespace qm54fuzz
