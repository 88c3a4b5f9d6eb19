#include "sim/sim_repeater.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using qm54::SimFaultKind;
using qm54::SimRepeater;
using Bytes = std::vector<uint8_t>;

qm54::CloneImage PatternImage()
{
    qm54::CloneImage image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
    return image;
}

uint8_t Sum(const Bytes& b, size_t count)
{
    return static_cast<uint8_t>(std::accumulate(b.begin(), b.begin() + static_cast<long>(count), 0u));
}

Bytes Request(uint8_t command, uint8_t block)
{
    Bytes r = {command, 0x00, 0x02, block, 0};
    r[4] = Sum(r, 4);
    return r;
}

Bytes WriteBlock(uint8_t command, uint8_t block, const Bytes& payload)
{
    Bytes b(payload.size() + 5);
    b[0] = command;
    b[2] = static_cast<uint8_t>(payload.size() + 2);
    b[3] = block;
    std::copy(payload.begin(), payload.end(), b.begin() + 4);
    b.back() = Sum(b, b.size() - 1);
    return b;
}


struct SimRepeaterTest : ::testing::Test {
    qm54::CloneImage image = PatternImage();
    SimRepeater sim{image};

    void Start()
    {
        ASSERT_EQ(sim.Feed(0x02), (Bytes{0x02, 0x02, 0x01}));
        ASSERT_EQ(sim.Feed(0x06), (Bytes{0x06}));
    }
    // The repeater's part of the answer to a request: what follows the echo.
    Bytes Reply(const Bytes& request)
    {
        Bytes out = sim.Feed(request);
        EXPECT_GE(out.size(), request.size());
        EXPECT_TRUE(std::equal(request.begin(), request.end(), out.begin())) << "echo";
        return Bytes(out.begin() + static_cast<long>(std::min(out.size(), request.size())), out.end());
    }
    Bytes ImageSlice(size_t offset, size_t count) const
    {
        return Bytes(image.begin() + static_cast<long>(offset), image.begin() + static_cast<long>(offset + count));
    }
};

TEST_F(SimRepeaterTest, AnswersTheReadRequestsOfEveryAreaFromItsImage)
{
    // not started yet: the cable echoes, the repeater keeps quiet
    EXPECT_EQ(Reply(Request(0x12, 0)), Bytes{});
    Start();

    struct Case {
        uint8_t command, block, length;
        size_t offset, size;
    };
    const Case cases[] = {
        {0x12, 0, 0x52, 0, 80}, {0x22, 0, 0x82, 80, 128}, {0x42, 0, 0x32, 208, 48},
        {0x42, 15, 0x32, 928, 48}, {0x62, 1, 0x0C, 976, 10}, {0x62, 48, 0x0C, 1446, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.command) * 100 + c.block);
        Bytes reply = Reply(Request(c.command, c.block));
        ASSERT_EQ(reply.size(), c.size + 5);
        EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 4), (Bytes{c.command, 0, c.length, c.block}));
        EXPECT_EQ(Bytes(reply.begin() + 4, reply.end() - 1), ImageSlice(c.offset, c.size));
        EXPECT_EQ(reply.back(), Sum(reply, reply.size() - 1));
    }
    // blocks outside an area and requests with a wrong sum are refused with NAK
    EXPECT_EQ(Reply(Request(0x42, 16)), Bytes{0x15});
    EXPECT_EQ(Reply(Request(0x62, 0)), Bytes{0x15});
    Bytes bad = Request(0x22, 0);
    ++bad[4];
    EXPECT_EQ(Reply(bad), Bytes{0x15});
    // the handshake bytes of a clone: resync is answered with two bytes (three with the echo),
    // the rest is echo only
    EXPECT_EQ(Reply({0x03}).size(), 2u);
    EXPECT_EQ(Reply({0x06, 0x27, 0x15, 0x28}), Bytes{});

    // a frame left half sent is dropped once the line goes quiet
    Start();
    EXPECT_EQ(Reply({0x22, 0x00}), Bytes{});
    sim.LineIdle();
    EXPECT_EQ(Reply({0x02}), (Bytes{0x02, 0x01}));
}

