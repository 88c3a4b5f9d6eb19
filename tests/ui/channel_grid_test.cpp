// The channel grid, offscreen: painting, fill and parse, frequency entry with the post-edit rules,
// Escape and untouched editors, and typing into the cells.
#include "grid_test_support.h"

using namespace qm54;
using namespace qm54::test;

class ChannelGridTest : public GridTestBase {
    Q_OBJECT

private slots:
    void init() { SetUpGrid(); }
    void cleanup() { TearDownGrid(); }

    void paintingGreysChannelsNotInUseAndAlignsByColumn()
    {
        const QImage image = grid_->viewport()->grab().toImage();
        // Pixels of the cell whose grey level lies in [low, high], and the leftmost one's offset.
        const auto ink = [&](int channel, int column, int low, int high) {
            const QRect cell = grid_->visualRect(grid_->model()->index(channel, column));
            int count = 0, leftmost = cell.width();
            for (int y = cell.top() + 1; y < cell.bottom(); ++y)
                for (int x = cell.left() + 1; x < cell.right(); ++x) {
                    const int grey = qGray(image.pixel(x, y));
                    if (grey >= low && grey <= high) ++count, leftmost = std::min(leftmost, x - cell.left());
                }
            return std::pair{count, leftmost};
        };
        QVERIFY(ink(3, GridCol::RxFreq, 190, 194).first > 0);  // channel 4 is not in use: silver
        QCOMPARE(ink(3, GridCol::RxFreq, 0, 150).first, 0);
        QVERIFY(ink(0, GridCol::RxFreq, 0, 60).first > 0);
        // "off" right-aligned in the 70-pixel CTCSS column, centred in the 40-pixel DCS column.
        QVERIFY(ink(0, GridCol::RxCtcss, 0, 128).second > 35);
        const int dcsLeft = ink(0, GridCol::RxDcs, 0, 128).second;
        QVERIFY2(dcsLeft > 5 && dcsLeft < 20, qPrintable(QString::number(dcsLeft)));
    }

