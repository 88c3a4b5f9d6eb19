// The main window's commands with a scripted prompter, scripted file dialogs and a temporary
// program folder: the save prompt, Save on the default file, RPT files, the recent-file list,
// the narrowband check at Download and the close query.
#include "main_test_support.h"

#include "model/storage/datafile.h"
#include "model/image/map54.h"
#include "ui/main/channel_grid.h"
#include "ui/dialogs/file_data_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QtTest>

using namespace qm54;
using namespace qm54::test;

namespace {

// Writes a data file of the default programming, changed by edit.
template <typename Edit>
void WriteDataFile(const QString& path, Edit edit)
{
    TCEmem emem;
    TMap54 map;
    SetDefaults(emem);
    edit(emem);
    ScriptedPrompter quiet;
    QVERIFY(SaveDataFile(path.toStdString(), emem, map, quiet));
}

// The shown entries of a menu, "|" between them: caption, shortcut, check mark and a submenu's
// entries in braces; "-" a separator.
QString ShownEntries(const QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions()) {
        if (!a->isVisible()) continue;
        if (a->isSeparator()) {
            texts << QStringLiteral("-");
            continue;
        }
        QString text = a->text();
        if (!a->shortcut().isEmpty()) text += " (" + a->shortcut().toString() + ")";
        if (a->isCheckable()) text += a->isChecked() ? " [x]" : " [ ]";
        if (a->menu()) text += " {" + ShownEntries(a->menu()) + "}";
        texts << text;
    }
    return texts.join(QStringLiteral(" | "));
}

}  // namespace

class MainCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void gridEditMakesNewAskToSave();
    void blockPasteReportsInTheStatusBar();
    void saveOnTheDefaultFileAsksForAName();
    void rptFileDisablesSaveUntilSavedAs();
    void rptFileIsNeverSavedInPlaceByThePrompts();
    void openedFileWithoutAnEditAsksNoSave();
    void recentFilesMoveToTopAndVanishedOnesAreDropped();
    void narrowbandEnforcedAnsweredNoChangesAndSendsNothing();
    void narrowbandCautionAnsweredNoKeepsTheChannelWide();
    void narrowbandQuestionClosedCancelsTheDownload();
    void closeQueryAfterAnEdit();
    void viewItemsHideColumnGroups();
    void helpRequestsShowTheirPagesOfTheModesHelp();
    void fileDataEditReachesTheGrid();
    void hintPanelAndF1();
    void menusShowTheEntriesOfTheMode_data();
    void menusShowTheEntriesOfTheMode();
};

void MainCommandsTest::gridEditMakesNewAskToSave()
{
    MainFixture f;
    TfrmMain w(f.Options());
    const QString before = w.Grid()->CellText(0, GridCol::Wide);
    w.Grid()->ActivateCell(0, GridCol::Wide);
    QVERIFY(w.Grid()->CellText(0, GridCol::Wide) != before);
    QVERIFY(!w.Modified());  // the grid is parsed into the image only when a command starts

    f.prompter.answers = {MsgResult::Closed};
    w.FileNew();
    QCOMPARE(f.prompter.texts, std::vector<std::string>{"Do you want to save the file?"});
    QVERIFY(w.Modified());
    QVERIFY(w.Grid()->CellText(0, GridCol::Wide) != before);  // New was cancelled

    f.prompter.answers = {MsgResult::No};
    w.FileNew();
    QVERIFY(!w.Modified());
    QCOMPARE(w.Grid()->CellText(0, GridCol::Wide), before);
    QCOMPARE(w.CurrentFile(), std::string(NoFileName));
}

void MainCommandsTest::blockPasteReportsInTheStatusBar()
{
    MainFixture f;
    TfrmMain w(f.Options());
    w.Grid()->setCurrentIndex(w.Grid()->model()->index(0, GridCol::Wide));
    // Channel 1 already shows one of the first block's texts; only changed cells count.
    const std::pair<const char*, const char*> pastes[] = {{"W\tyes", "Pasted 1 cell, none refused"},
                                                          {"N\tno", "Pasted 2 cells, none refused"},
                                                          {"N\tno", "Nothing changed, none refused"}};
    for (const auto& [block, report] : pastes) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(block));
        w.Grid()->PasteCell();
        QCOMPARE(w.statusBar()->currentMessage(), QString::fromLatin1(report));
    }
    QVERIFY(w.Modified());
}