TEST_F(SimRepeaterTest, StoresWrittenBlocksWhereTheyBelongAndReportsTheCompletedWrite)
{
    Start();
    const Bytes area1(80, 0xA1), area2(128, 0xA2), area3(48, 0xA3), area4(10, 0xA4), area5 = {0, 0, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25};
    const Bytes accepted = {0x06, 0x17};
    EXPECT_EQ(Reply(WriteBlock(0x11, 0xFF, area1)), accepted);
    EXPECT_EQ(Reply(WriteBlock(0x21, 0xFF, area2)), accepted);
    EXPECT_EQ(Reply(WriteBlock(0x41, 15, area3)), accepted);
    EXPECT_EQ(Reply(WriteBlock(0x63, 9, area5)), accepted);
    EXPECT_EQ(Reply(WriteBlock(0x61, 1, area4)), accepted);

    // refused blocks change nothing: wrong sum, block out of range, wrong length, area 1 as block 0
    Bytes badSum = WriteBlock(0x41, 0, area3);
    ++badSum.back();
    for (const Bytes& refused : {badSum, WriteBlock(0x41, 16, area3), WriteBlock(0x61, 49, area4),
                                 WriteBlock(0x61, 2, Bytes(12, 0xEE)), WriteBlock(0x11, 0, area1)})
        EXPECT_EQ(Reply(refused), (Bytes{0x15, 0x15}));

    EXPECT_FALSE(sim.TakeCompletedWrite());
    EXPECT_EQ(Reply({0x28}), Bytes{});
    EXPECT_TRUE(sim.TakeCompletedWrite());
    EXPECT_FALSE(sim.TakeCompletedWrite());

    qm54::CloneImage expected = PatternImage();
    std::fill_n(expected.begin(), 80, 0xA1);
    std::fill_n(expected.begin() + 80, 128, 0xA2);
    std::fill_n(expected.begin() + 928, 48, 0xA3);
    std::fill_n(expected.begin() + 976, 10, 0xA4);
    EXPECT_EQ(sim.Image(), expected);
    EXPECT_EQ(Bytes(sim.Area5().begin() + 90, sim.Area5().end()), area5);

    // a read-only clone is no completed write; nor is a write that the computer abandons
    Start();
    Reply(Request(0x12, 0));
    Reply({0x28});
    EXPECT_FALSE(sim.TakeCompletedWrite());
    Start();
    Reply(WriteBlock(0x41, 0, area3));
    sim.LineClosed();
    Reply({0x28});
    EXPECT_FALSE(sim.TakeCompletedWrite());
}

TEST_F(SimRepeaterTest, ReadFaultsStrikeOnlyTheirBlock)
{
    struct Case {
        const char* fault;
        void (*check)(const Bytes& reply);
    };
    const Case cases[] = {
        {"checksum@3:5", [](const Bytes& r) { EXPECT_EQ(uint8_t(r.back() - 1), Sum(r, r.size() - 1)); }},
        {"header@3:5", [](const Bytes& r) { EXPECT_NE(r[0], 0x42); EXPECT_EQ(r.back(), Sum(r, r.size() - 1)); }},
        {"block@3:5", [](const Bytes& r) { EXPECT_EQ(r[3], 6); EXPECT_EQ(r.back(), Sum(r, r.size() - 1)); }},
        {"len0@3:5", [](const Bytes& r) { EXPECT_EQ(r[2], 0); EXPECT_EQ(r.size(), 53u); }},
        {"len255@3:5", [](const Bytes& r) { EXPECT_EQ(r[2], 255); EXPECT_EQ(r.size(), 53u); }},
        {"garbage@3:5", [](const Bytes& r) { EXPECT_EQ(r.size(), 53u); EXPECT_NE(r.back(), Sum(r, r.size() - 1)); }},
        {"ack@3:5", [](const Bytes& r) { EXPECT_EQ(r.back(), Sum(r, r.size() - 1)); }},  // writes only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        SimRepeater s(image);
        std::string error;
        auto fault = qm54::ParseSimFault(c.fault, error);
        ASSERT_TRUE(fault) << error;
        s.AddFault(*fault);
        s.Feed({0x02, 0x06});
        Bytes healthy = s.Feed(Request(0x42, 4));
        EXPECT_EQ(healthy.size(), 58u);
        EXPECT_EQ(healthy.back(), Sum(Bytes(healthy.begin() + 5, healthy.end()), 52));
        Bytes out = s.Feed(Request(0x42, 5));
        ASSERT_EQ(out.size(), 58u);
        c.check(Bytes(out.begin() + 5, out.end()));
    }
}

TEST_F(SimRepeaterTest, LineFaults)
{
    std::string error;
    auto add = [&](SimRepeater& s, const char* text) { s.AddFault(*qm54::ParseSimFault(text, error)); };

    SimRepeater wrongStart(image);
    add(wrongStart, "start");
    EXPECT_EQ(wrongStart.Feed(0x02), (Bytes{0x02, 0x02, 0x02}));

    SimRepeater wrongAck(image);
    add(wrongAck, "ack@4:48");
    wrongAck.Feed({0x02, 0x06});
    EXPECT_EQ(wrongAck.Feed(WriteBlock(0x61, 47, Bytes(10))).size(), 17u);
    Bytes out = wrongAck.Feed(WriteBlock(0x61, 48, Bytes(10)));
    EXPECT_EQ(Bytes(out.end() - 2, out.end()), (Bytes{0x06, 0x06}));

    // silence: half a reply, then only the cable's echo for every later byte
    SimRepeater silent(image);
    add(silent, "silence@1:0");
    silent.Feed({0x02, 0x06});
    EXPECT_EQ(silent.Feed(Request(0x12, 0)).size(), 5u + 85 / 2);
    EXPECT_EQ(silent.Feed(Request(0x22, 0)).size(), 5u);
    EXPECT_EQ(silent.Feed(0x02), Bytes{0x02});

    SimRepeater hangUp(image);
    add(hangUp, "hangup@5:0");
    hangUp.Feed({0x02, 0x06});
    EXPECT_EQ(hangUp.Feed(WriteBlock(0x63, 0, Bytes(10))).size(), 15u);  // echo, no answer
    EXPECT_TRUE(hangUp.HungUp());
    EXPECT_EQ(hangUp.Feed(0x28), Bytes{});

    SimRepeater flood(image);
    add(flood, "flood");
    EXPECT_EQ(flood.Feed(0x02), Bytes{0x02});
    EXPECT_TRUE(flood.Flooding());
    EXPECT_EQ(flood.FloodBytes(500).size(), 500u);
    flood.LineClosed();
    EXPECT_FALSE(flood.Flooding());
}

