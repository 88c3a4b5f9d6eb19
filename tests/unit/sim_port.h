// The simulator's repeater behind an in-process serial port: what a test sends is fed to a
// SimRepeater, and what comes back waits to be read. Waiting for bytes moves a fake clock, so the
// time-outs of a silent repeater pass at once.
#pragma once

#include "sim/sim_repeater.h"
#include "link_fakes.h"
#include "model/image/emem.h"
#include "model/image/map54.h"

#include <algorithm>
#include <deque>
#include <string>

namespace qm54test {

// What the window's New gives: the blank image decoded and given the defaults.
inline qm54::CloneImage NewImage()
{
    qm54::TMap54 map;
    qm54::TCEmem emem;
    static_cast<void>(map.Decode(emem));
    qm54::SetDefaults(emem);
    map.Encode(emem);
    return map.Bytes();
}

struct SimPort : qm54::SerialPort {
    FakeClock& clock;
    qm54::SimRepeater sim;
    std::deque<uint8_t> queued;
    bool deaf = false;  // once set, nothing comes back, not even the echo
    std::string error;

    SimPort(FakeClock& c, const qm54::CloneImage& image) : clock(c), sim(image) {}

    int Send(const uint8_t* data, size_t count) override
    {
        for (size_t i = 0; i < count; ++i) {
            const std::vector<uint8_t> back = sim.Feed(data[i]);
            if (!deaf) queued.insert(queued.end(), back.begin(), back.end());
        }
        return 0;
    }
    int InQueue() override { return static_cast<int>(queued.size()); }
    int ReadAvail(size_t max, uint8_t* buffer, size_t& got) override
    {
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

}  // namespace qm54test