void MainCommandsTest::saveOnTheDefaultFileAsksForAName()
{
    MainFixture f;
    { TfrmMain first(f.Options()); }  // creates the default data file
    TfrmMain w(f.Options());
    QCOMPARE(QString::fromStdString(w.CurrentFile()), f.Path("defaultv.Q54"));
    const QByteArray defaultBytes = f.ReadText("defaultv.Q54");

    f.dialogs.saveAnswers = {QString()};  // cancelled: nothing is written
    QVERIFY(!w.FileSave());
    QCOMPARE(f.dialogs.saveFolders, QStringList{f.folder.path() + "/"});

    QDir(f.folder.path()).mkdir("out");
    f.dialogs.saveAnswers = {f.Path("out/site.Q54")};
    w.Grid()->ActivateCell(0, GridCol::Wide);
    f.prompter.answers = {MsgResult::Yes};
    w.FileNew();  // the prompt's Yes saves through the dialog
    QCOMPARE(QFileInfo(f.Path("out/site.Q54")).size(), 1986);
    QCOMPARE(w.CurrentFolder(), f.Path("out").toStdString() + "/");
    QCOMPARE(f.ReadText("defaultv.Q54"), defaultBytes);
    QVERIFY(!w.Modified());
}

void MainCommandsTest::rptFileDisablesSaveUntilSavedAs()
{
    MainFixture f;
    WriteDataFile(f.Path("old.RPT"), [](TCEmem&) {});
    WriteDataFile(f.Path("mixed.Rpt"), [](TCEmem&) {});
    TfrmMain w(f.Options());
    auto* save = w.findChild<QAction*>("miSave");

    f.dialogs.openAnswers = {f.Path("old.RPT")};
    w.FileOpen();
    QCOMPARE(QString::fromStdString(w.CurrentFile()), f.Path("old.RPT"));
    QVERIFY(!save->isEnabled());

    f.dialogs.saveAnswers = {f.Path("new.Q54")};
    w.FileSaveAs();
    QCOMPARE(QString::fromStdString(w.CurrentFile()), f.Path("new.Q54"));
    QVERIFY(save->isEnabled());
    QCOMPARE(QFileInfo(f.Path("new.Q54")).size(), 1986);

    f.dialogs.openAnswers = {f.Path("mixed.Rpt")};  // only RPT and rpt count
    w.FileOpen();
    QVERIFY(save->isEnabled());
}

// An encode-only tone in slot 0 and an Rx frequency off the channel raster: opening the file
// and choosing a command is no edit.
void MainCommandsTest::openedFileWithoutAnEditAsksNoSave()
{
    MainFixture f;
    WriteDataFile(f.Path("site.Q54"), [](TCEmem& e) {
        TChannel& ch = e.Channels.Items(0);
        ch.SetSlotUsed(0, 1);
        ch.SetEncodeTone(0, 12);
        ch.RxFreq.SetValue(161.003);
    });
    TfrmMain w(f.Options());
    f.dialogs.openAnswers = {f.Path("site.Q54")};
    w.FileOpen();
    QCOMPARE(QString::fromStdString(w.CurrentFile()), f.Path("site.Q54"));
    w.FileNew();
    QVERIFY(!f.prompter.Saw("Do you want to save the file?"));
    QCOMPARE(QString::fromStdString(w.CurrentFile()), QString::fromStdString(NoFileName));
}

void MainCommandsTest::recentFilesMoveToTopAndVanishedOnesAreDropped()
{
    MainFixture f;
    for (const char* name : {"a.Q54", "b.Q54", "c.Q54"}) WriteDataFile(f.Path(name), [](TCEmem&) {});
    TfrmMain w(f.Options());
    for (const char* name : {"a.Q54", "b.Q54", "c.Q54"}) {
        f.dialogs.openAnswers = {f.Path(name)};
        w.FileOpen();
    }
    QCOMPARE(w.Recent().Paths().front(), f.Path("c.Q54").toStdString());
    auto* first = w.findChild<QAction*>("miRecent1");
    QVERIFY(first->isVisible());
    QVERIFY(first->text().startsWith("&1 "));
    QVERIFY(!w.findChild<QAction*>("miRecentFile")->isVisible());
    QVERIFY(!w.findChild<QAction*>("miRecent4")->isVisible());

    w.OpenRecent(2);  // a.Q54 comes back to the top, the folder stays
    QCOMPARE(w.Recent().Paths().front(), f.Path("a.Q54").toStdString());
    QCOMPARE(QString::fromStdString(w.CurrentFile()), f.Path("a.Q54"));

    QFile::remove(f.Path("b.Q54"));
    QDir(f.folder.path()).mkdir("c.Q54.d");
    const std::string shown = w.CurrentFile();
    w.OpenRecent(2);
    QCOMPARE(f.prompter.texts, std::vector<std::string>{"File Not Found"});
    QCOMPARE(w.Recent().Paths().size(), size_t(2));
    QCOMPARE(w.CurrentFile(), shown);
}

