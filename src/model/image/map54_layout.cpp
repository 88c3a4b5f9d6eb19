#include "model/image/map54_layout.h"

#include "model/image/map54.h"

namespace qm54::layout {

namespace {

// The common area, 0x001 to 0x0CE; the bits between its items are listed in kKeptImageBits.
const CommonItem kCommonLayout[] = {
    CommonItem::Unsigned(ByteRef(0x001), &TCEmem::NsqThreshold),
    CommonItem::Bcd4Tenths(WordRef(0x002), &TCEmem::RxAdjustFreq, 3),
    CommonItem::Bcd4Tenths(WordRef(0x004), &TCEmem::RxAdjustFreq, 2),
    CommonItem::Bcd4Tenths(WordRef(0x006), &TCEmem::RxAdjustFreq, 1),
    CommonItem::Bcd4Tenths(WordRef(0x008), &TCEmem::RxAdjustFreq, 0),
    CommonItem::Unsigned(ByteRef(0x00A), &TCEmem::SqlThreshold, 3),
    CommonItem::Unsigned(ByteRef(0x00B), &TCEmem::SqlThreshold, 2),
    CommonItem::Unsigned(ByteRef(0x00C), &TCEmem::SqlThreshold, 1),
    CommonItem::Unsigned(ByteRef(0x00D), &TCEmem::SqlThreshold, 0),
    CommonItem::Unsigned(ByteRef(0x00E), &TCEmem::SqlNarrowOffset),
    CommonItem::Unsigned(ByteRef(0x00F), &TCEmem::SqlHysteresis),
    CommonItem::Unsigned(ByteRef(0x010), &TCEmem::RxTuning, 3),
    CommonItem::Unsigned(ByteRef(0x011), &TCEmem::RxTuning, 2),
    CommonItem::Unsigned(ByteRef(0x012), &TCEmem::RxTuning, 1),
    CommonItem::Unsigned(ByteRef(0x013), &TCEmem::RxTuning, 0),
    CommonItem::Bcd2Required(ByteRef(0x014), &TCEmem::TxPowerDisplayHigh),
    CommonItem::Bcd2Required(ByteRef(0x015), &TCEmem::TxPowerDisplayLow),
    CommonItem::Unsigned(ByteRef(image::MarketCode), &TCEmem::MarketCode),
    CommonItem::Bcd4Tenths(WordRef(0x018), &TCEmem::TxAdjustFreq, 3),
    CommonItem::Bcd4Tenths(WordRef(0x01A), &TCEmem::TxAdjustFreq, 2),
    CommonItem::Bcd4Tenths(WordRef(0x01C), &TCEmem::TxAdjustFreq, 1),
    CommonItem::Bcd4Tenths(WordRef(0x01E), &TCEmem::TxAdjustFreq, 0),
    // Tx point 3 block at 0x020
    CommonItem::Unsigned(ByteRef(0x020), &TCEmem::TxPowerHigh, 3),
    CommonItem::Unsigned(ByteRef(0x021), &TCEmem::TxPowerLow, 3),
    CommonItem::Unsigned(ByteRef(0x024), &TCEmem::MaxDevWide, 3),
    CommonItem::Unsigned(ByteRef(0x025), &TCEmem::MaxDevNarrow, 3),
    CommonItem::Unsigned(ByteRef(0x026), &TCEmem::CtcssDevWide, 3),
    CommonItem::Unsigned(ByteRef(0x027), &TCEmem::CtcssDevNarrow, 3),
    CommonItem::Unsigned(ByteRef(0x028), &TCEmem::DcsDevWide, 3),
    CommonItem::Unsigned(ByteRef(0x029), &TCEmem::DcsDevNarrow, 3),
    // Tx point 2 block at 0x02A
    CommonItem::Unsigned(ByteRef(0x02A), &TCEmem::TxPowerHigh, 2),
    CommonItem::Unsigned(ByteRef(0x02B), &TCEmem::TxPowerLow, 2),
    CommonItem::Unsigned(ByteRef(0x02E), &TCEmem::MaxDevWide, 2),
    CommonItem::Unsigned(ByteRef(0x02F), &TCEmem::MaxDevNarrow, 2),
    CommonItem::Unsigned(ByteRef(0x030), &TCEmem::CtcssDevWide, 2),
    CommonItem::Unsigned(ByteRef(0x031), &TCEmem::CtcssDevNarrow, 2),
    CommonItem::Unsigned(ByteRef(0x032), &TCEmem::DcsDevWide, 2),
    CommonItem::Unsigned(ByteRef(0x033), &TCEmem::DcsDevNarrow, 2),
    // Tx point 1 block at 0x034
    CommonItem::Unsigned(ByteRef(0x034), &TCEmem::TxPowerHigh, 1),
    CommonItem::Unsigned(ByteRef(0x035), &TCEmem::TxPowerLow, 1),
    CommonItem::Unsigned(ByteRef(0x038), &TCEmem::MaxDevWide, 1),
    CommonItem::Unsigned(ByteRef(0x039), &TCEmem::MaxDevNarrow, 1),
    CommonItem::Unsigned(ByteRef(0x03A), &TCEmem::CtcssDevWide, 1),
    CommonItem::Unsigned(ByteRef(0x03B), &TCEmem::CtcssDevNarrow, 1),
    CommonItem::Unsigned(ByteRef(0x03C), &TCEmem::DcsDevWide, 1),
    CommonItem::Unsigned(ByteRef(0x03D), &TCEmem::DcsDevNarrow, 1),
    // Tx point 0 block at 0x03E
    CommonItem::Unsigned(ByteRef(0x03E), &TCEmem::TxPowerHigh, 0),
    CommonItem::Unsigned(ByteRef(0x03F), &TCEmem::TxPowerLow, 0),
    CommonItem::Unsigned(ByteRef(0x042), &TCEmem::MaxDevWide, 0),
    CommonItem::Unsigned(ByteRef(0x043), &TCEmem::MaxDevNarrow, 0),
    CommonItem::Unsigned(ByteRef(0x044), &TCEmem::CtcssDevWide, 0),
    CommonItem::Unsigned(ByteRef(0x045), &TCEmem::CtcssDevNarrow, 0),
    CommonItem::Unsigned(ByteRef(0x046), &TCEmem::DcsDevWide, 0),
    CommonItem::Unsigned(ByteRef(0x047), &TCEmem::DcsDevNarrow, 0),
    CommonItem::TrimmedText(BytesRef(image::SerialNumber, image::SerialNumber + image::SerialNumberSize - 1),
                            &TCEmem::SerialNumber),
    CommonItem::Unsigned(BitRef(0x050, 7), &TCEmem::Band),
    CommonItem::Unsigned(BitRef(0x050, 6), &TCEmem::Duplexer),
    CommonItem::Unsigned(BitRef(0x050, 5), &TCEmem::Beep),
    CommonItem::Unsigned(BitRef(0x050, 4), &TCEmem::Monitor),
    CommonItem::Unsigned(BitRef(0x050, 3), &TCEmem::FirstLocalOffset),
    CommonItem::Unsigned(BitRef(0x050, 2), &TCEmem::SecondLocalOffset),
    CommonItem::Accessory({0x050, 1, 0x050, 0}, &TCEmem::Accessory),
    CommonItem::Unsigned(BitRef(0x051, 7), &TCEmem::MicMonitor),
    CommonItem::Unsigned(BitRef(0x051, 6), &TCEmem::FanAlert),
    CommonItem::Unsigned(BitRef(0x051, 5), &TCEmem::HighTempAlert),
    CommonItem::Unsigned(BitRef(0x051, 4), &TCEmem::TxPowerType),
    CommonItem::Unsigned(BitRef(0x051, 3), &TCEmem::DcTxPowerLow),
    CommonItem::Unsigned(BitRef(0x051, 2), &TCEmem::HangOnAudio),
    CommonItem::Unsigned(BitRef(0x051, 0), &TCEmem::ChannelStep),
    CommonItem::Bcd4(WordRef(0x052), &TCEmem::IntermediateFreq),
    CommonItem::Bcd4(WordRef(0x054), &TCEmem::RxReferenceFreq),
    CommonItem::Bcd4(WordRef(0x056), &TCEmem::TxReferenceFreq),
    CommonItem::Unsigned(ByteRef(0x058), &TCEmem::BaseTot),
    CommonItem::Unsigned(ByteRef(0x059), &TCEmem::BaseGuardTime),
    CommonItem::Unsigned(ByteRef(0x05A), &TCEmem::RepeatTot),
    CommonItem::Unsigned(ByteRef(0x05B), &TCEmem::RepeatHangTime),
    CommonItem::Unsigned(ByteRef(0x05C), &TCEmem::RepeatGuardTime),
    CommonItem::Unsigned(BitRef(0x05D, 7), &TCEmem::CwIdEnable),
    CommonItem::Unsigned(BitRef(0x05D, 6), &TCEmem::DtmfTx),
    CommonItem::Unsigned(BitRef(0x05D, 5), &TCEmem::FiveToneTx),
    CommonItem::Unsigned({0x05D, 4, 0x05D, 3}, &TCEmem::AniMode),
    CommonItem::Unsigned(BitRef(0x05D, 2), &TCEmem::DtmfRx),
    CommonItem::Unsigned(BitRef(0x05D, 1), &TCEmem::FiveToneRx),
    CommonItem::SignedBytes(ByteRef(0x060), &TCEmem::TxPowerAdjust),
    CommonItem::FileStem(BytesRef(0x070, 0x077), &TCEmem::StoredFileName),
    CommonItem::FileExtension(BytesRef(0x078, 0x07A), &TCEmem::StoredFileName),
    CommonItem::Unsigned(ByteRef(0x07B), &TCEmem::CwIdDotTime),
    CommonItem::Unsigned(WordRef(0x07C), &TCEmem::CwIdInterval),
    CommonItem::Unsigned(WordRef(0x07E), &TCEmem::CwIdToneFreq),
    CommonItem::TrimmedText(BytesRef(0x080, 0x08F), &TCEmem::CwIdText),
    CommonItem::UnsignedWords(WordRef(0x090), &TCEmem::FiveToneTable),
    CommonItem::Unsigned(WordRef(0x0B0), &TCEmem::FiveToneMarkTime),
    CommonItem::Unsigned(WordRef(0x0B2), &TCEmem::FiveToneSpaceTime),
    CommonItem::Unsigned(ByteRef(0x0B4), &TCEmem::AniDelay),
    CommonItem::Unsigned(ByteRef(0x0B5), &TCEmem::EniDelay),
    CommonItem::Unsigned(ByteRef(0x0B6), &TCEmem::EniTxTime),
    CommonItem::Unsigned(ByteRef(0x0B7), &TCEmem::EniRxTime),
    CommonItem::Unsigned(ByteRef(0x0B8), &TCEmem::EniDeadTime),
    CommonItem::Unsigned(ByteRef(0x0B9), &TCEmem::EniRepeatCount),
    CommonItem::Unsigned(ByteRef(0x0BA), &TCEmem::FiveToneRepeatCode),
    CommonItem::Unsigned(ByteRef(0x0BB), &TCEmem::AniHeaderCode),
    CommonItem::HexDigits(BytesRef(0x0BC, 0x0BF), &TCEmem::AniCode),
    CommonItem::HexDigits(BytesRef(0x0C4, 0x0C7), &TCEmem::EniCode),
    CommonItem::Unsigned(ByteRef(0x0CC), &TCEmem::EniHeaderCode),
    CommonItem::Firmware(BytesRef(image::FirmwareMajor, image::FirmwareMinor), &TCEmem::FirmwareVersion),
};

// The 48-byte channel record; the bits between its items are listed in kKeptChannelBits.
const ChannelItem kChannelLayout[] = {
    ChannelItem::NotInUse(BitRef(0x00, 7), &TChannel::InUse),
    ChannelItem::Number({0x00, 6, 0x00, 0}, &TChannel::Number),
    ChannelItem::Inhibit(BitRef(0x01, 7), &TChannel::TxInhibit),
    ChannelItem::Plain(BitRef(0x01, 6), &TChannel::Wide),
    ChannelItem::PlainSigned(BitRef(0x01, 5), &TChannel::ClockShift),
    ChannelItem::PlainSigned(BitRef(0x01, 4), &TChannel::NsqMode),
    ChannelItem::Plain(BitRef(0x01, 3), &TChannel::CourtesyBlip),
    ChannelItem::Plain(BitRef(0x01, 2), &TChannel::ReverseBurst),
    ChannelItem::Plain(BitRef(0x01, 1), &TChannel::DcsType),
    ChannelItem::Plain(BitRef(0x01, 0), &TChannel::DcsDecodeType),
    ChannelItem::Plain(BitRef(0x02, 7), &TChannel::UseBaseTot),
    ChannelItem::Plain(BitRef(0x02, 6), &TChannel::UseBaseGuard),
    ChannelItem::LockoutBclo(BitRef(0x02, 5), &TChannel::Lockout),
    ChannelItem::LockoutBtlo(BitRef(0x02, 4), &TChannel::Lockout),
    ChannelItem::Plain(BitRef(0x02, 3), &TChannel::CloseSplit),
    ChannelItem::Plain(BitRef(0x02, 2), &TChannel::TxAboveRx),
    ChannelItem::Plain(BitRef(0x02, 0), &TChannel::TxPower),
    ChannelItem::Plain(BitRef(0x03, 7), &TChannel::MultiTone),
    ChannelItem::Plain(BitRef(0x03, 6), &TChannel::UseRptTot),
    ChannelItem::Plain(BitRef(0x03, 5), &TChannel::UseRptHangTime),
    ChannelItem::Plain(BitRef(0x03, 4), &TChannel::UseRptGuardTime),
    ChannelItem::Plain(BitRef(0x03, 3), &TChannel::TotBeep),
    ChannelItem::Plain(BitRef(0x03, 0), &TChannel::ActionMode),
    ChannelItem::Plain(BitRef(0x04, 7), &TChannel::TotMute),
    ChannelItem::Plain({0x04, 6, 0x04, 5}, &TChannel::IdMode),
    ChannelItem::Plain(ByteRef(0x05), &TChannel::NsqLevel),
    ChannelItem::SlotFlags(BytesRef(0x06, 0x07), &TChannel::SlotUsed),
    ChannelItem::FreqKhz(BytesRef(0x0A, 0x0C), &TChannel::RxFreq),
    ChannelItem::FreqKhz(BytesRef(0x0D, 0x0F), &TChannel::TxFreq),
    ChannelItem::Tones(ByteRef(0x10), ToneSlots{&TChannel::DecodeDcs, &TChannel::DecodeTone}),
    ChannelItem::Tones(ByteRef(0x20), ToneSlots{&TChannel::EncodeDcs, &TChannel::EncodeTone}),
};

constexpr uint16_t kTxPointBlocks[] = {0x020, 0x02A, 0x034, 0x03E};  // points 3 to 0, 10 bytes each

const KeptBits kKeptImageBits[] = {
    {image::StartMarker, image::StartMarker},
    {0x017, 0x017},
    {kTxPointBlocks[0] + 2, kTxPointBlocks[0] + 3},
    {kTxPointBlocks[1] + 2, kTxPointBlocks[1] + 3},
    {kTxPointBlocks[2] + 2, kTxPointBlocks[2] + 3},
    {kTxPointBlocks[3] + 2, kTxPointBlocks[3] + 3},
    {0x051, 0x051, 0x02},
    {0x05D, 0x05D, 0x01},
    {0x05E, 0x05F},
    {0x0C0, 0x0C3},
    {0x0C8, 0x0CB},
    {image::FirmwareMajor, image::FirmwareMinor},  // read only
    {0x5B1, image::EndMarker},                      // the rest of the image, its end marker included
};

const KeptBits kKeptChannelBits[] = {
    {0x02, 0x02, 0x02},
    {0x03, 0x03, 0x06},
    {0x04, 0x04, 0x1F},
    {0x08, 0x09},
};

}  // namespace

std::span<const KeptBits> KeptImageBits() { return kKeptImageBits; }

std::span<const KeptBits> KeptChannelBits() { return kKeptChannelBits; }

std::array<uint8_t, ImageSize> KeptBitMask()
{
    std::array<uint8_t, ImageSize> mask{};
    const auto keep = [&mask](const KeptBits& bits, size_t base) {
        for (size_t i = base + bits.First; i <= base + bits.Last && i < mask.size(); ++i) mask[i] |= bits.Mask;
    };
    for (const KeptBits& bits : kKeptImageBits) keep(bits, 0);
    for (int c = 0; c < ChannelCount; ++c)
        for (const KeptBits& bits : kKeptChannelBits) keep(bits, image::ChannelArea + size_t{image::ChannelRecordSize} * c);
    return mask;
}

std::span<const CommonItem> CommonLayout() { return kCommonLayout; }

std::span<const ChannelItem> ChannelLayout() { return kChannelLayout; }

}  // namespace qm54::layout
