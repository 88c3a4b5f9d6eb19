#include "link/clone.h"

#include "model/image/emem.h"
#include "model/image/map54.h"

#include <algorithm>

namespace qm54 {

namespace {

constexpr size_t kEcho1 = 1;             // echo of one control byte
constexpr size_t kStartAnswerSize = 3;   // echo of 0x02, then 0x02 0x01
constexpr size_t kResyncAnswerSize = 3;  // echo of 0x03, then two bytes that are not examined
constexpr size_t kReplyBufferSize = 512; // a reply with any length byte stays inside it
constexpr uint8_t kNoBlock = 0xFF;       // block number of the single-block write areas 1 and 2

// One area of the clone read: a read request per block, a reply of `length` + 3 bytes.
struct ReadAreaLayout {
    uint8_t Command;
    uint8_t Length;       // L of the reply: payload size + 2
    uint8_t FirstBlock;
    int Blocks;
    size_t ImageOffset;
    int ProgressEvery;    // the bar advances by one at every block index that is a multiple of this
};

// Area 1 is the common area up to the bytes that ChecksumA covers; area 2 is those bytes and
// ChecksumA; areas 3 and 4 are the channel and alpha-tag records.
constexpr ReadAreaLayout kArea1{0x12, 0x52, 0, 1, image::CommonArea, 0};
constexpr ReadAreaLayout kArea2{0x22, 0x82, 0, 1, image::ChecksumAFirst, 0};
constexpr ReadAreaLayout kArea3{0x42, 0x32, 0, 16, image::ChannelArea, 5};
constexpr ReadAreaLayout kArea4{0x62, 0x0C, 1, 48, image::AlphaTagArea, 4};

// Command codes of the write blocks; areas 3 and 4 are numbered and paced as in the read.
constexpr uint8_t kWriteArea1 = 0x11;
constexpr uint8_t kWriteArea2 = 0x21;
constexpr uint8_t kWriteArea3 = 0x41;
constexpr uint8_t kWriteArea5 = 0x63;
constexpr uint8_t kWriteArea4 = 0x61;
constexpr int kArea5Blocks = 10;
constexpr int kArea5ProgressEvery = 4;

// Area 1 bytes that a Dealer-mode write takes from the repeater itself: the market code, the
// unmapped byte after it, and the serial number.
constexpr bool KeptFromRepeater(size_t i)
{
    return i == image::MarketCode || i == image::MarketCode + 1 ||
           (i >= image::SerialNumber && i < image::SerialNumber + image::SerialNumberSize);
}

size_t PayloadSize(uint8_t length) { return static_cast<size_t>(length) - 2; }
size_t ReplySize(uint8_t length) { return static_cast<size_t>(length) + 3; }

int RoundHalfEven(int numerator, int denominator)
{
    const int q = numerator / denominator;
    const int r2 = 2 * (numerator % denominator);
    if (r2 > denominator || (r2 == denominator && q % 2 != 0)) return q + 1;
    return q;
}

// One exchange: the link plus the position of the progress bar.
class Exchange {
public:
    explicit Exchange(CloneLink& link) : link_(link) {}

    bool Send(std::span<const uint8_t> bytes) { return link_.Port.Send(bytes.data(), bytes.size()) == 0; }
    void Mark(TraceMark mark)
    {
        if (link_.Trace != nullptr) link_.Trace->Mark(mark);
    }
    bool SendByte(uint8_t b) { return Send(std::span<const uint8_t>(&b, 1)); }

    // Receives exactly count bytes into a zero-filled buffer, so that only a Received result
    // leaves anything but zeros in it.
    RecvResult Receive(std::vector<uint8_t>& bytes, size_t count)
    {
        bytes.assign(count, 0);
        return Noted(RecvWait(link_.Port, bytes.data(), count, link_.Observer, link_.Time, link_.Timing));
    }

    // Waits for the echo of one control byte; its outcome does not matter.
    void SkipEcho()
    {
        uint8_t echo = 0;
        static_cast<void>(Noted(RecvWait(link_.Port, &echo, kEcho1, link_.Observer, link_.Time, link_.Timing)));
    }

    // Tells the trace of a wait that ended without its bytes.
    RecvResult Noted(RecvResult wait)
    {
        if (wait == RecvResult::NoData) Mark(TraceMark::Timeout);
        if (wait == RecvResult::Cancelled) Mark(TraceMark::Cancel);
        return wait;
    }

