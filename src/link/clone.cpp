#include "link/clone.h"

#include "model/emem.h"
#include "model/map54.h"

#include <algorithm>

namespace qm54 {

namespace {

constexpr size_t kEcho1 = 1;          // echo of one control byte
constexpr size_t kReplyBufferSize = 512; // a reply with any length byte stays inside it
constexpr uint8_t kNoBlock = 0xFF;    // block number of the single-block write areas 1 and 2

// One area of the clone read: a read request per block, a reply of `length` + 3 bytes.
struct ReadArea {
    uint8_t command;
    uint8_t length;       // L of the reply: payload size + 2
    uint8_t firstBlock;
    int blocks;
    size_t imageOffset;
    int progressEvery;    // the bar advances by one at every block index that is a multiple of this
};

constexpr ReadArea kArea1{0x12, 0x52, 0, 1, 0, 0};
constexpr ReadArea kArea2{0x22, 0x82, 0, 1, 80, 0};
constexpr ReadArea kArea3{0x42, 0x32, 0, 16, 208, 5};
constexpr ReadArea kArea4{0x62, 0x0C, 1, 48, 976, 4};

// Command codes of the write blocks; areas 3 and 4 are numbered and paced as in the read.
constexpr uint8_t kWriteArea1 = 0x11;
constexpr uint8_t kWriteArea2 = 0x21;
constexpr uint8_t kWriteArea3 = 0x41;
constexpr uint8_t kWriteArea5 = 0x63;
constexpr uint8_t kWriteArea4 = 0x61;
constexpr int kArea5Blocks = 10;

// Area 1 bytes that a Dealer-mode write takes from the repeater itself.
constexpr bool KeptFromRepeater(size_t i) { return i == 22 || i == 23 || (i >= 72 && i <= 79); }

constexpr size_t kBandOffset = 4;  // image bytes 4 and 5 tell the band

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

    bool Send(std::span<const uint8_t> bytes) { return link_.port.Send(bytes.data(), bytes.size()) == 0; }
    bool SendByte(uint8_t b) { return Send(std::span<const uint8_t>(&b, 1)); }

    // Receives exactly bytes.size() bytes into a zero-filled buffer (so that a cancelled wait
    // leaves zeros, never stale data): 0, 1 or 2 as RecvWait.
    int Receive(std::vector<uint8_t>& bytes, size_t count)
    {
        bytes.assign(count, 0);
        return RecvWait(link_.port, bytes.data(), count, link_.observer, link_.clock, link_.timing);
    }

    // Waits for the echo of one control byte; its outcome does not matter.
    void SkipEcho()
    {
        uint8_t echo = 0;
        RecvWait(link_.port, &echo, kEcho1, link_.observer, link_.clock, link_.timing);
    }

    void Pause(int ms) { link_.clock.SleepMs(ms); }
    void Pump() { link_.observer.PumpEvents(); }
    bool Cancelled() const { return link_.observer.CancelRequested(); }
    const LinkTiming& Timing() const { return link_.timing; }

    void SetBar(int position)
    {
        bar_ = std::min(position, kCloneProgressMax);
        link_.observer.SetProgress(bar_, kCloneProgressMax);
    }
    void AdvanceBar() { SetBar(bar_ + 1); }
    void SetBarQuarters(int quarters) { SetBar(RoundHalfEven(kCloneProgressMax * quarters, 4)); }
    void RepaintBar() { link_.observer.SetProgress(bar_, kCloneProgressMax); }

