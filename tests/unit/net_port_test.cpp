// TCNetPort against scripted servers on loopback: the opening negotiation, the line settings, data
// with 255 in both directions, commands mixed into the data, and every way a connection can fail.
#include "link/net_port.h"
#include "link/port_name.h"
#include "loopback_peer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace qm54;
using namespace qm54::telnet;
using qm54test::Bytes;
using qm54test::PeerLine;
using qm54test::ScriptedPeer;

constexpr size_t kOpeningSize = 9;   // WILL BINARY, DO BINARY, WILL COM-PORT-OPTION
constexpr size_t kLineSetupSize = 52; // the baud rate (10 bytes) and six one-byte settings (7 each)

PortName Loopback(PortKind kind, int port)
{
    PortName name;
    name.Kind = kind;
    name.Host = "127.0.0.1";
    name.Service = std::to_string(port);
    return name;
}

Bytes Answer(uint8_t code, Bytes value)
{
    return ComPortCommand(static_cast<uint8_t>(code + comport::ServerOffset), value);
}

// The server's half of a good opening: the option accepted, each line setting confirmed.
void AcceptOpening(PeerLine& line, Bytes baud = {0, 0, 0x25, 0x80})
{
    if (!line.Read(kOpeningSize, 3000)) return;
    line.Send({Iac, Do, OptComPort, Iac, Do, OptBinary, Iac, Will, OptBinary, Iac, Will, OptEcho});
    if (!line.Read(kOpeningSize + kLineSetupSize, 3000)) return;
    line.Forget();
    Bytes answers = Answer(comport::SetBaudRate, baud);
    for (auto [code, value] : {std::pair<uint8_t, uint8_t>{comport::SetDataSize, 8}, {comport::SetParity, 1},
                               {comport::SetStopSize, 2}}) {
        const Bytes a = Answer(code, {value});
        answers.insert(answers.end(), a.begin(), a.end());
    }
    line.Send(answers);
}

NetConnectOptions Limit(int ms)
{
    NetConnectOptions options;
    options.LimitMs = ms;
    return options;
}

// Reads until count data bytes came or the port failed; a bounded number of short waits.
Bytes ReadData(TCNetPort& port, size_t count, int& failed)
{
    Bytes got;
    failed = 0;
    for (int i = 0; i < 300 && got.size() < count; ++i) {
        uint8_t buf[256];
        size_t n = 0;
        if (port.ReadAvail(sizeof buf, buf, n) != 0) {
            failed = 1;
            break;
        }
        got.insert(got.end(), buf, buf + n);
        if (n == 0) port.WaitReadable(10);
    }
    return got;
}

TEST(NetPort, Rfc2217SetsTheLineAndCarries255BothWaysWithCommandsKeptOutOfTheData)
{
    Bytes setup;
    Bytes fromClient;
    {
        ScriptedPeer peer([&](PeerLine& line) {
            if (!line.Read(kOpeningSize, 3000)) return;
            setup = line.Received();
            AcceptOpening(line);
            // A frame with 255s, a line-state notification and a negotiation inside it.
            line.Send({0x12, Iac, Iac, Iac, Sb, OptComPort, 106, 0x60, Iac, Se, 0x00, Iac, Will, OptSuppressGoAhead,
                       Iac, Iac, 0x17});
            line.Read(10 + 3, 3000);  // the client's data, and its DO SUPPRESS-GO-AHEAD
            fromClient = line.Received();
        });
        TCNetPort port;
        ASSERT_EQ(port.Open(Loopback(PortKind::Rfc2217, peer.Port()), Limit(3000)), NetOpen::Ok) << port.OpenMessage();
        int failed = 0;
        EXPECT_EQ(ReadData(port, 5, failed), (Bytes{0x12, Iac, 0x00, Iac, 0x17}));
        EXPECT_EQ(failed, 0);
        const Bytes data{0xFF, 0x01, 0xFF, 0xFF};
        EXPECT_EQ(port.Send(data.data(), data.size()), 0);
        for (int i = 0; i < 30; ++i) port.WaitReadable(10);
        EXPECT_EQ(port.InQueue(), 0);
    }
    EXPECT_EQ(setup, (Bytes{Iac, Will, OptBinary, Iac, Do, OptBinary, Iac, Will, OptComPort}));
    const Bytes escaped{Iac, Iac, 0x01, Iac, Iac, Iac, Iac};
    EXPECT_NE(std::search(fromClient.begin(), fromClient.end(), escaped.begin(), escaped.end()), fromClient.end());
    const Bytes doSga{Iac, Do, OptSuppressGoAhead};
    EXPECT_NE(std::search(fromClient.begin(), fromClient.end(), doSga.begin(), doSga.end()), fromClient.end());
}

