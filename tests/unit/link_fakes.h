// Small stand-ins for the link's front-end interfaces, shared by the link tests.
#pragma once

#include "link/serial_port.h"

namespace qm54test {

// Time that moves only when a test or a scripted port moves it.
struct FakeClock : qm54::Clock {
    int64_t now = 1000;
    int64_t NowMs() override { return now; }
    void SleepMs(int ms) override { now += ms; }
};

// Counts event pumps and asks for cancel once a given number of them has run.
struct CountingObserver : qm54::LinkObserver {
    int pumps = 0;
    int cancelAfterPumps = -1;  // -1: never
    void SetProgress(int, int) override {}
    void PumpEvents() override { ++pumps; }
    bool CancelRequested() const override { return cancelAfterPumps >= 0 && pumps >= cancelAfterPumps; }
};

}  // namespace qm54test
