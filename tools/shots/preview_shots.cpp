// qm54-preview-shots FOLDER: saves a PNG of the print preview of the default programming at each
// zoom level (preview-fitted.png, preview-80.png, preview-100.png) and of Print Setup with one
// printer (dialog-print-setup.png), for the documentation. Run under a display
// (scripts/screenshot runs it under Xvfb).
#include <QApplication>
#include <QDir>

#include "model/image/emem.h"
#include "model/image/map54.h"
#include "print/prt_img.h"
#include "ui/print/preview_window.h"
#include "ui/print/print_setup_dialog.h"
#include "ui/print/report_painter.h"

namespace {

// One printer set to A4, so that the shot does not depend on the machine's printers.
struct ShotPrinters final : qm54::PrinterSystem {
    QStringList Installed() override { return {"Office-Laser"}; }
    QString DefaultPrinter() override { return "Office-Laser"; }
    std::optional<qm54::PrinterSettings> ReadSettings(const QString&) override { return qm54::PrinterSettings{}; }
    void WriteSettings(const QString&, const qm54::PrinterSettings&) override {}
    bool RunJob(const QString&, const qm54::PrinterSettings&, const qm54::TPrtImg&) override { return false; }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    qm54::TMap54 map;
    qm54::TCEmem emem;
    (void)map.Decode(emem);
    qm54::SetDefaults(emem);
    const qm54::TPrtImg report(emem, "/home/dealer/SITE.Q54", {2026, 12, 10});

    int failures = 0;
    auto settle = [&app] {
        for (int i = 0; i < 10; ++i) app.processEvents();
    };
    qm54::TfrmPreview preview(qm54::ReportPageImages(report, qm54::PaperA4), qm54::PaperA4, {});
    preview.setWindowTitle("SITE.Q54 - QM54Win for KTD-4150 Series");
    preview.resize(980, 700);
    preview.show();
    settle();
    for (const char* name : {"preview-fitted.png", "preview-80.png", "preview-100.png"}) {
        if (!preview.grab().save(folder.filePath(name), "PNG")) ++failures;
        preview.ZoomIn();
        settle();
    }

    ShotPrinters system;
    qm54::PrinterChoice printers(system);
    qm54::TfrmPrintSetup setup(printers);
    setup.show();
    settle();
    if (!setup.grab().save(folder.filePath("dialog-print-setup.png"), "PNG")) ++failures;
    return failures == 0 ? 0 : 1;
}
