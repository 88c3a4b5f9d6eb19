// The channel grid, offscreen: cycling cells, the in-use and Tx-inhibit toggles, tones, the NSQ
// spin editor, the keys and columns, scrolling, paste and copy, and the dialogs the grid opens.
#include "grid_test_support.h"

using namespace qm54;
using namespace qm54::test;

class ChannelGridCommandsTest : public GridTestBase {
    Q_OBJECT

private slots:
    void init() { SetUpGrid(); }
    void cleanup() { TearDownGrid(); }
    void cycleWrapsThroughItsList()
    {
        const QRect cell = grid_->visualRect(grid_->model()->index(0, GridCol::Wide));
        QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(Cell(0, GridCol::Wide), QStringLiteral("W"));
        grid_->ActivateCell(0, GridCol::Wide);
        QCOMPARE(Cell(0, GridCol::Wide), QStringLiteral("N"));
        Select(0, GridCol::Lockout);
        for (const char* expected : {"BCLO", "BTLO", "off"}) {
            QTest::keyClick(grid_, Qt::Key_Space);
            QCOMPARE(Cell(0, GridCol::Lockout), QString::fromLatin1(expected));
        }
        QCOMPARE(edits_, 5);
        QCOMPARE(Parsed(0).Lockout, 0);
    }

    void identificationCycleSkipsSwitchedOffChoices_data()
    {
        QTest::addColumn<bool>("aniEni");
        QTest::addColumn<bool>("cwId");
        QTest::addColumn<QStringList>("sequence");
        QTest::newRow("both") << true << true << QStringList{"ANI/ENI", "CW-ID", "off"};
        QTest::newRow("ANI/ENI only") << true << false << QStringList{"ANI/ENI", "off"};
        QTest::newRow("CW-ID only") << false << true << QStringList{"CW-ID", "off"};
        QTest::newRow("neither") << false << false << QStringList{"off", "off"};
    }
    void identificationCycleSkipsSwitchedOffChoices()
    {
        QFETCH(bool, aniEni);
        QFETCH(bool, cwId);
        QFETCH(QStringList, sequence);
        grid_->SetIdFeatures(aniEni, cwId);
        QCOMPARE(Cell(0, GridCol::IdMode), QStringLiteral("off"));
        for (const QString& expected : sequence) {
            grid_->ActivateCell(0, GridCol::IdMode);
            QCOMPARE(Cell(0, GridCol::IdMode), expected);
        }
    }

    void inUseToggle()
    {
        grid_->ActivateCell(0, GridCol::Channel);  // channel 1 cannot be switched off
        QCOMPARE(Parsed(0).InUse, 1);
        grid_->ActivateCell(1, GridCol::Channel);
        QCOMPARE(Parsed(1).InUse, 0);
        grid_->ActivateCell(1, GridCol::Wide);  // a channel not in use does not change
        QCOMPARE(Cell(1, GridCol::Wide), QStringLiteral("W"));
        Paste(1, GridCol::Wide, "N");
        QCOMPARE(Cell(1, GridCol::Wide), QStringLiteral("W"));
        grid_->ActivateCell(1, GridCol::Channel);
        QCOMPARE(Parsed(1).InUse, 1);
        QCOMPARE(Parsed(1).Wide, 1);
    }

    void transmitInhibitRoundTrip()
    {
        Paste(0, GridCol::TxCtcss, "100.0");
        Select(0, GridCol::TxFreq);
        QTest::keyClick(grid_, Qt::Key_Space);
        QCOMPARE(Cell(0, GridCol::TxFreq), QStringLiteral("Tx Inh"));
        QCOMPARE(Cell(0, GridCol::TxCtcss), QStringLiteral("---"));
        TChannel ch = Parsed(0);
        QVERIFY(ch.TxInhibit != 0);
        QCOMPARE(ch.GetEncodeTone(0), 13);
        QCOMPARE(ch.TxFreq.Value(), 151.02);
        grid_->ActivateCell(0, GridCol::TxPower);  // transmit columns do not change while inhibited
        QCOMPARE(Cell(0, GridCol::TxPower), QStringLiteral("---"));
        QTest::keyClick(grid_, Qt::Key_Space);
        QCOMPARE(Cell(0, GridCol::TxFreq), QStringLiteral("151.02000"));
        QCOMPARE(Cell(0, GridCol::TxCtcss), QStringLiteral("100.0"));
        QCOMPARE(Parsed(0).TxInhibit, 0);
    }

