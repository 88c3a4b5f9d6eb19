// What a changed cell does to the rest of its row and to its channel: the rules that the grid's
// edits and a channel import share.
#include "model/channels/channel_cells.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/channels/channel_row.h"

namespace qm54 {
namespace {

const CellLimits kLimits{{0, '.'}, 150, 174, 150, 174};

// Receives 150.010 MHz with DCS 754, transmits 151.020 MHz with DCS 025, NSQ mode "Prpgm".
TChannel Sample(bool inhibited)
{
    TChannel ch;
    ch.InUse = 1;
    ch.RxFreq.SetValue(150.010);
    ch.TxFreq.SetValue(151.020);
    ch.NsqLevel = 42;
    ch.SetSlotUsed(0, 1);
    ch.SetDecodeDcs(0, 1);
    ch.SetDecodeTone(0, 103);
    ch.SetEncodeDcs(0, 1);
    ch.SetEncodeTone(0, 1);
    ch.TxInhibit = inhibited ? -1 : 0;
    return ch;
}

// One cell given over the row its channel shows: exactly the listed cells change, and the
// channel reads back as the row shows it.
TEST(ChannelCells, AChangedCellSetsOffTheRulesOfItsRow)
{
    using Cells = std::vector<std::pair<int, std::string>>;
    struct Case {
        const char* Name;
        bool Inhibited;
        int Column;
        std::string Text;
        Cells Changed;
    };
    const std::vector<Case> cases{
        {"receive frequency: the transmit copies it, the clock shift follows", false, GridCol::RxFreq, "152",
         {{GridCol::RxFreq, "152.00000"}, {GridCol::TxFreq, "152.00000"}, {GridCol::ClockShift, "yes"}}},
        {"transmit frequency alone", false, GridCol::TxFreq, "150,05", {{GridCol::TxFreq, "150.05000"}}},
        {"a CTCSS tone turns the DCS code beside it off", false, GridCol::RxCtcss, "88.5",
         {{GridCol::RxCtcss, "88.5"}, {GridCol::RxDcs, "off"}}},
        {"on the transmit side too", false, GridCol::TxCtcss, "100.0",
         {{GridCol::TxCtcss, "100.0"}, {GridCol::TxDcs, "off"}}},
        {"a DCS code beside an \"off\" CTCSS", false, GridCol::RxDcs, "023", {{GridCol::RxDcs, "023"}}},
        {"the level shows in the User mode", false, GridCol::NsqMode, "User",
         {{GridCol::NsqMode, "User"}, {GridCol::NsqLevel, "42"}}},
        {"the text shown is no change", false, GridCol::RxFreq, " 150.01 ", {}},
        {"a receive-side cell leaves the transmit inhibited", true, GridCol::Wide, "W", {{GridCol::Wide, "W"}}},
    };
    for (const Case& c : cases) {
        TChannel ch = Sample(c.Inhibited);
        ChannelRowTexts row = FillChannelRow(ch, 4, kLimits.Format);
        ChannelRowTexts expected = row;
        for (const auto& [column, text] : c.Changed) expected[static_cast<std::size_t>(column)] = text;
        ChannelCells cells;
        cells[c.Column] = c.Text;
        ApplyChannelCells(cells, row, ch, 4, kLimits);
        EXPECT_EQ(row, expected) << c.Name;
        EXPECT_EQ(FillChannelRow(ch, 4, kLimits.Format), row) << c.Name;
        EXPECT_EQ(ch.TxInhibit != 0, c.Inhibited) << c.Name;
    }
}

// The inhibit changes the whole transmit side of the row: "Tx Inh" hides it, a new receive
// frequency brings back what the inhibit kept.
TEST(ChannelCells, TheTransmitSideFollowsTheInhibit)
{
    TChannel ch = Sample(false);
    ChannelRowTexts row = FillChannelRow(ch, 4, kLimits.Format);
    ChannelCells inhibit;
    inhibit[GridCol::TxFreq] = "Tx Inh";
    ApplyChannelCells(inhibit, row, ch, 4, kLimits);
    EXPECT_NE(ch.TxInhibit, 0);
    EXPECT_EQ(row[GridCol::TxFreq], "Tx Inh");
    for (int c = GridCol::TxFreq + 1; c < GridColumnCount; ++c) EXPECT_EQ(row[static_cast<std::size_t>(c)], "---") << c;

    ChannelCells receive;
    receive[GridCol::RxFreq] = "160";
    ApplyChannelCells(receive, row, ch, 4, kLimits);
    EXPECT_EQ(ch.TxInhibit, 0);
    EXPECT_EQ(row, FillChannelRow(ch, 4, kLimits.Format));
    EXPECT_EQ(row[GridCol::TxFreq], "160.00000");
    EXPECT_EQ(row[GridCol::TxDcs], "025");  // kept while inhibited
}

}  // namespace
}  // namespace qm54
