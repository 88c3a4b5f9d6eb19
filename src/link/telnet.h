// The telnet layer of a network serial port: the byte stream a server sends split into data and
// commands, data escaped for sending, the option negotiation, and the serial-line control option
// (COM-PORT-OPTION, option 44) with which the client sets the server's serial line.
// Plain state machines over bytes: no sockets, so tests and the fuzz target drive them directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qm54::telnet {

constexpr uint8_t Iac = 255;
constexpr uint8_t Dont = 254;
constexpr uint8_t Do = 253;
constexpr uint8_t Wont = 252;
constexpr uint8_t Will = 251;
constexpr uint8_t Sb = 250;
constexpr uint8_t Se = 240;

constexpr uint8_t OptBinary = 0;
constexpr uint8_t OptEcho = 1;
constexpr uint8_t OptSuppressGoAhead = 3;
constexpr uint8_t OptComPort = 44;

// Commands of the serial-line control option, as the client sends them; the server answers each
// with the same code plus 100.
namespace comport {
constexpr uint8_t SetBaudRate = 1;
constexpr uint8_t SetDataSize = 2;
constexpr uint8_t SetParity = 3;
constexpr uint8_t SetStopSize = 4;
constexpr uint8_t SetControl = 5;
constexpr uint8_t PurgeData = 12;
constexpr uint8_t ServerOffset = 100;

constexpr uint8_t ParityNone = 1;
constexpr uint8_t StopBits2 = 2;
constexpr uint8_t ControlNoFlow = 1;
constexpr uint8_t ControlDtrOn = 8;
constexpr uint8_t ControlRtsOn = 11;
constexpr uint8_t PurgeReceive = 1;   // what the server has received from the line and not yet sent
constexpr uint8_t PurgeTransmit = 2;  // what the server holds to write to the line
}  // namespace comport

// A subnegotiation's payload is kept up to this many bytes; the rest of a longer one is dropped
// (nothing this client reads is longer than 5 bytes).
constexpr size_t MaxSubnegotiation = 32;

struct Command {
    uint8_t Verb = 0;    // Will, Wont, Do, Dont or Sb
    uint8_t Option = 0;
    std::array<uint8_t, MaxSubnegotiation> Payload{};  // Sb only: the bytes after the option, unescaped
    size_t PayloadSize = 0;
};

// Splits received bytes into data and commands; a sequence cut between two calls is continued by
// the next. IAC IAC is one data byte 255; other two-byte commands (NOP, GA, ...) are dropped.
class Decoder {
public:
    void Feed(std::span<const uint8_t> in, std::vector<uint8_t>& data, std::vector<Command>& commands);
    // True while a command has begun and not ended (a connection closing now cut it).
    bool InsideCommand() const { return state_ != State::Data; }

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    void Byte(uint8_t b, std::vector<uint8_t>& data, std::vector<Command>& commands);
    State state_ = State::Data;
    Command current_;
};

// Appends data to out with every 255 doubled.
void AppendEscaped(std::span<const uint8_t> data, std::vector<uint8_t>& out);
std::vector<uint8_t> Negotiation(uint8_t verb, uint8_t option);
// IAC SB COM-PORT-OPTION code value... IAC SE, the value escaped.
std::vector<uint8_t> ComPortCommand(uint8_t code, std::span<const uint8_t> value);

// The option negotiation, one state per option and side, so that a request is answered once and
// an answer never starts a loop. The client is willing to send binary, to suppress go-ahead and,
// when asked to, to control the serial line; it lets the server send binary and suppress go-ahead
// and refuses everything else (the server's echo too: the cable echoes, the server must not).
class Options {
public:
    explicit Options(bool comPort) : comPort_(comPort) {}
    // What the client asks for at the start: WILL BINARY, DO BINARY, and WILL COM-PORT-OPTION.
    std::vector<uint8_t> Opening();
    // A received negotiation; the reply, if any, is appended to reply.
    void Receive(uint8_t verb, uint8_t option, std::vector<uint8_t>& reply);
    enum class Answer { Pending, Accepted, Refused };
    Answer ComPort() const;

private:
    enum class Side { No, WantYes, Yes };
    bool WeMay(uint8_t option) const;
    static bool TheyMay(uint8_t option);
    bool comPort_;
    bool comPortRefused_ = false;
    std::array<Side, 256> us_{};
    std::array<Side, 256> them_{};
};

}  // namespace qm54::telnet
