// The channel grid's editing rules, driven through its keys, its editors, the clipboard and the
// dialogs it opens, offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include "model/tables.h"
#include "ui/main/channel_grid.h"
#include "ui/main/multi_tone_dialog.h"
#include "ui/main/select_list_dialog.h"

using namespace qm54;

namespace {

// 16 channels in use on 150.010 MHz receive and 151.020 MHz transmit, with a few settings that
// show in the grid's texts.
TChannels SampleChannels()
{
    TChannels list;
    for (int i = 0; i < TChannels::Count(); ++i) {
        TChannel& ch = list.Items(i);
        ch.Number = i + 1;
        ch.InUse = 1;
        ch.RxFreq.SetValue(150.010);
        ch.TxFreq.SetValue(151.020);
        ch.NsqLevel = 42;
    }
    TChannel& second = list.Items(1);
    second.SetSlotUsed(0, 1);
    second.SetDecodeDcs(0, 1);
    second.SetDecodeTone(0, 103);   // "754"
    second.SetEncodeTone(0, 40);    // "159.8"
    second.Wide = 1;
    second.NsqMode = 1;
    second.IdMode = 2;
    second.TxPower = 1;
    list.Items(2).TxInhibit = -1;   // as decoded from the image
    list.Items(3).InUse = 0;
    return list;
}

// How a test opens a cell's editor and how it leaves it.
enum EditorOpening { OpenByEnter, OpenByDoubleClick, OpenByTyping };
enum EditorLeaving { LeaveByEscape, LeaveByCursor, LeaveByCommit, LeaveByFocus };

// Runs action once the next modal dialog is up (it must close the dialog).
void WhenModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        action(modal);
    });
}

}  // namespace

class ChannelGridTest : public QObject {
    Q_OBJECT

private:
    ChannelGrid* grid_ = nullptr;
    int edits_ = 0;

    void Select(int channel, int column) { grid_->setCurrentIndex(grid_->model()->index(channel, column)); }
    QString Cell(int channel, int column) const { return grid_->CellText(channel, column); }
    TChannel Parsed(int channel)
    {
        TChannels list;
        grid_->ParseInto(list);
        return list.Items(channel);
    }
    void TypeFrequency(int channel, int column, const QString& text)
    {
        Select(channel, column);
        QTest::keyClicks(grid_, text.left(1));
        QTest::keyClicks(grid_->FrequencyEditor(), text.mid(1));
        QTest::keyClick(grid_->FrequencyEditor(), Qt::Key_Return);
    }
    void Paste(int channel, int column, const QString& text)
    {
        Select(channel, column);
        QGuiApplication::clipboard()->setText(text);
        grid_->PasteCell();
    }

private slots:
    void init()
    {
        grid_ = new ChannelGrid;
        grid_->resize(1600, 400);
        grid_->SetContext(0, 150, 174, 150, 174, 1);
        grid_->SetIdFeatures(true, true);
        grid_->Fill(SampleChannels());
        grid_->show();
        grid_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(grid_));
        edits_ = 0;
        connect(grid_, &ChannelGrid::edited, this, [this] { ++edits_; });
    }
    void cleanup()
    {
        delete grid_;
        grid_ = nullptr;
    }

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
            QVERIFY2(got.Equals(expected), qPrintable(QStringLiteral("channel %1").arg(i + 1)));
        }
    }

    void parseKeepsWholeKilohertz()
    {
        TChannels list = SampleChannels();
        list.Items(0).RxFreq.SetValue(450.00625);
        grid_->SetContext(0, 450, 480, 450, 480, 1);
        grid_->Fill(list);
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("450.00625"));
        QCOMPARE(Parsed(0).RxFreq.Value(), 450.006);
        grid_->Fill(list);  // the snap brings the raster frequency back
        QCOMPARE(Cell(0, GridCol::RxFreq), QStringLiteral("450.00625"));

        // 262.09 x 1000 is 262089.99... in binary; the stored value must still be 262.090 MHz.
        grid_->SetContext(0, 100, 300, 100, 300, 1);
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
        grid_->SetContext(step, 150, 174, 150, 174, 1);
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

QTEST_MAIN(ChannelGridTest)
#include "channel_grid_test.moc"