TEST(ParseSimFault, AcceptsKindsAndPlacesAndNamesWhatIsWrong)
{
    std::string error;
    auto f = qm54::ParseSimFault("block@3:15", error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Kind, SimFaultKind::WrongBlock);
    EXPECT_EQ(f->Area, 3);
    EXPECT_EQ(f->Block, 15);
    ASSERT_TRUE(qm54::ParseSimFault("flood@4:48", error));
    EXPECT_TRUE(qm54::ParseSimFault("start", error)->AtStart);

    for (const char* bad : {"", "nonsense@1:0", "checksum", "checksum@6:0", "checksum@0:0", "checksum@3",
                            "checksum@3:49", "checksum@3:-1", "checksum@3:x", "checksum@:"}) {
        error.clear();
        EXPECT_FALSE(qm54::ParseSimFault(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

}  // namespace

namespace {

// The alignment mode as the simulator plays it: every command acknowledged and logged decoded,
// the status answered from its settable values, the image never touched, and the faults at
// "align".
TEST_F(SimRepeaterTest, AlignmentCommandsAreAcknowledgedAndLeaveTheImageAlone)
{
    Start();
    sim.SetStatus(0x0A, 0x7F, 0x00);
    EXPECT_EQ(Reply(WriteBlock(0xB1, 'R', {'B', 1, 2, 3, 4, 5, 6, 'N'})), (Bytes{0x06, 0x17}));
    EXPECT_EQ(Reply(WriteBlock(0xB1, 'T', {'R', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 'W'})), (Bytes{0x06, 0x17}));
    EXPECT_EQ(Reply(Request(0xB1, 't')), (Bytes{0x06, 0x17}));
    EXPECT_EQ(Reply(Request(0xB2, 'Q')), (Bytes{0xB2, 0x00, 0x05, 0x41, 0x0A, 0x7F, 0x00, 0x81}));
    EXPECT_EQ(sim.TakeAlignLog(), (std::vector<std::string>{
                                      "RX on: mode Base, width Narrow, rx 01 02 03 04 05 06",
                                      "TRX on: mode Repeater, width Wide, tx 01 02 03 04 05 06, rx 07 08 09 0A 0B 0C",
                                      "TX off",
                                      "status: VR 0A NSQ 7F RSSI 00",
                                  }));
    Bytes spoilt = Request(0xB1, 'r');
    ++spoilt.back();
    EXPECT_EQ(Reply(spoilt), (Bytes{0x15, 0x15}));
    EXPECT_EQ(sim.Image(), image);
    sim.Feed(0x28);
    EXPECT_FALSE(sim.TakeCompletedWrite());
}

TEST_F(SimRepeaterTest, AlignmentFaults)
{
    std::string error;
    const auto fault = [&](const char* text) { return *qm54::ParseSimFault(text, error); };
    sim.AddFault(fault("ack@align"));
    Start();
    EXPECT_EQ(Reply(Request(0xB1, 'r')), (Bytes{0x06, 0x06}));

    SimRepeater badSum{image};
    badSum.AddFault(fault("checksum@align"));
    ASSERT_EQ(badSum.Feed(0x02).size(), 3u);
    badSum.Feed(0x06);
    const Bytes status = badSum.Feed(Request(0xB2, 'Q'));
    EXPECT_EQ(Bytes(status.begin() + 5, status.end()), (Bytes{0xB2, 0x00, 0x05, 0x41, 0x0A, 0x7F, 0x00, 0x82}));

    SimRepeater quiet{image};
    quiet.AddFault(fault("silence@align"));
    ASSERT_EQ(quiet.Feed(0x02).size(), 3u);
    quiet.Feed(0x06);
    EXPECT_EQ(quiet.Feed(Request(0xB1, 'r')).size(), 5u + 1u);  // echo and half the answer
    EXPECT_EQ(quiet.Feed(Request(0xB2, 'Q')), Request(0xB2, 'Q'));  // the echo alone from then on
    EXPECT_FALSE(qm54::ParseSimFault("ack@aligned", error).has_value());
}

}  // namespace
