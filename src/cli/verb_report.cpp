// qm54 report FILE [--pdf OUT | --text] [--paper a4|letter] [--date YYYY-MM-DD]: the printed
// report of a data file as a PDF (beside FILE unless --pdf names it) or as plain text.
#include "cli/cli.h"
#include "cli/verbs.h"
#include "model/storage/atomic_file.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "print/prt_img.h"
#include "print/report_pdf.h"

#include <cstdio>
#include <filesystem>

namespace qm54::cli {

int RunReport(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--text", false}, {"--pdf", true}, {"--paper", true}, {"--date", true}}, parsed, error))
        return UsageError("report", error);
    if (parsed.Positional.size() != 1) return UsageError("report", "give exactly one FILE");
    const bool text = parsed.Has("--text");
    const std::string& file = parsed.Positional[0];
    std::string pdfPath = parsed.Value("--pdf", "");
    if (text && !pdfPath.empty()) return UsageError("report", "give --text or --pdf OUT, not both");
    if (!text && pdfPath.empty()) pdfPath = std::filesystem::path(file).replace_extension(".pdf").string();
    std::error_code ec;
    if (!text && std::filesystem::weakly_canonical(pdfPath, ec) == std::filesystem::weakly_canonical(file, ec))
        return UsageError("report", "the PDF would replace FILE itself: name another with --pdf OUT");
    const std::string paper = parsed.Value("--paper", "a4");
    if (paper != "a4" && paper != "letter") return UsageError("report", "--paper is a4 or letter, not \"" + paper + "\"");
    ReportDate date = TodayDate();
    const std::string dateText = parsed.Value("--date", "");
    if (!dateText.empty() && !ParseReportDate(dateText, date))
        return UsageError("report", "--date is a day as YYYY-MM-DD, not \"" + dateText + "\"");

    TCEmem emem;
    TMap54 map;
    if (!LoadToolFile(file, emem, map)) return ExitFailed;
    const TPrtImg report(emem, file, date);
    if (text) return WriteOutput("report", ReportText(report));

    const WriteResult written = AtomicWriteFile(pdfPath, ReportPdf(report, paper == "letter" ? PaperLetter : PaperA4));
    if (!written.Ok) {
        std::fprintf(stderr, "qm54 report: %s: %s\n", pdfPath.c_str(), written.Reason.c_str());
        return ExitFailed;
    }
    return ExitOk;
}

}  // namespace qm54::cli
