// Start-up and close of the main window: the first argument, the default data file, the settings
// restored and written back, and the single-instance guard of the real executable.
#include "main_test_support.h"

#include "model/storage/instance_lock.h"
#include "ui/main/channel_grid.h"

#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

using namespace qm54;
using namespace qm54::test;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartCreatesTheReadOnlyDefaultFile();
    void defaultFileThatDoesNotLoadIsKept();
    void switchesOfTheFirstArgument_data();
    void switchesOfTheFirstArgument();
    void namedFileIsOpenedOrLeftUncreated();
    void settingsAreRestoredAndWrittenInOrder();
    void maximisedWindowKeepsTheStoredPlace();
    void junkSettingsGiveDefaults();
    void secondProcessEndsWithoutWindow();
};

void StartupTest::firstStartCreatesTheReadOnlyDefaultFile()
{
    MainFixture f;
    {
        TfrmMain w(f.Options());
        QCOMPARE(w.windowTitle(), QStringLiteral("<none> - QM54Win for KTD-4150 Series"));
        QVERIFY(!w.SaveAllowed());
        QVERIFY(!w.Modified());
        QVERIFY(f.prompter.texts.empty());
    }
    const QFileInfo created(f.Path("defaultv.Q54"));
    QVERIFY(created.exists());
    QCOMPARE(created.size(), 1986);
    QVERIFY(!(created.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));

    // The next start loads it.
    TfrmMain again(f.Options());
    QCOMPARE(again.windowTitle(), f.Path("defaultv.Q54") + " - QM54Win for KTD-4150 Series");
    QVERIFY(again.SaveAllowed());
    QVERIFY(f.prompter.texts.empty());
}

void StartupTest::defaultFileThatDoesNotLoadIsKept()
{
    MainFixture f;
    f.WriteText("defaultv.Q54", QByteArray(1000, '\x07'));
    TfrmMain w(f.Options());
    QCOMPARE(w.CurrentFile(), std::string(NoFileName));
    QCOMPARE(f.prompter.texts, std::vector<std::string>{"The file cannot be opened.\r\nThe file format is not correct."});
    QCOMPARE(f.ReadText("defaultv.Q54"), QByteArray(1000, '\x07'));
}

void StartupTest::switchesOfTheFirstArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("password");  // answer of the password dialog; "-" cancels
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("suffix");       // "(Manufacture mode)" in the caption

    QTest::newRow("none") << QStringList{} << "-" << int(OperatingMode::Normal) << false;
    QTest::newRow("-D") << QStringList{"-D"} << "-" << int(OperatingMode::Dealer) << false;
    QTest::newRow("/d and a file") << QStringList{"/d", "x.q54"} << "-" << int(OperatingMode::Dealer) << false;
    QTest::newRow("-m right code") << QStringList{"-m"} << " TideWater-71 " << int(OperatingMode::Manufacture) << true;
    QTest::newRow("/M wrong code") << QStringList{"/M"} << "nope" << int(OperatingMode::Normal) << false;
    QTest::newRow("-M cancelled") << QStringList{"-M"} << "-" << int(OperatingMode::Normal) << false;
    QTest::newRow("-Dx ignored") << QStringList{"-Dx"} << "-" << int(OperatingMode::Normal) << false;
}

void StartupTest::switchesOfTheFirstArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, password);
    QFETCH(int, mode);
    QFETCH(bool, suffix);
    MainFixture f;
    StartOptions options = f.Options(arguments);
    bool asked = false;
    options.AskPassword = [&](QWidget*) -> std::optional<QString> {
        asked = true;
        if (password == "-") return std::nullopt;
        return password;
    };
    TfrmMain w(options);
    QCOMPARE(int(w.Mode()), mode);
    QCOMPARE(asked, arguments.value(0).compare("-m", Qt::CaseInsensitive) == 0 ||
                        arguments.value(0).compare("/m", Qt::CaseInsensitive) == 0);
    QCOMPARE(w.windowTitle().endsWith("(Manufacture mode)"), suffix);
    const bool service = mode != int(OperatingMode::Normal);
    auto* rxAdjust = w.findChild<QAction*>("miRxAdjust");
    auto* alignment = w.findChild<QAction*>("miAlignment");
    QVERIFY(rxAdjust && alignment);
    QCOMPARE(rxAdjust->isVisible(), service);
    QCOMPARE(alignment->isVisible(), mode == int(OperatingMode::Manufacture));
    // Only the first argument counts: "/d x.q54" opens no file from the command line.
    QCOMPARE(w.CurrentFile(), std::string(NoFileName));
    QVERIFY(f.prompter.texts.empty());  // a wrong password is silent
}