    void receiveEntryClearsTheInhibit()
    {
        TypeFrequency(2, GridCol::RxFreq, "160");
        QCOMPARE(Cell(2, GridCol::TxFreq), QStringLiteral("160.00000"));
        QCOMPARE(Cell(2, GridCol::TxPower), QStringLiteral("Hi"));
        QCOMPARE(Parsed(2).TxInhibit, 0);
    }

    void toneColumnsExcludeEachOther()
    {
        Paste(1, GridCol::RxCtcss, "67.0");
        QCOMPARE(Cell(1, GridCol::RxDcs), QStringLiteral("off"));
        TChannel ch = Parsed(1);
        QCOMPARE(ch.GetDecodeDcs(0), 0);
        QCOMPARE(ch.GetDecodeTone(0), 1);
        QCOMPARE(ch.GetSlotUsed(0), 1);
        Paste(1, GridCol::TxDcs, "023");
        QCOMPARE(Cell(1, GridCol::TxCtcss), QStringLiteral("off"));
        ch = Parsed(1);
        QCOMPARE(ch.GetEncodeDcs(0), 1);
        QCOMPARE(ch.GetEncodeTone(0), 0);
    }

    void nsqModeShowsTheStoredLevel()
    {
        QCOMPARE(Cell(0, GridCol::NsqLevel), QStringLiteral("---"));
        grid_->ActivateCell(0, GridCol::NsqLevel);  // "Prpgm": nothing opens
        QVERIFY(!grid_->EditorActive());
        grid_->ActivateCell(0, GridCol::NsqMode);
        QCOMPARE(Cell(0, GridCol::NsqLevel), QStringLiteral("42"));
        grid_->ActivateCell(0, GridCol::NsqMode);
        QCOMPARE(Cell(0, GridCol::NsqLevel), QStringLiteral("---"));
        QCOMPARE(Parsed(0).NsqLevel, 42);
    }

    void spinEditor()
    {
        Select(1, GridCol::NsqLevel);
        QTest::keyClicks(grid_, "7");
        QVERIFY(grid_->EditorActive());
        QTest::keyClicks(grid_->LevelEditor(), "x9");
        QTest::keyClick(grid_->LevelEditor(), Qt::Key_Return);
        QCOMPARE(Cell(1, GridCol::NsqLevel), QStringLiteral("79"));
        QCOMPARE(Parsed(1).NsqLevel, 79);

        QTest::keyClick(grid_, Qt::Key_Return);
        QTest::keyClicks(grid_->LevelEditor(), "200");
        QTest::keyClick(grid_->LevelEditor(), Qt::Key_Escape);
        QCOMPARE(Cell(1, GridCol::NsqLevel), QStringLiteral("79"));

        QTest::keyClick(grid_, Qt::Key_Space);
        QTest::keyClicks(grid_->LevelEditor(), "255");
        grid_->setFocus();  // leaving the spin editor commits it
        QVERIFY(!grid_->EditorActive());
        QCOMPARE(Cell(1, GridCol::NsqLevel), QStringLiteral("255"));
    }

    void leftAndRightSkipHiddenColumns()
    {
        grid_->SetColumnGroupVisible(0, false);
        grid_->SetColumnGroupVisible(1, false);
        QVERIFY(!grid_->ColumnGroupVisible(1));
        QCOMPARE(grid_->columnWidth(GridCol::RxCtcss), 0);
        Select(0, GridCol::Wide);
        QTest::keyClick(grid_, Qt::Key_Left);
        QCOMPARE(grid_->currentIndex().column(), GridCol::Channel);
        QTest::keyClick(grid_, Qt::Key_Left);
        QCOMPARE(grid_->currentIndex().column(), GridCol::Channel);
        QTest::keyClick(grid_, Qt::Key_Right);
        QCOMPARE(grid_->currentIndex().column(), GridCol::Wide);
        Select(0, GridColumnCount - 1);
        QTest::keyClick(grid_, Qt::Key_Right);
        QCOMPARE(grid_->currentIndex().column(), GridColumnCount - 1);
        // The hidden columns keep their values.
        grid_->SetColumnGroupVisible(1, true);
        QCOMPARE(Cell(1, GridCol::RxDcs), QStringLiteral("754"));
        QCOMPARE(Parsed(1).GetDecodeTone(0), 103);
    }

