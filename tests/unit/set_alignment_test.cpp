// qm54 set and get for the alignment values: the keys and indexes, the mode rights, the dialogs'
// normalising, the frequency order refused with the neighbours named, and the lines get prints.
#include "cli/set_alignment.h"
#include "cli/verbs.h"
#include "model/image/emem.h"

#include <gtest/gtest.h>

namespace {

using namespace qm54;
using namespace qm54::cli;

std::vector<ServiceAssignment> Read(std::initializer_list<Assignment> given)
{
    std::vector<ServiceAssignment> out;
    for (const Assignment& a : given) {
        std::string error;
        std::optional<ServiceAssignment> read = ReadServiceAssignment(a, error);
        EXPECT_TRUE(read.has_value()) << a.Key << ": " << error;
        if (read) out.push_back(*read);
    }
    return out;
}

std::optional<std::string> Apply(const std::vector<ServiceAssignment>& assignments, TCEmem& emem)
{
    std::vector<std::string> notes;
    return ApplyServiceAssignments(assignments, emem, notes);
}

TEST(SetAlignment, KeysNeedTheirIndexAndOnlyThen)
{
    const struct {
        const char* key;
        const char* error;  // empty: accepted; nullptr: not an alignment value at all
    } cases[] = {
        {"RxAdjustFreq[3]", ""},
        {"TxPowerAdjust[15]", ""},
        {"SqlHysteresis", ""},
        {"TxPowerDisplayLow", ""},
        {"RxAdjustFreq", "RxAdjustFreq needs an index 0 to 3, as RxAdjustFreq[0]"},
        {"RxAdjustFreq[4]", "RxAdjustFreq needs an index 0 to 3, as RxAdjustFreq[0]"},
        {"TxPowerAdjust[-1]", "TxPowerAdjust needs an index 0 to 15, as TxPowerAdjust[0]"},
        {"TxPowerAdjust[1x]", "TxPowerAdjust needs an index 0 to 15, as TxPowerAdjust[0]"},
        {"SqlHysteresis[0]", "SqlHysteresis takes no index"},
        {"Band", nullptr},
        {"FiveToneTable[1]", nullptr},
    };
    for (const auto& c : cases) {
        std::string error;
        const bool read = ReadServiceAssignment({c.key, "1"}, error).has_value();
        EXPECT_EQ(read, c.error != nullptr && *c.error == '\0') << c.key;
        EXPECT_EQ(error, c.error ? c.error : "") << c.key;
    }
}

TEST(SetAlignment, RightsOfTheModes)
{
    const auto trims = Read({{"TxPowerAdjust[0]", "1"}});
    const auto display = Read({{"TxPowerDisplayHigh", "1"}});
    EXPECT_EQ(ServiceRefusal(trims, OperatingMode::Normal),
              "TxPowerAdjust[0] can be set in the Dealer and Manufacture modes only");
    EXPECT_EQ(ServiceRefusal(trims, OperatingMode::Dealer), std::nullopt);
    EXPECT_EQ(ServiceRefusal(display, OperatingMode::Dealer), "TxPowerDisplayHigh can be set in the Manufacture mode only");
    EXPECT_EQ(ServiceRefusal(display, OperatingMode::Manufacture), std::nullopt);
}

TEST(SetAlignment, ValuesAreTypedAndNormalisedAsInTheDialogs)
{
    TCEmem emem;
    SetDefaults(emem);
    EXPECT_EQ(Apply(Read({{"RxAdjustFreq[1]", "165,5"},
                                            {"TxPowerAdjust[2]", "-200"},
                                            {"TxPowerAdjust[3]", "+7"},
                                            {"SqlThreshold[0]", "300"},
                                            {"TxPowerDisplayLow", "150"},
                                            {"TxAdjustFreq[3]", "12000"}}),  // above 999.9
                                      emem),
              std::nullopt);
    EXPECT_EQ(emem.RxAdjustFreq[1].ScaledTrunc(1), 1655);
    EXPECT_EQ(emem.TxPowerAdjust[2], -128);
    EXPECT_EQ(emem.TxPowerAdjust[3], 7);
    EXPECT_EQ(emem.SqlThreshold[0], 255);
    EXPECT_EQ(emem.TxPowerDisplayLow, 99);
    EXPECT_EQ(emem.TxAdjustFreq[3].ScaledTrunc(1), 9999);
}

TEST(SetAlignment, AFrequencyOutOfOrderIsRefusedNamingItsNeighbours)
{
    TCEmem emem;
    SetDefaults(emem);  // 150, 160, 170, 174 MHz
    EXPECT_EQ(Apply(Read({{"RxAdjustFreq[1]", "180"}}), emem),
              "RxAdjustFreq[1] = 180.0 must lie above RxAdjustFreq[0] (150.0) and below RxAdjustFreq[2] (170.0)");
    EXPECT_EQ(Apply(Read({{"TxAdjustFreq[0]", "160"}}), emem),
              "TxAdjustFreq[0] = 160.0 must lie below TxAdjustFreq[1] (160.0)");
    EXPECT_EQ(Apply(Read({{"TxAdjustFreq[3]", "170"}}), emem),
              "TxAdjustFreq[3] = 170.0 must lie above TxAdjustFreq[2] (170.0)");
    // In order, each step checked against the values before it: moving the points up one by one.
    EXPECT_EQ(Apply(Read({{"RxAdjustFreq[3]", "200"},
                                            {"RxAdjustFreq[2]", "190"},
                                            {"RxAdjustFreq[1]", "180"}}),
                                      emem),
              std::nullopt);
    EXPECT_EQ(emem.RxAdjustFreq[1].ScaledTrunc(1), 1800);
}

TEST(SetAlignment, GetShowsTheValuesAsTheDialogsDo)
{
    TCEmem emem;
    SetDefaults(emem);
    emem.TxPowerAdjust[4] = -5;
    EXPECT_EQ(SettingLines(emem, *FindSetting("RxAdjustFreq")),
              (std::vector<std::string>{"RxAdjustFreq[0]: 150.0", "RxAdjustFreq[1]: 160.0", "RxAdjustFreq[2]: 170.0",
                                        "RxAdjustFreq[3]: 174.0"}));
    EXPECT_EQ(SettingLines(emem, *FindSetting("TxPowerAdjust")).at(4), "TxPowerAdjust[4]: -5");
    EXPECT_EQ(SettingLines(emem, *FindSetting("NsqThreshold")), std::vector<std::string>{"NsqThreshold: 110"});
    EXPECT_EQ(SettingLines(emem, *FindSetting("Band")), std::vector<std::string>{"Band: VHF"});
}

}  // namespace