void MainCommandsTest::narrowbandEnforcedAnsweredNoChangesAndSendsNothing()
{
    MainFixture f;
    WriteDataFile(f.Path("usa.Q54"), [](TCEmem& e) {
        e.MarketCode = MarketUsa;
        for (int i = 0; i < ChannelCount; ++i) {
            e.Channels.Items(i).Wide = 1;
            e.Channels.Items(i).RxFreq.SetValue(i == 0 ? 160.0 : 140.0);
            e.Channels.Items(i).TxFreq.SetValue(i == 0 ? 160.0 : 140.0);
        }
        e.Channels.Items(1).TxFreq.SetValue(174.0);      // bound included
        e.Channels.Items(2).RxFreq.SetValue(174.00625);  // just above
    });
    StartOptions options = f.Options({f.Path("usa.Q54")});
    options.Today = "20130101";
    options.PortDevice = f.Path("no-such-port");
    TfrmMain w(options);
    QCOMPARE(int(w.Policy()), int(NarrowbandPolicy::Enforced));

    f.prompter.answers = {MsgResult::No};
    w.RadioDownload();
    QCOMPARE(f.prompter.texts.size(), size_t(1));  // no "Problem on COM port": nothing was sent
    QVERIFY(f.prompter.Saw("So, the Wide bandwidth CHs in your data was changed to Narrow bandwidth automatically."));
    QCOMPARE(w.Emem().Channels.Items(0).Wide, 0);
    QCOMPARE(w.Emem().Channels.Items(1).Wide, 0);
    QCOMPARE(w.Emem().Channels.Items(2).Wide, 1);
    QCOMPARE(w.Grid()->CellText(0, GridCol::Wide), QStringLiteral("N"));
    QVERIFY(w.Modified());
}

void MainCommandsTest::narrowbandCautionAnsweredNoKeepsTheChannelWide()
{
    MainFixture f;
    WriteDataFile(f.Path("usa.Q54"), [](TCEmem& e) {
        e.MarketCode = MarketUsa;
        e.Channels.Items(0).Wide = 1;
        e.Channels.Items(0).RxFreq.SetValue(421.0);
    });
    StartOptions options = f.Options({f.Path("usa.Q54")});
    options.Today = "20121231";
    options.PortDevice = f.Path("no-such-port");
    TfrmMain w(options);

    f.prompter.answers = {MsgResult::No};
    w.RadioDownload();
    QVERIFY(f.prompter.Saw("No : It will start downloading (w/o changing the bandwidth)"));
    QVERIFY(f.prompter.Saw("Problem on COM port"));  // the download went ahead
    QCOMPARE(w.Emem().Channels.Items(0).Wide, 1);
    QVERIFY(!w.Modified());
}

void MainCommandsTest::closeQueryAfterAnEdit()
{
    MainFixture f;
    TfrmMain w(f.Options());
    w.show();
    w.Grid()->ActivateCell(0, GridCol::Wide);

    f.prompter.answers = {MsgResult::Closed};
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(f.prompter.texts.size(), size_t(1));

    f.prompter.answers = {MsgResult::Yes};
    f.dialogs.saveAnswers = {QString()};  // the save dialog cancelled keeps the window open
    QVERIFY(!w.close());

    f.prompter.answers = {MsgResult::No};
    QVERIFY(w.close());
    QVERIFY(QFileInfo::exists(f.Path("QM54Win.ini")));
}

void MainCommandsTest::viewItemsHideColumnGroups()
{
    MainFixture f;
    {
        TfrmMain w(f.Options());
        auto* item = w.findChild<QAction*>("miItem3");
        item->trigger();
        QVERIFY(!w.Grid()->ColumnGroupVisible(2));
        QVERIFY(!w.Modified());
        w.show();
        QVERIFY(w.close());
    }
    QVERIFY(f.ReadText("QM54Win.ini").contains("ITEM3=0"));
    TfrmMain again(f.Options());
    QVERIFY(!again.Grid()->ColumnGroupVisible(2));
}

