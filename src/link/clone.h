// Clone read (repeater to computer, "Upload") and clone write (computer to repeater, "Download").
//
// Both are a strict request and reply dialogue. The interface cable echoes every byte sent, so each
// receive asks for the bytes just sent plus the repeater's answer. A frame is
//   command, 0x00, L, block number, L - 2 payload bytes, sum of all preceding bytes modulo 256.
// Every step reports a result code; the wind-up turns the code into the user's message.
#pragma once

#include "link/serial_port.h"
#include "model/image/map.h"
#include "model/settings/operating_mode.h"
#include "model/storage/prompter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qm54 {

class TCEmem;
class TMap54;

// How a clone step, and a whole clone, ended. The wind-up turns each into the user's message.
enum class [[nodiscard]] CloneResult {
    Ok,
    Failed,       // send or driver failure, wrong start answer
    Timeout,      // no byte for the no-data limit
    BadChecksum,  // reply frame checksum wrong
    BadData,      // the image read does not decode as this model
    BadHeader,    // reply header differs from the request, or a write not acknowledged
    BandRefused,  // repeater's band differs and the write was not allowed to go on
    Cancelled,    // the user cancelled; no message
};

// Single control bytes of the clone dialogue.
namespace clone_byte {
constexpr uint8_t Start = 0x02;
constexpr uint8_t StartAnswer = 0x01;  // the repeater answers 0x02 0x01 to a start request
constexpr uint8_t Resync = 0x03;
constexpr uint8_t Ack = 0x06;
constexpr uint8_t Nak = 0x15;
constexpr uint8_t WriteAccepted = 0x17;  // the repeater answers 0x06 0x17 to a written block
constexpr uint8_t ChannelsDone = 0x27;   // sent once after the last 48-byte channel block
constexpr uint8_t End = 0x28;            // ends the clone; sent only after a complete transfer
}  // namespace clone_byte

constexpr int CloneProgressMax = 33;
constexpr size_t CloneImageSize = ImageSize;
using CloneImage = ImageBytes;

// What an exchange tells a serial trace beyond the bytes on the line (which a TracingPort sees).
enum class TraceMark { Timeout, Nak, Cancel };

class LinkTrace {
public:
    virtual ~LinkTrace() = default;
    virtual void Sent(std::span<const uint8_t> bytes) = 0;
    virtual void Received(std::span<const uint8_t> bytes) = 0;
    virtual void Mark(TraceMark mark) = 0;
};

// Everything one exchange runs over. The port is open; its owner closes it afterwards.
struct CloneLink {
    SerialPort& Port;
    LinkObserver& Observer;
    Clock& Time;
    const LinkTiming& Timing;
    LinkTrace* Trace = nullptr;  // told of time-outs, NAKs and cancels when set
};

// command, 0x00, payload size + 2, block, payload, ByteSum of all of it.
std::vector<uint8_t> BuildFrame(uint8_t command, uint8_t block, std::span<const uint8_t> payload);

// The start handshake: Ok ready; Failed on a send or driver failure or a wrong answer (NAK sent);
// Timeout without an answer; Cancelled (NAK sent, as for a wrong answer).
CloneResult CloneStart(CloneLink& link);
// The re-synchronisation handshake: Ok done; Failed on a send or driver failure; Timeout without
// an answer; Cancelled (the handshake is still acknowledged, nothing follows).
CloneResult CloneResync(CloneLink& link);

// Checks a reply frame (the bytes after the echo) against the request: Ok, BadChecksum or
// BadHeader. The length byte is never trusted: bytes past the reply count as zero.
CloneResult VerifyReply(std::span<const uint8_t> reply, uint8_t command, uint8_t length, uint8_t block);

// Reads the four areas into image (all other bytes zero, the last byte the fixed marker 0x5A).
// Returns the result of the first step that did not succeed.
CloneResult ReadRepeaterImage(CloneLink& link, CloneImage& image);

// The image as a write of the mode puts it into a repeater whose own area 1 is repeaterArea1 (80
// bytes): in the Dealer mode area 1 keeps the repeater's market code, the byte after it and its
// serial number; area 2 ends with the sum of the bytes before ChecksumA in place of ChecksumA.
// The other bytes are image's (in the Normal mode, which sends only the channel records, all of them).
CloneImage SentImage(const CloneImage& image, OperatingMode mode, std::span<const uint8_t> repeaterArea1);

// What a write learnt on its way: the repeater's own area 1 (empty until it was read) and the
// image as sent (SentImage), both filled once the band check has passed.
struct WriteRecord {
    std::vector<uint8_t> RepeaterArea1;
    CloneImage Sent{};
};

// Writes image to the repeater: reads the repeater's area 1, checks the band (asking in the
// Manufacture mode), then writes the areas the mode allows. Returns the result of the first step
// that did not succeed. record, when given, is filled as the write goes.
CloneResult WriteRepeaterImage(CloneLink& link, Prompter& prompter, OperatingMode mode,
                               const CloneImage& image, WriteRecord* record = nullptr);

// Ends a complete clone without a message: 0x28, the pause after it and its echo.
void CloseClone(CloneLink& link);

// The closing part of a clone write: on success (and no cancel) ends the clone with 0x28
// and tells the user it is completed; on failure shows the result's message; on cancel shows
// nothing. Returns Ok only for success without cancel, Cancelled when the user cancelled, else
// the failure.
CloneResult FinishDownload(CloneLink& link, Prompter& prompter, CloneResult result);

// The clone read: map and emem are replaced by the repeater's image and its decoded settings only
// after a complete read that decodes as this model and was not cancelled; Ok then. Otherwise
// both are unchanged and the user has been told why (nothing on cancel).
CloneResult UploadFromRadio(CloneLink& link, Prompter& prompter, TMap54& map, TCEmem& emem);

// The clone write: encodes emem into map (which keeps the encoded image whatever the outcome) and
// writes the areas of the mode. Ok when the repeater took it all and the clone was ended.
CloneResult DownloadToRadio(CloneLink& link, Prompter& prompter, OperatingMode mode, const TCEmem& emem,
                            TMap54& map);

}  // namespace qm54