    void fillShowsTheWorkingList()
    {
        QCOMPARE(Cell(0, GridCol::Channel), QStringLiteral(" 1"));
        QCOMPARE(Cell(15, GridCol::Channel), QStringLiteral("16"));
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("150.01000"));
        QCOMPARE(Cell(0, GridCol::RxCtcss), QStringLiteral("off"));
        QCOMPARE(Cell(0, GridCol::NsqLevel), QStringLiteral("---"));
        QCOMPARE(Cell(1, GridCol::RxCtcss), QStringLiteral("off"));
        QCOMPARE(Cell(1, GridCol::RxDcs), QStringLiteral("754"));
        QCOMPARE(Cell(1, GridCol::TxCtcss), QStringLiteral("159.8"));
        QCOMPARE(Cell(1, GridCol::Wide), QStringLiteral("W"));
        QCOMPARE(Cell(1, GridCol::NsqLevel), QStringLiteral("42"));
        QCOMPARE(Cell(1, GridCol::IdMode), QStringLiteral("CW-ID"));
        QCOMPARE(Cell(1, GridCol::TxPower), QStringLiteral("Lo"));
        QCOMPARE(Cell(2, GridCol::TxFreq), QStringLiteral("Tx Inh"));
        for (int c = GridCol::TxFreq + 1; c < GridColumnCount; ++c) QCOMPARE(Cell(2, c), QStringLiteral("---"));
        QCOMPARE(grid_->currentIndex().row(), 0);
        QCOMPARE(grid_->currentIndex().column(), GridCol::Channel);
    }

    void parseGivesBackWhatFillShowed()
    {
        const TChannels original = SampleChannels();
        TChannels parsed;
        grid_->ParseInto(parsed);
        for (int i = 0; i < TChannels::Count(); ++i) {
            TChannel expected = original.Items(i);
            TChannel got = parsed.Items(i);
            QCOMPARE(got.RxFreq.Value(), expected.RxFreq.Value());
            // Slot 0 is in use while either side holds a tone.
            expected.SetSlotUsed(0, expected.GetDecodeTone(0) != 0 || expected.GetDecodeDcs(0) ||
                                            expected.GetEncodeTone(0) != 0 || expected.GetEncodeDcs(0)
                                        ? 1
                                        : 0);
            QCOMPARE(got.TxFreq.Value(), expected.TxFreq.Value());
            got.RxFreq = expected.RxFreq;
            got.TxFreq = expected.TxFreq;
            QVERIFY2(got == expected, qPrintable(QStringLiteral("channel %1").arg(i + 1)));
        }
    }

    void parseKeepsWholeKilohertz()
    {
        TChannels list = SampleChannels();
        list.Items(0).RxFreq.SetValue(450.00625);
        grid_->SetContext(0, 450, 480, 450, 480);
        grid_->Fill(list);
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("450.00625"));
        QCOMPARE(Parsed(0).RxFreq.Value(), 450.006);
        grid_->Fill(list);  // the snap brings the raster frequency back
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("450.00625"));

        // 262.09 x 1000 is 262089.99... in binary; the stored value must still be 262.090 MHz.
        grid_->SetContext(0, 100, 300, 100, 300);
        TypeFrequency(0, GridCol::RxFreq, "262.09");
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("262.09000"));
        QCOMPARE(Parsed(0).RxFreq.Value(), 262.09);
    }

    void frequencyEntry_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("clockShift");
        QTest::newRow("snapped to 6.25 kHz") << 0 << "150.0062" << "150.00625" << "no";
        QTest::newRow("comma separator") << 0 << "151,99" << "151.99000" << "yes";
        QTest::newRow("2.5 kHz raster") << 1 << "150.0125" << "150.01250" << "no";
        QTest::newRow("above the band") << 0 << "200" << "174.00000" << "no";
        QTest::newRow("blank inside is not a number") << 0 << "15 2" << "150.00000" << "no";
        QTest::newRow("on a 4 MHz multiple") << 0 << "152" << "152.00000" << "yes";
    }
    void frequencyEntry()
    {
        QFETCH(int, step);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, clockShift);
        grid_->SetContext(step, 150, 174, 150, 174);
        TypeFrequency(0, GridCol::RxFreq, typed);
        QVERIFY(!grid_->EditorActive());
        QCOMPARE(Cell(0, GridCol::RxFreq), shown);
        QCOMPARE(Cell(0, GridCol::TxFreq), shown);
        QCOMPARE(Cell(0, GridCol::ClockShift), clockShift);
        const TChannel ch = Parsed(0);
        QCOMPARE(ch.CloseSplit, 1);
        QCOMPARE(ch.TxAboveRx, 0);
        QCOMPARE(edits_, 1);
    }

    void emptyEntryGivesTheLowerLimit()
    {
        Select(0, GridCol::RxFreq);
        QTest::keyClick(grid_, Qt::Key_Return);
        QVERIFY(grid_->EditorActive());
        QVERIFY(grid_->FrequencyEditor()->hasSelectedText());
        QTest::keyClick(grid_->FrequencyEditor(), Qt::Key_Delete);
        QTest::keyClick(grid_->FrequencyEditor(), Qt::Key_Return);
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("150.00000"));
    }

    void txEntrySetsTheDerivedFlagsOnly()
    {
        TypeFrequency(0, GridCol::TxFreq, "150.05");
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("150.01000"));
        QCOMPARE(Cell(0, GridCol::TxFreq), QStringLiteral("150.05000"));
        const TChannel ch = Parsed(0);
        QCOMPARE(ch.CloseSplit, 1);
        QCOMPARE(ch.TxAboveRx, 1);
        QCOMPARE(ch.TxFreq.Value(), 150.05);
    }

    void txEntryKeepsAnOffRasterRx()
    {
        TChannels list = SampleChannels();
        list.Items(0).RxFreq.SetValue(161.003);  // shown on the raster as 161.00500
        grid_->Fill(list);
        TypeFrequency(0, GridCol::TxFreq, "161.03");
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("161.00500"));
        const TChannel ch = Parsed(0);
        QCOMPARE(ch.RxFreq.Value(), 161.003);
        QCOMPARE(ch.TxFreq.Value(), 161.03);
        QCOMPARE(ch.CloseSplit, 1);
        QCOMPARE(ch.TxAboveRx, 1);
    }

    // The split flags follow the frequencies as they are kept, in whole kHz: 161.00625 and
    // 160.95625 are kept as 161.006 and 160.956, 50 kHz apart, which is no close split.
    void txEntryDerivesTheFlagsFromTheKeptFrequencies()
    {
        TypeFrequency(0, GridCol::RxFreq, "161.00625");
        TypeFrequency(0, GridCol::TxFreq, "160.95625");
        QCOMPARE(Cell(0, GridCol::TxFreq), QStringLiteral("160.95625"));
        const TChannel ch = Parsed(0);
        QCOMPARE(ch.RxFreq.Value(), 161.006);
        QCOMPARE(ch.TxFreq.Value(), 160.956);
        QCOMPARE(ch.CloseSplit, 0);
        QCOMPARE(ch.TxAboveRx, 0);
    }

    // Channel 3's transmit is inhibited: a change on its receive side leaves it so.
    void receiveSideEditKeepsTheTransmitInhibited()
    {
        grid_->ActivateCell(2, GridCol::Wide);
        QCOMPARE(Cell(2, GridCol::Wide), QStringLiteral("W"));
        QCOMPARE(Cell(2, GridCol::TxFreq), QStringLiteral("Tx Inh"));
        QVERIFY(Parsed(2).TxInhibit != 0);
        QCOMPARE(edits_, 1);
    }

    void escapeKeepsTheCellAndTheTransmitSide()
    {
        Select(0, GridCol::RxFreq);
        QTest::keyClicks(grid_, "1");
        QTest::keyClicks(grid_->FrequencyEditor(), "60");
        QCOMPARE(grid_->FrequencyEditor()->text(), QStringLiteral("160"));
        QTest::keyClick(grid_->FrequencyEditor(), Qt::Key_Escape);
        QVERIFY(!grid_->EditorActive());
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("150.01000"));
        QCOMPARE(Cell(0, GridCol::TxFreq), QStringLiteral("151.02000"));
        QCOMPARE(edits_, 0);
    }

    void openingAndLeavingAnEditorChangesNothing()
    {
        // Opening the receive editor and moving on must not copy the receive frequency over the
        // transmit frequency: the rules run only for a changed cell.
        grid_->ActivateCell(0, GridCol::RxFreq);
        QVERIFY(grid_->EditorActive());
        Select(0, GridCol::Wide);
        QVERIFY(!grid_->EditorActive());
        QCOMPARE(Cell(0, GridCol::TxFreq), QStringLiteral("151.02000"));
        QCOMPARE(edits_, 0);
    }

    // A channel whose stored frequencies lie outside the band limits (150 to 174 MHz here): an
    // editor that is left by Escape, or without a typed change, must leave it byte for byte.
    void escapedOrUntouchedEditorsChangeNothing_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("open");
        QTest::addColumn<int>("leave");
        QTest::newRow("Rx, Enter, Escape") << GridCol::RxFreq << int(OpenByEnter) << int(LeaveByEscape);
        QTest::newRow("Rx, typed, Escape") << GridCol::RxFreq << int(OpenByTyping) << int(LeaveByEscape);
        QTest::newRow("Rx, double-click, cursor move") << GridCol::RxFreq << int(OpenByDoubleClick) << int(LeaveByCursor);
        QTest::newRow("Tx, Enter, cursor move") << GridCol::TxFreq << int(OpenByEnter) << int(LeaveByCursor);
        QTest::newRow("Tx, double-click, commit") << GridCol::TxFreq << int(OpenByDoubleClick) << int(LeaveByCommit);
        QTest::newRow("Tx, typed, Escape") << GridCol::TxFreq << int(OpenByTyping) << int(LeaveByEscape);
        QTest::newRow("level, Enter, Escape") << GridCol::NsqLevel << int(OpenByEnter) << int(LeaveByEscape);
        QTest::newRow("level, typed, Escape") << GridCol::NsqLevel << int(OpenByTyping) << int(LeaveByEscape);
        QTest::newRow("level, double-click, focus away") << GridCol::NsqLevel << int(OpenByDoubleClick) << int(LeaveByFocus);
        QTest::newRow("level, Enter, commit") << GridCol::NsqLevel << int(OpenByEnter) << int(LeaveByCommit);
    }
    void escapedOrUntouchedEditorsChangeNothing()
    {
        QFETCH(int, column);
        QFETCH(int, open);
        QFETCH(int, leave);
        TChannels list = SampleChannels();
        list.Items(1).RxFreq.SetValue(140.0);
        list.Items(1).TxFreq.SetValue(145.5);
        grid_->Fill(list);
        const TChannels before = grid_->Channels();
        QStringList cellsBefore;
        for (int c = 0; c < GridColumnCount; ++c) cellsBefore << Cell(1, c);

        Select(1, column);
        if (open == OpenByEnter) QTest::keyClick(grid_, Qt::Key_Return);
        else if (open == OpenByDoubleClick) grid_->ActivateCell(1, column);
        else QTest::keyClicks(grid_, "7");
        QVERIFY(grid_->EditorActive());
        QWidget* editor = column == GridCol::NsqLevel ? static_cast<QWidget*>(grid_->LevelEditor())
                                                      : grid_->FrequencyEditor();
        if (leave == LeaveByEscape) QTest::keyClick(editor, Qt::Key_Escape);
        else if (leave == LeaveByCursor) Select(1, GridCol::Wide);
        else if (leave == LeaveByCommit) grid_->CommitEditor();  // F2, a command
        else grid_->setFocus();  // the spin editor commits when it loses the focus
        QVERIFY(!grid_->EditorActive());

        QStringList cellsAfter;
        for (int c = 0; c < GridColumnCount; ++c) cellsAfter << Cell(1, c);
        QCOMPARE(cellsAfter, cellsBefore);
        QVERIFY(grid_->Channels() == before);
        TChannels parsed;
        grid_->ParseInto(parsed);
        QVERIFY(parsed == before);
        QCOMPARE(edits_, 0);
    }

    void editorCharactersAndCursorMoveCommit()
    {
        Select(0, GridCol::RxFreq);
        QTest::keyClicks(grid_, "1");
        QTest::keyClicks(grid_->FrequencyEditor(), "6x1;.525");
        QCOMPARE(grid_->FrequencyEditor()->text(), QStringLiteral("161.525"));
        grid_->FrequencyEditor()->clearFocus();  // losing the focus alone does not commit
        QVERIFY(grid_->EditorActive());
        QTest::keyClicks(grid_, "0");  // typing on the grid appends to the open editor
        QCOMPARE(grid_->FrequencyEditor()->text(), QStringLiteral("161.5250"));
        Select(1, GridCol::RxFreq);
        QVERIFY(!grid_->EditorActive());
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("161.52500"));
    }

    void typingOnlyOpensEditorsOnTextCells()
    {
        Select(0, GridCol::Wide);
        QTest::keyClicks(grid_, "1");
        QVERIFY(!grid_->EditorActive());
        Select(0, GridCol::RxFreq);
        QTest::keyClicks(grid_, "x");
        QVERIFY(!grid_->EditorActive());
        Select(3, GridCol::RxFreq);  // not in use
        QTest::keyClicks(grid_, "1");
        QVERIFY(!grid_->EditorActive());
        Select(2, GridCol::TxFreq);  // transmit inhibited
        QTest::keyClicks(grid_, "1");
        QTest::keyClick(grid_, Qt::Key_Return);
        QVERIFY(!grid_->EditorActive());
    }

    void typingAnyCharacterIntoAnyCellIsSafe()
    {
        // Each character is typed on the grid and, when that opened an editor, once more into it.
        const TChannel untouched = Parsed(0);
        for (int column = GridCol::Channel; column < GridColumnCount; ++column) {
            for (char32_t code : {U'5', U'\0', U'\x01', U'\t', U'\b', U'\x1b', U'\x7f', U'\u00e9', U'\u20ac',
                                  U'\U0001F600', U'&', U'%', U'a'}) {
                Select(1, column);
                const QString text = QString::fromUcs4(&code, 1);
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
                QApplication::sendEvent(grid_, &press);
                QCOMPARE(grid_->currentIndex().column(), column);
                if (grid_->EditorActive()) {
                    QWidget* editor = column == GridCol::NsqLevel ? static_cast<QWidget*>(grid_->LevelEditor())
                                                          : grid_->FrequencyEditor();
                    QKeyEvent inEditor(QEvent::KeyPress, 0, Qt::NoModifier, text);
                    QApplication::sendEvent(editor, &inEditor);
                    grid_->CommitEditor();
                }
            }
        }
        QCOMPARE(Parsed(0), untouched);
        QCOMPARE(Cell(1, GridCol::Wide), QStringLiteral("W"));
        QCOMPARE(Cell(1, GridCol::RxFreq), QStringLiteral("150.00000"));  // "55" is below the band
        QCOMPARE(Cell(1, GridCol::TxFreq), QStringLiteral("150.00000"));
        QCOMPARE(Cell(1, GridCol::NsqLevel), QStringLiteral("55"));
    }

};

QTEST_MAIN(ChannelGridTest)
#include "channel_grid_test.moc"
