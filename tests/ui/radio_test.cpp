// Upload and Download from the main window against qm54-sim over a pseudo-terminal, through the
// real termios driver and the progress window.
#include "main_test_support.h"
#include "sim_test_support.h"

#include "model/storage/datafile.h"
#include "ui/main/channel_grid.h"
#include "ui/main/radio_window.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <pty.h>
#include <unistd.h>

using namespace qm54;
using namespace qm54::test;

namespace {

// A programming that differs from the defaults the window starts with, in the file the
// simulator is started with.
TCEmem WriteRepeaterImage(MainFixture& f)
{
    TCEmem programmed;
    TMap54 map;
    SetDefaults(programmed);
    programmed.SerialNumber = "4150123";
    programmed.Channels.Items(3).InUse = 0;
    programmed.Channels.Items(5).NsqLevel = 77;
    programmed.Channels.Items(5).Lockout = 2;  // BTLO
    if (!SaveDataFile(f.Path("repeater.Q54").toStdString(), programmed, map, f.prompter)) return {};
    return programmed;
}

// The window's start options for the simulator: no narrowband check, no pauses at the end.
StartOptions SimulatorOptions(MainFixture& f, const Simulator& sim)
{
    StartOptions options = f.Options();
    options.Today = "20101231";
    options.PortDevice = sim.link;
    options.Timing.CompletePauseMs = 0;
    options.Timing.EndPauseMs = 0;
    return options;
}

}  // namespace

class RadioTest : public QObject {
    Q_OBJECT

private slots:
    void uploadThenDownload();
    void progressWindowCloseRules();
    void portThatDoesNotOpen();
    void cancelWhileNoRepeaterAnswers();
    void backupsTracesAndTheVerifySwitch();
    void undoAndRedoAnUploadAndAnOpenedBackup();
};

void RadioTest::uploadThenDownload()
{
    MainFixture f;
    const TCEmem programmed = WriteRepeaterImage(f);
    QVERIFY(!programmed.SerialNumber.empty());
    Simulator sim;
    QVERIFY(sim.Start(f.folder.path(), {"--image", f.Path("repeater.Q54")}));
    TfrmMain w(SimulatorOptions(f, sim));
    w.show();

    w.RadioUpload();
    QCOMPARE(f.prompter.texts, std::vector<std::string>{"Upload is completed"});
    QCOMPARE(w.Emem().SerialNumber, programmed.SerialNumber);
    QVERIFY(w.Emem().Channels == programmed.Channels);
    QCOMPARE(w.CurrentFile(), std::string(NoFileName));
    QVERIFY(w.Modified());
    QVERIFY(w.isEnabled());

    // Change channel 1's bandwidth in the grid and write the channels back (Normal mode).
    const QString before = w.Grid()->CellText(0, GridCol::Wide);
    w.Grid()->ActivateCell(0, GridCol::Wide);
    f.prompter.answers = {MsgResult::No};  // "Do you want to save the file?"
    w.RadioDownload();
    // Radio > Verify after Download is on by default: the repeater is read back and compared.
    QCOMPARE(f.prompter.texts.size(), size_t(4));
    QCOMPARE(f.prompter.texts[2], std::string("Download is completed"));
    QCOMPARE(f.prompter.texts[3], std::string("Download is verified"));
    QVERIFY(w.isEnabled());

    TCEmem written;
    TMap54 map;
    bool saveAllowed = true;
    QVERIFY(LoadDataFile(sim.saved.toStdString(), written, map, f.prompter, saveAllowed));
    QCOMPARE(written.Channels.Items(0).Wide, w.Emem().Channels.Items(0).Wide);
    QVERIFY(w.Grid()->CellText(0, GridCol::Wide) != before);
    QVERIFY(written.Channels == w.Emem().Channels);
}

void RadioTest::progressWindowCloseRules()
{
    TfrmRadio read(false);
    QCOMPARE(read.windowTitle(), QStringLiteral("Upload Function"));
    QVERIFY(!read.CancelButton()->isHidden());
    QCOMPARE(read.size(), QSize(330, 181));
    read.CancelButton()->click();
    QVERIFY(read.CancelRequested());

    TfrmRadio write(true);
    QCOMPARE(write.windowTitle(), QStringLiteral("Download Function"));
    QVERIFY(write.CancelButton()->isHidden());
    write.show();
    QVERIFY(!write.close());  // the first close only asks the write to stop
    QVERIFY(write.CancelRequested());
    QVERIFY(write.close());
    write.SetProgress(40, 33);
    QCOMPARE(write.Bar()->value(), 33);
}

