// The service dialogs' field rules: normalising typed text, the bare value typing starts from,
// the frequency order of the four points, and storing into and comparing the settings object.
#include "model/image/emem.h"
#include "model/settings/service_fields.h"

#include <gtest/gtest.h>

namespace {

using namespace qm54;

TEST(ServiceFields, TypedTextIsNormalisedByItsFieldsRule)
{
    const struct {
        const FieldRule* rule;
        const char* typed;
        const char* shown;
    } cases[] = {
        {&PointFrequencyRule, "150,5", "150.5"},  {&PointFrequencyRule, "150.5", "150.5"},
        {&PointFrequencyRule, " 450 ", "450.0"},  {&PointFrequencyRule, "1200", "999.9"},
        {&PointFrequencyRule, "", "0.0"},         {&PointFrequencyRule, "1.2.3", "0.0"},
        {&PointFrequencyRule, "-5", "0.0"},       {&PointFrequencyRule, "12a", "0.0"},
        {&PointFrequencyRule, "50.55", "50.6"},   {&PointFrequencyRule, "50.54", "50.5"},
        {&PointFrequencyRule, ".5", "0.5"},       {&LevelRule, "300", "255"},
        {&LevelRule, "", "0"},                    {&LevelRule, "007", "7"},
        {&LevelRule, "+5", "0"},                  {&PowerDisplayRule, "150", "99"},
        {&PowerDisplayRule, "42", "42"},          {&PowerTrimRule, "-5", "-5"},
        {&PowerTrimRule, "+7", "7"},              {&PowerTrimRule, "-200", "-128"},
        {&PowerTrimRule, "300", "127"},           {&PowerTrimRule, "", "0"},
        {&PowerTrimRule, "-", "0"},               {&PowerTrimRule, "5-", "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(CommitField(*c.rule, c.typed), c.shown) << c.typed;
    EXPECT_EQ(CommitField(PointFrequencyRule, "150.5", ','), "150,5");
}

TEST(ServiceFields, TypingStartsFromTheBareValue)
{
    EXPECT_EQ(BareField(PointFrequencyRule, ParseField(PointFrequencyRule, "150.0")), "150");
    EXPECT_EQ(BareField(PointFrequencyRule, ParseField(PointFrequencyRule, "150.5")), "150.5");
    EXPECT_EQ(BareField(PowerTrimRule, ParseField(PowerTrimRule, "-5")), "-5");
}

TEST(ServiceFields, KeysEachFieldTakes)
{
    const struct {
        const FieldRule* rule;
        char32_t key;
        bool accepted;
    } cases[] = {
        {&LevelRule, U'7', true},           {&LevelRule, U'.', false},          {&LevelRule, U'-', false},
        {&LevelRule, U'\b', true},          {&PointFrequencyRule, U',', true},  {&PointFrequencyRule, U'.', true},
        {&PointFrequencyRule, U'a', false}, {&PowerTrimRule, U'-', true},       {&PowerTrimRule, U'+', true},
        {&PowerTrimRule, U'.', false},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterFieldKey(*c.rule, c.key).Accepted, c.accepted) << int(c.key);
    EXPECT_EQ(PointFrequencyRule.MaxTyped, 5);
    EXPECT_EQ(LevelRule.MaxTyped, 3);
    EXPECT_EQ(PowerTrimRule.MaxTyped, 4);
}

TEST(ServiceFields, FrequencyOrderIsStrictBetweenNeighbours)
{
    const std::array<double, 4> points{440.0, 450.0, 470.0, 480.0};
    EXPECT_FALSE(FitsPointOrder(points, 1, 480.0));
    EXPECT_TRUE(FitsPointOrder(points, 1, 460.0));
    EXPECT_FALSE(FitsPointOrder(points, 1, 470.0));  // equal to the next point
    EXPECT_FALSE(FitsPointOrder(points, 1, 440.0));  // equal to the point before
    EXPECT_TRUE(FitsPointOrder(points, 0, 0.0));     // the first point: anything below the next
    EXPECT_FALSE(FitsPointOrder(points, 0, 450.0));
    EXPECT_TRUE(FitsPointOrder(points, 3, 999.9));   // the last point: anything above the one before
    EXPECT_FALSE(FitsPointOrder(points, 3, 470.0));
}

TEST(ServiceFields, StoringShowingAndComparing)
{
    TCEmem emem;
    SetDefaults(emem);
    TCEmem backup;
    backup = emem;

    // Showing a stored value outside the field's range shows it clamped.
    emem.TxPowerDisplayHigh = 150;
    emem.TxPowerAdjust[3] = -300;
    EXPECT_EQ(ServiceFieldText(emem, "TxPowerDisplayHigh", 0), "99");
    EXPECT_EQ(ServiceFieldText(emem, "TxPowerAdjust", 3), "-128");
    emem = backup;

    EXPECT_EQ(ServiceFieldText(emem, "RxAdjustFreq", 0), "150.0");
    EXPECT_FALSE(ServiceValuesDiffer(emem, backup, RxAdjustKeys));

    // Storing what a field shows unchanged is no change; one step away is.
    StoreServiceField(emem, "RxAdjustFreq", 0, ServiceFieldText(emem, "RxAdjustFreq", 0));
    StoreServiceField(emem, "TxPowerAdjust", 15, "0");
    EXPECT_FALSE(ServiceValuesDiffer(emem, backup, RxAdjustKeys));
    EXPECT_FALSE(ServiceValuesDiffer(emem, backup, TxPowerKeys));
    StoreServiceField(emem, "TxPowerAdjust", 15, "1");
    EXPECT_TRUE(ServiceValuesDiffer(emem, backup, TxPowerKeys));
    EXPECT_FALSE(ServiceValuesDiffer(emem, backup, TxAdjustKeys));
    StoreServiceField(emem, "TxAdjustFreq", 2, "170.1");
    EXPECT_TRUE(ServiceValuesDiffer(emem, backup, TxAdjustKeys));
    EXPECT_EQ(emem.TxAdjustFreq[2].ScaledTrunc(1), 1701);
    StoreServiceField(emem, "SqlHysteresis", 0, "300");
    EXPECT_EQ(emem.SqlHysteresis, 255);
}

}  // namespace
