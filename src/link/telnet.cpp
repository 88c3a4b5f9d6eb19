#include "link/telnet.h"

namespace qm54::telnet {

void Decoder::Feed(std::span<const uint8_t> in, std::vector<uint8_t>& data, std::vector<Command>& commands)
{
    for (uint8_t b : in) Byte(b, data, commands);
}

void Decoder::Byte(uint8_t b, std::vector<uint8_t>& data, std::vector<Command>& commands)
{
    switch (state_) {
    case State::Data:
        if (b == Iac)
            state_ = State::Iac;
        else
            data.push_back(b);
        return;
    case State::Iac:
        if (b == Iac) {
            data.push_back(Iac);
            state_ = State::Data;
        } else if (b == Will || b == Wont || b == Do || b == Dont || b == Sb) {
            current_ = Command{};
            current_.Verb = b;
            state_ = State::Option;
        } else {
            state_ = State::Data;  // NOP, GA, a stray SE and the like carry nothing for this client
        }
        return;
    case State::Option:
        current_.Option = b;
        if (current_.Verb == Sb) {
            state_ = State::Sub;
        } else {
            commands.push_back(current_);
            state_ = State::Data;
        }
        return;
    case State::Sub:
        if (b == Iac) {
            state_ = State::SubIac;
        } else if (current_.PayloadSize < current_.Payload.size()) {
            current_.Payload[current_.PayloadSize++] = b;
        }
        return;
    case State::SubIac:
        if (b == Iac) {
            if (current_.PayloadSize < current_.Payload.size()) current_.Payload[current_.PayloadSize++] = Iac;
            state_ = State::Sub;
            return;
        }
        // IAC SE ends it; any other command ends it as well and is then read as that command.
        commands.push_back(current_);
        state_ = State::Iac;
        if (b != Se) Byte(b, data, commands);
        else state_ = State::Data;
        return;
    }
}

void AppendEscaped(std::span<const uint8_t> data, std::vector<uint8_t>& out)
{
    for (uint8_t b : data) {
        out.push_back(b);
        if (b == Iac) out.push_back(Iac);
    }
}

std::vector<uint8_t> Negotiation(uint8_t verb, uint8_t option) { return {Iac, verb, option}; }

std::vector<uint8_t> ComPortCommand(uint8_t code, std::span<const uint8_t> value)
{
    std::vector<uint8_t> out{Iac, Sb, OptComPort, code};
    AppendEscaped(value, out);
    out.push_back(Iac);
    out.push_back(Se);
    return out;
}

std::vector<uint8_t> Options::Opening()
{
    std::vector<uint8_t> out;
    auto ask = [&](uint8_t verb, uint8_t option, std::array<Side, 256>& side) {
        side[option] = Side::WantYes;
        const auto bytes = Negotiation(verb, option);
        out.insert(out.end(), bytes.begin(), bytes.end());
    };
    ask(Will, OptBinary, us_);
    ask(Do, OptBinary, them_);
    if (comPort_) ask(Will, OptComPort, us_);
    return out;
}

bool Options::WeMay(uint8_t option) const
{
    return option == OptBinary || option == OptSuppressGoAhead || (comPort_ && option == OptComPort);
}

bool Options::TheyMay(uint8_t option) { return option == OptBinary || option == OptSuppressGoAhead; }

void Options::Receive(uint8_t verb, uint8_t option, std::vector<uint8_t>& reply)
{
    auto answer = [&](uint8_t v) {
        const auto bytes = Negotiation(v, option);
        reply.insert(reply.end(), bytes.begin(), bytes.end());
    };
    const bool toUs = verb == Do || verb == Dont;
    Side& side = toUs ? us_[option] : them_[option];
    const bool yes = verb == Do || verb == Will;
    const bool allowed = toUs ? WeMay(option) : TheyMay(option);
    if (yes) {
        if (side == Side::Yes) return;
        if (side == Side::WantYes) {
            side = Side::Yes;
            return;
        }
        if (allowed) {
            side = Side::Yes;
            answer(toUs ? Will : Do);
        } else {
            answer(toUs ? Wont : Dont);
        }
        return;
    }
    if (toUs && option == OptComPort) comPortRefused_ = true;  // refused, or switched off again
    if (side == Side::Yes) answer(toUs ? Wont : Dont);
    side = Side::No;
}

Options::Answer Options::ComPort() const
{
    if (us_[OptComPort] == Side::Yes) return Answer::Accepted;
    if (comPortRefused_) return Answer::Refused;
    return Answer::Pending;
}

}  // namespace qm54::telnet
