#include "model/settings/field_rules.h"

#include <gtest/gtest.h>

#include <random>

#include "model/settings/dialog_rows.h"
#include "model/settings/service_fields.h"

namespace {

using namespace qm54;

const FieldRule& RuleOf(std::string_view key)
{
    const DialogRowRef ref = FindDialogRow(key);
    EXPECT_NE(ref.Row, nullptr) << key;
    EXPECT_NE(ref.Row->Rule, nullptr) << key;
    return *ref.Row->Rule;
}

struct TypedCase {
    const char* key;
    const char* typed;
    const char* shown;  // after the field is committed or left
};

TEST(FieldRules, TypedTextIsShownAsTheDialogsShowIt)
{
    const TypedCase cases[] = {
        {"IntermediateFreq", "123", "99.99 MHz"},
        {"IntermediateFreq", "1,5", "1.50 MHz"},
        {"IntermediateFreq", "1.2.3", "0.00 MHz"},
        {"IntermediateFreq", "", "0.00 MHz"},
        {"IntermediateFreq", "21.40 MHz", "21.40 MHz"},
        {"IntermediateFreq", "5", "5.00 MHz"},
        {"BaseTot", "61", "60.0 Min"},
        {"BaseTot", "2.7", "2.5 Min"},
        {"BaseTot", "2,5", "2.5 Min"},
        {"BaseTot", "0.4", "0.0 Min"},
        {"BaseTot", "", "0.0 Min"},
        {"BaseTot", "2.5 Min", "2.5 Min"},
        {"RepeatHangTime", "2", "2.0 Sec"},
        {"BaseGuardTime", "7", "6 Sec"},
        {"BaseGuardTime", "999", "360 Sec"},
        {"BaseGuardTime", "x", "0 Sec"},
        {"RepeatGuardTime", "10 Sec", "10 Sec"},
        {"CwIdDotTime", "5", "20 msec"},
        {"CwIdDotTime", "300", "255 msec"},
        {"CwIdInterval", "0", "30 sec"},
        {"CwIdInterval", "9999", "1800 sec"},
        {"CwIdToneFreq", "", "300 Hz"},
        {"CwIdText", "de k1abc/r?", "de k1abc/r?"},
        {"SerialNumber", "123", "123     "},
        {"SerialNumber", "  ", "12345678"},
        {"SerialNumber", " 5B230017 ", "5B230017"},
    };
    for (const TypedCase& c : cases)
        EXPECT_EQ(CommitField(RuleOf(c.key), c.typed), c.shown) << c.key << " typed \"" << c.typed << "\"";
}

struct StoredCase {
    const char* key;
    int32_t stored;
    const char* storedText;
    const char* shown;  // when the dialog opens
    const char* bare;   // when typing starts
};

TEST(FieldRules, StoredValuesShowClampedAndTypingStartsFromTheBareNumber)
{
    const StoredCase cases[] = {
        {"IntermediateFreq", 2140, "", "21.40 MHz", "21.4"},
        {"IntermediateFreq", 7335, "", "73.35 MHz", "73.35"},
        {"BaseTot", 6, "", "3.0 Min", "3"},
        {"BaseTot", 200, "", "60.0 Min", "60"},
        {"RepeatHangTime", 4, "", "2.0 Sec", "2"},
        {"RepeatGuardTime", 5, "", "10 Sec", "10"},
        {"RepeatGuardTime", 255, "", "360 Sec", "360"},
        {"CwIdDotTime", 50, "", "50 msec", "50"},
        {"CwIdDotTime", 0, "", "20 msec", "20"},
        {"CwIdInterval", 600, "", "600 sec", "600"},
        {"CwIdText", 0, "0000000000000000", "0000000000000000", "0000000000000000"},
        {"SerialNumber", 0, "12345678", "00000000", "00000000"},
        {"SerialNumber", 0, "5B23", "5B23    ", "5B23    "},
    };
    for (const StoredCase& c : cases) {
        const FieldRule& rule = RuleOf(c.key);
        const std::string shown = ShownText(rule, c.stored, c.storedText);
        EXPECT_EQ(shown, c.shown) << c.key << " stored " << c.stored;
        EXPECT_EQ(BareField(rule, ParseField(rule, shown)), c.bare) << c.key << " stored " << c.stored;
    }
}

struct StoreCase {
    const char* key;
    const char* text;
    int32_t stored;
};

TEST(FieldRules, CommittedTextIsStoredInTheSettingsUnit)
{
    const StoreCase cases[] = {
        {"IntermediateFreq", "99.99 MHz", 9999},
        {"IntermediateFreq", "21.40 MHz", 2140},
        // 0.29 x 100 is 28.999999999999996 in binary floating point; the digits give 29.
        {"IntermediateFreq", "0.29", 29},
        {"IntermediateFreq", "1.239", 123},
        {"BaseTot", "60.0 Min", 120},
        {"BaseTot", "2.5 Min", 5},
        {"RepeatHangTime", "2.0 Sec", 4},
        {"BaseGuardTime", "360 Sec", 180},
        {"BaseGuardTime", "7", 3},
        {"CwIdToneFreq", "600 Hz", 600},
    };
    for (const StoreCase& c : cases) {
        const FieldRule& rule = RuleOf(c.key);
        EXPECT_EQ(StoredNumber(rule, ParseField(rule, c.text)), c.stored) << c.key << " \"" << c.text << "\"";
    }
    const FieldRule& serial = RuleOf("SerialNumber");
    for (const char* refused : {"5O230017", "5P230017", "5A230017", "5T230017", "5b230017", "5B000017",
                                "5B230000", "123     ", "00000000", "12345678"})
        EXPECT_EQ(StoredText(serial, refused), "12345678") << refused;
    EXPECT_EQ(StoredText(serial, "5B230017"), "5B230017");
}

// Whatever is typed, the value is in the field's range, and the shown text reads back as itself.
TEST(FieldRules, AnyTextGivesAValueInRangeThatFormatsToAFixedPoint)
{
    std::mt19937 random(4150);
    const std::string alphabet = "0123456789.,- MHzSecin\xc3\xa9\x01";
    for (const DialogTable& dialog : AllDialogs()) {
        for (const DialogRow& row : dialog.Rows) {
            if (!row.Rule || IsTextRule(*row.Rule)) continue;
            for (int n = 0; n < 500; ++n) {
                std::string text;
                for (int k = static_cast<int>(random() % 12); k > 0; --k) text += alphabet[random() % alphabet.size()];
                const FieldValue value = ParseField(*row.Rule, text);
                const int32_t stored = StoredNumber(*row.Rule, value);
                const SettingRow& setting = row.Setting();
                EXPECT_GE(stored, setting.Min) << row.Key() << " \"" << text << "\"";
                EXPECT_LE(stored, setting.Max) << row.Key() << " \"" << text << "\"";
                const std::string shown = FormatField(*row.Rule, value);
                EXPECT_EQ(CommitField(*row.Rule, shown), shown) << row.Key();
                EXPECT_EQ(ParseField(*row.Rule, BareField(*row.Rule, value)), value) << row.Key();
                EXPECT_EQ(StoredNumber(*row.Rule, ValueOfStored(*row.Rule, stored)), stored) << row.Key();
            }
        }
    }
}

// The strict read a script's value gets: a text the dialog would turn into another value (a
// fallback for unreadable or empty text, refused characters dropped, an invalid serial number
// replaced) is not a value of the field; the unit may follow the number.
TEST(FieldRules, AStrictReadTakesOnlyTextThatIsAValueOfTheField)
{
    const struct {
        const char* key;
        const char* text;
        bool readable;
        double number;  // when readable and numeric
    } cases[] = {
        {"BaseTot", "2.5", true, 2.5},
        {"BaseTot", "2,5", true, 2.5},
        {"BaseTot", "2.5 Min", true, 2.5},
        {"BaseTot", "61", true, 61},
        {"BaseTot", "99999999999999999999", true, 1e20},
        {"BaseTot", ".5", true, 0.5},
        {"BaseTot", "abc", false, 0},
        {"BaseTot", "1e1", false, 0},
        {"BaseTot", "", false, 0},
        {"BaseTot", "1.2.3", false, 0},
        {"BaseTot", "-5", false, 0},
        {"BaseTot", " Min", false, 0},
        {"BaseTot", "2.5Min", false, 0},
        {"RepeatHangTime", "-", false, 0},
        {"RepeatGuardTime", "2.5", false, 0},
        {"RepeatGuardTime", "10 Sec", true, 10},
        {"IntermediateFreq", "73.35 MHz", true, 73.35},
        {"IntermediateFreq", "1,5.0", false, 0},
        {"CwIdToneFreq", "", false, 0},
        {"CwIdDotTime", "5", true, 5},
        {"CwIdText", "de k1abc/r, qrz?", true, 0},
        {"CwIdText", "", true, 0},
        {"CwIdText", "caf\xc3\xa9", false, 0},
        {"CwIdText", "seventeen chars!!", false, 0},
        {"SerialNumber", "5B230017", true, 0},
        {"SerialNumber", "12345678", true, 0},
        {"SerialNumber", "00000000", true, 0},
        {"SerialNumber", "5b230017", false, 0},
        {"SerialNumber", "5B230017999", false, 0},
        {"SerialNumber", "", false, 0},
    };
    for (const auto& c : cases) {
        const StrictReading read = ReadFieldStrictly(RuleOf(c.key), c.text);
        EXPECT_EQ(read.Readable, c.readable) << c.key << "=" << c.text;
        if (read.Readable) {
            EXPECT_DOUBLE_EQ(read.Number, c.number) << c.key << "=" << c.text;
        }
    }

    // The service fields: a sign only where the field takes one.
    EXPECT_TRUE(ReadFieldStrictly(PowerTrimRule, "-3").Readable);
    EXPECT_DOUBLE_EQ(ReadFieldStrictly(PowerTrimRule, "+3").Number, 3);
    EXPECT_FALSE(ReadFieldStrictly(PowerTrimRule, "3-").Readable);
    EXPECT_FALSE(ReadFieldStrictly(LevelRule, "-3").Readable);
    EXPECT_FALSE(ReadFieldStrictly(PointFrequencyRule, "abc").Readable);
}

TEST(FieldRules, WhatAFieldTakesAndWhyItStoresAnotherNumber)
{
    EXPECT_EQ(FieldForm(RuleOf("BaseTot")),
              "a number from 0.0 Min to 60.0 Min in steps of 0.5, \".\" or \",\" before the decimals");
    EXPECT_EQ(FieldForm(RuleOf("BaseGuardTime")), "a whole number from 0 Sec to 360 Sec in steps of 2");
    EXPECT_EQ(FieldForm(RuleOf("CwIdDotTime")), "a whole number from 20 msec to 255 msec");
    EXPECT_EQ(FieldForm(PowerTrimRule), "a whole number from -128 to 127");

    const struct {
        const char* key;
        double read;
        const char* shown;  // what the field committed
        const char* why;
    } cases[] = {
        {"BaseTot", 61, "60.0 Min", "the largest"},
        {"BaseTot", 2.7, "2.5 Min", "rounded as the field rounds"},
        {"BaseTot", 2.5, "2.5 Min", ""},
        {"CwIdDotTime", 5, "20 msec", "the smallest"},
        {"BaseGuardTime", 7, "6 Sec", "rounded as the field rounds"},
        {"IntermediateFreq", 1.2345, "1.23 MHz", "rounded as the field rounds"},
        {"FiveToneTable[0]", 600, "600 Hz", ""},  // the EIA set's exception keeps it
        {"FiveToneTable[0]", 600, "625 Hz", "the smallest"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdjustmentOf(RuleOf(c.key), c.read, c.shown), c.why) << c.key << " " << c.read;
}

}  // namespace
