// Arbitrary bytes as a memory image (cut or padded to its size), decoded as a file would be, and
// laid out as the printed report: three pages, each line on its own row with no control byte in
// it, the common data and tables pages always of the same lines, the channel page two tables of
// the channels in use; the text and the PDF of the pages are made without reading outside a table
// (the sanitizers watch every access).
#include "fuzz_check.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "print/prt_img.h"
#include "print/report_pdf.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace qm54;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMap54 map;
    map.Bytes().fill(0);
    std::memcpy(map.Bytes().data(), data, std::min(size, map.Bytes().size()));
    TCEmem emem;
    SetDefaults(emem);
    (void)map.Decode(emem);

    const std::string name(reinterpret_cast<const char*>(data), std::min<size_t>(size, 12));
    const TPrtImg report(emem, "/folder/" + name, {2026, 2, 28});
    FUZZ_CHECK(report.PageCount() == ReportPageCount);

    static const TPrtImg kDefault = [] {
        TCEmem e;
        SetDefaults(e);
        return TPrtImg(e, "<none>", {2026, 2, 28});
    }();
    FUZZ_CHECK(report.Page(0).size() == kDefault.Page(0).size());
    FUZZ_CHECK(report.Page(1).size() == kDefault.Page(1).size());
    int inUse = 0;
    for (int i = 0; i < ChannelCount; ++i) inUse += emem.Channels.Items(i).InUse != 0 ? 1 : 0;
    FUZZ_CHECK(report.Page(2).size() == static_cast<size_t>(2 + (inUse > 0 ? 2 * (4 + inUse) : 0)));

    size_t rows = 0;
    for (int p = 0; p < report.PageCount(); ++p) {
        int last = -1;
        for (const ReportLine& line : report.Page(p)) {
            FUZZ_CHECK(line.Line > last);  // lines go down the page, one text to a line
            last = line.Line;
            for (char c : line.Text) FUZZ_CHECK(static_cast<unsigned char>(c) >= 32 && c != 127);
        }
        rows += static_cast<size_t>(last + 1);
    }
    const std::string text = ReportText(report);
    FUZZ_CHECK(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) == rows + ReportPageCount - 1);
    FUZZ_CHECK(std::count(text.begin(), text.end(), '\f') == ReportPageCount - 1);

    const std::string pdf = ReportPdf(report, size > 0 && data[0] % 2 == 1 ? PaperLetter : PaperA4);
    FUZZ_CHECK(pdf.rfind("%PDF-", 0) == 0 && pdf.size() > text.size() / 2);
    return 0;
}