void MainCommandsTest::helpRequestsShowTheirPagesOfTheModesHelp()
{
    MainFixture f;
    QVERIFY(QFile::link(QDir(QM54_FIXTURES "/../../help").absolutePath(), f.Path("help")));
    struct Request {
        const char* action;
        const char* page;
    };
    for (const QStringList& arguments : {QStringList{}, QStringList{"-D"}}) {
        const QString folder = arguments.isEmpty() ? "help/QM54Win/" : "help/QM54Win2/";
        TfrmMain w(f.Options(arguments));
        for (const Request& r : {Request{"miHelpTopics", "index.html"}, Request{"miGetStarted", "contents.html"},
                                 Request{"miCommonProblems", "keywords.html"}}) {
            w.findChild<QAction*>(r.action)->trigger();
            QVERIFY(w.Help());
            QCOMPARE(w.Help()->CurrentSource(), f.Path(folder + r.page));
        }
        QVERIFY(!w.findChild<QAction*>("miCommonProblems")->isVisible());
    }
}

void MainCommandsTest::fileDataEditReachesTheGrid()
{
    MainFixture f;
    TfrmMain w(f.Options());
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // The bytes that differ when channel 2's NSQ level is 99 are typed into the view.
    TCEmem target = w.Emem();
    target.Channels.Items(1).NsqLevel = 99;
    TMap54 now, wanted;
    now.Encode(w.Emem());
    wanted.Encode(target);
    bool typed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FileDataDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        QTableWidget* table = dialog->Table();
        for (size_t i = 0; i < now.Bytes().size(); ++i) {
            if (now.Bytes()[i] == wanted.Bytes()[i]) continue;
            table->setCurrentCell(int(i / 16), int(i % 16));
            QTest::keyClick(table, Qt::Key_A);  // a hexadecimal digit marks the view changed
            table->currentItem()->setText(QString::asprintf("%.2x", wanted.Bytes()[i]));
            typed = true;
        }
        dialog->accept();
    });
    QTest::keyClick(&w, Qt::Key_F9, Qt::ShiftModifier);
    QVERIFY(typed);
    QCOMPARE(w.Emem().Channels.Items(1).NsqLevel, 99);
    QVERIFY(w.Modified());
    // The next command parses the grid: it must show the edited channel, not put the old one back.
    f.dialogs.saveAnswers = {QString()};
    w.FileSaveAs();
    QCOMPARE(w.Emem().Channels.Items(1).NsqLevel, 99);
    QCOMPARE(w.Working().Items(1).NsqLevel, 99);
}

void MainCommandsTest::hintPanelAndF1()
{
    MainFixture f;
    QVERIFY(QFile::link(QDir(QM54_FIXTURES "/../../help").absolutePath(), f.Path("help")));
    TfrmMain w(f.Options());
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QLabel* hint = w.statusBar()->findChildren<QLabel*>().value(0);
    QVERIFY(hint);
    QCOMPARE(hint->text(), QStringLiteral("F1 for Help   F10 for Menus"));
    w.findChild<QAction*>("miUpload")->showStatusText(w.menuBar());
    QCOMPARE(hint->text(), QStringLiteral("Read data from radio"));
    w.findChild<QAction*>("miRecentFile")->showStatusText(w.menuBar());
    QCOMPARE(hint->text(), QStringLiteral(" "));
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(w.menuBar(), &none);
    QCOMPARE(hint->text(), QStringLiteral("F1 for Help   F10 for Menus"));

    QTest::keyClick(&w, Qt::Key_F1);
    QVERIFY(w.Help());
    QCOMPARE(w.Help()->CurrentSource(), f.Path("help/QM54Win/index.html"));
}

// The prompts of New and of the close query save through the save dialog when the data came from
// an RPT file, which may be written only with Save As.
void MainCommandsTest::rptFileIsNeverSavedInPlaceByThePrompts()
{
    MainFixture f;
    WriteDataFile(f.Path("old.RPT"), [](TCEmem&) {});
    const QByteArray rptBytes = f.ReadText("old.RPT");
    TfrmMain w(f.Options());
    w.show();
    f.dialogs.openAnswers = {f.Path("old.RPT")};
    w.FileOpen();
    w.Grid()->ActivateCell(0, GridCol::Wide);

    f.prompter.answers = {MsgResult::Yes};
    w.FileNew();  // Yes, then the save dialog cancelled: New is cancelled
    QCOMPARE(f.dialogs.saveFolders.size(), qsizetype(1));
    QCOMPARE(f.ReadText("old.RPT"), rptBytes);
    QCOMPARE(QString::fromStdString(w.CurrentFile()), f.Path("old.RPT"));

    f.prompter.answers = {MsgResult::Yes};
    QVERIFY(!w.close());
    QCOMPARE(f.dialogs.saveFolders.size(), qsizetype(2));
    QCOMPARE(f.ReadText("old.RPT"), rptBytes);

    f.prompter.answers = {MsgResult::Yes};
    f.dialogs.saveAnswers = {f.Path("site.Q54")};
    QVERIFY(w.close());
    QCOMPARE(f.ReadText("old.RPT"), rptBytes);
    QCOMPARE(QFileInfo(f.Path("site.Q54")).size(), 1986);
}