    CloneLink& Link() { return link_; }

private:
    CloneLink& link_;
    int bar_ = 0;
};

// NAK a rejected reply and take its echo.
void Reject(Exchange& ex)
{
    ex.SendByte(clone_byte::Nak);
    ex.SkipEcho();
}

// Requests one block and verifies its reply; on success payload holds the reply's payload.
int ReadBlock(Exchange& ex, const ReadArea& area, uint8_t block, std::vector<uint8_t>& payload,
              bool pauseAfterRequest)
{
    const std::vector<uint8_t> request = BuildFrame(area.command, block, {});
    if (!ex.Send(request)) return CloneFailed;
    if (pauseAfterRequest) ex.Pause(ex.Timing().handshakePauseMs);
    std::vector<uint8_t> received;
    const int wait = ex.Receive(received, request.size() + ReplySize(area.length));
    if (wait != 0) return wait;
    const std::span<const uint8_t> reply(received.data() + request.size(), ReplySize(area.length));
    const int verdict = VerifyReply(reply, area.command, area.length, block);
    if (verdict != CloneOk) {
        Reject(ex);
        return verdict;
    }
    payload.assign(reply.begin() + 4, reply.begin() + 4 + PayloadSize(area.length));
    return CloneOk;
}

int ReadArea(Exchange& ex, const ReadArea& area, CloneImage& image, bool pauseAfterRequest = false)
{
    std::vector<uint8_t> payload;
    for (int i = 0; i < area.blocks; ++i) {
        const auto block = static_cast<uint8_t>(area.firstBlock + i);
        const int code = ReadBlock(ex, area, block, payload, pauseAfterRequest);
        if (code != CloneOk) return code;
        std::copy(payload.begin(), payload.end(), image.begin() + area.imageOffset + i * payload.size());
        if (area.progressEvery > 0) {
            if (i % area.progressEvery == 0) ex.AdvanceBar();
            ex.Pump();
        }
    }
    return CloneOk;
}

// Repeats the start handshake while the repeater stays silent and the user has not cancelled.
int StartLoop(Exchange& ex)
{
    int code = CloneTimeout;
    while (!ex.Cancelled()) {
        code = CloneStart(ex.Link());
        if (code != CloneTimeout) break;
        ex.Pump();
    }
    return code;
}

// Sends one write block and checks the acknowledgement 0x06 0x17 after its echo.
int WriteBlock(Exchange& ex, const std::vector<uint8_t>& frame)
{
    if (!ex.Send(frame)) return CloneFailed;
    std::vector<uint8_t> received;
    const int wait = ex.Receive(received, frame.size() + 2);
    if (wait != 0) return wait;
    if (received[frame.size()] != clone_byte::Ack || received[frame.size() + 1] != clone_byte::WriteAccepted)
        return CloneBadHeader;
    return CloneOk;
}

// Writes blocks firstBlock.. with the payload that payloadOf(i) gives for block index i.
template <typename PayloadOf>
int WriteArea(Exchange& ex, uint8_t command, uint8_t firstBlock, int blocks, int progressEvery,
              PayloadOf payloadOf)
{
    for (int i = 0; i < blocks; ++i) {
        const int code = WriteBlock(ex, BuildFrame(command, static_cast<uint8_t>(firstBlock + i), payloadOf(i)));
        if (code != CloneOk) return code;
        if (i % progressEvery == 0) ex.AdvanceBar();
        ex.Pump();
    }
    return CloneOk;
}

std::vector<uint8_t> Slice(const CloneImage& image, size_t offset, size_t count)
{
    return std::vector<uint8_t>(image.begin() + offset, image.begin() + offset + count);
}

// The band check: a different band ends the write unless the Manufacture mode's user allows it.
int CheckBand(Prompter& prompter, OperatingMode mode, const CloneImage& image,
              const std::vector<uint8_t>& repeaterArea1)
{
    if (image[kBandOffset] == repeaterArea1[kBandOffset] && image[kBandOffset + 1] == repeaterArea1[kBandOffset + 1])
        return CloneOk;
    if (mode == OperatingMode::Manufacture) {
        const int answer = ShowMessageBox(prompter, "Frequency band is different\r\nChange the frequency band?",
                                          MsgKind::Warning, MsgButtons::YesNo);
        return answer == MrYes ? CloneOk : CloneBandRefused;
    }
    ShowMessageBox(prompter,
                   "Frequency band is differrent\r\nUpload the programming data from the KTD-4150 before\r\ndownloading,",
                   MsgKind::Warning);
    return CloneBandRefused;
}

// Ends a successful clone: 0x28, its echo, the full bar, and the completion message.
void EndClone(Exchange& ex, Prompter& prompter, const char* completed)
{
    ex.SendByte(clone_byte::End);
    ex.Pause(ex.Timing().endPauseMs);
    ex.SkipEcho();
    ex.SetBar(kCloneProgressMax);
    ex.Pause(ex.Timing().completePauseMs);
    ShowMessageBox(prompter, completed, MsgKind::Information);
}

void ShowFailure(Prompter& prompter, int code, const char* transferError);

// The wind-up of both directions; a cancelled exchange ends without a message.
bool Finish(CloneLink& link, Prompter& prompter, int code, const char* transferError, const char* completed)
{
    Exchange ex(link);
    if (ex.Cancelled()) return false;
    if (code != CloneOk) {
        ShowFailure(prompter, code, transferError);
        return false;
    }
    EndClone(ex, prompter, completed);
    return true;
}

void ShowFailure(Prompter& prompter, int code, const char* transferError)
{
    switch (code) {
    case CloneFailed:
    case CloneBadHeader: ShowMessageBox(prompter, transferError, MsgKind::Error); break;
    case CloneTimeout: ShowMessageBox(prompter, "Timeout", MsgKind::Error); break;
    case CloneBadChecksum: ShowMessageBox(prompter, "Checksum error", MsgKind::Error); break;
    case CloneBadData: ShowMessageBox(prompter, "Clone Data Error: incompatible data", MsgKind::Error); break;
    default: break;  // CloneBandRefused: the band message was already shown
    }
}

}  // namespace

