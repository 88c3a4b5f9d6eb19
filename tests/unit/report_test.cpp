// The printed report against pages written by hand, the paper and date helpers, and an image
// whose every field is out of range.
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/image/tables.h"
#include "print/prt_img.h"
#include "print/report_pdf.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace qm54 {
namespace {

TCEmem NewProgramming()
{
    TMap54 map;
    TCEmem emem;
    EXPECT_TRUE(map.Decode(emem));
    SetDefaults(emem);
    return emem;
}

std::string Fixture(const std::string& name) { return test::ReadAll(std::string(QM54_FIXTURES) + "/" + name); }

TDecimal Mhz(int32_t whole, int32_t fraction, int32_t digits) { return TDecimal(1, whole, fraction, digits); }

// Every column of both channel tables and every common setting away from its default.
TCEmem FullProgramming()
{
    TCEmem e = NewProgramming();
    e.SerialNumber = "2B123456";
    e.MarketCode = MarketUsa;
    e.Band = BandUhf;
    e.IntermediateFreq = 4515;
    e.TxReferenceFreq = 1280;
    e.RxReferenceFreq = 1285;
    e.FirstLocalOffset = e.SecondLocalOffset = 1;
    e.ChannelStep = 1;
    e.Duplexer = 1;
    e.TxPowerType = 0;
    e.Beep = e.Monitor = e.Accessory = e.MicMonitor = e.FanAlert = e.HighTempAlert = e.DcTxPowerLow = 0;
    e.HangOnAudio = 0;
    e.BaseTot = 7;
    e.BaseGuardTime = 3;
    e.RepeatTot = 1;
    e.RepeatGuardTime = 0;
    e.RepeatHangTime = 5;
    e.CwIdEnable = 1;
    e.CwIdDotTime = 60;
    e.CwIdInterval = 300;
    e.CwIdToneFreq = 1000;
    e.CwIdText = "DE KTD4150";
    e.DtmfTx = 1;
    e.DtmfRx = 0;
    e.FiveToneTx = e.FiveToneRx = 1;
    e.FiveToneMarkTime = 70;
    e.FiveToneSpaceTime = 40;
    e.FiveToneRepeatCode = 15;
    e.AniMode = 3;
    e.AniDelay = 10;
    e.AniHeaderCode = 12;
    e.AniCode = "12AB";
    e.EniDelay = 3;
    e.EniTxTime = 5;
    e.EniRxTime = 6;
    e.EniDeadTime = 7;
    e.EniRepeatCount = 2;
    e.EniHeaderCode = 13;
    e.EniCode = "9F0E";

    e.FiveToneTable[3] = 100;
    e.RxAdjustFreq = {Mhz(450, 0, 1), Mhz(460, 5, 1), Mhz(470, 0, 0), Mhz(479, 9, 1)};
    e.RxTuning = {0x0A, 0xFF, 0x7F, 0x00};
    e.SqlThreshold = {0x10, 0x20, 0x30, 0x40};
    e.NsqThreshold = 0x05;
    e.SqlHysteresis = 0xFF;
    e.SqlNarrowOffset = 0x1E;
    e.TxAdjustFreq = {Mhz(440, 0, 0), Mhz(450, 0, 0), Mhz(460, 0, 0), Mhz(470, 0, 0)};
    e.TxPowerDisplayHigh = 99;
    e.TxPowerDisplayLow = 0;
    e.TxPowerAdjust = {-1, 5, -128, 127, 0, 0, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, -2};
    e.SetAlphaTagCode(0, 1), e.SetAlphaTagText(0, "BASE");
    e.SetAlphaTagCode(1, 9999), e.SetAlphaTagText(1, "REPEATER");
    e.SetAlphaTagCode(12, 42), e.SetAlphaTagText(12, "A");
    e.SetAlphaTagText(13, "X");
    e.SetAlphaTagCode(14, 7);
    e.SetAlphaTagCode(47, 0), e.SetAlphaTagText(47, "LAST");

    TChannel& ch1 = e.Channels.Items(0);
    ch1.RxFreq = Mhz(450, 6, 3);  // whole kHz as read back from an image: prints snapped
    ch1.TxFreq = Mhz(455, 125, 4);
    ch1.DecodeDcs[0] = 1;
    ch1.DecodeTone[0] = 5;
    ch1.EncodeTone[0] = 12;
    ch1.Wide = 0;
    ch1.ClockShift = 1;
    ch1.NsqMode = 1;
    ch1.NsqLevel = 200;
    ch1.CourtesyBlip = ch1.ReverseBurst = 1;
    ch1.DcsType = ch1.DcsDecodeType = 1;
    ch1.MultiTone = 1;
    ch1.IdMode = 2;
    ch1.ActionMode = 0;
    ch1.UseBaseTot = ch1.UseBaseGuard = 0;
    ch1.Lockout = 2;
    ch1.TxPower = 1;
    ch1.TotMute = 1;
    ch1.UseRptTot = ch1.TotBeep = ch1.UseRptHangTime = ch1.UseRptGuardTime = 0;

    TChannel& ch3 = e.Channels.Items(2);
    ch3.InUse = 1;
    ch3.TxInhibit = -1;
    ch3.RxFreq = Mhz(461, 25, 3);
    ch3.TxFreq = Mhz(466, 25, 3);
    ch3.DecodeTone[0] = 1;
    ch3.EncodeTone[0] = 3;
    ch3.IdMode = 1;

    TChannel& ch16 = e.Channels.Items(15);
    ch16.InUse = 1;
    ch16.RxFreq = Mhz(470, 0, 0);
    ch16.TxFreq = Mhz(475, 0, 0);
    ch16.EncodeDcs[0] = 1;
    ch16.EncodeTone[0] = DcsCount - 1;
    return e;
}

TEST(Report, PagesOfTheDefaultAndOfAFullProgrammingMatchThePagesWrittenByHand)
{
    EXPECT_EQ(ReportText(TPrtImg(NewProgramming(), "<none>", {2026, 3, 7})), Fixture("report_new_vhf.txt"));
    EXPECT_EQ(ReportText(TPrtImg(FullProgramming(), "/home/dealer/sites/SITE_A.Q54", {2026, 12, 31})),
              Fixture("report_full.txt"));
}

TEST(Report, WithNoChannelInUseThePageOfChannelsHoldsOnlyItsHeaderAndTitle)
{
    TCEmem e = NewProgramming();
    e.Channels.Items(0).InUse = 0;
    const TPrtImg report(e, "<none>", {2026, 3, 7});
    ASSERT_EQ(report.PageCount(), ReportPageCount);
    const std::string text = ReportText(report);
    EXPECT_EQ(text.substr(text.rfind('\f') + 2), Fixture("report_no_channels_page3.txt"));
}

TEST(Report, AnImageOfOutOfRangeValuesStillPrintsEveryLineOnItsOwnRow)
{
    TCEmem e = NewProgramming();
    e.MarketCode = -7;
    for (int32_t* field : {&e.Band, &e.Duplexer, &e.Beep, &e.Accessory, &e.HangOnAudio, &e.ChannelStep,
                           &e.TxPowerType, &e.AniMode, &e.DtmfTx, &e.DtmfRx, &e.CwIdEnable})
        *field = 127;
    for (int32_t* field : {&e.FiveToneRepeatCode, &e.AniHeaderCode, &e.EniHeaderCode}) *field = 200;
    e.IntermediateFreq = INT32_MIN;
    e.BaseTot = INT32_MIN;
    e.AniDelay = INT32_MAX;
    e.EniDelay = INT32_MIN;
    e.CwIdText = std::string("\n\f\r\x01\x7F", 5);
    e.AniCode = std::string(3, '\0');
    e.RxAdjustFreq[0] = TDecimal(-1, 9999999, 999999999, 9);
    e.FiveToneTable.fill(INT32_MIN);
    for (int t = 0; t < AlphaTagCount; ++t) {
        e.SetAlphaTagCode(t, INT32_MIN);
        e.SetAlphaTagText(t, "\n\n\n\n\n\n\n\n\n\n");
    }
    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = e.Channels.Items(i);
        ch.InUse = 1;
        ch.RxFreq = TDecimal(1, 1234567, 0, 0);
        ch.TxFreq = TDecimal(1, 9999999, 99999, 5);
        for (int32_t* field : {&ch.Wide, &ch.NsqMode, &ch.Lockout, &ch.TxPower, &ch.ActionMode, &ch.IdMode,
                               &ch.DcsType, &ch.MultiTone})
            *field = 127;
        ch.DecodeDcs[0] = 1;
        ch.DecodeTone[0] = 127;
        ch.EncodeTone[0] = -5;
    }
    const TPrtImg report(e, "/a/b\nc", {2026, 3, 7});
    const std::string text = ReportText(report);
    // Line 0 of each page carries the date: three pages, each laid out to its own last line.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
    int rows = 0;
    for (int p = 0; p < report.PageCount(); ++p) {
        int last = 0;
        for (const ReportLine& line : report.Page(p)) {
            last = std::max(last, line.Line);
            for (char c : line.Text) EXPECT_FALSE(static_cast<unsigned char>(c) < 32 || c == 127) << line.Text;
        }
        rows += last + 1;
    }
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), rows + 2);
    EXPECT_NE(text.find("Tx Frequency (MHz):"), std::string::npos);
    EXPECT_NE(text.find("  16  999.99500  off    "), std::string::npos);  // held to the raster's top; no DCS code 127
    // The common page prints what is stored, not what a dialog would clamp it to.
    for (const char* stored : {"Base TOT:               -1073741824.0  Min", "ENI Header Code:        C8",
                               "ANI Delay Time:         10737418235  ms"})
        EXPECT_NE(text.find(stored), std::string::npos) << stored;
}

