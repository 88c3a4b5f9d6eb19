// The printed report: building the three pages, opening the preview (the page images painted and
// the fitted page drawn on a shown window) and exporting the PDF through the painter, medians of
// many runs (offscreen unless a display is chosen).
#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "model/image/emem.h"
#include "model/image/map54.h"
#include "print/prt_img.h"
#include "print/report_pdf.h"
#include "ui/print/preview_window.h"
#include "ui/print/report_painter.h"

namespace {

template <class F>
double MedianMs(int runs, F&& f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(ms.begin(), ms.begin() + runs / 2, ms.end());
    return ms[static_cast<std::size_t>(runs / 2)];
}

// The default programming with every channel in use: the longest channel page.
qm54::TCEmem FullProgramming()
{
    qm54::TMap54 map;
    qm54::TCEmem emem;
    (void)map.Decode(emem);
    qm54::SetDefaults(emem);
    for (int i = 0; i < qm54::ChannelCount; ++i) emem.Channels.Items(i).InUse = 1;
    return emem;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qm54::TCEmem emem = FullProgramming();
    const qm54::ReportDate date{2026, 12, 10};

    std::size_t lines = 0;
    const double build = MedianMs(2000, [&] { lines += qm54::TPrtImg(emem, "/data/SITE.Q54", date).Page(2).size(); });
    const qm54::TPrtImg report(emem, "/data/SITE.Q54", date);
    const double text = MedianMs(2000, [&] { lines += qm54::ReportText(report).size(); });
    const double corePdf = MedianMs(500, [&] { lines += qm54::ReportPdf(report, qm54::PaperA4).size(); });
    const double preview = MedianMs(30, [&] {
        qm54::TfrmPreview window(qm54::ReportPageImages(qm54::TPrtImg(emem, "/data/SITE.Q54", date), qm54::PaperA4),
                                 qm54::PaperA4, {});
        window.resize(980, 600);
        window.show();
        QApplication::processEvents();
    });
    QTemporaryDir folder;
    const QString path = folder.filePath("report.pdf");
    const double pdf = MedianMs(30, [&] {
        lines += qm54::ExportReportPdf(qm54::TPrtImg(emem, "/data/SITE.Q54", date), qm54::PaperA4, path).size();
    });

    std::printf("build the three pages (16 channels):  %.4f ms\n", build);
    std::printf("pages as text (qm54 report --text):   %.4f ms\n", text);
    std::printf("pages as the tool's PDF:              %.4f ms\n", corePdf);
    std::printf("open the preview (images and paint):  %.2f ms\n", preview);
    std::printf("export the PDF through the painter:   %.2f ms\n", pdf);
    return lines == 0 ? 1 : 0;
}