// Escape or the close box on the narrow-banding question cancels the Download: nothing is sent and,
// under either policy, no channel changes.
void MainCommandsTest::narrowbandQuestionClosedCancelsTheDownload()
{
    for (const char* today : {"20121231", "20130101"}) {
        MainFixture f;
        WriteDataFile(f.Path("usa.Q54"), [](TCEmem& e) {
            e.MarketCode = MarketUsa;
            e.Channels.Items(0).Wide = 1;
            e.Channels.Items(0).RxFreq.SetValue(160.0);
        });
        StartOptions options = f.Options({f.Path("usa.Q54")});
        options.Today = today;
        options.PortDevice = f.Path("no-such-port");
        TfrmMain w(options);

        f.prompter.answers = {MsgResult::Closed};
        w.RadioDownload();
        QCOMPARE(f.prompter.texts.size(), size_t(1));  // no "Problem on COM port": nothing was sent
        QCOMPARE(w.Emem().Channels.Items(0).Wide, 1);
        QCOMPARE(w.Grid()->CellText(0, GridCol::Wide), QStringLiteral("W"));
        QVERIFY(!w.Modified());
    }
}


void MainCommandsTest::menusShowTheEntriesOfTheMode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("common");
    const QString adjust = "Rx &Adjustment | T&x Adjustment | ";
    QTest::newRow("Normal") << QStringList{}
                            << "&Hardware | &Radio status | &Timer | &CW ID | &Marketing | Alpha Ta&g";
    QTest::newRow("Dealer") << QStringList{"-D"}
                            << "&Hardware | &Radio status | &Timer | &CW ID | &Marketing | " + adjust +
                                   "Tx &Power Adjust | Alpha Ta&g";
    QTest::newRow("Manufacture") << QStringList{"-M"}
                                 << "&Hardware | &Radio status | &Timer | &CW ID | &Marketing | " + adjust +
                                        "A&lignment {Lowest | Low | High | Highest} | Tx &Power Adjust | Alpha Ta&g";
}

void MainCommandsTest::menusShowTheEntriesOfTheMode()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, common);
    MainFixture f;
    StartOptions options = f.Options(arguments);
    options.AskPassword = [](QWidget*) -> std::optional<QString> { return QStringLiteral("TideWater-71"); };
    TfrmMain w(options);
    QStringList groups;
    for (int i = 0; i < ColumnGroupCount; ++i) groups << QString::fromUtf8(ColumnGroupAt(i).ItemName) + " [x]";
    const QStringList expected{
        "&File: &New (Ctrl+N) | &Open (Ctrl+O) | &Save (Ctrl+S) | Save &As | - | &Export Channels... | "
        "&Import Channels... | Co&mpare with... | - | &Print (Ctrl+P) | Print Pre&view | P&rint Setup | "
        "&Export PDF... | - | &Configure | &Backups... | - | Recent File | - | E&xit",
        "&Edit: &Undo (Ctrl+Z) | &Redo (Ctrl+Y) | - | &Copy (Ctrl+C) | &Paste (Ctrl+V)",
        "&View: &Toolbar [x] | &Status Bar [x] | - | &Items {&Visible | - | " + groups.join(" | ") + "}",
        "&Common: " + common,
        "&Signalling: &Signalling Type | &ANI Setting | &ENI Setting | 5&Tone Table",
        "&Radio: &Upload | &Download | - | &Verify after Download [x]",
        "&Help: &Help Topics | - | &Get Started | Last Serial &Trace | &About QM54...",
    };
    QStringList shown;
    for (QAction* menu : w.menuBar()->actions()) shown << menu->text() + ": " + ShownEntries(menu->menu());
    QCOMPARE(shown, expected);
    QVERIFY(!w.findChild<QAction*>("miRecentFile")->isEnabled());  // a placeholder only
}

QTEST_MAIN(MainCommandsTest)
#include "main_commands_test.moc"