    void captionPanelsFollowTheirColumns()
    {
        const int decoders = 1, encoders = 13;
        QVERIFY(grid_->CaptionPanelShown(decoders));
        QVERIFY(!grid_->CaptionPanelShown(0));  // a single-column group has no panel
        QCOMPARE(grid_->CaptionPanelRect(decoders).width(), 70 + 40 - 1);
        grid_->SetColumnGroupVisible(decoders, false);
        QVERIFY(!grid_->CaptionPanelShown(decoders));
        grid_->SetColumnGroupVisible(decoders, true);

        grid_->resize(500, 400);
        QCoreApplication::processEvents();
        QVERIFY(!grid_->CaptionPanelShown(encoders));  // beyond the right edge
        grid_->horizontalScrollBar()->setValue(grid_->horizontalScrollBar()->maximum());
        QVERIFY(grid_->CaptionPanelShown(encoders));
        QVERIFY(!grid_->CaptionPanelShown(decoders));  // scrolled out on the left
    }

    void editorFollowsItsRowAndHidesOutOfView()
    {
        grid_->resize(600, 120);
        QCoreApplication::processEvents();
        Select(0, GridCol::RxFreq);
        QTest::keyClick(grid_, Qt::Key_Return);
        QVERIFY(grid_->FrequencyEditor()->isVisible());
        grid_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->maximum());
        QVERIFY(grid_->EditorActive());
        QVERIFY(!grid_->FrequencyEditor()->isVisible());
        grid_->verticalScrollBar()->setValue(0);
        QVERIFY(grid_->FrequencyEditor()->isVisible());
        const QRect cell = grid_->visualRect(grid_->model()->index(0, GridCol::RxFreq));
        QCOMPARE(grid_->FrequencyEditor()->geometry().top(), cell.top() - 1);
    }

    void pasteIntoCells_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("shown");
        QTest::newRow("option name of another column") << 0 << GridCol::Wide << "yes" << "N";
        QTest::newRow("option name") << 0 << GridCol::Wide << "W" << "W";
        QTest::newRow("option name with blank") << 0 << GridCol::Wide << "W " << "N";
        QTest::newRow("tone") << 0 << GridCol::RxCtcss << "254.1" << "254.1";
        QTest::newRow("not a tone") << 0 << GridCol::RxCtcss << "254.2" << "off";
        QTest::newRow("code") << 0 << GridCol::RxDcs << "754" << "754";
        QTest::newRow("multi tone") << 0 << GridCol::MultiTone << "yes" << "no";
        QTest::newRow("frequency") << 0 << GridCol::RxFreq << "abc 155,5\r\n" << "155.50000";
        QTest::newRow("frequency with a backspace") << 0 << GridCol::RxFreq << "165.5\b25" << "165.52500";
        QTest::newRow("level while Prpgm") << 0 << GridCol::NsqLevel << "12" << "---";
        QTest::newRow("level") << 1 << GridCol::NsqLevel << " 12 " << "12";
        QTest::newRow("level above range") << 1 << GridCol::NsqLevel << "999" << "255";
        QTest::newRow("level not digits") << 1 << GridCol::NsqLevel << "1a" << "42";
        QTest::newRow("transmit inhibited") << 2 << GridCol::TxPower << "Lo" << "---";
    }
    void pasteIntoCells()
    {
        QFETCH(int, channel);
        QFETCH(int, column);
        QFETCH(QString, clipboard);
        QFETCH(QString, shown);
        QSignalSpy pasted(grid_, &ChannelGrid::pasted);
        const QString before = Cell(channel, column);
        Paste(channel, column, clipboard);
        QCOMPARE(Cell(channel, column), shown);
        QCOMPARE(pasted.count(), before == shown ? 0 : 1);
    }

    void pasteOfHugeOrControlTextIsSafe()
    {
        const QString megabytes(4 * 1024 * 1024, QLatin1Char(' '));
        Paste(0, GridCol::RxFreq, QStringLiteral("155.5") + megabytes + QStringLiteral("\x01\x1b\t"));
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("155.50000"));
        Paste(0, GridCol::Wide, QStringLiteral("W") + megabytes);
        QCOMPARE(Cell(0, GridCol::Wide), QStringLiteral("N"));
        const QString huge(4 * 1024 * 1024, QLatin1Char('9'));

        Select(1, GridCol::RxFreq);
        QTest::keyClick(grid_, Qt::Key_Return);
        grid_->FrequencyEditor()->setCursorPosition(3);
        grid_->FrequencyEditor()->setSelection(3, 6);  // "150|.01000|"
        QGuiApplication::clipboard()->setText(QStringLiteral("\x01\x02" "x.5") + huge);
        QSignalSpy pasted(grid_, &ChannelGrid::pasted);
        QTest::keySequence(grid_->FrequencyEditor(), QKeySequence::Paste);
        QCOMPARE(pasted.count(), 1);
        QCOMPARE(grid_->FrequencyEditor()->text(), QStringLiteral("150.59999"));
        grid_->CommitEditor();
        QCOMPARE(Cell(1, GridCol::RxFreq), QStringLiteral("150.60000"));

        Paste(1, GridCol::NsqLevel, QStringLiteral("\x01\x02\x7f"));
        QCOMPARE(Cell(1, GridCol::NsqLevel), QStringLiteral("42"));
    }

    void copyTakesTheCellOrTheEditorSelection()
    {
        Select(1, GridCol::RxDcs);
        grid_->CopyCell();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("754"));
        Select(0, GridCol::RxFreq);
        QTest::keyClick(grid_, Qt::Key_Return);
        grid_->FrequencyEditor()->setSelection(0, 3);
        QTest::keySequence(grid_->FrequencyEditor(), QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("150"));
    }

    void selectListFromTheGrid()
    {
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<SelectListDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Code Select"));
            QCOMPARE(dialog->Chosen(), QStringLiteral("off"));
            dialog->Table()->setCurrentCell(0, 1);  // the first code
            dialog->accept();
        });
        grid_->ActivateCell(0, GridCol::RxDcs);
        QCOMPARE(Cell(0, GridCol::RxDcs), QStringLiteral("023"));
        QCOMPARE(Parsed(0).GetDecodeDcs(0), 1);

        WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        grid_->ActivateCell(0, GridCol::RxCtcss);
        QCOMPARE(Cell(0, GridCol::RxCtcss), QStringLiteral("off"));
        QCOMPARE(Cell(0, GridCol::RxDcs), QStringLiteral("023"));
    }

    // An encode-only tone chosen for slot 0 keeps the slot in use through every later parse.
    void multiToneEncodeOnlyToneStaysInUse()
    {
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<MultiToneDialog*>(modal);
            QVERIFY(dialog);
            dialog->CtcssBox(0, 1)->setCurrentIndex(12);  // "97.4", encode only
            dialog->accept();
        });
        grid_->ActivateCell(0, GridCol::MultiTone);
        QCOMPARE(Cell(0, GridCol::RxCtcss), QStringLiteral("off"));
        QCOMPARE(Cell(0, GridCol::TxCtcss), QStringLiteral("97.4"));
        const TChannel ch = Parsed(0);
        QCOMPARE(ch.GetSlotUsed(0), 1);
        QCOMPARE(ch.GetEncodeTone(0), 12);
        QCOMPARE(edits_, 1);
    }

    void multiToneFromTheGrid()
    {
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<MultiToneDialog*>(modal);
            QVERIFY(dialog);
            dialog->EnableBox()->setChecked(true);
            dialog->CtcssBox(0, 0)->setCurrentIndex(5);  // "77.0"
            dialog->DcsBox(0, 1)->setCurrentIndex(1);    // "023"
            dialog->CtcssBox(7, 1)->setCurrentIndex(2);
            dialog->accept();
        });
        grid_->ActivateCell(1, GridCol::MultiTone);
        QCOMPARE(Cell(1, GridCol::MultiTone), QStringLiteral("yes"));
        QCOMPARE(Cell(1, GridCol::RxCtcss), QStringLiteral("77.0"));
        QCOMPARE(Cell(1, GridCol::RxDcs), QStringLiteral("off"));
        QCOMPARE(Cell(1, GridCol::TxDcs), QStringLiteral("023"));
        const TChannel ch = Parsed(1);
        QCOMPARE(ch.MultiTone, 1);
        QCOMPARE(ch.GetDecodeTone(0), 5);
        QCOMPARE(ch.GetSlotUsed(7), 1);
        QCOMPARE(ch.GetEncodeTone(7), 2);
    }
};

QTEST_MAIN(ChannelGridCommandsTest)
#include "channel_grid_commands_test.moc"