void StartupTest::namedFileIsOpenedOrLeftUncreated()
{
    MainFixture f;
    {
        // Make a data file with a lower-case extension from a first run's default file.
        TfrmMain first(f.Options());
    }
    QFile::copy(f.Path("defaultv.Q54"), f.Path("site.q54"));
    QFile::setPermissions(f.Path("site.q54"), QFile::ReadOwner | QFile::WriteOwner);

    TfrmMain named(f.Options({f.Path("site.q54")}));
    QCOMPARE(named.windowTitle(), f.Path("site.q54") + " - QM54Win for KTD-4150 Series");
    QVERIFY(named.SaveAllowed());

    const QString missing = f.Path("Q54data/missing.bin");
    TfrmMain absent(f.Options({missing}));
    QCOMPARE(absent.CurrentFile(), std::string(NoFileName));
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!QFileInfo::exists(f.Path("Q54data")));

    // A named file that does not load keeps the defaults, with the loader's message only.
    f.WriteText("short.Q54", QByteArray(100, '\0'));
    TfrmMain broken(f.Options({f.Path("short.Q54")}));
    QCOMPARE(broken.CurrentFile(), std::string(NoFileName));
    QCOMPARE(f.prompter.texts.size(), size_t(1));
    QCOMPARE(f.ReadText("short.Q54").size(), 100);
}

void StartupTest::settingsAreRestoredAndWrittenInOrder()
{
    MainFixture f;
    f.WriteText("QM54Win.ini", "; kept\r\nFRMX=30\r\nFRMY=40\r\nFRMW=900\r\nFRMH=600\r\nITEM3=0 ; W/N\r\n"
                               "COM_PORT=3\r\nFILE1=" + f.Path("a.Q54").toUtf8() + "\r\n");
    {
        TfrmMain w(f.Options());
        QCOMPARE(w.geometry(), QRect(30, 40, 900, 600));
        QCOMPARE(w.findChild<QAction*>("miItem3")->isChecked(), false);
        QCOMPARE(w.findChild<QAction*>("miItem4")->isChecked(), true);
        QCOMPARE(w.Recent().Paths().size(), size_t(1));
        QCOMPARE(w.CurrentFolder(), f.folder.path().toStdString() + "/");
        w.show();
        w.close();
    }
    const QByteArray written = f.ReadText("QM54Win.ini");
    QVERIFY(written.startsWith("; kept\r\nFRMX=30;\r\nFRMY=40;\r\nFRMW=900;\r\nFRMH=600;\r\nITEM3=0;W/N\r\nCOM_PORT=3;\r\n"));
    // Keys the file did not hold are appended in the order they are written.
    const QList<QByteArray> order = {"PORT=", "CURFOLD=", "ITEM1=1", "ITEM23=1", "FILE2=\r\n", "FILE4="};
    qsizetype at = 0;
    for (const QByteArray& key : order) {
        const qsizetype found = written.indexOf(key, at);
        QVERIFY2(found > at, key.constData());
        at = found;
    }
    QVERIFY(!written.contains("FRMMAX"));
}

void StartupTest::maximisedWindowKeepsTheStoredPlace()
{
    MainFixture f;
    f.WriteText("QM54Win.ini", "FRMX=11\r\nFRMY=12\r\nFRMW=901\r\nFRMH=602\r\nFRMMAX=1\r\n");
    {
        TfrmMain w(f.Options());
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        w.show();
        w.close();
    }
    const QByteArray written = f.ReadText("QM54Win.ini");
    QVERIFY(written.startsWith("FRMX=11;\r\nFRMY=12;\r\nFRMW=901;\r\nFRMH=602;\r\nFRMMAX=1;\r\n"));
}

void StartupTest::junkSettingsGiveDefaults()
{
    MainFixture f;
    QByteArray junk = "COM_PORT=-7\r\nH67WAIT=999999999\r\nFRMW=wide\r\nFRMX=-5\r\nITEM1=x\r\nITEM2=0\r\n"
                      "FILE1=\r\nFILE2=" + f.folder.path().toUtf8() + "\r\nCURFOLD=\r\n\x01\x02=\xff\r\n";
    junk += QByteArray(5000, 'x');
    f.WriteText("QM54Win.ini", junk);
    TfrmMain w(f.Options());
    QCOMPARE(w.size(), QSize(980, 600));
    QVERIFY(w.findChild<QAction*>("miItem1")->isChecked());
    QVERIFY(!w.findChild<QAction*>("miItem2")->isChecked());
    QVERIFY(w.Grid()->ColumnGroupVisible(0));
    QVERIFY(!w.Grid()->ColumnGroupVisible(1));
    // A recent entry that is now a folder is reported and dropped when chosen.
    QCOMPARE(w.Recent().Paths().size(), size_t(1));
    w.OpenRecent(0);
    QCOMPARE(f.prompter.texts, std::vector<std::string>{"File Not Found"});
    QVERIFY(w.Recent().Paths().empty());
}

void StartupTest::secondProcessEndsWithoutWindow()
{
    QTemporaryDir runtime;
    InstanceLock held;
    QVERIFY(held.Acquire(runtime.path().toStdString()));
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QM54WIN_HOME", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(QM54_GUI_EXE, {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // It ended before creating anything in its program folder.
    QVERIFY(!QFileInfo::exists(runtime.filePath("defaultv.Q54")));
}

QTEST_MAIN(StartupTest)
#include "main_window_startup_test.moc"
