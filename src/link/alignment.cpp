#include "link/alignment.h"

#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/image/convert.h"
#include "model/image/tables.h"

#include <algorithm>

namespace qm54 {

namespace {

constexpr uint8_t kCommand = 0xB1;
constexpr uint8_t kStatus = 0xB2;
constexpr uint8_t kStatusLetter = 'Q';
constexpr uint8_t kStatusAnswer = 0x41;
constexpr size_t kStatusReplySize = 8;
constexpr size_t kStatusBufferSize = 512;  // a reply with any length byte is summed inside it
constexpr uint8_t kBase = 'B';
constexpr uint8_t kRepeater = 'R';
constexpr uint8_t kWide = 'W';
constexpr uint8_t kNarrow = 'N';
constexpr uint8_t kDcsBase = 128;

class Line {
public:
    explicit Line(CloneLink& link) : link_(link) {}
    bool Send(const std::vector<uint8_t>& bytes) { return link_.Port.Send(bytes.data(), bytes.size()) == 0; }
    bool SendByte(uint8_t b) { return link_.Port.Send(&b, 1) == 0; }
    RecvResult Receive(std::vector<uint8_t>& bytes, size_t count)
    {
        bytes.assign(count, 0);
        return RecvWait(link_.Port, bytes.data(), count, link_.Observer, link_.Time, link_.Timing);
    }
    RecvResult ReceiveOne()
    {
        std::vector<uint8_t> one;
        return Receive(one, 1);
    }
    void Pause(int ms) { link_.Time.SleepMs(ms); }
    const LinkTiming& Timing() const { return link_.Timing; }
    SerialPort& Port() { return link_.Port; }

private:
    CloneLink& link_;
};

// Nothing sets the cancel flag in the alignment mode; a cancelled wait counts as a failure.
CloneResult WaitFailure(RecvResult wait)
{
    return wait == RecvResult::NoData ? CloneResult::Timeout : CloneResult::Failed;
}

bool Broken(RecvResult wait) { return wait != RecvResult::Received; }

std::string Hex2(uint8_t value)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

template <size_t N>
int PlaceOf(const std::array<std::string_view, N>& table, std::string_view text)
{
    const auto found = std::find(table.begin(), table.end(), text);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

void AppendReceiveData(std::vector<uint8_t>& payload, int p, const CloneImage& image)
{
    for (int offset : {8 - 2 * p, 9 - 2 * p, 13 - p, 14, 15, 19 - p}) payload.push_back(image[size_t(offset)]);
}

void AppendTransmitData(std::vector<uint8_t>& payload, int p, const AlignConditions& c, const CloneImage& image)
{
    const auto at = [&](int offset) { return image[static_cast<size_t>(offset)]; };
    payload.push_back(at(30 - 2 * p));
    payload.push_back(at(31 - 2 * p));
    payload.push_back(at((c.LowPower ? 63 : 62) - 10 * p));
    payload.push_back(at((c.Narrow ? 67 : 66) - 10 * p));
    payload.push_back(AlignEncoderCode(c));
    switch (c.Encoder) {
    case AlignEncoder::Off: payload.push_back(0); break;
    case AlignEncoder::Ctcss: payload.push_back(at((c.Narrow ? 69 : 68) - 10 * p)); break;
    case AlignEncoder::Dcs: payload.push_back(at((c.Narrow ? 71 : 70) - 10 * p)); break;
    }
}

}  // namespace

std::string AlignFieldGreyedBecause(std::string_view key, const AlignConditions& c)
{
    const std::string width = c.Narrow ? "the width is Narrow" : "the width is Wide";
    const auto needs = [&](bool narrow) { return c.Narrow == narrow ? std::string() : width; };
    const auto encoderNeeds = [&](AlignEncoder encoder, bool narrow) {
        if (c.Encoder == encoder) return needs(narrow);
        return std::string(c.Encoder == AlignEncoder::Off ? "the encoder is off"
                           : c.Encoder == AlignEncoder::Ctcss ? "the encoder is CTCSS"
                                                               : "the encoder is DCS");
    };
    if (key == "TxPowerHigh") return c.LowPower ? "the power type is Low" : "";
    if (key == "TxPowerLow") return c.LowPower ? "" : "the power type is High";
    if (key == "MaxDevWide") return needs(false);
    if (key == "MaxDevNarrow") return needs(true);
    if (key == "CtcssDevWide") return encoderNeeds(AlignEncoder::Ctcss, false);
    if (key == "CtcssDevNarrow") return encoderNeeds(AlignEncoder::Ctcss, true);
    if (key == "DcsDevWide") return encoderNeeds(AlignEncoder::Dcs, false);
    if (key == "DcsDevNarrow") return encoderNeeds(AlignEncoder::Dcs, true);
    return {};
}

uint8_t AlignEncoderCode(const AlignConditions& conditions)
{
    switch (conditions.Encoder) {
    case AlignEncoder::Off: return 0;
    case AlignEncoder::Ctcss: {
        const int place = PlaceOf(CtcssTones, Trim(conditions.Tone));
        return place < 0 ? 0 : static_cast<uint8_t>(place + 1);
    }
    case AlignEncoder::Dcs: {
        const int place = PlaceOf(DcsCodes, Trim(conditions.Code));
        return place < 0 ? 0 : static_cast<uint8_t>(kDcsBase + place);
    }
    }
    return 0;
}

std::vector<uint8_t> BuildAlignFrame(AlignSwitch which, int point, const AlignConditions& conditions,
                                     const CloneImage& image)
{
    const int p = std::clamp(point, 0, AlignmentPointCount - 1);
    const uint8_t mode = conditions.Repeater ? kRepeater : kBase;
    const uint8_t width = conditions.Narrow ? kNarrow : kWide;
    std::vector<uint8_t> payload;
    switch (which) {
    case AlignSwitch::RxOn:
        payload.push_back(mode);
        AppendReceiveData(payload, p, image);
        payload.push_back(width);
        return BuildFrame(kCommand, 'R', payload);
    case AlignSwitch::TxOn:
        payload.push_back(mode);
        AppendTransmitData(payload, p, conditions, image);
        payload.push_back(width);
        return BuildFrame(kCommand, 'T', payload);
    case AlignSwitch::TrxOn:
        payload.push_back(mode);
        AppendTransmitData(payload, p, conditions, image);
        AppendReceiveData(payload, p, image);
        payload.push_back(width);
        return BuildFrame(kCommand, 'T', payload);
    case AlignSwitch::RxOff: return BuildFrame(kCommand, 'r', {});
    case AlignSwitch::TxOff:
    case AlignSwitch::TrxOff: return BuildFrame(kCommand, 't', {});
    }
    return {};
}

std::vector<uint8_t> AlignStatusRequest() { return BuildFrame(kStatus, kStatusLetter, {}); }

CloneResult AlignStart(CloneLink& link)
{
    Line line(link);
    line.Port().PurgeRx();
    line.Port().PurgeTx();
    line.Pause(line.Timing().HandshakePauseMs);
    if (!line.SendByte(clone_byte::Start)) return CloneResult::Failed;
    RecvResult wait = line.ReceiveOne();
    if (Broken(wait)) return WaitFailure(wait);
    line.Pause(line.Timing().AlignPauseMs);
    std::vector<uint8_t> answer;
    wait = line.Receive(answer, 2);
    if (Broken(wait)) return WaitFailure(wait);
    if (answer[0] != clone_byte::Start || answer[1] != clone_byte::StartAnswer) {
        line.SendByte(clone_byte::Nak);
        static_cast<void>(line.ReceiveOne());
        return CloneResult::Failed;
    }
    if (!line.SendByte(clone_byte::Ack)) return CloneResult::Failed;
    static_cast<void>(line.ReceiveOne());
    return CloneResult::Ok;
}

CloneResult AlignResync(CloneLink& link)
{
    Line line(link);
    line.Port().PurgeRx();
    line.Pause(line.Timing().HandshakePauseMs);
    if (!line.SendByte(clone_byte::Resync)) return CloneResult::Failed;
    RecvResult wait = line.ReceiveOne();
    if (Broken(wait)) return WaitFailure(wait);
    line.Pause(line.Timing().ShortPauseMs);
    std::vector<uint8_t> answer;
    wait = line.Receive(answer, 2);  // not examined
    if (Broken(wait)) return WaitFailure(wait);
    if (!line.SendByte(clone_byte::Ack)) return CloneResult::Failed;
    static_cast<void>(line.ReceiveOne());
    return CloneResult::Ok;
}

bool EnterAlignment(CloneLink& link, Prompter& prompter)
{
    if (AlignStart(link) == CloneResult::Ok) return true;
    ShowMessageBox(prompter, AlignConnectionMessage, MsgKind::Error);
    return false;
}

AlignOutcome AlignCommand(CloneLink& link, Prompter& prompter, AlignSwitch which, int point,
                          const AlignConditions& conditions, const TCEmem& emem, TMap54& map)
{
    Line line(link);
    map.Encode(emem);
    const std::vector<uint8_t> frame = BuildAlignFrame(which, point, conditions, map.Bytes());
    static_cast<void>(line.Send(frame));  // a failed send shows as a missing echo and answer
    line.Pause(line.Timing().HandshakePauseMs);
    std::vector<uint8_t> received;
    bool broken = line.Receive(received, frame.size()) == RecvResult::DriverFailure;  // no echo is no failure
    if (!broken) {
        broken = Broken(line.Receive(received, 2));
        if (!broken && (received[0] != clone_byte::Ack || received[1] != clone_byte::WriteAccepted))
            return AlignOutcome::Refused;
    }
    if (!broken) return AlignOutcome::Done;
    ShowMessageBox(prompter, AlignConnectionMessage, MsgKind::Error);
    return AlignOutcome::Broken;
}

AlignOutcome AlignStatus(CloneLink& link, Prompter& prompter, AlignStatusTexts& texts)
{
    Line line(link);
    std::vector<uint8_t> reply;
    bool broken = !line.Send(AlignStatusRequest());
    if (!broken) {
        static_cast<void>(line.Receive(reply, AlignStatusRequest().size()));  // the echo
        line.Pause(line.Timing().HandshakePauseMs);
        broken = Broken(line.Receive(reply, kStatusReplySize));
    }
    if (broken) {
        ShowMessageBox(prompter, AlignConnectionMessage, MsgKind::Error);
        return AlignOutcome::Broken;
    }
    // The length byte is the repeater's: bytes it claims beyond the reply count as zero.
    std::array<uint8_t, kStatusBufferSize> buffer{};
    std::copy(reply.begin(), reply.end(), buffer.begin());
    const size_t summed = size_t{buffer[2]} + 2;
    if (ByteSum(std::span<const uint8_t>(buffer.data(), summed)) != reply[7] || reply[3] != kStatusAnswer) {
        line.SendByte(clone_byte::Nak);
        static_cast<void>(line.ReceiveOne());
        return AlignOutcome::Refused;
    }
    ShowMessageBox(prompter, "Upload is completed", MsgKind::Information);
    texts = {Hex2(reply[4]), Hex2(reply[5]), Hex2(reply[6])};
    return AlignOutcome::Done;
}

void LeaveAlignment(CloneLink& link)
{
    Line line(link);
    const bool left = line.SendByte(clone_byte::ChannelsDone) && !Broken(line.ReceiveOne()) &&
                      AlignResync(link) == CloneResult::Ok && line.SendByte(clone_byte::End);
    if (left) {
        line.Pause(line.Timing().AlignPauseMs);
        static_cast<void>(line.ReceiveOne());
    }
    line.Pause(line.Timing().CompletePauseMs);
}

}  // namespace qm54