uint8_t FrameSum(std::span<const uint8_t> bytes)
{
    unsigned sum = 0;
    for (uint8_t b : bytes) sum += b;
    return static_cast<uint8_t>(sum);
}

std::vector<uint8_t> BuildFrame(uint8_t command, uint8_t block, std::span<const uint8_t> payload)
{
    std::vector<uint8_t> frame;
    frame.reserve(payload.size() + 5);
    frame.push_back(command);
    frame.push_back(0x00);
    frame.push_back(static_cast<uint8_t>(payload.size() + 2));
    frame.push_back(block);
    for (uint8_t b : payload) frame.push_back(b);
    frame.push_back(FrameSum(frame));
    return frame;
}

int CloneStart(CloneLink& link)
{
    Exchange ex(link);
    link.port.PurgeRx();
    link.port.PurgeTx();
    ex.Pause(link.timing.handshakePauseMs);
    if (!ex.SendByte(clone_byte::Start)) return CloneFailed;
    std::vector<uint8_t> answer;
    const int wait = ex.Receive(answer, 3);
    if (wait != 0) return wait;
    const bool ready = answer[1] == clone_byte::Start && answer[2] == clone_byte::StartAnswer;
    ex.SendByte(ready ? clone_byte::Ack : clone_byte::Nak);
    ex.SkipEcho();
    return ready ? CloneOk : CloneFailed;
}

int CloneResync(CloneLink& link)
{
    Exchange ex(link);
    link.port.PurgeRx();
    ex.Pause(link.timing.handshakePauseMs);
    if (!ex.SendByte(clone_byte::Resync)) return CloneFailed;
    std::vector<uint8_t> answer;
    const int wait = ex.Receive(answer, 3);
    if (wait != 0) return wait;
    if (!ex.SendByte(clone_byte::Ack)) return CloneFailed;
    ex.SkipEcho();
    return CloneOk;
}

int VerifyReply(std::span<const uint8_t> reply, uint8_t command, uint8_t length, uint8_t block)
{
    if (reply.empty()) return CloneBadChecksum;
    std::array<uint8_t, kReplyBufferSize> buffer{};
    std::copy_n(reply.begin(), std::min(reply.size(), buffer.size()), buffer.begin());
    const size_t claimed = buffer[2];
    const uint8_t sum = FrameSum(std::span<const uint8_t>(buffer.data(), claimed + 2));
    if (sum != reply.back()) return CloneBadChecksum;
    const std::array<uint8_t, 4> expected{command, 0x00, length, block};
    if (!std::equal(expected.begin(), expected.end(), buffer.begin())) return CloneBadHeader;
    return CloneOk;
}

int ReadRepeaterImage(CloneLink& link, CloneImage& image)
{
    Exchange ex(link);
    image.fill(0);
    int code = StartLoop(ex);
    if (code != CloneOk) return code;

    code = ReadArea(ex, kArea1, image, true);
    if (code != CloneOk) return code;
    ex.SetBarQuarters(1);
    ex.Pump();

    code = ReadArea(ex, kArea2, image);
    if (code != CloneOk) return code;
    ex.SetBarQuarters(2);
    ex.Pump();

    code = ReadArea(ex, kArea3, image);
    if (code != CloneOk) return code;

    ex.SendByte(clone_byte::ChannelsDone);
    ex.SkipEcho();

    code = CloneResync(link);
    if (code != CloneOk) return code;

    code = ReadArea(ex, kArea4, image);
    if (code != CloneOk) return code;

    image[kCloneImageSize - 1] = 0x5A;
    return CloneOk;
}