void RadioTest::portThatDoesNotOpen()
{
    MainFixture f;
    StartOptions options = f.Options();
    options.PortDevice = f.Path("no-such-port");
    TfrmMain w(options);
    const TCEmem before = w.Emem();
    w.RadioUpload();
    QCOMPARE(f.prompter.texts, std::vector<std::string>{"Problem on COM port"});
    QVERIFY(w.Emem() == before);
    QVERIFY(!w.Modified());
    QVERIFY(w.isEnabled());
}

void RadioTest::cancelWhileNoRepeaterAnswers()
{
    // A pseudo-terminal with nobody behind it: the start request is never answered.
    int master = -1, slave = -1;
    char name[256] = {};
    QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
    MainFixture f;
    StartOptions options = f.Options();
    options.PortDevice = QString::fromLocal8Bit(name);
    TfrmMain w(options);
    w.show();
    const TCEmem before = w.Emem();
    bool cancelled = false;
    QTimer::singleShot(300, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* radio = qobject_cast<TfrmRadio*>(top);
            if (!radio || !radio->isVisible()) continue;
            QVERIFY(!w.isEnabled());
            radio->CancelButton()->click();
            cancelled = true;
        }
    });
    w.RadioUpload();
    QVERIFY(cancelled);
    QVERIFY(f.prompter.texts.empty());  // a cancel ends silently
    QVERIFY(w.Emem() == before);
    QVERIFY(!w.Modified());
    QVERIFY(w.isEnabled());
    for (QWidget* top : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<TfrmRadio*>(top));
    close(slave);
    close(master);
}


void RadioTest::backupsTracesAndTheVerifySwitch()
{
    MainFixture f;
    qputenv("XDG_DATA_HOME", f.Path("data").toUtf8());
    qputenv("XDG_STATE_HOME", f.Path("state").toUtf8());
    Simulator sim;
    QVERIFY(sim.Start(f.folder.path()));
    const StartOptions options = SimulatorOptions(f, sim);
    {
        TfrmMain w(options);
        w.show();
        QAction* verify = w.findChild<QAction*>("miVerify");
        QVERIFY(verify->isCheckable() && verify->isChecked());

        w.RadioUpload();
        QCOMPARE(f.prompter.texts, std::vector<std::string>{"Upload is completed"});

        // Help > Last Serial Trace shows the upload's trace.
        QString shown;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->objectName() != "frmTrace") continue;
                shown = top->findChild<QPlainTextEdit*>("edtTrace")->toPlainText();
                top->close();
            }
        });
        w.findChild<QAction*>("miLastTrace")->trigger();
        QVERIFY2(shown.startsWith("# upload " + sim.link), qPrintable(shown));
        QVERIFY(shown.endsWith("== result: Ok\n"));

        // Without the verify a download ends with its own message.
        verify->trigger();
        f.prompter.texts.clear();
        f.prompter.answers = {MsgResult::No};  // "Do you want to save the file?"
        w.RadioDownload();
        QCOMPARE(f.prompter.texts.back(), std::string("Download is completed"));

        // File > Backups lists both, newest first, and opens one as Upload brings data.
        w.FileNew();
        QVERIFY(!w.Modified());
        QStringList directions;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->objectName() != "frmBackups") continue;
                auto* list = top->findChild<QTreeWidget*>("lstBackups");
                for (int i = 0; i < list->topLevelItemCount(); ++i) directions << list->topLevelItem(i)->text(2);
                list->setCurrentItem(list->topLevelItem(1));  // the upload
                top->findChild<QPushButton*>("btnOpen")->click();
            }
        });
        f.prompter.answers = {MsgResult::No};
        w.findChild<QAction*>("miBackups")->trigger();
        QCOMPARE(directions, (QStringList{"download", "upload"}));
        QCOMPARE(w.CurrentFile(), std::string(NoFileName));
        QVERIFY(w.Modified());
        w.close();
    }
    QVERIFY(f.ReadText("QM54Win.ini").contains("VERIFY=0"));
    TfrmMain again(options);
    QVERIFY(!again.findChild<QAction*>("miVerify")->isChecked());
}

