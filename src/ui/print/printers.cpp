#include "ui/print/printers.h"

#include "model/storage/prompter.h"
#include "ui/print/report_painter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace qm54 {

namespace {

// The printing system's paper codes of the sizes a printer may be set to.
struct PaperCode {
    QPageSize::PageSizeId Id;
    int Code;
};
constexpr PaperCode kPaperCodes[] = {
    {QPageSize::Letter, PaperCodeLetter}, {QPageSize::Legal, 5}, {QPageSize::A3, 8},
    {QPageSize::A4, PaperCodeA4}, {QPageSize::A5, 11}, {QPageSize::B5, 13}, {QPageSize::Executive, 7},
};

int CodeOf(QPageSize::PageSizeId id)
{
    for (const PaperCode& paper : kPaperCodes)
        if (paper.Id == id) return paper.Code;
    return 256;  // a size of the printer's own
}

QPageSize SizeOf(int code)
{
    for (const PaperCode& paper : kPaperCodes)
        if (paper.Code == code) return QPageSize(paper.Id);
    return QPageSize(QPageSize::A4);
}

}  // namespace

QStringList SystemPrinters::Installed() { return QPrinterInfo::availablePrinterNames(); }

QString SystemPrinters::DefaultPrinter() { return QPrinterInfo::defaultPrinterName(); }

std::optional<PrinterSettings> SystemPrinters::ReadSettings(const QString& name)
{
    if (const auto it = written_.find(name); it != written_.end()) return it->second;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return std::nullopt;
    return PrinterSettings{CodeOf(info.defaultPageSize().id()), true};
}

void SystemPrinters::WriteSettings(const QString& name, const PrinterSettings& settings) { written_[name] = settings; }

bool SystemPrinters::RunJob(const QString& name, const PrinterSettings& settings, const TPrtImg& report)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) return false;
    printer.setDocName(QStringLiteral("QM54Win report"));
    printer.setPageSize(SizeOf(settings.PaperCode));
    printer.setPageOrientation(settings.Portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int p = 0; p < report.PageCount(); ++p) {
        if (p > 0 && !printer.newPage()) {
            printer.abort();
            return false;
        }
        PaintReportPage(painter, report.Page(p), printer.resolution());
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

QString PrinterChoice::Current()
{
    const QStringList installed = system_.Installed();
    if (installed.contains(chosen_)) return chosen_;
    const QString fallback = system_.DefaultPrinter();
    if (installed.contains(fallback)) return fallback;
    return installed.isEmpty() ? QString() : installed.first();
}

int ChooseReportPaper(PrinterChoice& printers)
{
    const QString name = printers.Current();
    if (name.isEmpty()) return PaperA4;
    std::optional<PrinterSettings> settings = printers.System().ReadSettings(name);
    if (!settings || (settings->PaperCode != PaperCodeLetter && settings->PaperCode != PaperCodeA4)) return PaperA4;
    settings->Portrait = true;
    printers.System().WriteSettings(name, *settings);
    return PaperIndexForCode(settings->PaperCode);
}

bool PrintReport(PrinterChoice& printers, const TPrtImg& report, Prompter& prompter)
{
    const QString name = printers.ForJob();
    const std::optional<PrinterSettings> settings = name.isEmpty() ? std::nullopt : printers.System().ReadSettings(name);
    if (settings && printers.System().RunJob(name, *settings, report)) return true;
    ShowMessageBox(prompter, "Print error", MsgKind::Error);
    return false;
}

}  // namespace qm54
