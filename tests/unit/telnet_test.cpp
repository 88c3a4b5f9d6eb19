#include "link/telnet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace qm54::telnet;
using Bytes = std::vector<uint8_t>;

struct Split {
    Bytes data;
    std::vector<Command> commands;
};

Split FeedAll(const Bytes& in, size_t chunk)
{
    Decoder d;
    Split out;
    for (size_t at = 0; at < in.size(); at += chunk)
        d.Feed(std::span<const uint8_t>(in).subspan(at, std::min(chunk, in.size() - at)), out.data, out.commands);
    return out;
}

struct DecodeCase {
    const char* name;
    Bytes in;
    Bytes data;
    std::vector<std::pair<uint8_t, uint8_t>> commands;  // verb, option
};

// Every case is fed whole, then byte by byte and in threes, so a sequence cut between two reads
// decodes the same as one read at once.
TEST(TelnetDecoder, SplitsDataFromCommandsWhereverTheReadsAreCut)
{
    const std::vector<DecodeCase> cases = {
        {"doubled 255 is one data byte", {0x41, Iac, Iac, 0x42, Iac, Iac}, {0x41, Iac, 0x42, Iac}, {}},
        {"negotiation between data bytes",
         {0x02, Iac, Do, OptComPort, 0x01, Iac, Will, OptBinary, 0x06},
         {0x02, 0x01, 0x06},
         {{Do, OptComPort}, {Will, OptBinary}}},
        {"a notification inside a frame",
         {0x12, 0x00, Iac, Sb, OptComPort, 107, 0x30, Iac, Se, 0x02, 0x00},
         {0x12, 0x00, 0x02, 0x00},
         {{Sb, OptComPort}}},
        {"an escaped 255 inside a subnegotiation stays out of the data",
         {Iac, Sb, OptComPort, 101, 0, 0, Iac, Iac, Iac, Se, 0x55},
         {0x55},
         {{Sb, OptComPort}}},
        {"two-byte commands are dropped", {0x10, Iac, 241, 0x11, Iac, 249, Iac, Se, 0x12}, {0x10, 0x11, 0x12}, {}},
        {"a subnegotiation ended by another command", {Iac, Sb, OptComPort, 106, Iac, Will, OptEcho, 0x20},
         {0x20}, {{Sb, OptComPort}, {Will, OptEcho}}},
    };
    for (const DecodeCase& c : cases) {
        for (size_t chunk : {c.in.size(), size_t{1}, size_t{3}}) {
            const Split s = FeedAll(c.in, chunk);
            EXPECT_EQ(s.data, c.data) << c.name << ", chunks of " << chunk;
            ASSERT_EQ(s.commands.size(), c.commands.size()) << c.name;
            for (size_t i = 0; i < c.commands.size(); ++i) {
                EXPECT_EQ(s.commands[i].Verb, c.commands[i].first) << c.name;
                EXPECT_EQ(s.commands[i].Option, c.commands[i].second) << c.name;
            }
        }
    }
}

TEST(TelnetDecoder, KeepsTheSubnegotiationPayloadUnescapedAndBounded)
{
    Split s = FeedAll({Iac, Sb, OptComPort, 101, 0, 0, 0x25, Iac, Iac, Iac, Se}, 1);
    ASSERT_EQ(s.commands.size(), 1u);
    EXPECT_EQ(Bytes(s.commands[0].Payload.begin(), s.commands[0].Payload.begin() + s.commands[0].PayloadSize),
              (Bytes{101, 0, 0, 0x25, Iac}));

    Bytes endless{Iac, Sb, OptComPort};
    endless.insert(endless.end(), 10000, 0x41);
    endless.insert(endless.end(), {Iac, Se, 0x07});
    s = FeedAll(endless, 4096);
    ASSERT_EQ(s.commands.size(), 1u);
    EXPECT_EQ(s.commands[0].PayloadSize, MaxSubnegotiation);
    EXPECT_EQ(s.data, Bytes{0x07});
}

TEST(TelnetDecoder, KnowsWhenItStandsInsideACommand)
{
    for (const Bytes& cut : {Bytes{Iac}, Bytes{Iac, Will}, Bytes{Iac, Sb, OptComPort, 106}, Bytes{Iac, Sb, 44, Iac}}) {
        Decoder d;
        Bytes data;
        std::vector<Command> commands;
        d.Feed(cut, data, commands);
        EXPECT_TRUE(d.InsideCommand()) << cut.size();
        EXPECT_TRUE(data.empty());
    }
    Decoder d;
    Bytes data;
    std::vector<Command> commands;
    d.Feed(Bytes{Iac, Iac}, data, commands);
    EXPECT_FALSE(d.InsideCommand());
}

TEST(TelnetEncoding, DoublesEvery255InDataAndInCommandValues)
{
    Bytes out;
    AppendEscaped(Bytes{0x01, Iac, Iac, 0x02}, out);
    EXPECT_EQ(out, (Bytes{0x01, Iac, Iac, Iac, Iac, 0x02}));
    EXPECT_EQ(ComPortCommand(comport::SetBaudRate, Bytes{0, 0, Iac, 0x80}),
              (Bytes{Iac, Sb, OptComPort, 1, 0, 0, Iac, Iac, 0x80, Iac, Se}));
}

struct NegotiationCase {
    const char* name;
    std::vector<std::pair<uint8_t, uint8_t>> received;
    Bytes replies;
    Options::Answer comPort;
};

TEST(TelnetOptions, AnswersEachRequestOnceAndNeverLoops)
{
    const std::vector<NegotiationCase> cases = {
        {"the server accepts what was asked", {{Do, OptComPort}, {Do, OptBinary}, {Will, OptBinary}}, {},
         Options::Answer::Accepted},
        {"a request repeated after acceptance gets no answer", {{Do, OptComPort}, {Do, OptComPort}}, {},
         Options::Answer::Accepted},
        {"the server refuses the serial-line control", {{Dont, OptComPort}}, {}, Options::Answer::Refused},
        {"unknown options are refused", {{Do, 24}, {Will, 31}}, {Iac, Wont, 24, Iac, Dont, 31},
         Options::Answer::Pending},
        {"the server's echo is refused, go-ahead suppression taken",
         {{Will, OptEcho}, {Will, OptSuppressGoAhead}, {Do, OptSuppressGoAhead}},
         {Iac, Dont, OptEcho, Iac, Do, OptSuppressGoAhead, Iac, Will, OptSuppressGoAhead}, Options::Answer::Pending},
        {"an accepted option switched off is acknowledged once",
         {{Do, OptComPort}, {Dont, OptComPort}, {Dont, OptComPort}}, {Iac, Wont, OptComPort},
         Options::Answer::Refused},
    };
    for (const NegotiationCase& c : cases) {
        Options options(true);
        EXPECT_EQ(options.Opening(), (Bytes{Iac, Will, OptBinary, Iac, Do, OptBinary, Iac, Will, OptComPort}));
        Bytes replies;
        for (auto [verb, option] : c.received) options.Receive(verb, option, replies);
        EXPECT_EQ(replies, c.replies) << c.name;
        EXPECT_EQ(options.ComPort(), c.comPort) << c.name;
    }
}

}  // namespace
