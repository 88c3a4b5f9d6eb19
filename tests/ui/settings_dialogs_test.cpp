// The settings dialogs, offscreen: the value edit field's display and typing states, the window
// keys, the mode table of every dialog, the hardware dialog's questions and what the main window
// does after each dialog.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialog_test_support.h"
#include "main_test_support.h"
#include "model/image/emem.h"
#include "model/settings/dialog_behaviour.h"
#include "ui/dialogs/hardware_dialog.h"
#include "ui/dialogs/settings_dialogs.h"
#include "ui/main/channel_grid.h"

using namespace qm54;
using namespace qm54::test;

namespace {

// Runs action once the next modal dialog is open, then closes it with OK (or Cancel).
template <class Action>
void WhenDialogOpens(Action action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        action(*dialog);
    });
}

void PressOk(SettingsDialog& dialog)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("OK")) button->click();
}

}  // namespace

class SettingsDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void firstKeyReplacesTheValueAndLeavingFormatsIt()
    {
        DialogFixture f;
        TfrmHardware dialog(f.document, OperatingMode::Manufacture, f.prompter, nullptr);
        Show(dialog);
        ValueEdit* ifField = dialog.EditAt(dialog.RowOf("IntermediateFreq"));
        QCOMPARE(ifField->text(), QStringLiteral("21.40 MHz"));
        Focus(ifField);
        QVERIFY(ifField->isReadOnly());
        QTest::keyClick(ifField, Qt::Key_5);
        QCOMPARE(ifField->text(), QStringLiteral("5"));
        QVERIFY(!ifField->isReadOnly());
        QVERIFY(dialog.EditActive());
        Focus(dialog.Control(dialog.RowOf("TxReferenceFreq")));
        QCOMPARE(ifField->text(), QStringLiteral("5.00 MHz"));
        QVERIFY(!dialog.EditActive());

        // Enter in display state gives the bare number to type over; Enter again commits.
        Focus(ifField);
        QTest::keyClick(ifField, Qt::Key_Return);
        QCOMPARE(ifField->text(), QStringLiteral("5"));
        QCOMPARE(ifField->selectedText(), QStringLiteral("5"));
        QTest::keyClicks(ifField, "123456");
        QCOMPARE(ifField->text(), QStringLiteral("12345"));  // at most 5 typed characters
        QTest::keyClick(ifField, Qt::Key_Return);
        QCOMPARE(ifField->text(), QStringLiteral("99.99 MHz"));

        // Characters the filter refuses and Ctrl keys, paste included, type nothing.
        QTest::keyClick(ifField, Qt::Key_A);
        QCOMPARE(ifField->text(), QStringLiteral("99.99 MHz"));
        QApplication::clipboard()->setText(QStringLiteral("7"));
        QTest::keyClick(ifField, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ifField->text(), QStringLiteral("99.99 MHz"));
        // Backspace as the first key replaces the value too.
        QTest::keyClick(ifField, Qt::Key_Backspace);
        QCOMPARE(ifField->text(), QString());
    }

    void escapeRestoresWhileTypingAndThenCancels()
    {
        DialogFixture f;
        TfrmTimer dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        ValueEdit* tot = dialog.EditAt(dialog.RowOf("BaseTot"));
        Focus(tot);
        QTest::keyClicks(tot, "61");
        QTest::keyClick(tot, Qt::Key_Escape);
        QCOMPARE(tot->text(), QStringLiteral("3.0 Min"));
        QVERIFY(dialog.isVisible());
        QTest::keyClick(tot, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(f.document.Emem().BaseTot, 6);
        QVERIFY(!f.document.Modified());
    }

    void controlsFollowTheModeTable()
    {
        for (const DialogTable& table : AllDialogs()) {
            for (const OperatingMode mode : {OperatingMode::Normal, OperatingMode::Dealer, OperatingMode::Manufacture}) {
                DialogFixture f;
                SettingsDialog dialog(table, f.document, mode, f.prompter, nullptr);
                // The mode's rights, and the signalling fields greyed while their lists are off.
                const DialogState shown = ShowDialog(table, f.document.Emem());
                for (size_t i = 0; i < table.Rows.size(); ++i)
                    QCOMPARE(dialog.Control(int(i))->isEnabled(),
                             MayEdit(table.Rows[i].Rights, mode) && GreyedBecause(table, shown, int(i)).empty());
                // OK in any mode with nothing typed writes the values back unchanged.
                const TCEmem before = f.document.Emem();
                Show(dialog);
                PressOk(dialog);
                QVERIFY(f.document.Emem() == before);
                QVERIFY(!f.document.Modified());
            }
        }
    }

    void altLetterReachesOnlyEnabledControlsAndHintsFollowFocus()
    {
        DialogFixture f;
        TfrmHardware dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        QWidget* band = dialog.Control(dialog.RowOf("Band"));
        Focus(band);
        QCOMPARE(dialog.HintText(), QStringLiteral("<SELECT>"));
        QTest::keyClick(&dialog, Qt::Key_I, Qt::AltModifier);  // "&IF": disabled in the Dealer mode
        QCOMPARE(QApplication::focusWidget(), band);
        QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);  // "&CH Step"
        QCOMPARE(QApplication::focusWidget(), dialog.Control(dialog.RowOf("ChannelStep")));

        TfrmCWID cw(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(cw);
        Focus(cw.Control(cw.RowOf("CwIdDotTime")));
        QCOMPARE(cw.HintText(), QStringLiteral("<ENTER>"));
    }

    void bandQuestionPutsTheBandsIfIntoTheField()
    {
        DialogFixture f;
        TfrmHardware dialog(f.document, OperatingMode::Dealer, f.prompter, nullptr);
        Show(dialog);
        DropDownList* band = dialog.ListAt(dialog.RowOf("Band"));
        ValueEdit* ifField = dialog.EditAt(dialog.RowOf("IntermediateFreq"));

        for (const MsgResult answer : {MsgResult::No, MsgResult::Closed}) {
            f.prompter.answers = {answer};
            band->setCurrentIndex(BandUhf);
            QCOMPARE(band->currentIndex(), BandVhf);
            QCOMPARE(ifField->text(), QStringLiteral("21.40 MHz"));
        }
        QVERIFY(f.prompter.Saw("NOTE!! Changing the band invalidate all channel frequencies.\r\n"
                               "These will be changed to the band default.ok?"));
        f.prompter.answers = {MsgResult::Yes};
        band->setCurrentIndex(BandUhf);
        QCOMPARE(ifField->text(), QStringLiteral("73.35 MHz"));
        // The new IF does not make the field look editable: every disabled control keeps the
        // button face, the IF among them in the Dealer mode.
        QVERIFY(!ifField->isEnabled());
        for (int row = 0; dialog.Control(row) != nullptr; ++row) {
            QWidget* control = dialog.Control(row);
            const QPalette::ColorRole expected = control->isEnabled() ? QPalette::Base : QPalette::Button;
            QVERIFY2(control->palette().color(QPalette::Base) == QApplication::palette().color(expected),
                     qPrintable(control->objectName()));
        }

        DropDownList* step = dialog.ListAt(dialog.RowOf("ChannelStep"));
        f.prompter.answers = {MsgResult::No};
        step->setCurrentIndex(1);
        QCOMPARE(step->currentIndex(), 0);
        f.prompter.answers = {MsgResult::Yes};
        step->setCurrentIndex(1);
        QCOMPARE(step->currentIndex(), 1);

        PressOk(dialog);
        QVERIFY(dialog.BandChanged());
        QCOMPARE(f.document.Emem().IntermediateFreq, 7335);  // stored although Dealer cannot edit it
        QCOMPARE(f.document.Emem().ChannelStep, 1);
        QVERIFY(f.document.Modified());
    }

    void mainWindowAppliesBandDefaultsAndRedrawsAfterHardware()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        f.prompter.answers = {MsgResult::Yes};
        WhenDialogOpens([](SettingsDialog& dialog) {
            dialog.ListAt(dialog.RowOf("Band"))->setCurrentIndex(BandUhf);
            PressOk(dialog);
        });
        w.OpenCommonDialog(DialogId::Hardware);
        QCOMPARE(w.Emem().Band, BandUhf);
        QCOMPARE(w.Emem().Channels.Items(5).RxFreq.Value(), 450.0);
        QCOMPARE(w.Emem().Channels.Items(5).TxFreq.Value(), 455.0);
        QCOMPARE(w.Grid()->CellText(0, GridCol::RxFreq), QStringLiteral("450.00000"));
        QVERIFY(w.Modified());
    }

    // A step change moves every channel onto the new raster: the redrawn grid shows it there, and
    // that is what the channel holds.
    void mainWindowMovesChannelsOntoTheNewRasterAfterAStepChange()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        w.Doc().Emem().Channels.Items(0).RxFreq.SetValue(150.003);
        w.Doc().Emem().Channels.Items(1).RxFreq.SetValue(150.00625);
        w.Doc().ReplaceWorkingList();
        w.Grid()->Fill(w.Doc().Working());
        f.prompter.answers = {MsgResult::Yes};
        WhenDialogOpens([](SettingsDialog& dialog) {
            dialog.ListAt(dialog.RowOf("ChannelStep"))->setCurrentIndex(1);  // 2.5/6.25kHz
            PressOk(dialog);
        });
        w.OpenCommonDialog(DialogId::Hardware);
        QCOMPARE(w.Grid()->CellText(0, GridCol::RxFreq), QStringLiteral("150.00250"));
        QCOMPARE(w.Emem().Channels.Items(0).RxFreq.ScaledTrunc(3), int64_t(150002));
        QCOMPARE(w.Grid()->CellText(1, GridCol::RxFreq), QStringLiteral("150.00625"));
        QCOMPARE(w.Emem().Channels.Items(1).RxFreq.ScaledTrunc(3), int64_t(150006));
    }

    void cwIdDisabledTurnsTheGridsCwIdChannelsOff()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        w.Doc().Emem().CwIdEnable = 1;
        w.Doc().Emem().Channels.Items(0).IdMode = 2;
        w.Doc().ReplaceWorkingList();
        w.Grid()->Fill(w.Doc().Working());
        WhenDialogOpens([](SettingsDialog& dialog) {
            dialog.ListAt(dialog.RowOf("CwIdEnable"))->setCurrentIndex(0);
            PressOk(dialog);
        });
        w.OpenCommonDialog(DialogId::CwId);
        QCOMPARE(w.Emem().Channels.Items(0).IdMode, 0);
        QCOMPARE(w.Working().Items(0).IdMode, 0);
        QCOMPARE(w.Grid()->CellText(0, GridCol::IdMode), QStringLiteral("off"));
    }

    void marketShowsThePlaceholderSerialAndValidatesAtOk()
    {
        DialogFixture f;
        TfrmMarket dialog(f.document, OperatingMode::Manufacture, f.prompter, nullptr);
        Show(dialog);
        ValueEdit* serial = dialog.EditAt(dialog.RowOf("SerialNumber"));
        QCOMPARE(serial->text(), QStringLiteral("00000000"));
        Focus(serial);
        QTest::keyClicks(serial, "123");
        Focus(dialog.Control(dialog.RowOf("MarketCode")));
        QCOMPARE(serial->text(), QStringLiteral("123     "));
        dialog.ListAt(dialog.RowOf("MarketCode"))->setCurrentIndex(1);
        PressOk(dialog);
        QCOMPARE(f.document.Emem().SerialNumber, std::string("12345678"));
        QCOMPARE(f.document.Emem().MarketCode, MarketUsa);
        QVERIFY(f.document.Modified());
    }
};

QTEST_MAIN(SettingsDialogsTest)
#include "settings_dialogs_test.moc"