TEST(NetPort, SendsTheLineSettingsOfTheCable)
{
    Bytes setup;
    {
        ScriptedPeer peer([&](PeerLine& line) {
            if (!line.Read(kOpeningSize, 3000)) return;
            line.Send({Iac, Do, OptComPort});
            if (!line.Read(kOpeningSize + kLineSetupSize, 3000)) return;
            setup.assign(line.Received().begin() + kOpeningSize, line.Received().end());
            line.Read(1000, 600);  // and no answer until the client gives up
        });
        TCNetPort port;
        EXPECT_EQ(port.Open(Loopback(PortKind::Rfc2217, peer.Port()), Limit(300)), NetOpen::LineRefused);
        EXPECT_NE(port.OpenMessage().find("did not confirm"), std::string::npos) << port.OpenMessage();
    }
    Bytes expected = ComPortCommand(comport::SetBaudRate, Bytes{0, 0, 0x25, 0x80});
    for (auto [code, value] : {std::pair<uint8_t, uint8_t>{comport::SetDataSize, 8}, {comport::SetParity, 1},
                               {comport::SetStopSize, 2}, {comport::SetControl, 1}, {comport::SetControl, 8},
                               {comport::SetControl, 11}}) {
        const Bytes c = ComPortCommand(code, Bytes{value});
        expected.insert(expected.end(), c.begin(), c.end());
    }
    EXPECT_EQ(setup, expected);
}

TEST(NetPort, PurgeDropsWhatCameAndAsksTheServerToDropWhatItHolds)
{
    Bytes afterPurge;
    {
        ScriptedPeer peer([&](PeerLine& line) {
            AcceptOpening(line);
            line.Send({0x41, 0x42, 0x43});
            line.Read(7, 3000);  // PURGE-DATA receive buffer
            afterPurge = line.Received();
            line.Send({0x44});
            line.Read(1000, 300);
        });
        TCNetPort port;
        ASSERT_EQ(port.Open(Loopback(PortKind::Rfc2217, peer.Port()), Limit(3000)), NetOpen::Ok) << port.OpenMessage();
        for (int i = 0; i < 100 && port.InQueue() < 3; ++i) port.WaitReadable(10);
        port.PurgeRx();
        port.PurgeTx();
        int failed = 0;
        EXPECT_EQ(ReadData(port, 1, failed), Bytes{0x44});
    }
    EXPECT_EQ(afterPurge, (Bytes{Iac, Sb, OptComPort, comport::PurgeData, comport::PurgeReceive, Iac, Se}));
}

TEST(NetPort, RawTcpCarriesTheBytesAsTheyAre)
{
    Bytes fromClient;
    {
        ScriptedPeer peer([&](PeerLine& line) {
            line.Send({0xFF, 0xFD, 0x2C, 0x00});
            line.Read(3, 3000);
            fromClient = line.Received();
        });
        TCNetPort port;
        ASSERT_EQ(port.Open(Loopback(PortKind::Tcp, peer.Port()), Limit(3000)), NetOpen::Ok) << port.OpenMessage();
        int failed = 0;
        EXPECT_EQ(ReadData(port, 4, failed), (Bytes{0xFF, 0xFD, 0x2C, 0x00}));
        const Bytes data{0xFF, 0xFF, 0x01};
        EXPECT_EQ(port.Send(data.data(), data.size()), 0);
    }
    EXPECT_EQ(fromClient, (Bytes{0xFF, 0xFF, 0x01}));
}

