// File > Export Channels... and Import Channels... in the main window, with scripted file dialogs
// and prompter: the entries in the File menu, an export after a grid edit, an import that reaches
// the grid and marks the data modified, a refused file that changes nothing, and a foreign file's
// report.
#include "main_test_support.h"

#include "ui/main/channel_grid.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace qm54;
using namespace qm54::test;

class ChannelCsvCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void fileMenuHoldsTheEntriesAfterSaveAs();
    void exportAfterAGridEditAndImportIntoTheGrid();
    void refusedOrCancelledImportChangesNothing();
    void foreignFileReportSaysWhatBecameOfEachRow();
};

void ChannelCsvCommandsTest::fileMenuHoldsTheEntriesAfterSaveAs()
{
    MainFixture f;
    TfrmMain w(f.Options());
    QMenu* file = w.menuBar()->actions().first()->menu();
    QStringList texts;
    for (QAction* a : file->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    const int saveAs = static_cast<int>(texts.indexOf("Save &As"));
    QVERIFY(saveAs >= 0);
    QCOMPARE(texts.mid(saveAs + 1, 5),
             (QStringList{"-", "&Export Channels...", "&Import Channels...", "Co&mpare with...", "-"}));
    QCOMPARE(texts.at(saveAs + 6), QStringLiteral("&Print"));
}

void ChannelCsvCommandsTest::exportAfterAGridEditAndImportIntoTheGrid()
{
    MainFixture f;
    TfrmMain w(f.Options());
    QVERIFY(!w.Modified());
    w.Grid()->ActivateCell(0, GridCol::Wide);  // an edit not yet parsed: the export prepares first
    const QString shownWide = w.Grid()->CellText(0, GridCol::Wide);

    f.dialogs.saveAnswers = {f.Path("channels.csv")};
    w.FileExportChannels();
    QVERIFY(f.prompter.texts.empty());
    const QByteArray csv = f.ReadText("channels.csv");
    QVERIFY(csv.startsWith("Ch,In Use,Rx Freq,CTCSS,DCS,W/N,"));
    QVERIFY(csv.contains("\r\n1,yes," + w.Grid()->CellText(0, GridCol::RxFreq).toUtf8() + ",off,off," +
                         shownWide.toUtf8() + ","));
    QVERIFY(w.Modified());  // the preparation took the grid's edit

    // Channel 3 switched on with the other bandwidth and a DCS decode code.
    const QString otherWide = shownWide == "W" ? "N" : "W";
    f.WriteText("in.csv", "Ch,W/N,In Use,DCS\n3," + otherWide.toUtf8() + ",yes,023\n");
    w.Doc().ClearModified();
    f.dialogs.openAnswers = {f.Path("in.csv")};
    w.FileImportChannels();
    QVERIFY(f.prompter.texts.empty());
    QVERIFY(w.Modified());
    QCOMPARE(w.Grid()->CellText(2, GridCol::Wide), otherWide);
    QCOMPARE(w.Grid()->CellText(2, GridCol::RxDcs), QStringLiteral("023"));
    QCOMPARE(w.Grid()->CellText(2, GridCol::RxCtcss), QStringLiteral("off"));
    QCOMPARE(w.Working().Items(2).InUse, 1);
    QVERIFY(w.Emem().Channels == w.Working());
}

void ChannelCsvCommandsTest::refusedOrCancelledImportChangesNothing()
{
    MainFixture f;
    TfrmMain w(f.Options());
    const TChannels before = w.Working();
    f.WriteText("bad.csv", "Ch,W/N,TX Pwr\n1,W,Hi\n2,W,Mid\n");
    f.dialogs.openAnswers = {f.Path("bad.csv"), QString(), f.Path("missing.csv")};
    w.FileImportChannels();
    QCOMPARE(f.prompter.texts.size(), std::size_t{1});
    QVERIFY(f.prompter.Saw("line 3, column \"TX Pwr\", \"Mid\": not one of Hi, Lo"));
    QVERIFY(f.prompter.Saw("Nothing was imported."));
    QVERIFY(w.Working() == before);
    QVERIFY(!w.Modified());

    w.FileImportChannels();  // cancelled
    QCOMPARE(f.prompter.texts.size(), std::size_t{1});
    w.FileImportChannels();  // a file that is not there
    QCOMPARE(f.prompter.texts.size(), std::size_t{2});
    QVERIFY(f.prompter.Saw("could not be read"));
    QVERIFY(w.Working() == before);
    QVERIFY(!w.Modified());
}

// A row of a foreign file whose transmit frequency is outside the band leaves its channel as it
// was (it is not given its receive frequency to transmit on), and the report says so.
void ChannelCsvCommandsTest::foreignFileReportSaysWhatBecameOfEachRow()
{
    MainFixture f;
    TfrmMain w(f.Options());
    const TChannels before = w.Working();
    f.WriteText("foreign.csv", "Location,Frequency,Duplex,Offset\r\n0,162.550000,,0.000000\r\n1,173.000000,+,5.000000\r\n");
    f.dialogs.openAnswers = {f.Path("foreign.csv")};
    w.FileImportChannels();
    QCOMPARE(f.prompter.texts.size(), std::size_t{1});
    QVERIFY(f.prompter.Saw("1 channel(s) imported, with these notes:\nline 3, column \"Offset\", \"5.000000\": the "
                           "transmit frequency 178.00000 is outside the band, 150.00000 to 174.00000 MHz; channel 2 "
                           "left as it was\n"));
    QCOMPARE(w.Grid()->CellText(0, GridCol::RxFreq), QStringLiteral("162.55000"));
    QCOMPARE(w.Grid()->CellText(0, GridCol::TxFreq), QStringLiteral("162.55000"));
    QVERIFY(w.Working().Items(1) == before.Items(1));
}

QTEST_MAIN(ChannelCsvCommandsTest)
#include "channel_csv_commands_test.moc"
