// Print Setup and the preview window, offscreen: the printer and paper lists, what OK writes, the
// preview's buttons, zoom layout, drawing and size, and the painter's geometry.
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <set>

#include "model/image/emem.h"
#include "model/image/map54.h"
#include "print_test_support.h"
#include "ui/print/preview_window.h"
#include "ui/print/print_setup_dialog.h"
#include "ui/print/report_painter.h"

using namespace qm54;
using namespace qm54::test;

namespace {

TPrtImg NewReport()
{
    TMap54 map;
    TCEmem emem;
    if (!map.Decode(emem)) return TPrtImg(emem, "<none>", {2026, 3, 7});
    SetDefaults(emem);
    return TPrtImg(emem, "<none>", {2026, 3, 7});
}

// Rows of the image that hold a dark pixel.
std::vector<int> InkedRows(const QImage& image)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                rows.push_back(y);
                break;
            }
    return rows;
}

bool Inked(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

}  // namespace

class PrintDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void setupWithNoPrinterHasEmptyListsAndNoOk()
    {
        FakePrinters system;
        PrinterChoice printers(system);
        TfrmPrintSetup setup(printers);
        QCOMPARE(setup.windowTitle(), QString("Print Setup"));
        QCOMPARE(setup.cmbPrinter()->count(), 0);
        QCOMPARE(setup.cmbSize()->count(), 0);
        QVERIFY(!setup.btnOK()->isEnabled());
        setup.show();
        setup.accept();  // Enter: only Cancel closes it
        QVERIFY(setup.isVisible());
    }

    void setupShowsTheCurrentPrinterAndWritesPaperAndPortraitOnOk()
    {
        FakePrinters system;
        system.installed = {"Office", "Legal-Tray", "Plain"};
        system.defaultName = "Legal-Tray";
        system.settings = {{"Office", {PaperCodeA4, false}}, {"Legal-Tray", {5, false}}};
        PrinterChoice printers(system);

        TfrmPrintSetup legal(printers);
        QCOMPARE(legal.cmbPrinter()->count(), 3);
        QCOMPARE(legal.cmbPrinter()->itemText(0), QString("Office"));  // the system's order
        QCOMPARE(legal.cmbPrinter()->currentText(), QString("Legal-Tray"));
        QCOMPARE(legal.cmbSize()->itemText(0), QString("Letter"));
        QCOMPARE(legal.cmbSize()->itemText(1), QString("A4"));
        QCOMPARE(legal.cmbSize()->currentText(), QString("Letter"));  // Legal shows Letter
        legal.accept();
        QCOMPARE(legal.result(), int(QDialog::Accepted));
        QVERIFY((system.settings["Legal-Tray"] == PrinterSettings{PaperCodeLetter, true}));

        TfrmPrintSetup office(printers);
        office.cmbPrinter()->setCurrentIndex(0);
        office.cmbSize()->setCurrentIndex(0);
        office.reject();  // Cancel changes nothing
        QCOMPARE(printers.Current(), QString("Legal-Tray"));
        QVERIFY((system.settings["Office"] == PrinterSettings{PaperCodeA4, false}));

        TfrmPrintSetup a4(printers);
        QCOMPARE(a4.cmbSize()->currentText(), QString("Letter"));  // the list shows the current printer's paper
        a4.cmbPrinter()->setCurrentIndex(0);
        a4.cmbSize()->setCurrentIndex(1);
        a4.accept();
        QCOMPARE(printers.Current(), QString("Office"));
        QVERIFY((system.settings["Office"] == PrinterSettings{PaperCodeA4, true}));

        // Unreadable settings: the size list keeps A4, OK still selects the printer.
        TfrmPrintSetup plain(printers);
        plain.cmbPrinter()->setCurrentIndex(2);
        plain.accept();
        QCOMPARE(printers.Current(), QString("Plain"));
        TfrmPrintSetup again(printers);
        QCOMPARE(again.cmbSize()->currentText(), QString("A4"));
    }

    void reportPaperFollowsTheCurrentPrinter()
    {
        FakePrinters system;
        PrinterChoice printers(system);
        QCOMPARE(ChooseReportPaper(printers), PaperA4);  // no printer
        system.installed = {"P"};
        system.settings = {{"P", {PaperCodeLetter, false}}};
        QCOMPARE(ChooseReportPaper(printers), PaperLetter);
        QVERIFY(system.settings["P"].Portrait);
        system.settings["P"] = {5, false};
        QCOMPARE(ChooseReportPaper(printers), PaperA4);
        QVERIFY(!system.settings["P"].Portrait);  // any other paper leaves the printer as it is
    }

    void pageImagesArePaintedAtTheLinePitchInTheFixedPitchFont()
    {
        const QFontInfo font(ReportFont());
        QVERIFY2(font.fixedPitch(), qPrintable(font.family()));
        QVERIFY2(font.family() == "Courier New" || font.family() == "Liberation Mono", qPrintable(font.family()));

        const std::vector<QImage> pages = ReportPageImages(NewReport(), PaperLetter);
        QCOMPARE(int(pages.size()), ReportPageCount);
        QCOMPARE(pages[0].size(), QSize(850, 1100));
        // Lines are LinePitch(96) = 13 pixels apart: the bands of the lines that the first page
        // draws (0, 2, 4, 8, ... 71) are inked, those of lines 6 and 7 and below 72 (beyond the
        // reach of a descender from the line above) are not.
        const int pitch = LinePitch(PageImageDpi);
        std::set<int> lines;
        for (int row : InkedRows(pages[0])) lines.insert(row / pitch);
        QVERIFY(lines.count(0) && lines.count(2) && lines.count(4) && lines.count(71));
        QVERIFY(!lines.count(6) && !lines.count(7) && *lines.rbegin() <= 72);
        // Line 0 starts at 5 + 65 character cells: the date of the header and nothing to its left.
        QImage probe = pages[0];
        const int blanks = int(QFontMetricsF(ReportFont(), &probe).horizontalAdvance(QString(70, ' ')));
        QVERIFY(!Inked(pages[0], QRect(0, 0, blanks - 1, pitch)));
        QVERIFY(Inked(pages[0], QRect(blanks, 0, 16, pitch)));
    }

    void previewButtonsFollowThePageAndTheZoom()
    {
        TfrmPreview preview(ReportPageImages(NewReport(), PaperA4), PaperA4, {});
        QCOMPARE(preview.ZoomLevel(), -1);
        preview.show();
        QCOMPARE(preview.ZoomLevel(), 0);
        QCOMPARE(preview.CurrentPage(), 0);
        auto enabled = [&](const char* name) { return preview.Button(name)->isEnabled(); };
        QVERIFY(enabled("btnZoomIn") && !enabled("btnZoomOut") && enabled("btnNext") && !enabled("btnPrevious"));
        QTest::mouseClick(preview.Button("btnNext"), Qt::LeftButton);
        QTest::mouseClick(preview.Button("btnNext"), Qt::LeftButton);
        QCOMPARE(preview.CurrentPage(), 2);
        QVERIFY(!enabled("btnNext") && enabled("btnPrevious"));
        preview.NextPage();
        QCOMPARE(preview.CurrentPage(), 2);
        QTest::mouseClick(preview.Button("btnZoomIn"), Qt::LeftButton);
        QTest::mouseClick(preview.Button("btnZoomIn"), Qt::LeftButton);
        QCOMPARE(preview.ZoomLevel(), 2);
        QVERIFY(!enabled("btnZoomIn") && enabled("btnZoomOut"));
        preview.ZoomIn();
        QCOMPARE(preview.ZoomLevel(), 2);
        QTest::mouseClick(preview.Button("btnZoomOut"), Qt::LeftButton);
        QTest::mouseClick(preview.Button("btnZoomOut"), Qt::LeftButton);
        QCOMPARE(preview.ZoomLevel(), 0);
        QVERIFY(enabled("btnZoomIn") && !enabled("btnZoomOut"));

        const std::vector<QImage> one(1, QImage(827, 1169, QImage::Format_RGB32));
        TfrmPreview single(one, PaperA4, {});
        single.show();
        QVERIFY(!single.Button("btnNext")->isEnabled() && !single.Button("btnPrevious")->isEnabled());
    }

    void previewLayoutOfEachZoomLevel()
    {
        TfrmPreview preview(ReportPageImages(NewReport(), PaperA4), PaperA4, {});
        preview.resize(1000, 700);
        preview.show();
        QScrollArea* area = preview.Area();
        QCOMPARE(area->width(), 1000);  // the area follows the window, less its margins
        const int areaWidth = area->width();
        const int areaHeight = area->height();

        const int fittedHeight = areaHeight - 20;
        const int fittedWidth = 827 * fittedHeight / 1169;
        QCOMPARE(preview.Image()->geometry(), QRect((areaWidth - fittedWidth) / 2, 10, fittedWidth, fittedHeight));
        QCOMPARE(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

        preview.ZoomIn();
        QCOMPARE(preview.Image()->size(), QSize(661, 935));
        QCOMPARE(preview.Image()->y(), 10);
        QCOMPARE(preview.Image()->x(), (areaWidth - 661) / 2);
        QCOMPARE(area->verticalScrollBar()->value(), 0);
        QCOMPARE(area->widget()->height(), 935 + 20);

        preview.ZoomIn();
        QCOMPARE(preview.Image()->geometry(), QRect((areaWidth - 827) / 2 >= 11 ? (areaWidth - 827) / 2 : 10, 10, 827, 1169));
        QCOMPARE(area->widget()->height(), 1169 + 20);
        QCOMPARE(area->widget()->width(), std::max(827 + 20, preview.Image()->x() + 827));

        preview.resize(835, 540);  // narrower than the page: it sits 10 from the left, scrolled to the middle
        QCOMPARE(preview.Image()->x(), 10);
        QScrollBar* h = area->horizontalScrollBar();
        QCOMPARE(h->value(), std::min((827 + 20) / 2, h->maximum()));
    }

    void previewDrawsThePageUnscaledAtFullSizeAndStretchedOtherwise()
    {
        QImage page(827, 1169, QImage::Format_RGB32);
        page.fill(Qt::black);
        TfrmPreview preview({page}, PaperA4, {});
        preview.show();
        preview.ZoomIn();
        preview.ZoomIn();
        const QImage full = preview.Image()->pixmap().toImage();
        QCOMPARE(full.size(), QSize(827, 1169));
        QCOMPARE(qGray(full.pixel(39, 100)), 255);  // left of the page's corner at (40, 20)
        QCOMPARE(qGray(full.pixel(100, 19)), 255);
        QCOMPARE(qGray(full.pixel(40, 20)), 0);
        QCOMPARE(qGray(full.pixel(826, 1168)), 0);

        preview.ZoomOut();  // 80 percent: s = 661 / 827, the page from (R(40 s), R(20 s)) = (32, 16)
        const QImage scaled = preview.Image()->pixmap().toImage();
        QCOMPARE(scaled.size(), QSize(661, 935));
        QCOMPARE(qGray(scaled.pixel(31, 100)), 255);
        QCOMPARE(qGray(scaled.pixel(100, 15)), 255);
        QCOMPARE(qGray(scaled.pixel(33, 17)), 0);
    }

    void previewKeepsItsMinimumSizeAndClosesByEscAndAfterPrint()
    {
        TfrmPreview preview(ReportPageImages(NewReport(), PaperA4), PaperA4, {});
        preview.show();
        preview.resize(500, 300);
        QCOMPARE(preview.size(), QSize(835, 540));
        QTest::keyClick(&preview, Qt::Key_Escape);
        QVERIFY(!preview.isVisible());

        int printed = 0;
        TfrmPreview printing(ReportPageImages(NewReport(), PaperA4), PaperA4, [&](QWidget*) { ++printed; });
        printing.show();
        QTest::mouseClick(printing.Button("btnPrint"), Qt::LeftButton);
        QCOMPARE(printed, 1);
        QVERIFY(!printing.isVisible());
    }
};

QTEST_MAIN(PrintDialogsTest)
#include "print_dialogs_test.moc"
