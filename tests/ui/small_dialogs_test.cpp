// The configuration, column visibility, password and about dialogs, offscreen, and what the main
// window does with their answers.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "loopback_peer.h"
#include "main_test_support.h"
#include "model/document/startup.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/main/channel_grid.h"
#include "ui/dialogs/config_dialog.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/dialogs/visible_dialog.h"
#include "ui/common/connect_progress.h"

using namespace qm54;
using namespace qm54::test;

namespace {

// A sysfs tree with serial ports that have a UART behind them.
std::string SysfsWithPorts(const QTemporaryDir& dir, std::initializer_list<const char*> names)
{
    const std::filesystem::path root = dir.path().toStdString();
    for (const char* name : names) {
        const auto tty = root / "class" / "tty" / name;
        std::filesystem::create_directories(tty);
        std::ofstream(tty / "type") << "4\n";
    }
    std::filesystem::create_directories(root / "class" / "tty");
    return root.string();
}

void Click(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    dialog.findChild<QDialogButtonBox*>()->button(which)->click();
}

}  // namespace

class SmallDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void configurationChoosesTheFirstEntryHoldingTheCurrentPort()
    {
        QTemporaryDir sys;
        ScriptedPrompter prompter;
        TfrmConfig config("/dev/ttyS1", prompter, 0, SysfsWithPorts(sys, {"ttyS10", "ttyS11"}));
        QCOMPARE(config.List()->count(), 3);  // the two ports, then the network entry
        QCOMPARE(config.List()->currentText(), QStringLiteral("ttyS10"));  // it holds "ttyS1"
        config.List()->setCurrentIndex(1);
        Click(config, QDialogButtonBox::Ok);
        QCOMPARE(config.result(), int(QDialog::Accepted));
        QCOMPARE(config.Device(), std::string("/dev/ttyS11"));
        QVERIFY(prompter.Saw("Problem on COM port"));  // no such device here: taken all the same
        // The test open's detail says why, from what the system shows.
        QVERIFY2(prompter.details.back().find("\n/dev/ttyS11 does not exist.\nSerial ports: ttyS10, ttyS11.") !=
                     std::string::npos,
                 prompter.details.back().c_str());
    }

    void configurationWithNoPortsKeepsTheCurrentOne()
    {
        QTemporaryDir sys;
        ScriptedPrompter prompter;
        TfrmConfig config("/dev/ttyUSB0", prompter, 0, SysfsWithPorts(sys, {}));
        QCOMPARE(config.List()->count(), 1);  // the network entry only, not chosen
        QCOMPARE(config.List()->currentIndex(), -1);
        Click(config, QDialogButtonBox::Ok);
        QCOMPARE(prompter.texts, std::vector<std::string>{"Problem on COM port"});
        QCOMPARE(config.Device(), std::string("/dev/ttyUSB0"));
        QVERIFY(!config.Chosen());
    }

    // The network entry: its address typed as HOST:PORT, test-opened, and stored as a port name;
    // an address that cannot be read keeps the dialog open.
    void configurationTakesANetworkPort()
    {
        QTemporaryDir sys;
        const std::string root = SysfsWithPorts(sys, {"ttyS0"});
        qm54test::LoopbackListener listening;
        const std::string address = "127.0.0.1:" + std::to_string(listening.Port());
        const struct {
            std::string typed;
            int kind;
            bool accepted;
            std::string device;
            std::string says;  // in the message's detail; empty: no message
        } cases[] = {
            {address, 1, true, "tcp://" + address, ""},
            {"127.0.0.1:" + std::to_string(qm54test::UnusedLoopbackPort()), 0, true, "", "Nothing listens at"},
            {"127.0.0.1", 0, false, "/dev/ttyS0", "the port number is missing"},
        };
        for (const auto& c : cases) {
            ScriptedPrompter prompter;
            TfrmConfig config("/dev/ttyS0", prompter, 0, root);
            QVERIFY(!config.NetworkAddress()->isEnabled());
            config.List()->setCurrentIndex(config.List()->findText(QString::fromLatin1(TfrmConfig::NetworkEntry())));
            QVERIFY(config.NetworkAddress()->isEnabled());
            config.NetworkAddress()->setText(QString::fromStdString(c.typed));
            config.NetworkKind()->setCurrentIndex(c.kind);
            config.show();
            Click(config, QDialogButtonBox::Ok);
            QCOMPARE(config.isVisible(), !c.accepted);
            if (!c.device.empty()) QCOMPARE(config.Device(), c.device);
            else QCOMPARE(config.Device(), "rfc2217://" + c.typed);
            QCOMPARE(prompter.texts.empty(), c.says.empty());
            if (!c.says.empty())
                QVERIFY2(prompter.details.back().find(c.says) != std::string::npos, prompter.details.back().c_str());
        }
        // Opened again on a network port: the entry is chosen with its address and kind.
        ScriptedPrompter prompter;
        TfrmConfig config("tcp://[::1]:2001", prompter, 0, root);
        QCOMPARE(config.List()->currentText(), QString::fromLatin1(TfrmConfig::NetworkEntry()));
        QCOMPARE(config.NetworkAddress()->text(), QStringLiteral("[::1]:2001"));
        QCOMPARE(config.NetworkKind()->currentIndex(), 1);
    }

    // A server that takes the connection and never answers: the Connecting window's Cancel ends
    // the attempt at once, with no message; without it the attempt would last its 5 s.
    void connectingIsCancelledFromItsWindow()
    {
        qm54test::LoopbackListener silent;
        ScriptedPrompter prompter;
        QTimer::singleShot(200, [] {
            auto* connecting = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            QVERIFY(connecting);
            QCOMPARE(connecting->objectName(), QStringLiteral("frmConnecting"));
            connecting->cancel();
        });
        QElapsedTimer took;
        took.start();
        const auto port = OpenPortFromWindow("rfc2217://127.0.0.1:" + std::to_string(silent.Port()), 0, prompter, nullptr);
        QVERIFY(!port);
        QVERIFY2(took.elapsed() < 2000, qPrintable(QString::number(took.elapsed())));
        QVERIFY(prompter.texts.empty());
    }

    // With no port to choose, a --port of this run is not taken into the settings.
    void mainWindowKeepsItsPortWhenNoneCanBeChosen()
    {
        MainFixture f;
        QTemporaryDir sys;
        StartOptions options = f.Options();
        options.PortDevice = QStringLiteral("/dev/pts/99");
        options.SysfsRoot = SysfsWithPorts(sys, {});
        TfrmMain w(options);
        QTimer::singleShot(0, [] {
            auto* config = qobject_cast<TfrmConfig*>(QApplication::activeModalWidget());
            QVERIFY(config);
            Click(*config, QDialogButtonBox::Ok);
        });
        w.FileConfigure();
        QCOMPARE(w.PortDevice(), QStringLiteral("/dev/pts/99"));
        QVERIFY(w.close());
        QVERIFY(!f.ReadText("QM54Win.ini").contains("/dev/pts/99"));
    }

    void mainWindowTakesTheConfiguredPort()
    {
        MainFixture f;
        QTemporaryDir sys;
        StartOptions options = f.Options();
        options.PortDevice = QStringLiteral("/dev/pts/99");
        options.SysfsRoot = SysfsWithPorts(sys, {"ttyS3"});
        TfrmMain w(options);
        QTimer::singleShot(0, [] {
            auto* config = qobject_cast<TfrmConfig*>(QApplication::activeModalWidget());
            QVERIFY(config);
            Click(*config, QDialogButtonBox::Ok);
        });
        w.FileConfigure();
        QCOMPARE(w.PortDevice(), QStringLiteral("/dev/ttyS3"));
    }

    void visibleTicksTheShownGroupsAndHidesTheUnticked()
    {
        MainFixture f;
        TfrmMain w(f.Options());
        QTimer::singleShot(0, [] {
            auto* visible = qobject_cast<TfrmVisible*>(QApplication::activeModalWidget());
            QVERIFY(visible);
            for (int i = 0; i < ColumnGroupCount; ++i) {
                QVERIFY(visible->Box(i)->isChecked());
                visible->Box(i)->setChecked(false);
            }
            Click(*visible, QDialogButtonBox::Ok);
        });
        w.ViewVisible();
        for (int column = 2; column < 28; ++column) QCOMPARE(w.Grid()->columnWidth(column), 0);
        QVERIFY(w.Grid()->columnWidth(1) > 0);

        TfrmVisible again(std::array<bool, ColumnGroupCount>{});
        QVERIFY(!again.Box(0)->isChecked());
        QCOMPARE(again.Box(17)->text(), QStringLiteral("Tx Pwr (&Q)"));
        again.Box(3)->setChecked(true);
        Click(again, QDialogButtonBox::Cancel);
        QCOMPARE(again.result(), int(QDialog::Rejected));
    }

    void aboutShowsTheProgramsVersion()
    {
        TfrmAbout about;
        QCOMPARE(about.VersionLine(), QString::fromStdString(AboutVersionLine(QM54_VERSION)));
        QCOMPARE(AboutVersionLine("1.5.0.0"), std::string("QM54 Ver. 1.05"));
        QCOMPARE(AboutVersionLine("2.12"), std::string("QM54 Ver. 2.12"));
        QCOMPARE(AboutVersionLine("3.x.1"), std::string("QM54 Ver. 3.00"));
        QCOMPARE(AboutVersionLine("4"), std::string("QM54 Ver. 4.00"));
        QCOMPARE(AboutVersionLine(""), std::string("QM54 Ver. "));
    }

    void passwordShowsEachCharacterAsAnAsteriskAndHandsOverTheText()
    {
        TfrmPass pass;
        pass.show();
        QTest::keyClicks(pass.Field(), "tide 71");
        QCOMPARE(pass.Field()->displayText(), QStringLiteral("*******"));
        QTest::keyClick(pass.Field(), Qt::Key_Return);
        QCOMPARE(pass.result(), int(QDialog::Accepted));
        QCOMPARE(pass.Text(), QStringLiteral("tide 71"));
    }
};

QTEST_MAIN(SmallDialogsTest)
#include "small_dialogs_test.moc"
