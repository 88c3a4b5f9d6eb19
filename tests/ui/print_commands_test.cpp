// File > Print, Print Preview, Print Setup and Export PDF in the main window, offscreen, over a
// scripted print system: what reaches the printer, the Printer box and every failure.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "grid_test_support.h"
#include "main_test_support.h"
#include "page_lines.h"
#include "print_test_support.h"
#include "ui/print/preview_window.h"
#include "ui/print/print_setup_dialog.h"

using namespace qm54;
using namespace qm54::test;

namespace {

// Presses a button of the modal dialog of type Dialog once it is open.
template <typename Dialog>
void AnswerLater(const char* button, std::function<void(Dialog*)> check = {})
{
    QTimer::singleShot(0, [button, check] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (check) check(dialog);
        dialog->template findChild<QPushButton*>(button)->click();
    });
}

struct PrintFixture : MainFixture {
    FakePrinters printers;
    StartOptions PrintOptions()
    {
        StartOptions options = Options();
        options.Printers = &printers;
        return options;
    }
};

QString PrinterBox(TfrmMain& w) { return w.findChild<QLineEdit*>("edtPrinter")->text(); }

void ShowAndWait(TfrmMain& w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Types channel 1's frequencies into the grid (receive first: it sets the transmit frequency
// too); only what the command prepares from the grid takes them into the data.
void TypeChannel1(TfrmMain& w, const QString& rx, const QString& tx)
{
    TypeFrequency(w.Grid(), 0, GridCol::RxFreq, rx);
    TypeFrequency(w.Grid(), 0, GridCol::TxFreq, tx);
}

// The report of the window's start-up programming as written by hand, dated 12/10/2026, with
// channel 1 on the frequencies given.
std::string ExpectedReport(const std::string& rx, const std::string& tx)
{
    QFile file(QM54_FIXTURES "/report_new_vhf.txt");
    if (!file.open(QIODevice::ReadOnly)) return {};
    std::string text = file.readAll().toStdString();
    for (size_t at; (at = text.find("3/7/2026")) != std::string::npos;) text.replace(at, 8, "12/10/2026");
    text.replace(text.find("161.00000"), 9, rx);
    text.replace(text.find("166.00000"), 9, tx);
    return text;
}

// The pages' lines as PageLinesOf gives them, each page headed by "<page>", for a readable compare.
QStringList Pages(const std::string& text)
{
    QStringList lines;
    for (const auto& page : PageLinesOf(text)) {
        lines << "<page>";
        for (const std::string& line : page) lines << QString::fromStdString(line);
    }
    return lines;
}

}  // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void printSendsTheReportOfTheGridsStateToTheChosenPrinter()
    {
        PrintFixture f;
        f.printers.installed = {"Front", "Back"};
        f.printers.defaultName = "Front";
        f.printers.settings = {{"Front", {PaperCodeA4, true}}, {"Back", {5, false}}};
        TfrmMain w(f.PrintOptions());
        ShowAndWait(w);
        for (const char* name : {"miPrint", "miPrintPreview", "miPrintSetup", "miExportPdf"})
            QVERIFY2(w.findChild<QAction*>(name)->isEnabled(), name);
        QVERIFY(w.findChild<QToolBar*>()->actions().contains(w.findChild<QAction*>("miPrint")));

        TypeChannel1(w, "155.125", "159.875");
        AnswerLater<TfrmPrintSetup>("btnOK", [](TfrmPrintSetup* setup) { setup->cmbPrinter()->setCurrentIndex(1); });
        w.findChild<QAction*>("miPrint")->trigger();
        QCOMPARE(int(f.printers.jobs.size()), 1);
        const auto& job = f.printers.jobs[0];
        QCOMPARE(job.Printer, QString("Back"));
        // The size list showed the current printer's A4; OK wrote it and portrait into the printer chosen.
        QVERIFY((job.Settings == PrinterSettings{PaperCodeA4, true}));
        QCOMPARE(QString::fromStdString(job.Text), QString::fromStdString(ExpectedReport("155.12500", "159.87500")));
        QVERIFY(job.Text.find("12/10/2026  Page 3") != std::string::npos);
        QCOMPARE(w.Printers().Current(), QString("Back"));
        QCOMPARE(f.prompter.texts.size(), size_t(0));

        // Print Setup alone prints nothing; Cancel leaves the printer as it was.
        AnswerLater<TfrmPrintSetup>("btnCancel", [](TfrmPrintSetup* setup) { setup->cmbPrinter()->setCurrentIndex(0); });
        w.FilePrintSetup();
        AnswerLater<TfrmPrintSetup>("btnOK");
        w.FilePrintSetup();
        QCOMPARE(int(f.printers.jobs.size()), 1);
        QCOMPARE(w.Printers().Current(), QString("Back"));
    }

    // Asking the print system loads its libraries and talks to its server: the first paint of the
    // window never waits for it, and the Printer box fills in right after.
    void printerBoxFillsInAfterTheFirstPaint()
    {
        // Calls seen once, when the watched widget gets its first paint event.
        class FirstPaintWatcher : public QObject {
        public:
            FirstPaintWatcher(QWidget* widget, std::function<void()> seen) : seen_(std::move(seen))
            {
                widget->installEventFilter(this);
            }

        protected:
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && seen_) {
                    seen_();
                    seen_ = {};
                    watched->removeEventFilter(this);
                }
                return false;
            }

        private:
            std::function<void()> seen_;
        };
        PrintFixture f;
        f.printers.installed = {"Front", "Back"};
        f.printers.defaultName = "Back";
        TfrmMain w(f.PrintOptions());
        QTest::qWait(1);
        QCOMPARE(f.printers.queries, 0);
        QCOMPARE(PrinterBox(w), QString());
        int queriesAtFirstPaint = -1;
        FirstPaintWatcher watcher(&w, [&] { queriesAtFirstPaint = f.printers.queries; });
        w.show();
        QTRY_COMPARE(PrinterBox(w), QString("Back"));
        QCOMPARE(queriesAtFirstPaint, 0);
        QCOMPARE(f.printers.queries, 1);
    }

    void everyPrintFailureSaysPrintError()
    {
        PrintFixture f;
        f.printers.installed = {"Only"};
        f.printers.settings = {{"Only", {PaperCodeA4, true}}};
        TfrmMain w(f.PrintOptions());
        f.printers.refuseJobs = true;
        AnswerLater<TfrmPrintSetup>("btnOK");
        w.FilePrint();
        QCOMPARE(f.prompter.texts, std::vector<std::string>{"Print error"});

        // A printer that goes between its choice and the job: the job is not sent elsewhere.
        f.printers.refuseJobs = false;
        f.printers.installed = {"Other"};
        f.printers.settings["Other"] = {PaperCodeA4, true};
        QVERIFY(!PrintReport(w.Printers(), TPrtImg(w.Emem(), "<none>", {2026, 1, 1}), f.prompter));
        QCOMPARE(f.prompter.texts.size(), size_t(2));
        QVERIFY(f.printers.jobs.empty());

        FakePrinters none;  // and no printer at all
        PrinterChoice nothing(none);
        QVERIFY(!PrintReport(nothing, TPrtImg(w.Emem(), "<none>", {2026, 1, 1}), f.prompter));
        QCOMPARE(f.prompter.texts, (std::vector<std::string>{"Print error", "Print error", "Print error"}));
    }

    void withNoPrinterTheBoxIsEmptyAndOnlyCancelCloses()
    {
        PrintFixture f;
        TfrmMain w(f.PrintOptions());
        QTest::qWait(1);
        QCOMPARE(PrinterBox(w), QString());
        AnswerLater<TfrmPrintSetup>("btnCancel", [](TfrmPrintSetup* setup) {
            QVERIFY(!setup->btnOK()->isEnabled());
            QCOMPARE(setup->cmbPrinter()->count(), 0);
        });
        w.FilePrint();
        QVERIFY(f.printers.jobs.empty());
        QVERIFY(f.prompter.texts.empty());
    }

    void previewTakesTheWindowsCaptionAndSizeAndPrintsThroughSetup()
    {
        PrintFixture f;
        f.printers.installed = {"Front"};
        f.printers.settings = {{"Front", {PaperCodeLetter, false}}};
        TfrmMain w(f.PrintOptions());
        w.resize(900, 620);
        ShowAndWait(w);
        TypeChannel1(w, "156.25", "160.5");
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<TfrmPreview*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            QCOMPARE(preview->windowTitle(), w.windowTitle());
            QCOMPARE(preview->size(), QSize(900, 620));
            QCOMPARE(preview->PageCount(), ReportPageCount);
            QCOMPARE(preview->Image()->parentWidget()->parentWidget(), preview->Area()->viewport());
            checked = true;
            AnswerLater<TfrmPrintSetup>("btnOK");
            preview->Button("btnPrint")->click();
        });
        w.FilePrintPreview();
        QVERIFY(checked);
        QCOMPARE(int(f.printers.jobs.size()), 1);
        const QStringList printed = Pages(f.printers.jobs[0].Text);
        QVERIFY(printed.contains("1 156.25000 off off W no Prpgm --- off off A Fixed no off"));
        QVERIFY(printed.contains("1 Duplex 160.50000 off off yes yes BCLO Hi off yes yes yes yes"));
        QVERIFY((f.printers.settings["Front"] == PrinterSettings{PaperCodeLetter, true}));
        QCOMPARE(PrinterBox(w), QString("Front"));

        QTimer::singleShot(0, [] {
            auto* preview = qobject_cast<TfrmPreview*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            AnswerLater<TfrmPrintSetup>("btnCancel");
            preview->Button("btnPrint")->click();
        });
        w.FilePrintPreview();  // returns: Cancel in the setup closed the preview too
        QCOMPARE(int(f.printers.jobs.size()), 1);
    }

    void exportPdfWritesTheReportOrSaysWhyNot()
    {
        PrintFixture f;
        TfrmMain w(f.PrintOptions());
        ShowAndWait(w);
        TypeChannel1(w, "157.375", "162.0");
        f.dialogs.pdfAnswers = {f.Path("report.pdf"), f.Path("missing/report.pdf")};
        w.findChild<QAction*>("miExportPdf")->trigger();
        const QByteArray pdf = f.ReadText("report.pdf");
        QVERIFY(pdf.startsWith("%PDF"));
        if (QFile::exists("/usr/bin/pdftotext")) {  // vector text: the lines read back as they were drawn
            QProcess text;
            text.start("/usr/bin/pdftotext", {"-layout", f.Path("report.pdf"), "-"});
            QVERIFY(text.waitForFinished(30000));
            QCOMPARE(Pages(text.readAllStandardOutput().toStdString()), Pages(ExpectedReport("157.37500", "162.00000")));
        }
        QVERIFY(f.prompter.texts.empty());
        w.FileExportPdf();
        QCOMPARE(f.prompter.texts, std::vector<std::string>{"Print error"});
        QVERIFY(!QFile::exists(f.Path("missing/report.pdf")));
        w.FileExportPdf();  // cancelled: nothing
        QCOMPARE(f.prompter.texts.size(), size_t(1));
    }
};

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
