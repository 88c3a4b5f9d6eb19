#include "model/image/tables.h"

#include <algorithm>

namespace qm54 {

constexpr std::array<std::string_view, CtcssCount> CtcssWithOff{
    "off",   "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",
    "91.5",  "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0",
    "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8",
    "179.9", "186.2", "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3",
    "159.8", "183.5", "189.9", "196.6", "199.5", "206.5", "229.1", "254.1"};

namespace {

template <size_t N, size_t M>
constexpr std::array<std::string_view, N> Slice(const std::array<std::string_view, M>& from,
                                                size_t first)
{
    std::array<std::string_view, N> out{};
    for (size_t i = 0; i < N; ++i) out[i] = from[first + i];
    return out;
}

}  // namespace

constexpr std::array<std::string_view, CtcssCount - 1> CtcssTones = Slice<CtcssCount - 1>(CtcssWithOff, 1);

constexpr std::array<std::string_view, DcsCount + 1> DcsWithOff{
    "off",
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071",
    "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145",
    "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225", "226", "243",
    "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271", "274", "306",
    "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365", "371", "411",
    "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462", "464", "465",
    "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

constexpr std::array<std::string_view, DcsCount> DcsCodes = Slice<DcsCount>(DcsWithOff, 1);

constexpr std::array<OptionList, OptionListCount> OptionLists{{
    {2, {"N", "W"}},
    {2, {"no", "yes"}},
    {3, {"off", "BCLO", "BTLO"}},
    {2, {"Hi", "Lo"}},
    {2, {"off", "on"}},
    {2, {"Prpgm", "User"}},
    {2, {"A", "B"}},
    {2, {"Fixed", "Auto"}},
    {2, {"Simplex", "Duplex"}},
    {3, {"off", "ANI/ENI", "CW-ID"}},
    {2, {"VHF", "UHF"}},
    {2, {"Lower", "Upper"}},
    {2, {"High/Low", "Acc"}},
    {2, {"Noise", "Quiet"}},
    {2, {"5/6.25kHz", "2.5/6.25kHz"}},
    {2, {"25 W", "50 W"}},
    {2, {"Disable", "Enable"}},
    {2, {"High/Low Pwr", "Acc"}},
    {2, {"Noize", "Quiet"}},
    {4, {"off", "RX Enable", "TX Enable", "RX/TX Enable"}},
    {4, {"None", "TX Off", "TX On", "TX On/Off"}},
    {2, {"Not installed", "Installed"}},
    {0, {}},
}};

std::string OptionName(int list, int value)
{
    if (list < 0 || list >= OptionListCount || value < 0 || value >= MaxOptionNames) return {};
    return std::string(OptionLists[static_cast<size_t>(list)].Names[static_cast<size_t>(value)]);
}

int OptionIndex(int list, std::string_view name)
{
    if (list < 0 || list >= OptionListCount) return 0;
    const OptionList& options = OptionLists[static_cast<size_t>(list)];
    for (int v = 0; v < options.Count; ++v)
        if (options.Names[static_cast<size_t>(v)] == name) return v;
    return 0;
}

std::string CtcssName(int index)
{
    if (index < 0 || index >= CtcssCount) return {};
    return std::string(CtcssWithOff[static_cast<size_t>(index)]);
}

std::string DcsName(int index)
{
    if (index < 0 || index >= DcsCount) return {};
    return std::string(DcsCodes[static_cast<size_t>(index)]);
}

constexpr std::array<FiveToneSet, FiveToneSetCount> FiveToneSets{{
    {"ZVEI1", {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 2800, 810, 970, 885, 2600, 680}},
    {"ZVEI2", {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 885, 825, 740, 680, 970, 2600}},
    {"ZVEI3", {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 885, 810, 2800, 680, 970, 2600}},
    {"PZVEI", {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 970, 810, 2800, 885, 2600, 680}},
    {"DZVEI", {2400, 970, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 825, 740, 2600, 885, 2400, 680}},
    {"EEA", {1981, 1124, 1197, 1275, 1358, 1446, 1540, 1640, 1747, 1860, 1055, 930, 2400, 991, 2110, 2247}},
    {"CCIR", {1981, 1124, 1197, 1275, 1358, 1446, 1540, 1640, 1747, 1860, 2400, 930, 2247, 991, 2110, 1055}},
    {"EIA", {600, 741, 882, 1023, 1164, 1305, 1446, 1587, 1728, 1869, 2151, 2433, 2010, 2292, 459, 1091}},
    {"USER", {1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 2400, 2800, 810, 970, 885, 2600, 680}},
}};

int MatchingFiveToneSet(const std::array<int32_t, 16>& tones)
{
    const auto found = std::find_if(FiveToneSets.begin(), FiveToneSets.end(),
                                    [&](const FiveToneSet& set) { return set.Tones == tones; });
    return found == FiveToneSets.end() ? FiveToneUserSet
                                       : static_cast<int>(found - FiveToneSets.begin());
}

}  // namespace qm54
