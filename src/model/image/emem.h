// TCEmem: the decoded programming of the repeater (common settings, alignment values, the 16
// channels and the 48 alpha tags), with the defaults of the "New" command.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/image/channel.h"
#include "model/image/decimal.h"
#include "model/image/indexed.h"

namespace qm54 {

inline constexpr int AlignmentPointCount = 4;  // Lowest, Low, High, Highest
inline constexpr int AlphaTagCount = 48;
inline constexpr int FiveToneDigitCount = 16;
inline constexpr int BandVhf = 0;
inline constexpr int BandUhf = 1;
inline constexpr int MarketUsa = 85;           // the letter "U"
inline constexpr const char* KtdModelName = "KTD-4150";

using PointArray = std::array<int32_t, AlignmentPointCount>;
using PointFreqArray = std::array<TDecimal, AlignmentPointCount>;
using ChannelValueArray = std::array<int32_t, ChannelCount>;
using FiveToneArray = std::array<int32_t, FiveToneDigitCount>;

class TCEmem {
public:
    std::string ModelName;
    std::string SerialNumber;
    std::string FirmwareVersion;     // read only, from the image
    int32_t MarketCode = 0;          // MarketUsa, anything else is export
    int32_t NsqThreshold = 0;
    int32_t SqlNarrowOffset = 0;
    int32_t SqlHysteresis = 0;
    int32_t TxPowerDisplayHigh = 0;  // 0..99
    int32_t TxPowerDisplayLow = 0;   // 0..99
    PointFreqArray RxAdjustFreq;     // MHz, 0.1 MHz resolution
    PointArray SqlThreshold{};
    PointArray RxTuning{};
    PointFreqArray TxAdjustFreq;     // MHz
    PointArray TxPowerHigh{};
    PointArray TxPowerLow{};
    PointArray MaxDevWide{};
    PointArray MaxDevNarrow{};
    PointArray CtcssDevWide{};
    PointArray CtcssDevNarrow{};
    PointArray DcsDevWide{};
    PointArray DcsDevNarrow{};
    int32_t Band = 0;                // BandVhf or BandUhf
    int32_t Duplexer = 0;
    int32_t Beep = 0;
    int32_t Monitor = 0;
    int32_t FirstLocalOffset = 0;    // 0 lower, 1 upper
    int32_t SecondLocalOffset = 0;
    int32_t Accessory = 0;           // 0 "High/Low Pwr", 1 "Acc"
    int32_t MicMonitor = 0;
    int32_t FanAlert = 0;
    int32_t HighTempAlert = 0;
    int32_t DcTxPowerLow = 0;
    int32_t TxPowerType = 0;         // also shown as "High Temp Tx Power Low"
    int32_t HangOnAudio = 0;         // 0 noise, 1 quiet
    int32_t ChannelStep = 0;         // index into ChannelStepTable
    int32_t IntermediateFreq = 0;    // 10 kHz units
    int32_t RxReferenceFreq = 0;     // 10 kHz units
    int32_t TxReferenceFreq = 0;     // 10 kHz units
    int32_t BaseTot = 0;             // 0.5 min units
    int32_t BaseGuardTime = 0;       // 2 s units
    int32_t RepeatTot = 0;           // 0.5 min units
    int32_t RepeatHangTime = 0;      // 0.5 s units
    int32_t RepeatGuardTime = 0;     // 2 s units
    int32_t CwIdEnable = 0;
    int32_t DtmfTx = 0;
    int32_t DtmfRx = 0;
    int32_t FiveToneTx = 0;
    int32_t FiveToneRx = 0;
    int32_t AniMode = 0;             // 0..3
    ChannelValueArray TxPowerAdjust{};  // -128..127, entry i for channel i + 1
    std::string StoredFileName;      // stem of up to 8 bytes plus the file's extension
    int32_t CwIdDotTime = 0;         // ms
    int32_t CwIdInterval = 0;        // s
    int32_t CwIdToneFreq = 0;        // Hz
    std::string CwIdText;
    FiveToneArray FiveToneTable{};   // Hz of the digits 0..F
    int32_t FiveToneMarkTime = 0;    // ms
    int32_t FiveToneSpaceTime = 0;   // ms
    int32_t AniDelay = 0;            // 5 ms units
    int32_t EniDelay = 0;            // 50 ms units
    int32_t EniTxTime = 0;           // s
    int32_t EniRxTime = 0;           // s
    int32_t EniDeadTime = 0;         // s
    int32_t EniRepeatCount = 0;
    int32_t FiveToneRepeatCode = 0;  // 0..15
    int32_t AniHeaderCode = 0;       // 0..15
    std::string AniCode;             // 4 hexadecimal digits
    std::string EniCode;             // 4 hexadecimal digits
    int32_t EniHeaderCode = 0;       // 0..15
    TChannels Channels;
    std::array<int32_t, AlphaTagCount> AlphaTagCode{};  // -1 not in use, else 0..9999
    std::array<std::string, AlphaTagCount> AlphaTagText;