    void Pause(int ms) { link_.Time.SleepMs(ms); }
    void Pump() { link_.Observer.PumpEvents(); }
    bool Cancelled() const { return link_.Observer.CancelRequested(); }
    const LinkTiming& Timing() const { return link_.Timing; }

    void SetBar(int position)
    {
        bar_ = std::min(position, CloneProgressMax);
        link_.Observer.SetProgress(bar_, CloneProgressMax);
    }
    void AdvanceBar() { SetBar(bar_ + 1); }
    void SetBarQuarters(int quarters) { SetBar(RoundHalfEven(CloneProgressMax * quarters, 4)); }
    void RepaintBar() { link_.Observer.SetProgress(bar_, CloneProgressMax); }

    CloneLink& Link() { return link_; }

private:
    CloneLink& link_;
    int bar_ = 0;
};

// NAK a rejected reply and take its echo.
void Reject(Exchange& ex)
{
    ex.Mark(TraceMark::Nak);
    ex.SendByte(clone_byte::Nak);
    ex.SkipEcho();
}

// The step's result that a reply wait's outcome gives: Ok when the reply arrived.
CloneResult WaitResult(RecvResult wait)
{
    switch (wait) {
    case RecvResult::Received: return CloneResult::Ok;
    case RecvResult::DriverFailure: return CloneResult::Failed;
    case RecvResult::NoData: return CloneResult::Timeout;
    case RecvResult::Cancelled: return CloneResult::Cancelled;
    }
    return CloneResult::Failed;
}

// Requests one block and verifies its reply; on success payload holds the reply's payload. A
// cancelled wait brought no reply: it is rejected like a wrong one, and the exchange ends.
CloneResult ReadBlock(Exchange& ex, const ReadAreaLayout& area, uint8_t block, std::vector<uint8_t>& payload,
                      bool pauseAfterRequest)
{
    const std::vector<uint8_t> request = BuildFrame(area.Command, block, {});
    if (!ex.Send(request)) return CloneResult::Failed;
    if (pauseAfterRequest) ex.Pause(ex.Timing().HandshakePauseMs);
    std::vector<uint8_t> received;
    const RecvResult wait = ex.Receive(received, request.size() + ReplySize(area.Length));
    if (wait == RecvResult::Cancelled) {
        Reject(ex);
        return CloneResult::Cancelled;
    }
    if (wait != RecvResult::Received) return WaitResult(wait);
    const std::span<const uint8_t> reply(received.data() + request.size(), ReplySize(area.Length));
    const CloneResult verdict = VerifyReply(reply, area.Command, area.Length, block);
    if (verdict != CloneResult::Ok) {
        Reject(ex);
        return verdict;
    }
    payload.assign(reply.begin() + 4, reply.begin() + 4 + PayloadSize(area.Length));
    return CloneResult::Ok;
}

CloneResult ReadArea(Exchange& ex, const ReadAreaLayout& area, CloneImage& image, bool pauseAfterRequest = false)
{
    std::vector<uint8_t> payload;
    for (int i = 0; i < area.Blocks; ++i) {
        const auto block = static_cast<uint8_t>(area.FirstBlock + i);
        const CloneResult result = ReadBlock(ex, area, block, payload, pauseAfterRequest);
        if (result != CloneResult::Ok) return result;
        std::copy(payload.begin(), payload.end(), image.begin() + area.ImageOffset + i * payload.size());
        if (area.ProgressEvery > 0) {
            if (i % area.ProgressEvery == 0) ex.AdvanceBar();
            ex.Pump();
        }
    }
    return CloneResult::Ok;
}

// Repeats the start handshake while the repeater stays silent and the user has not cancelled.
CloneResult StartLoop(Exchange& ex)
{
    while (!ex.Cancelled()) {
        const CloneResult result = CloneStart(ex.Link());
        if (result != CloneResult::Timeout) return result;
        ex.Pump();
    }
    return CloneResult::Cancelled;
}

// Sends one write block and checks the acknowledgement 0x06 0x17 after its echo. A cancelled
// wait ends the write there.
CloneResult WriteBlock(Exchange& ex, const std::vector<uint8_t>& frame)
{
    if (!ex.Send(frame)) return CloneResult::Failed;
    std::vector<uint8_t> received;
    const RecvResult wait = ex.Receive(received, frame.size() + 2);
    if (wait != RecvResult::Received) return WaitResult(wait);
    if (received[frame.size()] != clone_byte::Ack || received[frame.size() + 1] != clone_byte::WriteAccepted)
        return CloneResult::BadHeader;
    return CloneResult::Ok;
}

// Writes blocks firstBlock.. with the payload that payloadOf(i) gives for block index i.
template <typename PayloadOf>
CloneResult WriteArea(Exchange& ex, uint8_t command, uint8_t firstBlock, int blocks, int progressEvery,
                      PayloadOf payloadOf)
{
    for (int i = 0; i < blocks; ++i) {
        const CloneResult result =
            WriteBlock(ex, BuildFrame(command, static_cast<uint8_t>(firstBlock + i), payloadOf(i)));
        if (result != CloneResult::Ok) return result;
        if (i % progressEvery == 0) ex.AdvanceBar();
        ex.Pump();
    }
    return CloneResult::Ok;
}

std::vector<uint8_t> Slice(const CloneImage& image, size_t offset, size_t count)
{
    return std::vector<uint8_t>(image.begin() + offset, image.begin() + offset + count);
}

// The band check: a different band ends the write unless the Manufacture mode's user allows it.
CloneResult CheckBand(Prompter& prompter, OperatingMode mode, const CloneImage& image,
                      const std::vector<uint8_t>& repeaterArea1)
{
    const auto band = image.begin() + image::BandCheck;
    if (std::equal(band, band + image::BandCheckSize, repeaterArea1.begin() + image::BandCheck))
        return CloneResult::Ok;
    if (mode == OperatingMode::Manufacture) {
        const MsgResult answer = ShowMessageBox(prompter, "Frequency band is different\r\nChange the frequency band?",
                                                MsgKind::Warning, MsgButtons::YesNo);
        return answer == MsgResult::Yes ? CloneResult::Ok : CloneResult::BandRefused;
    }
    ShowMessageBox(prompter,
                   "Frequency band is differrent\r\nUpload the programming data from the KTD-4150 before\r\ndownloading,",
                   MsgKind::Warning);
    return CloneResult::BandRefused;
}

// Ends a successful clone: 0x28, its echo, the full bar, and the completion message.
void EndClone(Exchange& ex, Prompter& prompter, const char* completed)
{
    ex.SendByte(clone_byte::End);
    ex.Pause(ex.Timing().EndPauseMs);
    ex.SkipEcho();
    ex.SetBar(CloneProgressMax);
    ex.Pause(ex.Timing().CompletePauseMs);
    ShowMessageBox(prompter, completed, MsgKind::Information);
}

void ShowFailure(Prompter& prompter, CloneResult result, const char* transferError);

// The wind-up of both directions; a cancelled exchange ends without a message.
CloneResult Finish(CloneLink& link, Prompter& prompter, CloneResult result, const char* transferError,
                   const char* completed)
{
    Exchange ex(link);
    if (ex.Cancelled()) return CloneResult::Cancelled;
    if (result != CloneResult::Ok) {
        ShowFailure(prompter, result, transferError);
        return result;
    }
    EndClone(ex, prompter, completed);
    return CloneResult::Ok;
}

void ShowFailure(Prompter& prompter, CloneResult result, const char* transferError)
{
    switch (result) {
    case CloneResult::Failed:
    case CloneResult::BadHeader: ShowMessageBox(prompter, transferError, MsgKind::Error); break;
    case CloneResult::Timeout: ShowMessageBox(prompter, "Timeout", MsgKind::Error); break;
    case CloneResult::BadChecksum: ShowMessageBox(prompter, "Checksum error", MsgKind::Error); break;
    case CloneResult::BadData: ShowMessageBox(prompter, "Clone Data Error: incompatible data", MsgKind::Error); break;
    case CloneResult::Ok:
    case CloneResult::BandRefused:  // the band message was already shown
    case CloneResult::Cancelled: break;
    }
}

}  // namespace

std::vector<uint8_t> BuildFrame(uint8_t command, uint8_t block, std::span<const uint8_t> payload)
{
    std::vector<uint8_t> frame;
    frame.reserve(payload.size() + 5);
    frame.push_back(command);
    frame.push_back(0x00);
    frame.push_back(static_cast<uint8_t>(payload.size() + 2));
    frame.push_back(block);
    for (uint8_t b : payload) frame.push_back(b);
    frame.push_back(ByteSum(frame));
    return frame;
}

CloneResult CloneStart(CloneLink& link)
{
    Exchange ex(link);
    link.Port.PurgeRx();
    link.Port.PurgeTx();
    ex.Pause(link.Timing.HandshakePauseMs);
    if (!ex.SendByte(clone_byte::Start)) return CloneResult::Failed;
    std::vector<uint8_t> answer;
    const RecvResult wait = ex.Receive(answer, kStartAnswerSize);
    if (wait == RecvResult::DriverFailure || wait == RecvResult::NoData) return WaitResult(wait);
    // A cancelled wait brought no answer: the repeater is told NAK, as for a wrong one.
    const bool ready = wait == RecvResult::Received && answer[1] == clone_byte::Start &&
                       answer[2] == clone_byte::StartAnswer;
    if (!ready) ex.Mark(TraceMark::Nak);
    ex.SendByte(ready ? clone_byte::Ack : clone_byte::Nak);
    ex.SkipEcho();
    if (wait == RecvResult::Cancelled) return CloneResult::Cancelled;
    return ready ? CloneResult::Ok : CloneResult::Failed;
}

CloneResult CloneResync(CloneLink& link)
{
    Exchange ex(link);
    link.Port.PurgeRx();
    ex.Pause(link.Timing.HandshakePauseMs);
    if (!ex.SendByte(clone_byte::Resync)) return CloneResult::Failed;
    std::vector<uint8_t> answer;
    const RecvResult wait = ex.Receive(answer, kResyncAnswerSize);
    if (wait == RecvResult::DriverFailure || wait == RecvResult::NoData) return WaitResult(wait);
    // The answer's content is not examined, so a cancelled wait is acknowledged like an answer;
    // then the exchange ends, before any further block goes out.
    if (!ex.SendByte(clone_byte::Ack)) return CloneResult::Failed;
    ex.SkipEcho();
    return wait == RecvResult::Cancelled ? CloneResult::Cancelled : CloneResult::Ok;
}

CloneResult VerifyReply(std::span<const uint8_t> reply, uint8_t command, uint8_t length, uint8_t block)
{
    if (reply.empty()) return CloneResult::BadChecksum;
    std::array<uint8_t, kReplyBufferSize> buffer{};
    std::copy_n(reply.begin(), std::min(reply.size(), buffer.size()), buffer.begin());
    const size_t claimed = buffer[2];
    const uint8_t sum = ByteSum(std::span<const uint8_t>(buffer.data(), claimed + 2));
    if (sum != reply.back()) return CloneResult::BadChecksum;
    const std::array<uint8_t, 4> expected{command, 0x00, length, block};
    if (!std::equal(expected.begin(), expected.end(), buffer.begin())) return CloneResult::BadHeader;
    return CloneResult::Ok;
}

CloneResult ReadRepeaterImage(CloneLink& link, CloneImage& image)
{
    Exchange ex(link);
    image.fill(0);
    CloneResult result = StartLoop(ex);
    if (result != CloneResult::Ok) return result;

    result = ReadArea(ex, kArea1, image, true);
    if (result != CloneResult::Ok) return result;
    ex.SetBarQuarters(1);
    ex.Pump();

    result = ReadArea(ex, kArea2, image);
    if (result != CloneResult::Ok) return result;
    ex.SetBarQuarters(2);
    ex.Pump();

    result = ReadArea(ex, kArea3, image);
    if (result != CloneResult::Ok) return result;

    ex.SendByte(clone_byte::ChannelsDone);
    ex.SkipEcho();

    result = CloneResync(link);
    if (result != CloneResult::Ok) return result;

    result = ReadArea(ex, kArea4, image);
    if (result != CloneResult::Ok) return result;

    image[image::EndMarker] = image::MarkerValue;
    return CloneResult::Ok;
}

CloneImage SentImage(const CloneImage& image, OperatingMode mode, std::span<const uint8_t> repeaterArea1)
{
    CloneImage sent = image;
    if (mode == OperatingMode::Normal) return sent;  // only the channel records go out
    if (mode == OperatingMode::Dealer) {
        const size_t area1Size = PayloadSize(kArea1.Length);
        for (size_t i = 0; i < area1Size && i < repeaterArea1.size(); ++i)
            if (KeptFromRepeater(i)) sent[kArea1.ImageOffset + i] = repeaterArea1[i];
    }
    sent[image::ChecksumA] = ByteSum(std::span<const uint8_t>(sent.data() + kArea2.ImageOffset,
                                                              image::ChecksumA - kArea2.ImageOffset));
    return sent;
}

CloneResult WriteRepeaterImage(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& image,
                               WriteRecord* record)
{
    Exchange ex(link);
    CloneResult result = StartLoop(ex);
    if (result != CloneResult::Ok) return result;

    std::vector<uint8_t> repeaterArea1;
    result = ReadBlock(ex, kArea1, 0, repeaterArea1, true);
    if (result != CloneResult::Ok) return result;
    if (record != nullptr) record->RepeaterArea1 = repeaterArea1;
    ex.SetBar(1);
    ex.Pump();

    result = CheckBand(prompter, mode, image, repeaterArea1);
    if (result != CloneResult::Ok) return result;

    const CloneImage sent = SentImage(image, mode, repeaterArea1);
    if (record != nullptr) record->Sent = sent;
    const bool fullWrite = mode != OperatingMode::Normal;
    if (fullWrite) {
        const size_t area1Size = PayloadSize(kArea1.Length);
        result = WriteBlock(ex, BuildFrame(kWriteArea1, kNoBlock, Slice(sent, kArea1.ImageOffset, area1Size)));
        if (result != CloneResult::Ok) return result;
        ex.SetBarQuarters(1);
        ex.Pump();

        // Area 2 ends with the sum of the image bytes before ChecksumA in place of ChecksumA.
        const size_t area2Size = PayloadSize(kArea2.Length);
        result = WriteBlock(ex, BuildFrame(kWriteArea2, kNoBlock, Slice(sent, kArea2.ImageOffset, area2Size)));
        if (result != CloneResult::Ok) return result;
        ex.SetBarQuarters(2);
        ex.Pump();
    }

    result = WriteArea(ex, kWriteArea3, 0, kArea3.Blocks, kArea3.ProgressEvery, [&](int i) {
        return Slice(sent, kArea3.ImageOffset + i * image::ChannelRecordSize, image::ChannelRecordSize);
    });
    if (result != CloneResult::Ok) return result;

    ex.SendByte(clone_byte::ChannelsDone);
    ex.SkipEcho();
    if (!fullWrite) return CloneResult::Ok;

    result = CloneResync(link);
    if (result != CloneResult::Ok) return result;

    // Area 5 has fixed content; nothing in the image corresponds to it.
    const std::vector<uint8_t> area5{0x00, 0x00, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25};
    result = WriteArea(ex, kWriteArea5, 0, kArea5Blocks, kArea5ProgressEvery, [&](int) { return area5; });
    if (result != CloneResult::Ok) return result;

    return WriteArea(ex, kWriteArea4, kArea4.FirstBlock, kArea4.Blocks, kArea4.ProgressEvery, [&](int i) {
        return Slice(sent, kArea4.ImageOffset + i * image::AlphaTagRecordSize, image::AlphaTagRecordSize);
    });
}

void CloseClone(CloneLink& link)
{
    Exchange ex(link);
    ex.SendByte(clone_byte::End);
    ex.Pause(link.Timing.EndPauseMs);
    ex.SkipEcho();
}

CloneResult FinishDownload(CloneLink& link, Prompter& prompter, CloneResult result)
{
    return Finish(link, prompter, result, "Download error", "Download is completed");
}

CloneResult UploadFromRadio(CloneLink& link, Prompter& prompter, TMap54& map, TCEmem& emem)
{
    TMap54 received;
    CloneResult result = ReadRepeaterImage(link, received.Bytes());
    TCEmem decoded;
    if (result == CloneResult::Ok && !received.Decode(decoded)) result = CloneResult::BadData;
    // A cancel that arrives after the last block still keeps the caller's data: the clone is not
    // ended with 0x28 and the caller is told it got nothing.
    if (result == CloneResult::Ok && !link.Observer.CancelRequested()) {
        map = received;
        emem = decoded;
    }
    return Finish(link, prompter, result, "Upload error", "Upload is completed");
}

CloneResult DownloadToRadio(CloneLink& link, Prompter& prompter, OperatingMode mode, const TCEmem& emem,
                            TMap54& map)
{
    map.Encode(emem);
    return FinishDownload(link, prompter, WriteRepeaterImage(link, prompter, mode, map.Bytes()));
}

}  // namespace qm54