int WriteRepeaterImage(CloneLink& link, Prompter& prompter, OperatingMode mode, const CloneImage& image)
{
    Exchange ex(link);
    int code = StartLoop(ex);
    if (code != CloneOk) return code;

    std::vector<uint8_t> repeaterArea1;
    code = ReadBlock(ex, kArea1, 0, repeaterArea1, true);
    if (code != CloneOk) return code;
    ex.SetBar(1);
    ex.Pump();

    code = CheckBand(prompter, mode, image, repeaterArea1);
    if (code != CloneOk) return code;

    const bool fullWrite = mode != OperatingMode::Normal;
    if (fullWrite) {
        std::vector<uint8_t> area1 = Slice(image, 0, PayloadSize(kArea1.length));
        if (mode == OperatingMode::Dealer) {
            for (size_t i = 0; i < area1.size(); ++i)
                if (KeptFromRepeater(i)) area1[i] = repeaterArea1[i];
        }
        code = WriteBlock(ex, BuildFrame(kWriteArea1, kNoBlock, area1));
        if (code != CloneOk) return code;
        ex.SetBarQuarters(1);
        ex.Pump();

        // Area 2 ends with the sum of its 127 image bytes in place of the stored checksum byte.
        std::vector<uint8_t> area2 = Slice(image, kArea2.imageOffset, PayloadSize(kArea2.length) - 1);
        area2.push_back(FrameSum(area2));
        code = WriteBlock(ex, BuildFrame(kWriteArea2, kNoBlock, area2));
        if (code != CloneOk) return code;
        ex.SetBarQuarters(2);
        ex.Pump();
    }

    const size_t channelSize = PayloadSize(kArea3.length);
    code = WriteArea(ex, kWriteArea3, 0, kArea3.blocks, kArea3.progressEvery,
                     [&](int i) { return Slice(image, kArea3.imageOffset + i * channelSize, channelSize); });
    if (code != CloneOk) return code;

    ex.SendByte(clone_byte::ChannelsDone);
    ex.SkipEcho();
    if (!fullWrite) return CloneOk;

    code = CloneResync(link);
    if (code != CloneOk) return code;

    // Area 5 has fixed content; nothing in the image corresponds to it.
    const std::vector<uint8_t> area5{0x00, 0x00, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25};
    code = WriteArea(ex, kWriteArea5, 0, kArea5Blocks, 4, [&](int) { return area5; });
    if (code != CloneOk) return code;

    const size_t tagSize = PayloadSize(kArea4.length);
    return WriteArea(ex, kWriteArea4, kArea4.firstBlock, kArea4.blocks, kArea4.progressEvery,
                     [&](int i) { return Slice(image, kArea4.imageOffset + i * tagSize, tagSize); });
}

bool FinishDownload(CloneLink& link, Prompter& prompter, int code)
{
    return Finish(link, prompter, code, "Download error", "Download is completed");
}

bool UploadFromRadio(CloneLink& link, Prompter& prompter, TMap54& map, TCEmem& emem)
{
    TMap54 received;
    int code = ReadRepeaterImage(link, received.Bytes());
    TCEmem decoded;
    if (code == CloneOk && !received.Decode(decoded)) code = CloneBadData;
    // A cancel that arrives after the last block still keeps the caller's data: the clone is not
    // ended with 0x28 and the caller is told it got nothing.
    const bool complete = code == CloneOk && !link.observer.CancelRequested();
    if (complete) {
        map.Assign(received);
        emem.Assign(decoded);
    }
    return Finish(link, prompter, code, "Upload error", "Upload is completed") && complete;
}

bool DownloadToRadio(CloneLink& link, Prompter& prompter, OperatingMode mode, const TCEmem& emem, TMap54& map)
{
    map.Encode(emem);
    return FinishDownload(link, prompter, WriteRepeaterImage(link, prompter, mode, map.Bytes()));
}

}  // namespace qm54
