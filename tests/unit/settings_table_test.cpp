#include "model/settings/settings_table.h"

#include <gtest/gtest.h>

#include <random>

#include "model/channels/channel_fields.h"
#include "model/image/map54.h"
#include "model/image/tables.h"

namespace {

using namespace qm54;

// A random image whose every mapped item decodes inside its stored range: the hexadecimal-digit
// bytes hold digits and the Tx power display bytes BCD digits.
TCEmem RandomInRangeProgramming(unsigned seed)
{
    std::mt19937 random(seed);
    TMap54 map;
    for (uint8_t& b : map.Bytes()) b = static_cast<uint8_t>(random());
    for (const uint16_t at : {0x0BA, 0x0BB, 0x0BC, 0x0BD, 0x0BE, 0x0BF, 0x0C4, 0x0C5, 0x0C6, 0x0C7, 0x0CC})
        map.Bytes()[at] &= 0x0F;
    map.Bytes()[0x014] = 0x42;  // Tx power display, high and low
    map.Bytes()[0x015] = 0x17;
    TCEmem emem;
    EXPECT_TRUE(map.Decode(emem));
    return emem;
}

TEST(SettingsTable, CopyingEveryRowCopiesTheWholeProgramming)
{
    // A field of TCEmem without a row, or a row wired to the wrong field, leaves the copy unequal.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const TCEmem source = RandomInRangeProgramming(seed);
        TCEmem copy;
        SetDefaults(copy);
        copy.Channels = source.Channels;
        copy.FirmwareVersion = source.FirmwareVersion;
        for (const SettingRow& row : SettingsTable()) {
            if (row.ReadOnly || row.Kind == SettingKind::ToneSetName) continue;
            for (int i = 0; i < row.Count(); ++i)
                ASSERT_EQ(SetSetting(copy, row, i, GetSetting(source, row, i)), SetOutcome::Stored)
                    << row.Key << "[" << i << "] seed " << seed;
        }
        EXPECT_TRUE(copy == source) << "seed " << seed;
    }
}

// A value at each end of a row's range, for every index.
std::vector<SettingValue> EdgeValues(const SettingRow& row)
{
    switch (row.Kind) {
    case SettingKind::Number:
    case SettingKind::Choice:
    case SettingKind::HexDigit:
        return {row.Min, row.Max};
    case SettingKind::Text:
        return {std::string(), std::string(static_cast<size_t>(row.MaxLength), '~')};
    case SettingKind::HexCode:
        return {std::string(static_cast<size_t>(row.MaxLength), 'F'), std::string(static_cast<size_t>(row.MaxLength), '0')};
    case SettingKind::AlignmentFrequency:
        return {TDecimal(1, 999, 9, 1), TDecimal(1, 0, 0, 0)};
    case SettingKind::ToneSetName:
        break;
    }
    return {};
}

TEST(SettingsTable, EveryStoredRangeFitsTheImageAndTouchesOnlyItsOwnValue)
{
    TCEmem defaults;
    SetDefaults(defaults);
    for (const SettingRow& row : SettingsTable()) {
        if (row.ReadOnly || row.Kind == SettingKind::ToneSetName) continue;
        for (const SettingValue& value : EdgeValues(row)) {
            for (int i = 0; i < row.Count(); ++i) {
                TCEmem edited = defaults;
                ASSERT_EQ(SetSetting(edited, row, i, value), SetOutcome::Stored) << row.Key;
                TMap54 map;
                ASSERT_TRUE(map.Encode(edited));
                TCEmem decoded;
                ASSERT_TRUE(map.Decode(decoded));
                if (row.Key == "StoredFileName") continue;  // decoded names carry no extension
                EXPECT_EQ(GetSetting(decoded, row, i), value) << row.Key << "[" << i << "]";
                for (const SettingRow& other : SettingsTable()) {
                    if (&other == &row || other.Kind == SettingKind::ToneSetName) continue;
                    for (int j = 0; j < other.Count(); ++j)
                        EXPECT_EQ(GetSetting(edited, other, j), GetSetting(defaults, other, j))
                            << row.Key << " changed " << other.Key;
                }
            }
        }
    }
}

struct Refusal {
    const char* key;
    int index;
    SettingValue value;
    SetOutcome outcome;
};

