// The signalling type, ANI, ENI, 5-tone table and alpha-tag dialogs, offscreen: the lists'
// exclusive choice and greyed fields, typing in the 5-tone and code fields, the ANI focus order,
// the alpha-tag editor's keys and focus rules, the modes, and the main window around them.
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialog_test_support.h"
#include "main_test_support.h"
#include "model/storage/datafile.h"
#include "model/image/emem.h"
#include "ui/dialogs/alpha_tag_dialog.h"
#include "ui/dialogs/settings_dialogs.h"
#include "ui/main/channel_grid.h"

using namespace qm54;
using namespace qm54::test;

namespace {

QString ListText(SettingsDialog& dialog, const char* name) { return dialog.ListAt(dialog.RowOf(name))->currentText(); }

bool Enabled(SettingsDialog& dialog, const char* name) { return dialog.Control(dialog.RowOf(name))->isEnabled(); }

// Types a character into the alpha-tag grid or editor, whichever has the focus.
void TypeInto(QWidget* widget, const QByteArray& keys) { QTest::keyClicks(widget, QString::fromLatin1(keys)); }

// The colour the alpha-tag grid paints a cell with, taken beside its right edge, clear of the
// text and the focus frame.
QColor PaintedCellColour(AlphaTagGrid* grid, int row, int column)
{
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    return image.pixelColor(QPoint(cell.right() - 5, cell.center().y()) * image.devicePixelRatio());
}

}  // namespace

class SignallingDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void signallingListsExcludeEachOtherAndGreyTheFields()
    {
        DialogFixture f;
        TfrmSignal dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        QVERIFY(Enabled(dialog, "DTMF") && Enabled(dialog, "FiveTone"));
        QVERIFY(!Enabled(dialog, "FiveToneMarkTime") && !Enabled(dialog, "FiveToneRepeatCode"));

        dialog.ListAt(dialog.RowOf("DTMF"))->setCurrentIndex(2);  // TX Enable, as a user picks it
        QVERIFY(Enabled(dialog, "FiveToneMarkTime") && Enabled(dialog, "FiveToneSpaceTime"));
        QVERIFY(!Enabled(dialog, "FiveToneRepeatCode"));

        dialog.ListAt(dialog.RowOf("FiveTone"))->setCurrentIndex(1);
        QCOMPARE(ListText(dialog, "DTMF"), QStringLiteral("off"));
        QVERIFY(Enabled(dialog, "FiveToneRepeatCode"));

        ValueEdit* mark = dialog.EditAt(dialog.RowOf("FiveToneMarkTime"));
        Focus(mark);
        QTest::keyClicks(mark, "999");
        Focus(dialog.OkButton());
        QCOMPARE(mark->text(), QStringLiteral("600 ms"));
        dialog.OkButton()->click();
        const TCEmem& emem = f.document.Emem();
        QCOMPARE(std::vector<int32_t>({emem.DtmfRx, emem.DtmfTx, emem.FiveToneRx, emem.FiveToneTx}),
                 std::vector<int32_t>({0, 0, 1, 0}));
        QCOMPARE(emem.FiveToneMarkTime, 600);
        QVERIFY(f.document.Modified());
    }

    void theNormalModeShowsEverySignallingDialogReadOnly()
    {
        DialogFixture f;
        f.document.Emem().FiveToneRx = 1;  // the dependency rule would enable the fields
        TfrmSignal signal(f.document, OperatingMode::Normal, f.prompter, nullptr);
        TfrmAni ani(f.document, OperatingMode::Normal, f.prompter, nullptr);
        TfrmToneTbl tones(f.document, OperatingMode::Normal, f.prompter, nullptr);
        for (SettingsDialog* dialog : std::initializer_list<SettingsDialog*>{&signal, &ani, &tones})
            for (int row = 0; dialog->Control(row) != nullptr; ++row) QVERIFY(!dialog->Control(row)->isEnabled());
    }

    void toneFieldsFollowTheSetListAndItsEiaExceptions()
    {
        DialogFixture f;
        TfrmToneTbl dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        QCOMPARE(ListText(dialog, "FiveToneSet"), QStringLiteral("ZVEI1"));
        dialog.ListAt(dialog.RowOf("FiveToneSet"))->setCurrentIndex(7);  // EIA
        ValueEdit* digit0 = dialog.EditAt(dialog.RowOf("FiveToneTable[0]"));
        QCOMPARE(digit0->text(), QStringLiteral("600 Hz"));
        QCOMPARE(dialog.EditAt(dialog.RowOf("FiveToneTable[14]"))->text(), QStringLiteral("459 Hz"));

        // Enter starts typing from the bare value, the EIA exception kept.
        Focus(digit0);
        QTest::keyClick(digit0, Qt::Key_Return);
        QCOMPARE(digit0->text(), QStringLiteral("600"));
        QTest::keyClick(digit0, Qt::Key_Return);
        QCOMPARE(digit0->text(), QStringLiteral("600 Hz"));

        ValueEdit* digit1 = dialog.EditAt(dialog.RowOf("FiveToneTable[1]"));
        Focus(digit1);
        QTest::keyClicks(digit1, "600");
        Focus(dialog.OkButton());
        QCOMPARE(digit1->text(), QStringLiteral("625 Hz"));
        QCOMPARE(ListText(dialog, "FiveToneSet"), QStringLiteral("USER"));
        QCOMPARE(digit0->text(), QStringLiteral("600 Hz"));  // setting the list does not reload the fields
        dialog.OkButton()->click();
        QCOMPARE(f.document.Emem().FiveToneTable[0], 600);
        QCOMPARE(f.document.Emem().FiveToneTable[1], 625);
    }

    void aniFocusStartsAtTheButtonsAndTheCodeIsCapitalised()
    {
        DialogFixture f;
        f.document.Emem().EniCode = "XY";
        TfrmAni dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        QCOMPARE(QApplication::focusWidget(), dialog.OkButton());
        const QList<QWidget*> order{dialog.CancelButton(), dialog.Control(dialog.RowOf("AniMode")),
                                    dialog.Control(dialog.RowOf("AniCode")), dialog.Control(dialog.RowOf("AniHeaderCode")),
                                    dialog.Control(dialog.RowOf("AniDelay"))};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        ValueEdit* code = dialog.EditAt(dialog.RowOf("AniCode"));
        Focus(code);
        QTest::keyClicks(code, "a7g");
        QCOMPARE(code->text(), QStringLiteral("A7"));
        Focus(dialog.OkButton());
        QCOMPARE(code->text(), QStringLiteral("00A7"));

        // A stored code that is not four digits shows as it is in the ENI dialog.
        TfrmEni eni(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        QCOMPARE(eni.EditAt(eni.RowOf("EniCode"))->text(), QStringLiteral("XY"));
    }

    void alphaTagEditorOpensCommitsAndRefusesADuplicate()
    {
        DialogFixture f;
        TfrmAlphaTag dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        AlphaTagGrid* grid = dialog.Grid();
        QCOMPARE(grid->currentColumn(), 0);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("----"));

        // A tag typed into a free row: the editor opens with it, Enter commits.
        grid->setCurrentCell(0, 1);
        QCOMPARE(dialog.HintText(), QStringLiteral("<ENTER>"));
        TypeInto(grid, "a");
        QVERIFY(dialog.Editor()->isVisible());
        QCOMPARE(dialog.Editor()->text(), QStringLiteral("A"));
        TypeInto(dialog.Editor(), "b!c");
        QCOMPARE(dialog.Editor()->text(), QStringLiteral("ABC"));
        QTest::keyClick(dialog.Editor(), Qt::Key_Return);
        QVERIFY(!dialog.Editor()->isVisible());
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("ABC     "));
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("0001"));
        QCOMPARE(QApplication::focusWidget(), grid);

        // An exclamation mark typed in the grid opens nothing.
        grid->setCurrentCell(1, 1);
        TypeInto(grid, "!");
        QVERIFY(!dialog.Editor()->isVisible());

        // A number, then the same number in another row: refused, the editor stays open.
        grid->setCurrentCell(3, 0);
        TypeInto(grid, "7");
        QTest::keyClick(dialog.Editor(), Qt::Key_Return);
        QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("0007"));
        QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("        "));
        grid->setCurrentCell(4, 0);
        TypeInto(grid, "7");
        QTest::keyClick(dialog.Editor(), Qt::Key_Return);
        QVERIFY(f.prompter.Saw("This code is already exsists."));
        QVERIFY(dialog.Editor()->isVisible());
        QCOMPARE(dialog.Editor()->selectedText(), QStringLiteral("7"));
        // Nor can the cell be left, nor OK take the focus, while the number is refused; Cancel can.
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentRow(), 4);
        dialog.OkButton()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(QApplication::focusWidget(), dialog.Editor());
        Focus(dialog.CancelButton());
        QCOMPARE(QApplication::focusWidget(), dialog.CancelButton());
        QCOMPARE(dialog.HintText(), QString());
        QVERIFY(dialog.Editor()->isVisible());
        Focus(dialog.Editor());
        // Esc brings back the text the editor opened with and commits it.
        QTest::keyClick(dialog.Editor(), Qt::Key_Escape);
        QVERIFY(!dialog.Editor()->isVisible());
        QVERIFY(dialog.isVisible());
        QCOMPARE(grid->item(4, 0)->text(), QStringLiteral("----"));
        QCOMPARE(grid->item(4, 1)->text(), QStringLiteral("--------"));

        // Enter opens the editor with the cell's text; clearing the number clears the entry.
        grid->setCurrentCell(3, 0);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(dialog.Editor()->text(), QStringLiteral("0007"));
        dialog.Editor()->clear();
        QTest::keyClick(dialog.Editor(), Qt::Key_Return);
        QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("----"));
        QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("--------"));
    }

    void alphaTagCommitKeepsTheCurrentCell()
    {
        struct Case {
            int row, column;
            const char* typed;
            const char* shown;  // the cell after the commit
        };
        const Case cases[] = {
            {47, AlphaTagTextColumn, "z", "Z       "},  // the last row: no jump to the first
            {47, AlphaTagCodeColumn, "12", "0012"},
            {20, AlphaTagTextColumn, "mid", "MID     "},
            {0, AlphaTagCodeColumn, "3", "0003"},
        };
        DialogFixture f;
        TfrmAlphaTag dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        AlphaTagGrid* grid = dialog.Grid();
        for (const Case& c : cases) {
            const QByteArray where = QByteArray::number(c.row) + "," + QByteArray::number(c.column);
            grid->setCurrentCell(c.row, c.column);
            TypeInto(grid, QByteArray(c.typed).left(1));  // opens the editor
            TypeInto(dialog.Editor(), QByteArray(c.typed).mid(1));
            QVERIFY2(dialog.Editor()->isVisible(), where);
            QTest::keyClick(dialog.Editor(), Qt::Key_Return);
            QVERIFY2(!dialog.Editor()->isVisible(), where);
            QCOMPARE(grid->currentRow(), c.row);
            QCOMPARE(grid->currentColumn(), c.column);
            QCOMPARE(grid->item(c.row, c.column)->text(), QString::fromLatin1(c.shown));
            QCOMPARE(QApplication::focusWidget(), grid);

            // Enter opens the editor again on the cell just edited; Esc commits it unchanged.
            QTest::keyClick(grid, Qt::Key_Return);
            QVERIFY2(dialog.Editor()->isVisible(), where);
            QCOMPARE(dialog.Editor()->geometry(), grid->visualItemRect(grid->item(c.row, c.column)));
            QCOMPARE(dialog.Editor()->text(), QString::fromLatin1(c.shown));
            QTest::keyClick(dialog.Editor(), Qt::Key_Escape);
            QVERIFY2(!dialog.Editor()->isVisible(), where);
            QCOMPARE(grid->currentRow(), c.row);
            QCOMPARE(grid->currentColumn(), c.column);
            QVERIFY(dialog.isVisible());
        }
    }

    void alphaTagOkSortsWithItsMessageAndEscCancels()
    {
        DialogFixture f;
        TCEmem& emem = f.document.Emem();
        emem.AlphaTagCode[0] = 9;
        emem.AlphaTagText[0] = "NINE    ";
        emem.AlphaTagCode[2] = 3;
        emem.AlphaTagText[2] = "THREE   ";
        {
            TfrmAlphaTag dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
            Show(dialog);
            QTest::keyClick(dialog.Grid(), Qt::Key_Escape);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(emem.AlphaTagCode[0], 9);
        }
        TfrmAlphaTag dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        // OK while the editor is open commits it first.
        dialog.Grid()->setCurrentCell(5, 1);
        TypeInto(dialog.Grid(), "x");
        dialog.OkButton()->click();
        QVERIFY(f.prompter.Saw("Alpha Tag will be sorted in order of table number"));
        QCOMPARE(std::vector<int32_t>(emem.AlphaTagCode.begin(), emem.AlphaTagCode.begin() + 4),
                 std::vector<int32_t>({1, 3, 9, -1}));
        QCOMPARE(emem.AlphaTagText[0], std::string("X       "));
        QCOMPARE(emem.AlphaTagText[1], std::string("THREE   "));
        QVERIFY(f.document.Modified());
    }

    void alphaTagsAreReadOnlyAndGreyInTheNormalMode()
    {
        DialogFixture f;
        f.document.Emem().AlphaTagCode[0] = 5;  // a gap-free table that is out of order nowhere
        TfrmAlphaTag dialog(f.document, OperatingMode::Normal, f.prompter, nullptr);
        Show(dialog);
        TypeInto(dialog.Grid(), "7");
        QTest::keyClick(dialog.Grid(), Qt::Key_Return);
        QVERIFY(!dialog.Editor()->isVisible());
        QCOMPARE(dialog.Grid()->item(0, 0)->background().color(), dialog.palette().color(QPalette::Button));
        // The current cell is as grey as the others: no highlight marks it.
        QCOMPARE(dialog.Grid()->currentRow(), 0);
        const QColor grey = dialog.palette().color(QPalette::Button);
        QCOMPARE(PaintedCellColour(dialog.Grid(), 1, 0), grey);
        QCOMPARE(PaintedCellColour(dialog.Grid(), 0, 0), grey);
        f.document.Emem().AlphaTagCode[0] = -1;
        f.document.Emem().AlphaTagCode[3] = 5;  // would need sorting
        TfrmAlphaTag gap(f.document, OperatingMode::Normal, f.prompter, nullptr);
        gap.OkButton()->click();
        QCOMPARE(f.document.Emem().AlphaTagCode[3], 5);
        QVERIFY(!f.prompter.Saw("sorted"));
        QVERIFY(!f.document.Modified());
    }

    void signallingMenuOpensItsDialogsAndTheGridFollows()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        for (const char* name : {"miSignalType", "miAni", "miEni", "miToneTable", "miAlphaTag"}) {
            auto* action = w.findChild<QAction*>(name);
            QVERIFY2(action && action->isEnabled(), name);
        }
        w.Doc().Emem().DtmfRx = 1;
        w.Doc().Emem().Channels.Items(0).IdMode = 1;
        w.Doc().ReplaceWorkingList();
        w.Grid()->Fill(w.Doc().Working());
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->ListAt(dialog->RowOf("DTMF"))->setCurrentIndex(0);
            dialog->OkButton()->click();
        });
        w.findChild<QAction*>("miSignalType")->trigger();
        QCOMPARE(w.Grid()->CellText(0, GridCol::IdMode), QStringLiteral("off"));
    }

    // Stored data can hold channels that use an identification the settings have switched off
    // (an Upload, an old file). The dialog's OK turns them off even when no setting it shows
    // changes, and that is a change to save: New asks, Undo takes it back.
    void okThatTurnsChannelsOffMarksTheDataModified()
    {
        struct Case {
            const char* action;
            int32_t idMode;  // of channel 1: 1 ANI/ENI, 2 CW-ID
        };
        for (const Case c : {Case{"miSignalType", 1}, Case{"miCwId", 2}}) {
            MainFixture f;
            {
                TCEmem stored;
                TMap54 map;
                SetDefaults(stored);
                stored.DtmfRx = stored.DtmfTx = stored.FiveToneRx = stored.FiveToneTx = 0;
                stored.CwIdEnable = 0;
                stored.Channels.Items(0).IdMode = c.idMode;
                QVERIFY(SaveDataFile(f.Path("site.Q54").toStdString(), stored, map, f.prompter));
            }
            TfrmMain w(f.Options({"-D"}));
            f.dialogs.openAnswers = {f.Path("site.Q54")};
            w.findChild<QAction*>("miOpen")->trigger();
            QCOMPARE(w.Emem().Channels.Items(0).IdMode, c.idMode);
            QVERIFY(!w.Doc().Modified());

            QTimer::singleShot(0, [] {
                auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->OkButton()->click();  // nothing chosen
            });
            w.findChild<QAction*>(c.action)->trigger();
            QCOMPARE(w.Emem().Channels.Items(0).IdMode, 0);
            QCOMPARE(w.Grid()->CellText(0, GridCol::IdMode), QStringLiteral("off"));
            QVERIFY2(w.Doc().Modified(), c.action);

            f.prompter.answers = {MsgResult::Closed};  // the save prompt, closed: New does not go on
            w.findChild<QAction*>("miNew")->trigger();
            QVERIFY(f.prompter.Saw("Do you want to save the file?"));
            QCOMPARE(w.Emem().Channels.Items(0).IdMode, 0);

            w.findChild<QAction*>("miUndo")->trigger();
            QCOMPARE(w.Emem().Channels.Items(0).IdMode, c.idMode);
            QVERIFY(!w.Doc().Modified());
            w.findChild<QAction*>("miRedo")->trigger();
            QCOMPARE(w.Emem().Channels.Items(0).IdMode, 0);
            QVERIFY(w.Doc().Modified());
        }
    }

    // A file edited by qm54 set opens in the window with the dialogs showing what was set.
    void aFileEditedByTheToolShowsInTheDialogs()
    {
        MainFixture f;
        const QString file = f.Path("site.q54");
        QProcess tool;
        tool.start(QStringLiteral(QM54_TOOL), {"new", file});
        QVERIFY(tool.waitForFinished());
        tool.start(QStringLiteral(QM54_TOOL), {"set", file, "FiveTone=TX Enable", "FiveToneSet=CCIR", "EniCode=beef",
                                               "AlphaTagText[0]=north", "--mode", "dealer"});
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitCode(), 0);
        TfrmMain w(f.Options({file}));
        TfrmSignal signal(w.Doc(), OperatingMode::Dealer, f.prompter, nullptr);
        QCOMPARE(ListText(signal, "FiveTone"), QStringLiteral("TX Enable"));
        TfrmToneTbl tones(w.Doc(), OperatingMode::Dealer, f.prompter, nullptr);
        QCOMPARE(ListText(tones, "FiveToneSet"), QStringLiteral("CCIR"));
        TfrmEni eni(w.Doc(), OperatingMode::Dealer, f.prompter, nullptr);
        QCOMPARE(eni.EditAt(eni.RowOf("EniCode"))->text(), QStringLiteral("BEEF"));
        TfrmAlphaTag tags(w.Doc(), OperatingMode::Dealer, f.prompter, nullptr);
        QCOMPARE(tags.Grid()->item(0, 1)->text(), QStringLiteral("NORTH   "));
        QCOMPARE(tags.Grid()->item(0, 0)->text(), QStringLiteral("0001"));
    }
};

QTEST_MAIN(SignallingDialogsTest)
#include "signalling_dialog_widgets_test.moc"