void RadioTest::undoAndRedoAnUploadAndAnOpenedBackup()
{
    MainFixture f;
    qputenv("XDG_DATA_HOME", f.Path("data").toUtf8());
    qputenv("XDG_STATE_HOME", f.Path("state").toUtf8());
    const TCEmem programmed = WriteRepeaterImage(f);
    QVERIFY(!programmed.SerialNumber.empty());
    Simulator sim;
    QVERIFY(sim.Start(f.folder.path(), {"--image", f.Path("repeater.Q54")}));
    TfrmMain w(SimulatorOptions(f, sim));
    w.show();
    QAction* undo = w.findChild<QAction*>("miUndo");
    QAction* redo = w.findChild<QAction*>("miRedo");
    const TCEmem started = w.Emem();
    const std::string startFile = w.CurrentFile();
    const QString startLockout = w.Grid()->CellText(5, GridCol::Lockout);

    w.findChild<QAction*>("miUpload")->trigger();
    QVERIFY(f.prompter.Saw("Upload is completed"));
    QCOMPARE(w.Emem().SerialNumber, programmed.SerialNumber);
    const QString uploadedLockout = w.Grid()->CellText(5, GridCol::Lockout);
    QVERIFY(uploadedLockout != startLockout);
    QCOMPARE(undo->text(), QStringLiteral("&Undo Upload"));

    undo->trigger();
    QVERIFY(w.Emem() == started);
    QVERIFY(w.Working() == started.Channels);
    QCOMPARE(w.Grid()->CellText(5, GridCol::Lockout), startLockout);
    QCOMPARE(w.CurrentFile(), startFile);
    QVERIFY(!w.Modified());
    QCOMPARE(redo->text(), QStringLiteral("&Redo Upload"));

    // Saving the state before the Upload keeps the Upload to redo.
    f.dialogs.saveAnswers = {f.Path("before.Q54")};
    w.findChild<QAction*>("miSaveAs")->trigger();
    QVERIFY(!w.Modified());
    QCOMPARE(redo->text(), QStringLiteral("&Redo Upload"));
    redo->trigger();
    QCOMPARE(w.Emem().SerialNumber, programmed.SerialNumber);
    QVERIFY(w.Working() == programmed.Channels);
    QCOMPARE(w.Grid()->CellText(5, GridCol::Lockout), uploadedLockout);
    QVERIFY(w.Modified());

    // The Upload's backup opened from File > Backups... over fresh data, undone and redone.
    f.prompter.answers = {MsgResult::No};  // "Do you want to save the file?"
    w.findChild<QAction*>("miNew")->trigger();
    const TCEmem fresh = w.Emem();
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() != "frmBackups") continue;
            auto* list = top->findChild<QTreeWidget*>("lstBackups");
            QCOMPARE(list->topLevelItemCount(), 1);
            list->setCurrentItem(list->topLevelItem(0));
            top->findChild<QPushButton*>("btnOpen")->click();
        }
    });
    w.findChild<QAction*>("miBackups")->trigger();
    QCOMPARE(w.Emem().SerialNumber, programmed.SerialNumber);
    QCOMPARE(w.Grid()->CellText(5, GridCol::Lockout), uploadedLockout);
    QCOMPARE(undo->text(), QStringLiteral("&Undo Backup"));

    undo->trigger();
    QVERIFY(w.Emem() == fresh);
    QCOMPARE(w.Grid()->CellText(5, GridCol::Lockout), startLockout);
    QVERIFY(!w.Modified());
    QVERIFY(!undo->isEnabled());  // New began the history
    redo->trigger();
    QCOMPARE(w.Emem().SerialNumber, programmed.SerialNumber);
    QVERIFY(w.Working() == programmed.Channels);
    QCOMPARE(w.Grid()->CellText(5, GridCol::Lockout), uploadedLockout);
    QCOMPARE(w.CurrentFile(), std::string(NoFileName));
    QVERIFY(w.Modified());
}

QTEST_MAIN(RadioTest)
#include "radio_test.moc"