    // Indexed accessors: a read outside the range gives 0 (or zero, or empty), a write is ignored.
    TDecimal GetRxAdjustFreq(int k) const { return ItemAt(RxAdjustFreq, k); }
    TDecimal GetTxAdjustFreq(int k) const { return ItemAt(TxAdjustFreq, k); }
    int32_t GetSqlThreshold(int k) const { return ItemAt(SqlThreshold, k); }
    int32_t GetRxTuning(int k) const { return ItemAt(RxTuning, k); }
    int32_t GetTxPowerHigh(int k) const { return ItemAt(TxPowerHigh, k); }
    int32_t GetTxPowerLow(int k) const { return ItemAt(TxPowerLow, k); }
    int32_t GetMaxDevWide(int k) const { return ItemAt(MaxDevWide, k); }
    int32_t GetMaxDevNarrow(int k) const { return ItemAt(MaxDevNarrow, k); }
    int32_t GetCtcssDevWide(int k) const { return ItemAt(CtcssDevWide, k); }
    int32_t GetCtcssDevNarrow(int k) const { return ItemAt(CtcssDevNarrow, k); }
    int32_t GetDcsDevWide(int k) const { return ItemAt(DcsDevWide, k); }
    int32_t GetDcsDevNarrow(int k) const { return ItemAt(DcsDevNarrow, k); }
    int32_t GetTxPowerAdjust(int i) const { return ItemAt(TxPowerAdjust, i); }
    int32_t GetFiveToneTable(int i) const { return ItemAt(FiveToneTable, i); }
    int32_t GetAlphaTagCode(int t) const { return ItemAt(AlphaTagCode, t); }
    std::string GetAlphaTagText(int t) const { return ItemAt(AlphaTagText, t); }

    void SetRxAdjustFreq(int k, const TDecimal& v) { SetItemAt(RxAdjustFreq, k, v); }
    void SetSqlThreshold(int k, int32_t v) { SetItemAt(SqlThreshold, k, v); }
    void SetDcsDevNarrow(int k, int32_t v) { SetItemAt(DcsDevNarrow, k, v); }
    void SetTxPowerAdjust(int i, int32_t v) { SetItemAt(TxPowerAdjust, i, v); }
    void SetFiveToneTable(int i, int32_t v) { SetItemAt(FiveToneTable, i, v); }
    void SetAlphaTagCode(int t, int32_t v) { SetItemAt(AlphaTagCode, t, v); }
    void SetAlphaTagText(int t, const std::string& v) { SetItemAt(AlphaTagText, t, v); }

    // Field by field in declaration order.
    bool operator==(const TCEmem&) const = default;
};

// The values of the "New" command. Fields it does not name keep their value, so "New" first
// resets and decodes the image and then calls this.
void SetDefaults(TCEmem& emem);

// The alignment tables, SqlHysteresis and every channel's frequencies and NSQ level of a band
// (BandVhf or BandUhf; any other value changes nothing). Everything else is left alone.
void ApplyBandDefaults(TCEmem& emem, int band);

}  // namespace qm54
