// The service dialogs, offscreen: the Rx, Tx and Tx power adjustment dialogs' normalising, the
// frequency order rule, the mode rules and OK and Cancel; the alignment window against qm54-sim
// over a pseudo-terminal and the real termios driver.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "link/radio_port.h"
#include "link/trace.h"
#include "model/storage/user_folders.h"
#include "main_test_support.h"
#include "sim_test_support.h"
#include "model/image/emem.h"
#include "ui/service/adjust_dialogs.h"
#include "ui/service/alignment_window.h"

#include <QAction>
#include <QTimer>

using namespace qm54;
using namespace qm54::test;

namespace {

struct Fixture {
    ScriptedPrompter prompter;
    Document document{prompter, "/nonexistent/defaultv.Q54"};
};

void Show(QDialog& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

// Focuses the field, types text over its value and commits it with Enter.
void Type(ValueEdit* field, const QString& text)
{
    field->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

void Click(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(button);
    button->click();
}

// Runs action on the next modal dialog of type T once it is open (the alignment window opens only
// after its entry handshake).
template <class T, class Action>
void WhenModal(Action action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            action(*dialog);
        }
    });
    poll->start(20);
}

LinkTiming QuickTiming()
{
    LinkTiming timing;
    timing.CompletePauseMs = 0;
    timing.AlignPauseMs = 50;
    timing.NoDataMs = 1500;
    return timing;
}

// The simulator, the document and the alignment window for one point over the real driver.
struct Bench {
    QTemporaryDir folder;
    Simulator sim;
    Fixture f;
    std::unique_ptr<TCRsDrv> port;
    std::unique_ptr<TfrmAlignment> window;

    bool Open(int point, const QStringList& simArgs)
    {
        if (!sim.Start(folder.path(), simArgs)) return false;
        port = OpenRadioPort(sim.link.toStdString(), 0, f.prompter);
        if (!port) return false;
        window = std::make_unique<TfrmAlignment>(point, f.document, *port, f.prompter, QuickTiming());
        return true;
    }
};

}  // namespace

class ServiceDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void rxAdjustNormalisesAndKeepsThePointOrder()
    {
        Fixture f;
        TfrmRxAdjust dialog(f.document, OperatingMode::Dealer, nullptr);
        Show(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Rx Adjustment"));
        ValueEdit* lowest = dialog.Field("RxAdjustFreq", 0);
        ValueEdit* low = dialog.Field("RxAdjustFreq", 1);
        QCOMPARE(low->text(), QStringLiteral("160.0"));
        Type(lowest, QStringLiteral("150,5"));
        QCOMPARE(lowest->text(), QStringLiteral("150.5"));
        Type(low, QStringLiteral("180"));  // above High (170.0): back to the entry text
        QCOMPARE(low->text(), QStringLiteral("160.0"));
        Type(low, QStringLiteral("165"));
        QCOMPARE(low->text(), QStringLiteral("165.0"));
        Type(lowest, QStringLiteral("0"));  // the first point may go down to 0
        QCOMPARE(lowest->text(), QStringLiteral("0.0"));
        ValueEdit* highest = dialog.Field("RxAdjustFreq", 3);
        Type(highest, QStringLiteral("1200"));  // the last point up to 999.9
        QCOMPARE(highest->text(), QStringLiteral("999.9"));
        ValueEdit* tune = dialog.Field("RxTuning", 2);
        Type(tune, QStringLiteral("300"));
        QCOMPARE(tune->text(), QStringLiteral("255"));
        Type(tune, QString());
        QCOMPARE(tune->text(), QStringLiteral("0"));

        // Enter starts typing from the bare value; Esc while typing puts the entry text back.
        low->setFocus();
        QTest::keyClick(low, Qt::Key_Return);
        QCOMPARE(low->text(), QStringLiteral("165"));
        QCOMPARE(low->selectedText(), QStringLiteral("165"));
        QTest::keyClicks(low, QStringLiteral("1"));
        QTest::keyClick(low, Qt::Key_Escape);
        QCOMPARE(low->text(), QStringLiteral("165.0"));
        QVERIFY(dialog.isVisible());
        QTest::keyClick(low, Qt::Key_Escape);  // outside typing: Cancel
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f.document.Emem().RxAdjustFreq[1].Value(), 160.0);
        QVERIFY(!f.document.Modified());
    }

    void okStoresAndComparesWithTheBackup()
    {
        Fixture f;
        {
            TfrmRxAdjust unchanged(f.document, OperatingMode::Manufacture, nullptr);
            Show(unchanged);
            Click(unchanged, "btnOK");
            QCOMPARE(unchanged.result(), int(QDialog::Accepted));
            QVERIFY(!f.document.Modified());
        }
        {
            TfrmRxAdjust dialog(f.document, OperatingMode::Manufacture, nullptr);
            Show(dialog);
            Type(dialog.Field("SqlHysteresis"), QStringLiteral("77"));
            Type(dialog.Field("RxAdjustFreq", 2), QStringLiteral("171.5"));
            Click(dialog, "btnOK");
            QVERIFY(f.document.Modified());
            QCOMPARE(f.document.Emem().SqlHysteresis, 77);
            QCOMPARE(f.document.Emem().RxAdjustFreq[2].ScaledTrunc(1), 1715);
        }
        {
            Fixture g;
            TfrmTxPower power(g.document, OperatingMode::Dealer, nullptr);
            Show(power);
            const struct {
                int channel;
                const char* typed;
                const char* shown;
                int stored;
            } cases[] = {{0, "-5", "-5", -5}, {1, "+7", "7", 7}, {2, "-200", "-128", -128}, {3, "300", "127", 127}, {4, "", "0", 0}};
            for (const auto& c : cases) {
                Type(power.Field("TxPowerAdjust", c.channel), QString::fromLatin1(c.typed));
                QCOMPARE(power.Field("TxPowerAdjust", c.channel)->text(), QString::fromLatin1(c.shown));
            }
            Click(power, "btnOK");
            for (const auto& c : cases) QCOMPARE(g.document.Emem().TxPowerAdjust[size_t(c.channel)], c.stored);
            QVERIFY(g.document.Modified());
        }
    }

    void modesDecideWhatCanBeEdited()
    {
        Fixture f;
        f.document.Emem().TxPowerDisplayHigh = 42;
        {
            TfrmRxAdjust normal(f.document, OperatingMode::Normal, nullptr);
            QVERIFY(!normal.Field("RxAdjustFreq", 0)->isEnabled());
            QVERIFY(!normal.Field("NsqThreshold")->isEnabled());
            TfrmTxPower power(f.document, OperatingMode::Normal, nullptr);
            QVERIFY(!power.Field("TxPowerAdjust", 15)->isEnabled());
        }
        TfrmTxAdjust dealer(f.document, OperatingMode::Dealer, nullptr);
        Show(dealer);
        QVERIFY(dealer.Field("DcsDevNarrow", 3)->isEnabled());
        QVERIFY(!dealer.Field("TxPowerDisplayHigh")->isEnabled());
        QCOMPARE(dealer.Field("TxPowerDisplayHigh")->text(), QStringLiteral("42"));
        QTest::keyClick(&dealer, Qt::Key_I, Qt::AltModifier);  // the disabled field takes no focus
        QVERIFY(QApplication::focusWidget() != dealer.Field("TxPowerDisplayHigh"));
        QTest::keyClick(&dealer, Qt::Key_H, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), dealer.Field("TxPowerHigh", 0));
        Click(dealer, "btnOK");
        QCOMPARE(f.document.Emem().TxPowerDisplayHigh, 42);
        QVERIFY(!f.document.Modified());

        TfrmTxAdjust factory(f.document, OperatingMode::Manufacture, nullptr);
        Show(factory);
        Type(factory.Field("TxPowerDisplayLow"), QStringLiteral("150"));
        QCOMPARE(factory.Field("TxPowerDisplayLow")->text(), QStringLiteral("99"));
        Type(factory.Field("TxAdjustFreq", 3), QStringLiteral("170"));  // not above High: reverts
        QCOMPARE(factory.Field("TxAdjustFreq", 3)->text(), QStringLiteral("174.0"));
    }

    void alignmentAgainstTheSimulator()
    {
        Bench bench;
        QVERIFY(bench.Open(1, {"--status", "0A,7F,00"}));
        Fixture& f = bench.f;
        TCEmem opened;
        opened = f.document.Emem();
        TMap54 image;
        image = f.document.Map();
        {
            TfrmAlignment& window = *bench.window;
            QCOMPARE(window.windowTitle(), QStringLiteral("Alignment Mode (Low)"));
            QVERIFY(window.Enter());
            Show(window);
            QVERIFY(window.Switch(AlignSwitch::RxOff)->isChecked());
            QVERIFY(!window.Switch(AlignSwitch::TrxOn)->isEnabled());
            QVERIFY(!window.ToneField()->isEnabled());
            window.WidthList()->setCurrentIndex(1);
            QVERIFY(window.Field("MaxDevNarrow", 1)->isEnabled());
            QVERIFY(!window.Field("MaxDevWide", 1)->isEnabled());

            Type(window.Field("SqlThreshold", 1), QStringLiteral("300"));
            window.Switch(AlignSwitch::RxOn)->click();
            QVERIFY(window.Switch(AlignSwitch::RxOn)->isChecked());
            QVERIFY(!window.Switch(AlignSwitch::RxOff)->isChecked());
            QCOMPARE(f.document.Emem().SqlThreshold[1], 255);  // committed by the switch
            window.Switch(AlignSwitch::RxOn)->click();  // unchecking "on" sends "off"
            QVERIFY(window.Switch(AlignSwitch::RxOff)->isChecked());

            window.EncoderList()->setCurrentIndex(2);
            QVERIFY(window.CodeField()->isEnabled());
            QVERIFY(window.Field("DcsDevNarrow", 1)->isEnabled());
            window.Switch(AlignSwitch::TxOn)->click();
            window.StatusButton()->click();
            QCOMPARE(window.StatusTexts(), (std::array<QString, 3>{"0A", "7F", "00"}));
            QVERIFY(f.prompter.Saw("Upload is completed"));
            QVERIFY(!f.prompter.Saw("Problem detected"));
            Click(window, "btnCancel");
        }
        QVERIFY(f.document.Emem() == opened);  // every commit undone
        QVERIFY(f.document.Map() == image);
        QVERIFY(!f.document.Modified());
        const QString log = bench.sim.Log();
        QVERIFY2(log.contains("# align RX on: mode Base, width Narrow, rx 16 00 FF"), qPrintable(log));
        QVERIFY(log.contains("# align RX off"));
        QVERIFY(log.contains("# align TX on: mode Base, width Narrow, tx "));
        QVERIFY(log.contains("# align status: VR 0A NSQ 7F RSSI 00"));
        QVERIFY(log.contains("rx 27"));
        QVERIFY2(log.contains("rx 28"), qPrintable(log.right(400)));
    }

    void alignmentOkKeepsTheCommittedValues()
    {
        Bench bench;
        QVERIFY(bench.Open(3, {"--fault", "ack@align"}));
        Fixture& f = bench.f;
        TfrmAlignment& window = *bench.window;
        QVERIFY(window.Enter());
        Show(window);
        window.ModeList()->setCurrentIndex(1);
        QVERIFY(window.Switch(AlignSwitch::TrxOn)->isEnabled());
        Type(window.Field("TxPowerHigh", 3), QStringLiteral("190"));
        window.Switch(AlignSwitch::TrxOn)->click();  // acknowledged 0x06 0x06: no message
        QVERIFY(window.Switch(AlignSwitch::TrxOn)->isChecked());
        QVERIFY(f.prompter.texts.empty());
        Click(window, "btnOK");
        QCOMPARE(f.document.Emem().TxPowerHigh[3], 190);
        QVERIFY(f.document.Modified());
    }

    void alignmentEntryFailsWithoutAnAnswer()
    {
        Bench bench;
        QVERIFY(bench.Open(0, {"--fault", "start"}));
        QVERIFY(!bench.window->Enter());
        QCOMPARE(bench.f.prompter.texts,
                 std::vector<std::string>{"Problem detected with connection to\r\nInterface Box. Transfer aborted."});
    }

    // The menu entries: in the Manufacture mode Common > Alignment > Low opens the window against
    // the simulator with the main window disabled; Rx Adjustment opens its dialog.
    void menuEntriesOpenTheirDialogs()
    {
        MainFixture m;
        QTemporaryDir folder;
        Simulator sim;
        QVERIFY(sim.Start(folder.path()));
        StartOptions options = m.Options({"-M"});
        options.AskPassword = [](QWidget*) { return std::optional<QString>(QStringLiteral("tidewater-71")); };
        options.PortDevice = sim.link;
        options.Timing = QuickTiming();
        TfrmMain w(options);
        w.show();
        QCOMPARE(w.Mode(), OperatingMode::Manufacture);

        bool sawWindow = false;
        bool mainDisabled = false;
        WhenModal<TfrmAlignment>([&](TfrmAlignment& found) {
            TfrmAlignment* window = &found;
            sawWindow = true;
            mainDisabled = !w.isEnabled();
            QCOMPARE(window->windowTitle(), QStringLiteral("Alignment Mode (Low)"));
            window->Field("RxTuning", 1)->ShowValue(QStringLiteral("77"));
            window->Switch(AlignSwitch::RxOn)->click();
            Click(*window, "btnOK");
        });
        w.findChild<QAction*>("miAlign1")->trigger();
        QVERIFY(sawWindow);
        QVERIFY(mainDisabled);
        QVERIFY(w.isEnabled());
        QCOMPARE(w.Doc().Emem().RxTuning[1], 77);
        QVERIFY(w.Doc().Modified());
        QVERIFY2(sim.Log().contains("# align RX on"), qPrintable(sim.Log()));
        // The session left a serial trace: the bytes of the command and of the leaving.
        QFile trace(QString::fromStdString(NewestTrace(TraceFolder())));
        QVERIFY2(trace.open(QIODevice::ReadOnly), qPrintable(trace.fileName()));
        const QString traced = QString::fromUtf8(trace.readAll());
        QVERIFY2(traced.startsWith(QStringLiteral("# alignment ")), qPrintable(traced));
        QVERIFY2(traced.contains(QStringLiteral(" tx B1")) && traced.contains(QStringLiteral("== result: alignment left")),
                 qPrintable(traced));

        bool sawRx = false;
        WhenModal<TfrmRxAdjust>([&](TfrmRxAdjust& found) {
            TfrmRxAdjust* dialog = &found;
            sawRx = dialog->Field("RxTuning", 1)->text() == QStringLiteral("77");
            Click(*dialog, "btnCancel");
        });
        w.findChild<QAction*>("miRxAdjust")->trigger();
        QVERIFY(sawRx);
        QVERIFY(m.prompter.texts.empty());
    }
};

QTEST_MAIN(ServiceDialogsTest)
#include "service_dialogs_test.moc"
