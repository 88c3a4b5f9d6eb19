// The channel grid's block editing, offscreen: selecting a block by keys and mouse, copying it,
// pasting tab-separated text through each cell's filter and the in-use and inhibit rules, and
// filling down; each block change is one edit with one report for the status bar.
#include "grid_test_support.h"

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
                 QStringLiteral("Pasted 4 cells, none refused"));
        QCOMPARE(Cell(9, GridCol::Wide), QStringLiteral("W"));
    }

    void pasteFillsABlockThroughEachCellsRules()
    {
        QSignalSpy pasted(grid_, &ChannelGrid::pasted);
        const QString report = PasteBlock(4, GridCol::RxFreq,
                                          QStringLiteral("155,5\t67.0\t023\tW\r\n"
                                                         "abc\t254.2\t\tyes\n"
                                                         "160\t\t\tN\r\n"));
        QCOMPARE(report, QStringLiteral("Pasted 6 cells, 3 cells refused"));
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
        QCOMPARE(PasteBlock(3, GridCol::Wide, QStringLiteral("W\tyes")), QStringLiteral("Pasted 0 cells, 2 cells refused"));
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
        QCOMPARE(reported.last().at(0).toString(), QStringLiteral("Filled 14 cells, 2 cells refused"));
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

    void fillDownFromAnInhibitedRowCopiesNothing()
    {
        Select(2, GridCol::TxFreq);
        Extend(Qt::Key_Right);
        Extend(Qt::Key_Down, 2);
        QSignalSpy reported(grid_, &ChannelGrid::reported);
        grid_->FillDown();
        QCOMPARE(reported.last().at(0).toString(), QStringLiteral("Filled 0 cells, 4 cells refused"));
        QCOMPARE(Cell(4, GridCol::TxFreq), QStringLiteral("151.02000"));
        QCOMPARE(Cell(4, GridCol::TxCtcss), QStringLiteral("off"));
        QCOMPARE(edits_, 0);

        // A single row has nothing below it.
        Select(0, GridCol::Wide);
        QTest::keyClick(grid_, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(reported.count(), 1);
    }
};

QTEST_MAIN(ChannelGridBlockTest)
#include "channel_grid_block_test.moc"