// A connection that closes is a driver failure at the next read, with the reason, even when it
// closes in the middle of a telnet command; data that came before it is still handed over.
TEST(NetPort, AClosedConnectionFailsTheNextReadAtOnceWithTheReason)
{
    const std::vector<std::pair<Bytes, std::string>> endings = {
        {{0x06, 0x17}, "the server closed the connection"},
        {{0x06, Iac}, "in the middle of a telnet command"},
        {{0x06, Iac, Sb, OptComPort, 107}, "in the middle of a telnet command"},
    };
    for (const auto& [last, reason] : endings) {
        ScriptedPeer peer([&, last = last](PeerLine& line) {
            AcceptOpening(line);
            line.Send(last);
        });
        TCNetPort port;
        ASSERT_EQ(port.Open(Loopback(PortKind::Rfc2217, peer.Port()), Limit(3000)), NetOpen::Ok) << port.OpenMessage();
        int failed = 0;
        const int64_t started = qm54test::LoopbackNowMs();
        const Bytes got = ReadData(port, 100, failed);
        EXPECT_EQ(failed, 1);
        EXPECT_LT(qm54test::LoopbackNowMs() - started, 1000);
        EXPECT_EQ(got.front(), 0x06);
        EXPECT_EQ(got.size(), last[1] == 0x17 ? 2u : 1u);
        EXPECT_NE(port.SystemReason().find(reason), std::string::npos) << port.SystemReason();
        EXPECT_EQ(port.InQueue(), -1);
        const uint8_t b = 0x02;
        EXPECT_EQ(port.Send(&b, 1), 1);
    }
}

struct OpenCase {
    const char* name;
    std::function<void(PeerLine&)> server;
    NetOpen result;
    const char* says;
};

TEST(NetPort, OpenTellsWhyTheServerWasNotUsable)
{
    const std::vector<OpenCase> cases = {
        {"raw bytes where telnet was asked", [](PeerLine& l) { l.Send({0x41, 0x42}); l.Read(1000, 600); },
         NetOpen::NotRfc2217, "does not speak RFC 2217"},
        {"the option refused", [](PeerLine& l) { l.Read(kOpeningSize, 3000); l.Send({Iac, Wont, OptBinary, Iac, Dont, OptComPort}); l.Read(1000, 300); },
         NetOpen::NegotiationRefused, "negotiation refused"},
        {"a baud rate other than asked",
         [](PeerLine& l) { AcceptOpening(l, {0, 0, 0x4B, 0x00}); l.Read(1000, 300); }, NetOpen::LineRefused,
         "baud rate 19200"},
        {"closed at once", [](PeerLine&) {}, NetOpen::Closed, "closed the connection"},
    };
    for (const OpenCase& c : cases) {
        ScriptedPeer peer(c.server);
        TCNetPort port;
        EXPECT_EQ(port.Open(Loopback(PortKind::Rfc2217, peer.Port()), Limit(400)), c.result) << c.name;
        EXPECT_NE(port.OpenMessage().find(c.says), std::string::npos) << c.name << ": " << port.OpenMessage();
        EXPECT_NE(port.OpenMessage().find("127.0.0.1:" + std::to_string(peer.Port())), std::string::npos);
        EXPECT_FALSE(port.IsOpen());
    }
}