TEST(Report, PdfDrawsEveryLineAsOneTextOfTheStandardFixedPitchFont)
{
    TCEmem e = FullProgramming();
    e.CwIdText = "(A\\B)";
    const TPrtImg report(e, "<none>", {2026, 3, 7});
    const std::string pdf = ReportPdf(report, PaperLetter);
    EXPECT_EQ(pdf.rfind("%PDF-1.4", 0), 0u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 612.00 792.00]"), std::string::npos);
    EXPECT_NE(pdf.find("/Count 3"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Courier"), std::string::npos);
    // The strings of the page contents, in order, unescaped, are exactly the drawn texts.
    std::vector<std::string> drawn, expected;
    for (size_t at = pdf.find(" Tm ("); at != std::string::npos; at = pdf.find(" Tm (", at + 1)) {
        std::string text;
        for (size_t i = at + 5; pdf[i] != ')'; ++i) text += pdf[i] == '\\' ? pdf[++i] : pdf[i];
        drawn.push_back(text);
    }
    for (int p = 0; p < report.PageCount(); ++p)
        for (const ReportLine& line : report.Page(p)) expected.push_back(DrawnText(line));
    EXPECT_EQ(drawn, expected);
    // The cross-reference table points at each object.
    const size_t xref = std::stoul(pdf.substr(pdf.rfind("startxref\n") + 10));
    EXPECT_EQ(pdf.compare(xref, 4, "xref"), 0);
    const size_t first = pdf.find("65535 f \n", xref) + 9;
    EXPECT_EQ(pdf.compare(std::stoul(pdf.substr(first, 10)), 7, "1 0 obj"), 0);
}

TEST(Report, PaperDateAndLinePitch)
{
    EXPECT_EQ(PaperIndexForCode(PaperCodeLetter), PaperLetter);
    EXPECT_EQ(PaperIndexForCode(PaperCodeA4), PaperA4);
    EXPECT_EQ(PaperIndexForCode(5), PaperA4);  // Legal and anything else: A4
    EXPECT_EQ(PaperAt(PaperLetter).Width, 850);
    EXPECT_EQ(PaperAt(42).Height, 1169);
    EXPECT_EQ(LinePitch(96), 13);
    EXPECT_EQ(LinePitch(600), 83);
    EXPECT_EQ(LinePitch(72), 10);

    struct DateCase {
        const char* Text;
        bool Valid;
        int Year, Month, Day;
    };
    for (const DateCase& c : {DateCase{"2024-02-29", true, 2024, 2, 29}, DateCase{"2023-02-29", false, 0, 0, 0},
                              DateCase{"1900-02-29", false, 0, 0, 0}, DateCase{"2026-12-31", true, 2026, 12, 31},
                              DateCase{"2026-13-01", false, 0, 0, 0}, DateCase{"2026-1-01", false, 0, 0, 0},
                              DateCase{"2026-01-00", false, 0, 0, 0}, DateCase{"20x6-01-01", false, 0, 0, 0}}) {
        ReportDate date;
        ASSERT_EQ(ParseReportDate(c.Text, date), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ((std::array{date.Year, date.Month, date.Day}), (std::array{c.Year, c.Month, c.Day}));
        }
    }
}

}  // namespace
}  // namespace qm54
