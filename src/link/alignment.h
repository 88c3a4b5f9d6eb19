// The alignment exchange: with a live repeater, one frequency point's receive and transmit values
// are sent with each switch command, so that the effect can be measured on the bench, and the
// repeater's VR, NSQ and RSSI are read on request. The values are not written into the repeater's
// memory here; that is the clone write's job.
//
// Entering is the clone's start handshake without a retry; each command is a clone frame with
// command 0xB1 and the switch letter in the block place, acknowledged 0x06 0x17; the status request
// is 0xB2 'Q'. Leaving ends the channel phase (0x27), re-synchronises and ends (0x28), always.
#pragma once

#include "link/clone.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm54 {

class TCEmem;
class TMap54;

// The switch that ends up checked; the numbers are the window's switch codes.
enum class AlignSwitch { RxOn = 0, RxOff = 1, TxOn = 2, TxOff = 3, TrxOn = 4, TrxOff = 5 };

enum class AlignEncoder { Off, Ctcss, Dcs };

// The test conditions chosen in the window: sent with the commands, never stored.
struct AlignConditions {
    bool Repeater = false;  // mode "Repeater", else "Base"
    bool LowPower = false;  // power type "Low", else "High"
    bool Narrow = false;    // width "Narrow", else "Wide"
    AlignEncoder Encoder = AlignEncoder::Off;
    std::string Tone = "67.0";
    std::string Code = "023";
};

// Why the alignment window greys out the field of setting key under the conditions ("the power
// type is High"), or empty when the field is enabled. The power levels follow the power type, the
// maximum deviations the width, the CTCSS and DCS deviations the encoder and the width.
std::string AlignFieldGreyedBecause(std::string_view key, const AlignConditions& conditions);

// How a command or status exchange ended.
enum class [[nodiscard]] AlignOutcome {
    Done,      // acknowledged 0x06 0x17, or the status reply read
    Refused,   // a wrong acknowledgement, or a rejected status reply (NAK sent); no message
    Broken,    // driver failure or no data: the connection message has been shown
};

inline constexpr const char* AlignConnectionMessage =
    "Problem detected with connection to\r\nInterface Box. Transfer aborted.";

// The encoder code of the conditions: 0 off; CTCSS the tone's 1-based place in the tone table;
// DCS 128 plus the code's 0-based place in the code table; 0 for a text in neither (trimmed).
uint8_t AlignEncoderCode(const AlignConditions& conditions);

// The command frame of a switch for point (0..3), its data taken from the encoded image.
std::vector<uint8_t> BuildAlignFrame(AlignSwitch which, int point, const AlignConditions& conditions,
                                     const CloneImage& image);
// 0xB2 0x00 0x02 'Q' and its sum.
std::vector<uint8_t> AlignStatusRequest();

// The entry handshake: Ok ready, Failed on a send or driver failure or a wrong answer (NAK sent),
// Timeout without an answer. No retry.
CloneResult AlignStart(CloneLink& link);
// The re-synchronisation of the leaving sequence: Ok, Failed or Timeout likewise.
CloneResult AlignResync(CloneLink& link);

// Entering: the handshake, and on failure the connection message. True when ready.
bool EnterAlignment(CloneLink& link, Prompter& prompter);

// One switch command: emem encoded into map, the frame of the switch sent and acknowledged. A
// broken exchange shows the connection message; a wrong acknowledgement shows nothing.
AlignOutcome AlignCommand(CloneLink& link, Prompter& prompter, AlignSwitch which, int point,
                          const AlignConditions& conditions, const TCEmem& emem, TMap54& map);

// VR, NSQ and RSSI as the window shows them: two upper-case hexadecimal digits each.
using AlignStatusTexts = std::array<std::string, 3>;
// The status request: on Done texts holds the three values and "Upload is completed" was shown;
// a rejected reply is answered NAK and leaves texts alone; a broken exchange shows the message.
AlignOutcome AlignStatus(CloneLink& link, Prompter& prompter, AlignStatusTexts& texts);

// Leaving, silent whatever happens: 0x27, the re-synchronisation, 0x28 with its echo (a failing
// step skips the rest), then the closing pause. The port's owner closes it afterwards.
void LeaveAlignment(CloneLink& link);

}  // namespace qm54
