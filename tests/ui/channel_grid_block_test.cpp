// The channel grid's block editing, offscreen: selecting a block by keys and mouse, copying it,
// pasting tab-separated text through each cell's filter and the in-use and inhibit rules, and
// filling down; each block change is one edit with one report for the status bar.
#include "grid_test_support.h"

#include <random>

using namespace qm54;
using namespace qm54::test;

class ChannelGridBlockTest : public GridTestBase {
    Q_OBJECT

    void Extend(Qt::Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i) QTest::keyClick(grid_, key, Qt::ShiftModifier);
    }
    QPoint CellCentre(int channel, int column) const
    {
        return grid_->visualRect(grid_->model()->index(channel, column)).center();
    }
    // Pastes text as a block with the selection's top left cell at (channel, column) and returns
    // what the grid reported.
    QString PasteBlock(int channel, int column, const QString& text)
    {
        QSignalSpy reported(grid_, &ChannelGrid::reported);
        Paste(channel, column, text);
        return reported.isEmpty() ? QString() : reported.last().at(0).toString();
    }

private slots:
    void init() { SetUpGrid(); }
    void cleanup() { TearDownGrid(); }

    void shiftArrowsAndDragSelectABlock()
    {
        Select(0, GridCol::RxFreq);
        QVERIFY(!grid_->BlockSelected());
        QCOMPARE(grid_->SelectedBlock(), QRect(GridCol::RxFreq, 0, 1, 1));
        Extend(Qt::Key_Right);
        Extend(Qt::Key_Down, 2);
        QCOMPARE(grid_->SelectedBlock(), QRect(GridCol::RxFreq, 0, 2, 3));
        QCOMPARE(grid_->currentIndex(), grid_->model()->index(2, GridCol::RxCtcss));
        Extend(Qt::Key_Left);
        QCOMPARE(grid_->SelectedBlock(), QRect(GridCol::RxFreq, 0, 1, 3));
        // An arrow without Shift moves the single current cell again, skipping hidden columns.
        grid_->SetColumnGroupVisible(1, false);
        QTest::keyClick(grid_, Qt::Key_Right);
        QCOMPARE(grid_->currentIndex(), grid_->model()->index(2, GridCol::Wide));
        QVERIFY(!grid_->BlockSelected());
        Extend(Qt::Key_Left);
        QCOMPARE(grid_->currentIndex(), grid_->model()->index(2, GridCol::RxFreq));
        QCOMPARE(grid_->SelectedBlock(), QRect(GridCol::RxFreq, 2, GridCol::Wide - GridCol::RxFreq + 1, 1));

        QTest::mousePress(grid_->viewport(), Qt::LeftButton, {}, CellCentre(0, GridCol::Wide));
        QTest::mouseMove(grid_->viewport(), CellCentre(2, GridCol::NsqMode));
        QTest::mouseRelease(grid_->viewport(), Qt::LeftButton, {}, CellCentre(2, GridCol::NsqMode));
        QCOMPARE(grid_->SelectedBlock(), QRect(GridCol::Wide, 0, 3, 3));
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, CellCentre(5, GridCol::Wide));
        QCOMPARE(grid_->SelectedBlock(), QRect(GridCol::Wide, 5, 1, 1));
        Extend(Qt::Key_Down);  // from the clicked cell
        QCOMPARE(grid_->SelectedBlock(), QRect(GridCol::Wide, 5, 1, 2));
        QCOMPARE(edits_, 0);
    }

    void onlyABlockIsTinted()
    {
        const auto background = [this](int channel, int column) {
            const QRect cell = grid_->visualRect(grid_->model()->index(channel, column));
            return grid_->viewport()->grab().toImage().pixelColor(cell.left() + 2, cell.bottom() - 2);
        };
        const QColor base = grid_->palette().base().color();
        Select(0, GridCol::Wide);
        QCOMPARE(background(0, GridCol::Wide), base);
        Extend(Qt::Key_Down);
        QVERIFY(background(0, GridCol::Wide) != base);
        QCOMPARE(background(2, GridCol::Wide), base);
    }

    void copyOfABlockTakesItsShownCells()
    {
        Select(0, GridCol::RxFreq);
        Extend(Qt::Key_Right, 2);
        Extend(Qt::Key_Down);
        grid_->CopyCell();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("150.01000\toff\toff\r\n150.01000\toff\t754"));
        grid_->SetColumnGroupVisible(1, false);  // the decoders
        Select(0, GridCol::RxFreq);
        Extend(Qt::Key_Right);
        Extend(Qt::Key_Down);
        grid_->CopyCell();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("150.01000\tN\r\n150.01000\tW"));
        // What was copied pastes back as it was.
        QCOMPARE(PasteBlock(8, GridCol::RxFreq, QGuiApplication::clipboard()->text()),
                 QStringLiteral("Pasted 1 cell, none refused"));
        QCOMPARE(Cell(9, GridCol::Wide), QStringLiteral("W"));
    }

    void pasteFillsABlockThroughEachCellsRules()
    {
        QSignalSpy pasted(grid_, &ChannelGrid::pasted);
        const QString report = PasteBlock(4, GridCol::RxFreq,
                                          QStringLiteral("155,5\t67.0\t023\tW\r\n"
                                                         "abc\t254.2\t\tyes\n"
                                                         "160\t\t\tN\r\n"));
        QCOMPARE(report, QStringLiteral("Pasted 5 cells, 3 cells refused"));  // "N" was shown
        QCOMPARE(edits_, 1);
        QCOMPARE(pasted.count(), 1);
        // Left to right: the transmit frequency follows the receive one, and the code pasted
        // after the tone switches the tone off.
        QCOMPARE(Cell(4, GridCol::RxFreq), QStringLiteral("155.50000"));
        QCOMPARE(Cell(4, GridCol::TxFreq), QStringLiteral("155.50000"));
        QCOMPARE(Cell(4, GridCol::RxCtcss), QStringLiteral("off"));
        QCOMPARE(Cell(4, GridCol::RxDcs), QStringLiteral("023"));
        QCOMPARE(Cell(4, GridCol::Wide), QStringLiteral("W"));
        const TChannel ch = Parsed(4);
        QCOMPARE(ch.RxFreq.Value(), 155.5);
        QCOMPARE(ch.GetDecodeDcs(0), 1);
        QCOMPARE(ch.Wide, 1);
        // Refused texts leave their cells alone; a text without a digit is no frequency.
        for (int column : {GridCol::RxFreq, GridCol::RxCtcss, GridCol::Wide})
            QCOMPARE(Cell(5, column), grid_->CellText(0, column));
        QCOMPARE(Cell(6, GridCol::RxFreq), QStringLiteral("160.00000"));

        // The block lands at the selection's top left cell wherever the cursor ends.
        Select(0, GridCol::Wide);
        Extend(Qt::Key_Right);
        Extend(Qt::Key_Down);
        QSignalSpy reported(grid_, &ChannelGrid::reported);
        QGuiApplication::clipboard()->setText(QStringLiteral("W\tyes"));
        grid_->PasteCell();
        QCOMPARE(Cell(0, GridCol::Wide), QStringLiteral("W"));
        QCOMPARE(Cell(0, GridCol::ClockShift), QStringLiteral("yes"));
        QCOMPARE(reported.count(), 1);
        QCOMPARE(edits_, 2);
    }

    void pasteKeepsTheInUseAndInhibitRules()
    {
        // Channel 3's transmit is inhibited and channel 4 is not in use.
        QString report = PasteBlock(1, GridCol::TxFreq, QStringLiteral("152\t100.0\r\n153\t100.0\r\n154\t100.0"));
        QCOMPARE(report, QStringLiteral("Pasted 2 cells, 4 cells refused"));
        QCOMPARE(Cell(1, GridCol::TxFreq), QStringLiteral("152.00000"));
        QCOMPARE(Cell(1, GridCol::TxCtcss), QStringLiteral("100.0"));
        QCOMPARE(Cell(2, GridCol::TxFreq), QStringLiteral("Tx Inh"));
        QCOMPARE(Cell(2, GridCol::TxCtcss), QStringLiteral("---"));
        QCOMPARE(Cell(3, GridCol::TxFreq), QStringLiteral("151.02000"));
        QVERIFY(Parsed(2).TxInhibit != 0);

        // A receive frequency pasted first clears the inhibit, so the transmit cells after it in
        // the same row take their texts.
        const QString toTx = QStringLiteral("\t").repeated(GridCol::TxFreq - GridCol::RxFreq);
        const QString row = QStringLiteral("157") + toTx + QStringLiteral("158");
        report = PasteBlock(2, GridCol::RxFreq, row + QStringLiteral("\r\n") + row);
        QCOMPARE(report, QStringLiteral("Pasted 2 cells, 2 cells refused"));
        const TChannel ch = Parsed(2);
        QCOMPARE(ch.TxInhibit, 0);
        QCOMPARE(ch.RxFreq.Value(), 157.0);
        QCOMPARE(ch.TxFreq.Value(), 158.0);
        QCOMPARE(Cell(3, GridCol::RxFreq), QStringLiteral("150.01000"));
        QCOMPARE(edits_, 2);
    }

    void cellsOutsideTheGridAreDroppedAndCounted()
    {
        const QString report = PasteBlock(ChannelCount - 1, GridCol::RptHangTime,
                                          QStringLiteral("yes\tyes\tyes\t\r\nyes\tyes\r\n\r\n"));
        QCOMPARE(report, QStringLiteral("Pasted 2 cells, 3 cells refused (3 outside the grid)"));
        QCOMPARE(Cell(ChannelCount - 1, GridCol::RptGuardTime), QStringLiteral("yes"));

        // Nothing taken: no edit, but still a report.
        QSignalSpy pasted(grid_, &ChannelGrid::pasted);
        QCOMPARE(PasteBlock(3, GridCol::Wide, QStringLiteral("W\tyes")), QStringLiteral("Nothing changed, 2 cells refused"));
        QCOMPARE(pasted.count(), 0);
        QCOMPARE(edits_, 1);
    }

    void fillDownThroughTheRules()
    {
        Paste(0, GridCol::RxCtcss, "67.0");
        Paste(0, GridCol::Wide, "W");
        edits_ = 0;
        Select(0, GridCol::RxCtcss);
        Extend(Qt::Key_Right, 3);
        Extend(Qt::Key_Down, 4);
        QSignalSpy reported(grid_, &ChannelGrid::reported);
        QSignalSpy pasted(grid_, &ChannelGrid::pasted);
        QTest::keyClick(grid_, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(edits_, 1);
        QCOMPARE(pasted.count(), 1);
        QCOMPARE(reported.count(), 1);
        // Channel 4 is not in use: it refuses what it does not already show.
        QCOMPARE(reported.last().at(0).toString(), QStringLiteral("Filled 5 cells, 2 cells refused"));
        for (int channel : {1, 2, 4}) {
            QCOMPARE(Cell(channel, GridCol::RxCtcss), QStringLiteral("67.0"));
            QCOMPARE(Cell(channel, GridCol::RxDcs), QStringLiteral("off"));
            QCOMPARE(Cell(channel, GridCol::Wide), QStringLiteral("W"));
        }
        QCOMPARE(Cell(3, GridCol::RxCtcss), QStringLiteral("off"));
        QCOMPARE(Cell(3, GridCol::Wide), QStringLiteral("N"));
        const TChannel ch = Parsed(1);
        QCOMPARE(ch.GetDecodeDcs(0), 0);
        QCOMPARE(ch.GetDecodeTone(0), 1);
        QCOMPARE(ch.Wide, 1);
    }

    void fillDownFromAnInhibitedRowInhibitsTheRowsBelow()
    {
        Select(2, GridCol::TxFreq);
        Extend(Qt::Key_Right);
        Extend(Qt::Key_Down, 2);
        QSignalSpy reported(grid_, &ChannelGrid::reported);
        grid_->FillDown();
        // Channel 4 is not in use; channel 5 becomes receive-only, keeping its transmit settings.
        QCOMPARE(reported.last().at(0).toString(), QStringLiteral("Filled 1 cell, 2 cells refused"));
        QCOMPARE(Cell(3, GridCol::TxFreq), QStringLiteral("151.02000"));
        QCOMPARE(Cell(4, GridCol::TxFreq), QStringLiteral("Tx Inh"));
        QCOMPARE(Cell(4, GridCol::TxCtcss), QStringLiteral("---"));
        const TChannel ch = Parsed(4);
        QVERIFY(ch.TxInhibit != 0);
        QCOMPARE(ch.TxFreq.Value(), 151.02);
        QCOMPARE(edits_, 1);
        QCOMPARE(grid_->currentIndex(), grid_->model()->index(4, GridCol::TxCtcss));

        // A single row has nothing below it.
        Select(0, GridCol::Wide);
        QTest::keyClick(grid_, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(reported.count(), 1);
    }

    // A block is copied data: its frequency cells take what a channel import takes, never the
    // band limit that a single paste makes of any other text.
    void blockFrequencyCellsTakeOnlyAFrequencyInMHz_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");  // Rx Freq afterwards; empty: as before
        QTest::newRow("name with a digit") << "Repeater 7" << "";
        QTest::newRow("below the band") << "7" << "";
        QTest::newRow("above the band") << "180" << "";
        QTest::newRow("two points") << "155.5.5" << "";
        QTest::newRow("exponent") << "1.55e2" << "";
        QTest::newRow("negative") << "-155" << "";
        QTest::newRow("unit") << "155.5 MHz" << "";
        QTest::newRow("comma") << "155,5" << "155.50000";
        QTest::newRow("blanks around") << " 160 " << "160.00000";
        QTest::newRow("off the raster") << "150.0062" << "";
        QTest::newRow("on the 6.25 kHz raster") << "150.00625" << "150.00625";
        QTest::newRow("band limit given") << "174" << "174.00000";
    }
    void blockFrequencyCellsTakeOnlyAFrequencyInMHz()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        // Channel 3's transmit is inhibited: a receive frequency taken allows it again.
        const TChannel before = Parsed(2);
        const QString report = PasteBlock(2, GridCol::RxFreq, text + QStringLiteral("\tabc"));
        QCOMPARE(grid_->currentIndex(), grid_->model()->index(2, GridCol::RxFreq));
        const TChannel after = Parsed(2);
        if (shown.isEmpty()) {
            QCOMPARE(report, QStringLiteral("Nothing changed, 2 cells refused"));
            QCOMPARE(Cell(2, GridCol::RxFreq), QStringLiteral("150.01000"));
            QCOMPARE(Cell(2, GridCol::TxFreq), QStringLiteral("Tx Inh"));
            QVERIFY(after == before);
            QCOMPARE(edits_, 0);
        } else {
            QCOMPARE(report, QStringLiteral("Pasted 1 cell, 1 cell refused"));
            QCOMPARE(Cell(2, GridCol::RxFreq), shown);
            QCOMPARE(Cell(2, GridCol::TxFreq), shown);
            QCOMPARE(after.TxInhibit, 0);
            QCOMPARE(qRound64(after.RxFreq.Value() * 1000), static_cast<qint64>(shown.toDouble() * 1000));
            QCOMPARE(edits_, 1);
        }
    }

    void fillDownRefusesAStoredFrequencyOutsideTheBand()
    {
        TChannels list = SampleChannels();
        list.Items(0).RxFreq.SetValue(140.0);  // as an Upload may bring
        grid_->Fill(list);
        Select(0, GridCol::RxFreq);
        Extend(Qt::Key_Down, 2);
        QSignalSpy reported(grid_, &ChannelGrid::reported);
        grid_->FillDown();
        QCOMPARE(reported.last().at(0).toString(), QStringLiteral("Nothing changed, 2 cells refused"));
        for (int channel : {1, 2}) QCOMPARE(Parsed(channel).RxFreq.Value(), 150.01);
        QCOMPARE(Cell(1, GridCol::TxFreq), QStringLiteral("151.02000"));
        QCOMPARE(Parsed(0).RxFreq.Value(), 140.0);
        QCOMPARE(edits_, 0);
    }

    // Random text, fields of some 50 characters with a digit in nearly all of them: no cell may
    // take one, and above all no frequency cell may make a band limit of it.
    void randomTextChangesNothing()
    {
        std::mt19937 random(20);
        std::uniform_int_distribution<int> pick(0, 97);
        QString text;
        for (int i = 0; i < 200'000; ++i) {
            const int n = pick(random);
            text += n == 95 ? QChar('\t') : n == 96 ? QChar('\n') : n == 97 ? QChar('\r') : QChar(' ' + n);
        }
        const auto allCells = [this] {
            QList<QString> cells;
            for (int channel = 0; channel < ChannelCount; ++channel)
                for (int column = GridCol::Channel; column < GridColumnCount; ++column) cells << Cell(channel, column);
            return cells;
        };
        const TChannels before = grid_->Channels();
        const QList<QString> cells = allCells();

        const QString report = PasteBlock(0, GridCol::RxFreq, text);
        QVERIFY2(report.startsWith(QStringLiteral("Nothing changed, ")), qPrintable(report));
        TChannels after;
        grid_->ParseInto(after);
        for (int channel = 0; channel < ChannelCount; ++channel) {
            QCOMPARE(after.Items(channel).RxFreq.Value(), before.Items(channel).RxFreq.Value());
            QCOMPARE(after.Items(channel).TxFreq.Value(), before.Items(channel).TxFreq.Value());
        }
        QVERIFY(after == before);
        QCOMPARE(allCells(), cells);
        QCOMPARE(edits_, 0);
    }

    // A receive-only channel copied row by row stays receive-only where it is pasted, as its
    // row in a channel import does; the "---" it shows on the transmit side is no value.
    void receiveOnlyRowPastesAsReceiveOnly()
    {
        TypeFrequency(2, GridCol::RxFreq, "160");  // allows channel 3's transmit again
        Select(2, GridCol::TxFreq);
        QTest::keyClick(grid_, Qt::Key_Space);
        QCOMPARE(Cell(2, GridCol::TxFreq), QStringLiteral("Tx Inh"));
        Select(2, GridCol::RxFreq);
        Extend(Qt::Key_Right, GridColumnCount - 1 - GridCol::RxFreq);
        grid_->CopyCell();
        edits_ = 0;

        QCOMPARE(PasteBlock(5, GridCol::RxFreq, QGuiApplication::clipboard()->text()),
                 QStringLiteral("Pasted 2 cells, none refused"));  // Rx Freq and Tx Inh
        QCOMPARE(grid_->currentIndex(), grid_->model()->index(5, GridCol::RxFreq));
        QCOMPARE(edits_, 1);
        for (int column = GridCol::RxFreq; column < GridColumnCount; ++column)
            QCOMPARE(Cell(5, column), Cell(2, column));
        const TChannel ch = Parsed(5);
        QVERIFY(ch.TxInhibit != 0);
        QCOMPARE(ch.RxFreq.Value(), 160.0);
        QCOMPARE(ch.TxFreq.Value(), 160.0);  // kept for when the transmit is allowed again
        QCOMPARE(ch.ClockShift, 1);

        // Pasted onto a channel that is receive-only already, it changes nothing.
        QCOMPARE(PasteBlock(2, GridCol::RxFreq, QGuiApplication::clipboard()->text()),
                 QStringLiteral("Nothing changed, none refused"));
        QCOMPARE(edits_, 1);

        // The one cell "Tx Inh" pasted alone inhibits too, instead of becoming the band's limit.
        Paste(7, GridCol::TxFreq, QStringLiteral("Tx Inh"));
        QCOMPARE(Cell(7, GridCol::TxFreq), QStringLiteral("Tx Inh"));
        QCOMPARE(Parsed(7).TxFreq.Value(), 151.02);
        QVERIFY(Parsed(7).TxInhibit != 0);
        QCOMPARE(edits_, 2);
    }

    // One text pasted over a dragged block goes to its top left cell, wherever the drag ended.
    void oneTextOverABlockGoesToItsTopLeftCell()
    {
        QTest::mousePress(grid_->viewport(), Qt::LeftButton, {}, CellCentre(4, GridCol::Wide));
        QTest::mouseMove(grid_->viewport(), CellCentre(6, GridCol::ClockShift));
        QTest::mouseRelease(grid_->viewport(), Qt::LeftButton, {}, CellCentre(6, GridCol::ClockShift));
        const QRect block(GridCol::Wide, 4, 2, 3);
        QCOMPARE(grid_->SelectedBlock(), block);
        const QModelIndex dragEnd = grid_->model()->index(6, GridCol::ClockShift);
        QCOMPARE(grid_->currentIndex(), dragEnd);
        QSignalSpy reported(grid_, &ChannelGrid::reported);

        QGuiApplication::clipboard()->setText(QStringLiteral("W"));
        grid_->PasteCell();
        QCOMPARE(reported.count(), 1);
        QCOMPARE(reported.last().at(0).toString(), QStringLiteral("Pasted 1 cell, none refused"));
        QCOMPARE(Parsed(4).Wide, 1);
        for (int channel : {5, 6}) QCOMPARE(Cell(channel, GridCol::Wide), QStringLiteral("N"));

        // "yes" is no width: the top left cell refuses it, and the drag's last cell is untouched.
        QGuiApplication::clipboard()->setText(QStringLiteral("yes"));
        grid_->PasteCell();
        QCOMPARE(reported.last().at(0).toString(), QStringLiteral("Nothing changed, 1 cell refused"));
        QCOMPARE(Parsed(6).ClockShift, 0);
        QCOMPARE(grid_->currentIndex(), dragEnd);
        QCOMPARE(grid_->SelectedBlock(), block);
        QCOMPARE(edits_, 1);
    }
};

QTEST_MAIN(ChannelGridBlockTest)
#include "channel_grid_block_test.moc"