TEST(SettingsTable, ValuesOutsideTheStoredRangeAreRefusedAndChangeNothing)
{
    const Refusal cases[] = {
        {"NsqThreshold", 0, 256, SetOutcome::OutOfRange},
        {"NsqThreshold", 0, -1, SetOutcome::OutOfRange},
        {"TxPowerDisplayHigh", 0, 100, SetOutcome::OutOfRange},
        {"IntermediateFreq", 0, 10000, SetOutcome::OutOfRange},
        {"TxPowerAdjust", 15, 128, SetOutcome::OutOfRange},
        {"TxPowerAdjust", 16, 0, SetOutcome::OutOfRange},
        {"SqlThreshold", -1, 0, SetOutcome::OutOfRange},
        {"Band", 0, 2, SetOutcome::OutOfRange},
        {"AniMode", 0, 4, SetOutcome::OutOfRange},
        {"FiveToneRepeatCode", 0, 16, SetOutcome::OutOfRange},
        {"AlphaTagCode", 47, -2, SetOutcome::OutOfRange},
        {"AlphaTagCode", 0, 10000, SetOutcome::OutOfRange},
        {"SerialNumber", 0, std::string("123456789"), SetOutcome::OutOfRange},
        {"CwIdText", 0, std::string("CQ\nDE"), SetOutcome::OutOfRange},
        {"AlphaTagText", 3, std::string("caf\xc3\xa9"), SetOutcome::OutOfRange},
        {"AniCode", 0, std::string("12G4"), SetOutcome::OutOfRange},
        {"EniCode", 0, std::string("12345"), SetOutcome::OutOfRange},
        {"RxAdjustFreq", 0, TDecimal(1, 150, 5, 2), SetOutcome::OutOfRange},  // 150.05: below the tenths
        {"RxAdjustFreq", 3, TDecimal(1, 1000, 0, 0), SetOutcome::OutOfRange},
        {"TxAdjustFreq", 0, TDecimal(-1, 150, 0, 0), SetOutcome::OutOfRange},
        {"NsqThreshold", 0, std::string("110"), SetOutcome::WrongType},
        {"SerialNumber", 0, 12345678, SetOutcome::WrongType},
        {"RxAdjustFreq", 0, 150, SetOutcome::WrongType},
        {"ModelName", 0, std::string("KTD-4150"), SetOutcome::ReadOnly},
        {"FirmwareVersion", 0, std::string("1.00"), SetOutcome::ReadOnly},
        {"FiveToneSet", 0, std::string("USER"), SetOutcome::NotATable},
        {"FiveToneSet", 0, std::string("zvei1"), SetOutcome::NotATable},
    };
    TCEmem defaults;
    SetDefaults(defaults);
    for (const Refusal& c : cases) {
        const SettingRow* row = FindSetting(c.key);
        ASSERT_NE(row, nullptr) << c.key;
        TCEmem edited = defaults;
        EXPECT_EQ(SetSetting(edited, *row, c.index, c.value), c.outcome) << c.key;
        EXPECT_TRUE(edited == defaults) << c.key;
    }
}

TEST(SettingsTable, DerivedAndNormalisedValues)
{
    TCEmem e;
    SetDefaults(e);
    const SettingRow& toneSet = *FindSetting("FiveToneSet");
    EXPECT_EQ(GetSetting(e, toneSet), SettingValue(std::string("ZVEI1")));
    ASSERT_EQ(SetSetting(e, toneSet, 0, std::string(FiveToneSets[FiveToneEiaSet].Name)), SetOutcome::Stored);
    EXPECT_EQ(e.FiveToneTable, FiveToneSets[FiveToneEiaSet].Tones);
    e.FiveToneTable[0] = 1234;
    EXPECT_EQ(GetSetting(e, toneSet), SettingValue(std::string("USER")));
    // The set the table already matches may be named, "USER" included.
    EXPECT_EQ(SetSetting(e, toneSet, 0, std::string("USER")), SetOutcome::Stored);

    ASSERT_EQ(SetSetting(e, *FindSetting("AniCode"), 0, std::string("a1f")), SetOutcome::Stored);
    EXPECT_EQ(e.AniCode, "A1F");

    EXPECT_EQ(AllowedValues(*FindSetting("Band")), "one of 0 (VHF), 1 (UHF)");
    EXPECT_EQ(AllowedValues(*FindSetting("TxPowerAdjust")), "-128 to 127");
    EXPECT_EQ(FindSetting("Channels"), nullptr);
    EXPECT_EQ(FindSetting("band"), nullptr);
}

TEST(ChannelFieldTable, CopyingEveryRowCopiesTheWholeChannel)
{
    for (unsigned seed = 1; seed <= 5; ++seed) {
        const TCEmem source = RandomInRangeProgramming(seed);
        for (int c = 0; c < ChannelCount; ++c) {
            const TChannel& from = source.Channels.Items(c);
            TChannel copy;
            for (const ChannelFieldRow& row : ChannelFieldTable())
                std::visit([&](auto member) { copy.*member = from.*member; }, row.Member);
            EXPECT_TRUE(copy == from) << "channel " << c + 1 << " seed " << seed;
        }
    }
}

}  // namespace
