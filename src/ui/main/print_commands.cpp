// The main window's printing commands: File > Print, Print Preview, Print Setup and Export PDF,
// and the Printer box that follows the current printer.
#include "ui/main/main_window.h"

#include "ui/print/preview_window.h"
#include "ui/print/print_setup_dialog.h"
#include "ui/print/report_painter.h"
#include "ui/common/qt_text.h"

#include <QLineEdit>

namespace qm54 {

void TfrmMain::ShowPrinterName()
{
    printerName_ = printers_.Current();
    edtPrinter_->setText(printerName_);
}

TPrtImg TfrmMain::BuildReport() const
{
    ReportDate today = TodayDate();
    const std::string& fixed = options_.Today;  // "YYYYMMDD" when a test fixes the day
    if (fixed.size() == 8)
        ParseReportDate(fixed.substr(0, 4) + "-" + fixed.substr(4, 2) + "-" + fixed.substr(6, 2), today);
    return TPrtImg(doc_.Emem(), doc_.CurrentFile(), today);
}

void TfrmMain::FilePrintSetup()
{
    Prepare();
    TfrmPrintSetup setup(printers_, this);
    setup.exec();
    ShowPrinterName();
}

void TfrmMain::FilePrint()
{
    Prepare();
    TfrmPrintSetup setup(printers_, this);
    if (setup.exec() == QDialog::Accepted) {
        ShowPrinterName();
        const TPrtImg report = BuildReport();
        ChooseReportPaper(printers_);
        PrintReport(printers_, report, prompter_);
    }
    ShowPrinterName();
}

void TfrmMain::FilePrintPreview()
{
    Prepare();
    const TPrtImg report = BuildReport();
    const int paper = ChooseReportPaper(printers_);
    TfrmPreview preview(ReportPageImages(report, paper), paper,
                        [this, &report](QWidget* parent) {
                            TfrmPrintSetup setup(printers_, parent);
                            if (setup.exec() == QDialog::Accepted) PrintReport(printers_, report, prompter_);
                        },
                        this);
    preview.setWindowTitle(windowTitle());
    preview.resize(width(), height());
    preview.exec();
    ShowPrinterName();
}

void TfrmMain::FileExportPdf()
{
    Prepare();
    const QString path = dialogs_.SavePdfFile(this, ToQString(settings_.CurrentFolder));
    if (path.isEmpty()) return;
    const TPrtImg report = BuildReport();
    const QString reason = ExportReportPdf(report, ChooseReportPaper(printers_), path);
    if (!reason.isEmpty()) prompter_.Show("Print error", MsgKind::Error, MsgButtons::Ok, ToStdString(reason));
    ShowPrinterName();
}

}  // namespace qm54