TEST(NetPort, ConnectingEndsWithinItsLimitOrAtCancel)
{
    TCNetPort port;
    EXPECT_EQ(port.Open(Loopback(PortKind::Tcp, qm54test::UnusedLoopbackPort()), Limit(2000)), NetOpen::Refused);
    EXPECT_NE(port.OpenMessage().find("Nothing listens"), std::string::npos) << port.OpenMessage();

    PortName unknown = Loopback(PortKind::Rfc2217, 4000);
    unknown.Host = "no-such-host.invalid";
    EXPECT_EQ(port.Open(unknown, Limit(2000)), NetOpen::NoSuchHost);
    EXPECT_NE(port.OpenMessage().find("does not resolve"), std::string::npos) << port.OpenMessage();

    // A port whose queue of connections is full drops the attempt: no answer within the limit.
    qm54test::LoopbackListener full(0);
    const int queued = qm54test::ConnectLoopback(full.Port());  // the one the queue holds
    int64_t started = qm54test::LoopbackNowMs();
    EXPECT_EQ(port.Open(Loopback(PortKind::Tcp, full.Port()), Limit(300)), NetOpen::TimedOut) << port.OpenMessage();
    EXPECT_LT(qm54test::LoopbackNowMs() - started, 1500);
    EXPECT_NE(port.OpenMessage().find("No answer from 127.0.0.1:" + std::to_string(full.Port()) + " within 0.3 s"),
              std::string::npos)
        << port.OpenMessage();
    if (queued >= 0) ::close(queued);

    // A server that accepts and says nothing: the negotiation waits for its limit.
    qm54test::LoopbackListener silent;
    started = qm54test::LoopbackNowMs();
    EXPECT_EQ(port.Open(Loopback(PortKind::Rfc2217, silent.Port()), Limit(300)), NetOpen::NotRfc2217);
    int64_t took = qm54test::LoopbackNowMs() - started;
    EXPECT_GE(took, 290);
    EXPECT_LT(took, 1500);
    EXPECT_NE(port.OpenMessage().find("within 0.3 s"), std::string::npos) << port.OpenMessage();

    NetConnectOptions cancel = Limit(5000);
    int polls = 0;
    cancel.Cancelled = [&polls] { return ++polls > 3; };
    started = qm54test::LoopbackNowMs();
    EXPECT_EQ(port.Open(Loopback(PortKind::Rfc2217, silent.Port()), cancel), NetOpen::Cancelled);
    EXPECT_LT(qm54test::LoopbackNowMs() - started, 1000);
}

struct NameCase {
    const char* name;
    PortNameStatus status;
    PortKind kind;
    const char* host;
    const char* service;
};

TEST(PortName, ReadsDevicesAndNetworkPorts)
{
    const std::vector<NameCase> cases = {
        {"ttyUSB0", PortNameStatus::Ok, PortKind::Device, "", ""},
        {"/dev/pts/3", PortNameStatus::Ok, PortKind::Device, "", ""},
        {"rfc2217://site-7.example.net:2000", PortNameStatus::Ok, PortKind::Rfc2217, "site-7.example.net", "2000"},
        {"tcp://192.0.2.1:65535", PortNameStatus::Ok, PortKind::Tcp, "192.0.2.1", "65535"},
        {"rfc2217://[2001:db8::1]:7000", PortNameStatus::Ok, PortKind::Rfc2217, "2001:db8::1", "7000"},
        {"rfc2217://host", PortNameStatus::BadNetworkName, PortKind::Rfc2217, "", ""},
        {"rfc2217://:2000", PortNameStatus::BadNetworkName, PortKind::Rfc2217, "", ""},
        {"tcp://host:0", PortNameStatus::BadNetworkName, PortKind::Tcp, "", ""},
        {"tcp://host:65536", PortNameStatus::BadNetworkName, PortKind::Tcp, "", ""},
        {"tcp://host:20x", PortNameStatus::BadNetworkName, PortKind::Tcp, "", ""},
        {"tcp://2001:db8::1:7000", PortNameStatus::BadNetworkName, PortKind::Tcp, "", ""},
        {"tcp://[2001:db8::1]7000", PortNameStatus::BadNetworkName, PortKind::Tcp, "", ""},
        {"tcp://[host]:7000", PortNameStatus::BadNetworkName, PortKind::Tcp, "", ""},
        {"tcp://ho st:7000", PortNameStatus::BadNetworkName, PortKind::Tcp, "", ""},
    };
    for (const NameCase& c : cases) {
        PortName name;
        std::string why;
        EXPECT_EQ(ParsePortName(c.name, name, why), c.status) << c.name;
        if (c.status != PortNameStatus::Ok) {
            EXPECT_FALSE(why.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(name.Kind, c.kind) << c.name;
        EXPECT_EQ(name.Host, c.host) << c.name;
        EXPECT_EQ(name.Service, c.service) << c.name;
        if (c.kind != PortKind::Device) {
            EXPECT_EQ(NetworkPortUrl(name.Kind, name.Host, name.Service), c.name);
        }
    }
    PortName device;
    std::string why;
    ASSERT_EQ(ParsePortName("ttyACM1", device, why), PortNameStatus::Ok);
    EXPECT_EQ(device.Device, "/dev/ttyACM1");
}

}  // namespace
