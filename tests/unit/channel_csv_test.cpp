#include "model/channels/channel_csv.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/channels/channel_row.h"
#include "model/channels/channel_rules.h"
#include "model/image/convert.h"
#include "model/channels/csv.h"
#include "model/image/frequency.h"
#include "model/image/map54.h"
#include "model/image/tables.h"

namespace qm54 {
namespace {

// The image of File > New for a band.
TCEmem NewEmem(int band = 0)
{
    TCEmem emem;
    TMap54 map;
    (void)map.Decode(emem);
    SetDefaults(emem);
    emem.Band = band;
    ApplyBandDefaults(emem, band);
    return emem;
}

double Low(const TCEmem& e) { return e.GetRxAdjustFreq(0).Value(); }
double High(const TCEmem& e) { return e.GetRxAdjustFreq(3).Value(); }

// A programming of random values that the grid can show and take: frequencies on the raster
// within the band, one tone kind a side, choices from their lists, inhibited transmits.
TCEmem RandomProgramming(std::mt19937& random)
{
    TCEmem emem = NewEmem(static_cast<int>(random() % 2));
    emem.ChannelStep = static_cast<int>(random() % 2);
    auto pick = [&random](int n) { return static_cast<int32_t>(random() % static_cast<unsigned>(n)); };
    // A frequency as the grid stores a typed one: on the raster, cut to whole kHz, and shown
    // again as the same text (a cut can move a point of one raster onto the other's nearest).
    auto frequency = [&](double low, double high) {
        double f = SnapFrequency(emem.ChannelStep, low + (high - low) * (pick(100000) / 100000.0));
        for (int k = 0; k < 3; ++k) f = CellKhzFrequency(SnappedFrequencyText(emem.ChannelStep, f));
        return f;
    };
    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = emem.Channels.Items(i);
        ch.InUse = i == 0 ? 1 : pick(2);
        ch.RxFreq.SetValue(frequency(Low(emem), High(emem)));
        ch.TxFreq.SetValue(frequency(emem.GetTxAdjustFreq(0).Value(), emem.GetTxAdjustFreq(3).Value()));
        DeriveSplitFlags(ch);
        for (const int c : {GridCol::Wide, GridCol::ClockShift, GridCol::NsqMode, GridCol::CourtesyBlip,
                            GridCol::ReverseBurst, GridCol::DcsType, GridCol::DcsDecodeType, GridCol::IdMode,
                            GridCol::ActionMode, GridCol::BaseTot, GridCol::BaseGuard, GridCol::Lockout,
                            GridCol::TxPower, GridCol::TotMute, GridCol::RptTot, GridCol::TotBeep,
                            GridCol::RptHangTime, GridCol::RptGuardTime}) {
            int count = 0;
            while (!OptionName(ColumnAt(c).Parameter, count).empty()) ++count;
            ch.*ColumnAt(c).Field = pick(count);
        }
        ch.NsqLevel = pick(256);
        ch.SetDecodeDcs(0, pick(2));
        ch.SetDecodeTone(0, ch.GetDecodeDcs(0) ? pick(DcsCount) : pick(CtcssCount));
        ch.SetEncodeDcs(0, pick(2));
        ch.SetEncodeTone(0, ch.GetEncodeDcs(0) ? pick(DcsCount) : pick(CtcssCount));
        ch.SetSlotUsed(0, ch.GetDecodeDcs(0) || ch.GetDecodeTone(0) || ch.GetEncodeDcs(0) || ch.GetEncodeTone(0));
        ch.TxInhibit = pick(4) == 0 ? 1 : 0;
    }
    return emem;
}

ChannelImport Import(const std::string& text, const TCEmem& emem)
{
    return ImportChannelsCsv(text, emem.Channels, emem);
}

TEST(Csv, QuotingLineEndsAndByteOrderMarkReadAlike)
{
    const std::string lf = "a,\"b,c\",\"say \"\"hi\"\"\"\n,\"two\nlines\",\n";
    const std::string crlf = "\xEF\xBB\xBF" "a,\"b,c\",\"say \"\"hi\"\"\"\r\n\r\n,\"two\r\nlines\",\r\n";
    for (const std::string& text : {lf, crlf}) {
        const CsvReadResult read = ReadCsv(text);
        ASSERT_EQ(read.Status, CsvStatus::Ok);
        ASSERT_EQ(read.Records.size(), 2u);
        EXPECT_EQ(read.Records[0].Fields, (std::vector<std::string>{"a", "b,c", "say \"hi\""}));
        EXPECT_EQ(read.Records[1].Fields, (std::vector<std::string>{"", "two\nlines", ""}));
    }
    EXPECT_EQ(ReadCsv(crlf).Records[1].Line, 3);
    const std::vector<std::string> fields{"plain", "with,comma", "q\"uote", " edge", "line\nbreak", ""};
    const CsvReadResult back = ReadCsv(CsvLine(fields));
    ASSERT_EQ(back.Records.size(), 1u);
    EXPECT_EQ(back.Records[0].Fields, fields);
}

TEST(Csv, MalformedTextNamesWhereItStopped)
{
    struct Case {
        const char* Text;
        CsvStatus Status;
        int Line;
        int Column;
    };
    for (const Case& c : {Case{"a,b\nc,\"open\nmore", CsvStatus::UnclosedQuote, 2, 2},
                          Case{"a,\"b\"x\n", CsvStatus::TextAfterQuote, 1, 2},
                          Case{"a\nb\nc,d\"e\n", CsvStatus::QuoteInField, 3, 2}}) {
        const CsvReadResult read = ReadCsv(c.Text);
        EXPECT_EQ(read.Status, c.Status) << c.Text;
        EXPECT_EQ(read.Line, c.Line) << c.Text;
        EXPECT_EQ(read.Column, c.Column) << c.Text;
        EXPECT_TRUE(read.Records.empty());
    }
    EXPECT_EQ(ReadCsv(std::string(MaxCsvBytes + 1, 'a')).Status, CsvStatus::TooLarge);
    std::string rows;
    for (std::size_t i = 0; i <= MaxCsvRecords; ++i) rows += "a\n";
    EXPECT_EQ(ReadCsv(rows).Status, CsvStatus::TooManyRecords);
    EXPECT_EQ(ReadCsv(std::string(MaxCsvFields - 1, ',')).Status, CsvStatus::Ok);
    EXPECT_EQ(ReadCsv(std::string(MaxCsvFields, ',')).Status, CsvStatus::TooManyFields);
    EXPECT_EQ(ReadCsv(std::string(MaxCsvFields, ',') + "a").Status, CsvStatus::TooManyFields);
}

// Export then import gives the same programming: into the file itself every channel is left
// exactly as it was, into a new file of the band the channels show the same cells.
TEST(ChannelCsv, ExportThenImportRoundTripsRandomProgrammings)
{
    std::mt19937 random(5414);
    for (int n = 0; n < 40; ++n) {
        const TCEmem original = RandomProgramming(random);
        const std::string csv = ExportChannelsCsv(original.Channels, original);

        const ChannelImport same = Import(csv, original);
        ASSERT_EQ(same.Outcome, ImportOutcome::Imported) << (same.Errors.empty() ? "" : NoteText(same.Errors[0]));
        EXPECT_EQ(same.Channels, original.Channels);

        TCEmem fresh = NewEmem(original.Band);
        fresh.ChannelStep = original.ChannelStep;
        const ChannelImport into = Import(csv, fresh);
        ASSERT_EQ(into.Outcome, ImportOutcome::Imported) << (into.Errors.empty() ? "" : NoteText(into.Errors[0]));
        EXPECT_EQ(into.RowsImported, ChannelCount);
        EXPECT_EQ(ExportChannelsCsv(into.Channels, fresh), csv) << "programming " << n;
        for (int i = 0; i < ChannelCount; ++i) {
            const TChannel& a = original.Channels.Items(i);
            const TChannel& b = into.Channels.Items(i);
            EXPECT_EQ(b.InUse, a.InUse);
            EXPECT_EQ(b.TxInhibit != 0, a.TxInhibit != 0);
            EXPECT_EQ(b.RxFreq, a.RxFreq);
            if (a.TxInhibit == 0) {
                EXPECT_EQ(b.TxFreq, a.TxFreq);
            }
        }
    }
}

// Columns in any order, columns left out keep their values, the grid's rules follow the cells.
TEST(ChannelCsv, ReadsColumnsByNameAndFollowsTheGridsRules)
{
    TCEmem emem = NewEmem();
    const double f = Low(emem) + 1.0;
    const std::string rx = FrequencyText(f);
    emem.Channels.Items(2).SetEncodeDcs(0, 1);
    emem.Channels.Items(2).SetEncodeTone(0, 5);
    const TChannels before = emem.Channels;
    const std::string csv = "w/n,Rx Freq,Ch,Tx CTCSS,mode,lv\r\n"
                            "W," + rx + ",3,88.5,User,17\r\n";
    const ChannelImport result = Import(csv, emem);
    ASSERT_EQ(result.Outcome, ImportOutcome::Imported) << NoteText(result.Errors.at(0));
    const TChannel& ch = result.Channels.Items(2);
    EXPECT_EQ(ch.Wide, 1);
    EXPECT_DOUBLE_EQ(ch.RxFreq.Value(), f);
    EXPECT_EQ(ch.TxFreq, ch.RxFreq);                    // the receive frequency's rule
    EXPECT_EQ(ch.ClockShift, NeedsClockShift(f));
    EXPECT_EQ(ch.GetEncodeDcs(0), 0);                   // a CTCSS tone turns the DCS code off
    EXPECT_EQ(CtcssName(ch.GetEncodeTone(0)), "88.5");
    EXPECT_EQ(ch.GetSlotUsed(0), 1);
    EXPECT_EQ(ch.NsqMode, 1);
    EXPECT_EQ(ch.NsqLevel, 17);
    EXPECT_EQ(ch.TxPower, before.Items(2).TxPower);     // a column left out
    for (int i = 0; i < ChannelCount; ++i)
        if (i != 2) {
            EXPECT_EQ(result.Channels.Items(i), before.Items(i));
        }

    // The same frequency written another way is no change, so the transmit frequency stays.
    const std::string shownRx = FrequencyText(before.Items(0).RxFreq.Value());
    const ChannelImport same = Import("Ch,Rx Freq\n1," + shownRx.substr(0, shownRx.size() - 2) + "\n", emem);
    ASSERT_EQ(same.Outcome, ImportOutcome::Imported);
    EXPECT_EQ(same.Channels, before);

    const ChannelImport inhibit = Import("Ch,In Use,Tx Freq\n4,yes,Tx Inh\n", emem);
    ASSERT_EQ(inhibit.Outcome, ImportOutcome::Imported);
    EXPECT_EQ(inhibit.Channels.Items(3).InUse, 1);
    EXPECT_NE(inhibit.Channels.Items(3).TxInhibit, 0);
    EXPECT_EQ(inhibit.Channels.Items(3).TxFreq, before.Items(3).TxFreq);  // kept while inhibited

    // Cells of the receive side alone leave an inhibited transmit as it is.
    TCEmem inhibited = emem;
    inhibited.Channels.Items(3).TxInhibit = -1;
    const ChannelImport receiveOnly = Import("Ch,W/N\n4,W\n", inhibited);
    ASSERT_EQ(receiveOnly.Outcome, ImportOutcome::Imported);
    EXPECT_NE(receiveOnly.Channels.Items(3).TxInhibit, 0);
    EXPECT_EQ(receiveOnly.Channels.Items(3).Wide, 1);
}

// Every error names its line, column and text, and the file is refused whole.
TEST(ChannelCsv, ErrorsNameLineColumnAndTextAndImportNothing)
{
    const TCEmem emem = NewEmem();
    const std::string good = FrequencyText(Low(emem));
    const std::string above = FrequencyText(High(emem) + 1.0);
    struct Case {
        std::string Csv;
        int Line;
        std::string Column;
        std::string Text;
        std::string Message;
    };
    const std::vector<Case> cases{
        {"Ch,Rx Freq\n1," + good + "\n2,abc\n", 3, "Rx Freq", "abc", "not a frequency"},
        {"Ch,Rx Freq\n1," + above + "\n", 2, "Rx Freq", above, "outside the band"},
        {"Ch,Rx Freq\n1,152.4525\n", 2, "Rx Freq", "152.4525",
         "not on the 5/6.25kHz channel raster; the nearest are 152.45000 and 152.45500 MHz"},
        {"Ch,Tx Freq\n3,160.0021\n", 2, "Tx Freq", "160.0021", "the nearest are 160.00000 and 160.00500 MHz"},
        {"Ch,W/N\n1,W\n2,Wide\n", 3, "W/N", "Wide", "not one of N, W"},
        {"Ch,CTCSS\n1,88.4\n", 2, "CTCSS", "88.4", "not a CTCSS tone"},
        {"Ch,DCS\n1,999\n", 2, "DCS", "999", "not a DCS code"},
        {"Ch,CTCSS,DCS\n1,88.5,023\n", 2, "DCS", "023", "beside the CTCSS tone"},
        {"Ch,Lv\n1,256\n", 2, "Lv", "256", "not a level"},
        {"Ch,In Use\n1,no\n", 2, "In Use", "no", "always in use"},
        {"Ch,W/N\n17,W\n", 2, "Ch", "17", "not a channel"},
        {"Ch,W/N\n2,W\n2,N\n", 3, "Ch", "2", "given twice"},
        {"Ch,Colour\n1,red\n", 1, "Colour", "Colour", "not a channel column"},
        {"Ch,W/N,w/n\n1,W,W\n", 1, "w/n", "w/n", "given twice"},
        {"Ch,W/N\n1,W,extra\n", 2, "", "", "3 fields"},
        {"W/N\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\nW\n", 18, "Ch", "17", "not a channel"},
        {"Ch,W/N\n", 1, "", "", "no channel rows"},
        {"Ch,W/N\n1,\"W\n", 2, "", "", "not closed"},
        {"Ch,W/N,,\n1,W,,\n2,N,x,\n", 3, "", "x", "a value in a column without a header"},
        {"Location,Frequency\n,\n", 1, "", "", "no channel rows"},
    };
    for (const Case& c : cases) {
        const ChannelImport result = Import(c.Csv, emem);
        EXPECT_EQ(result.Outcome, ImportOutcome::Refused) << c.Csv;
        EXPECT_EQ(result.Channels, emem.Channels) << c.Csv;
        ASSERT_FALSE(result.Errors.empty()) << c.Csv;
        const CsvNote& e = result.Errors[0];
        EXPECT_EQ(e.Line, c.Line) << c.Csv;
        EXPECT_EQ(e.Column, c.Column) << c.Csv;
        EXPECT_EQ(e.Text, c.Text) << c.Csv;
        EXPECT_NE(e.Message.find(c.Message), std::string::npos) << c.Csv << " -> " << e.Message;
    }
    // A spreadsheet's blank rows and unnamed trailing columns are passed over.
    const ChannelImport blanks = Import("W/N,,\r\n,,\r\nW,,\r\n , ,\r\nN,,\r\n", emem);
    ASSERT_EQ(blanks.Outcome, ImportOutcome::Imported) << NoteText(blanks.Errors.at(0));
    EXPECT_EQ(blanks.RowsImported, 2);
    EXPECT_EQ(blanks.Channels.Items(0).Wide, 1);
    EXPECT_EQ(blanks.Channels.Items(1).Wide, 0);

    // A file larger than any channel list is said to be, not placed at line 1.
    const ChannelImport huge = Import(std::string(10 << 20, 'a'), emem);
    ASSERT_EQ(huge.Errors.size(), 1u);
    EXPECT_EQ(NoteText(huge.Errors[0]), "the file is larger than 1048576 bytes, more than any channel list");

    // Every bad cell is named, not only the first.
    EXPECT_EQ(Import("Ch,W/N,TX Pwr\n1,x,y\n2,W,z\n", emem).Errors.size(), 3u);
    EXPECT_EQ(NoteText({3, "Rx Freq", "abc", "not a frequency in MHz"}),
              "line 3, column \"Rx Freq\", \"abc\": not a frequency in MHz");
}

// A frequency is taken on the raster of the channel step only: one between its points is another
// channel, named with the nearest points, never moved onto one.
TEST(ChannelCsv, FrequencyOffTheChannelRasterIsRefusedWithTheNearestPoints)
{
    struct Case {
        int Step;
        std::string Text;
        std::string Refusal;  // empty: taken, and shown as Shown
        std::string Shown;
    };
    const std::vector<Case> cases{
        {0, "152.4525", "the nearest are 152.45000 and 152.45500 MHz", ""},
        {0, "152.455", "", "152.45500"},
        {0, "152.45625", "", "152.45625"},
        {0, "\"152,4500\"", "", "152.45000"},
        {0, "152.455001", "the nearest are 152.45500 and 152.45625 MHz", ""},
        {1, "152.4525", "", "152.45250"},
        {1, "152.451", "not on the 2.5/6.25kHz channel raster; the nearest are 152.45000 and 152.45250 MHz", ""},
    };
    for (const Case& c : cases) {
        TCEmem emem = NewEmem();
        emem.ChannelStep = c.Step;
        const ChannelImport result = Import("Ch,Rx Freq\n2," + c.Text + "\n", emem);
        if (c.Refusal.empty()) {
            ASSERT_EQ(result.Outcome, ImportOutcome::Imported) << c.Text << ": " << NoteText(result.Errors.at(0));
            EXPECT_EQ(FillChannelRow(result.Channels.Items(1), 1, {c.Step, '.'})[GridCol::RxFreq], c.Shown) << c.Text;
        } else {
            ASSERT_EQ(result.Outcome, ImportOutcome::Refused) << c.Text;
            EXPECT_NE(result.Errors.at(0).Message.find(c.Refusal), std::string::npos) << result.Errors[0].Message;
        }
    }
}

// What the channels hold is no change, even where the grid would not take it as typed (an Upload
// may bring a frequency outside the band or a blank channel 1): an unchanged file's export
// imports back; a changed value outside the band is still refused.
TEST(ChannelCsv, ExportOfAnUnchangedFileImportsBackWhateverTheChannelsHold)
{
    TCEmem emem = NewEmem();
    emem.Channels.Items(0).InUse = 0;
    TChannel& far = emem.Channels.Items(15);
    far.InUse = 1;
    far.RxFreq.SetValue(446.0);
    far.TxFreq.SetValue(20.0);
    emem.Channels.Items(4).RxFreq.SetValue(150.003);  // off the raster, shown as 150.00500
    emem.Channels.Items(8).TxFreq.SetValue(999.999);
    emem.Channels.Items(8).TxInhibit = -1;  // as decoded from a set bit
    const std::string csv = ExportChannelsCsv(emem.Channels, emem);
    const ChannelImport same = Import(csv, emem);
    ASSERT_EQ(same.Outcome, ImportOutcome::Imported) << NoteText(same.Errors.at(0));
    EXPECT_EQ(same.Channels, emem.Channels);

    const ChannelImport changed = Import("Ch,Rx Freq\n16,446.10000\n", emem);
    ASSERT_EQ(changed.Outcome, ImportOutcome::Refused);
    EXPECT_NE(changed.Errors.at(0).Message.find("outside the band"), std::string::npos);
    const ChannelImport off = Import("Ch,In Use\n1,yes\n", emem);
    ASSERT_EQ(off.Outcome, ImportOutcome::Imported);
    EXPECT_EQ(off.Channels.Items(0).InUse, 1);
}

// The channel file of the open-source tool: its rows become the channels, with a report of what
// has no place here.
TEST(ChannelCsv, ForeignFileMapsWhatFitsAndReportsTheRest)
{
    TCEmem emem = NewEmem();
    const double base = Low(emem) + 2.0;
    auto mhz = [](double f) { return FrequencyText(f).substr(0, FrequencyText(f).size()) + "0"; };
    const std::string header =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";
    const std::string rows =
        "1,RPT A," + mhz(base) + ",+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n" +
        "2,RPT B," + mhz(base + 0.1) + ",-,0.600000,TSQL,88.5,107.2,023,NN,023,Tone->Tone,NFM,5.00,,,,,,,\r\n" +
        "3,DCS," + mhz(base + 0.2) + ",split," + mhz(base + 1.0) + ",DTCS,88.5,88.5,754,RN,023,Tone->Tone,FM,5.00,,,,,,,\r\n" +
        "4,X," + mhz(base + 0.3) + ",off,0.000000,Cross,123.0,88.5,023,NN,051,Tone->DTCS,AM,5.00,,,,,,,\r\n" +
        "5,Far,1.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,,,,,\r\n" +
        "6,Odd," + mhz(base) + ",,0.000000,Tone,165.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,,,,,\r\n";
    const TChannels before = emem.Channels;
    const ChannelImport result = Import(header + rows, emem);
    ASSERT_EQ(result.Outcome, ImportOutcome::Imported);
    EXPECT_EQ(result.Kind, ChannelCsvKind::Foreign);
    EXPECT_EQ(result.RowsImported, 5);

    const TChannel& a = result.Channels.Items(0);
    EXPECT_DOUBLE_EQ(a.RxFreq.Value(), base);
    EXPECT_DOUBLE_EQ(a.TxFreq.Value(), base + 0.6);
    EXPECT_EQ(a.GetDecodeTone(0), 0);
    EXPECT_EQ(CtcssName(a.GetEncodeTone(0)), "100.0");
    EXPECT_EQ(a.Wide, 1);
    EXPECT_EQ(a.TxAboveRx, 1);

    const TChannel& b = result.Channels.Items(1);
    EXPECT_DOUBLE_EQ(b.TxFreq.Value(), base + 0.1 - 0.6);
    EXPECT_EQ(CtcssName(b.GetDecodeTone(0)), "107.2");
    EXPECT_EQ(CtcssName(b.GetEncodeTone(0)), "107.2");
    EXPECT_EQ(b.Wide, 0);
    EXPECT_EQ(b.InUse, 1);

    const TChannel& c = result.Channels.Items(2);
    EXPECT_DOUBLE_EQ(c.TxFreq.Value(), base + 1.0);
    EXPECT_EQ(c.GetDecodeDcs(0), 1);
    EXPECT_EQ(DcsName(c.GetDecodeTone(0)), "754");
    EXPECT_EQ(DcsName(c.GetEncodeTone(0)), "754");

    const TChannel& d = result.Channels.Items(3);
    EXPECT_NE(d.TxInhibit, 0);
    EXPECT_EQ(DcsName(d.GetDecodeTone(0)), "051");
    EXPECT_EQ(d.GetDecodeDcs(0), 1);
    EXPECT_EQ(d.Wide, before.Items(3).Wide);

    EXPECT_EQ(result.Channels.Items(4), before.Items(4));  // its frequency does not fit
    EXPECT_EQ(result.Channels.Items(5).GetEncodeTone(0), 0);
    for (int i = 6; i < ChannelCount; ++i) EXPECT_EQ(result.Channels.Items(i), before.Items(i));

    std::vector<std::string> report;
    for (const CsvNote& note : result.Report) report.push_back(note.Column + "=" + note.Text);
    const std::vector<std::string> expected{"Name=RPT A", "TStep=5.00", "Power=High", "DtcsPolarity=RN",
                                            "Mode=AM", "Frequency=1.000000", "rToneFreq=165.5"};
    EXPECT_EQ(report, expected);
    EXPECT_EQ(result.Report[0].Line, 2);

    std::string many = header;
    for (int i = 1; i <= 18; ++i)
        many += std::to_string(i) + ",," + mhz(base) + ",,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,,,,,\n";
    const ChannelImport big = Import(many, emem);
    EXPECT_EQ(big.RowsImported, ChannelCount);
    ASSERT_FALSE(big.Report.empty());
    EXPECT_EQ(big.Report.back().Line, 18);
}

// A row whose frequencies do not fit, or that names a column the file does not have, is reported
// with the column the file has; a row is never given its receive frequency to transmit on.
TEST(ChannelCsv, ForeignRowsThatDoNotFitAreReportedAndLeftOut)
{
    const TCEmem emem = NewEmem();
    struct Case {
        std::string Header;
        std::string Row;
        bool Imported;
        std::string Column;  // of the note
        std::string Text;
        std::string Message;
    };
    const std::string header = "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,CrossMode";
    const std::vector<Case> cases{
        {header, "0,abc,,0.000000,,88.5,88.5,023,NN,Tone->Tone", false, "Frequency", "abc",
         "not a frequency in MHz; channel 1 left as it was"},
        {header, "0,152.452500,,0.000000,,88.5,88.5,023,NN,Tone->Tone", false, "Frequency", "152.452500",
         "not on the 5/6.25kHz channel raster; the nearest are 152.45000 and 152.45500 MHz; channel 1 left as it was"},
        {header, "0,172.000000,+,5.000000,,88.5,88.5,023,NN,Tone->Tone", false, "Offset", "5.000000",
         "the transmit frequency 177.00000 is outside the band, 150.00000 to 174.00000 MHz; channel 1 left as it was"},
        {header, "0,162.000000,-,0.6x,,88.5,88.5,023,NN,Tone->Tone", false, "Offset", "0.6x",
         "not a frequency in MHz; channel 1 left as it was"},
        {header, "0,162.000000,split,162.452500,,88.5,88.5,023,NN,Tone->Tone", false, "Offset", "162.452500",
         "the transmit frequency 162.45250 is not on the 5/6.25kHz channel raster"},
        {header, "0,162.000000,x,0.600000,,88.5,88.5,023,NN,Tone->Tone", false, "Duplex", "x",
         "a duplex this repeater does not have; channel 1 left as it was"},
        {"Location,Frequency,Duplex", "0,162.000000,+", false, "Duplex", "+",
         "the file has no Offset column; channel 1 left as it was"},
        {"Location,Frequency,Tone,rToneFreq,cToneFreq", "0,162.000000,Cross,88.5,88.5", true, "Tone", "Cross",
         "the file has no CrossMode column; no tone imported"},
        {"location,frequency,tone,dtcscode,dtcspolarity", "0,162.000000,DTCS,023,RN", true, "dtcspolarity", "RN",
         "the code is imported with normal polarity on both sides (NN)"},
    };
    for (const Case& c : cases) {
        const ChannelImport result = Import(c.Header + "\r\n" + c.Row + "\r\n", emem);
        ASSERT_EQ(result.Outcome, ImportOutcome::Imported) << c.Row;
        EXPECT_EQ(result.RowsImported, c.Imported ? 1 : 0) << c.Row;
        if (!c.Imported) {
            EXPECT_EQ(result.Channels, emem.Channels) << c.Row;
        }
        ASSERT_EQ(result.Report.size(), 1u) << c.Row;
        const CsvNote& note = result.Report[0];
        EXPECT_EQ(note.Line, 2);
        EXPECT_EQ(note.Column, c.Column) << c.Row;
        EXPECT_EQ(note.Text, c.Text) << c.Row;
        EXPECT_NE(note.Message.find(c.Message), std::string::npos) << c.Row << " -> " << note.Message;
    }
}

}  // namespace
}  // namespace qm54
