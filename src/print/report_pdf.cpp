#include "print/report_pdf.h"

#include <cstdint>
#include <vector>

namespace qm54 {

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kFontPoints = 10;
constexpr int kAscentHundredths = 833;  // of a point, for the 10 point font

// hundredths of a point as PDF number text.
std::string Points(int64_t hundredths)
{
    std::string text = hundredths < 0 ? "-" : "";
    const int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    text += std::to_string(magnitude / 100) + '.';
    const int64_t fraction = magnitude % 100;
    text += (fraction < 10 ? "0" : "") + std::to_string(fraction);
    return text;
}

// The one-byte encoding of the standard font (ASCII and Latin-1 letters); '?' for any other
// character. Parentheses and backslashes are escaped for a PDF string.
std::string PdfString(const std::string& utf8)
{
    std::string out = "(";
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        uint32_t code = '?';
        size_t length = 1;
        if (lead < 0x80) code = lead;
        else if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size()) code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu), length = 2;
        else if ((lead & 0xF0) == 0xE0) length = 3;
        else if ((lead & 0xF8) == 0xF0) length = 4;
        i += length;
        if (code < 32 || code == 127 || (code >= 0x80 && code < 0xA0) || code > 0xFF) code = '?';
        if (code == '(' || code == ')' || code == '\\') out += '\\';
        out += static_cast<char>(code);
    }
    return out + ")";
}

std::string PageContent(const ReportPage& page, int64_t heightHundredths)
{
    std::string content = "BT\n/F1 " + std::to_string(kFontPoints) + " Tf\n";
    const int pitch = LinePitch(kPointsPerInch);
    for (const ReportLine& line : page) {
        const int64_t baseline = heightHundredths - int64_t{line.Line} * pitch * 100 - kAscentHundredths;
        content += "1 0 0 1 0 " + Points(baseline) + " Tm " + PdfString(DrawnText(line)) + " Tj\n";
    }
    return content + "ET\n";
}

}  // namespace

std::string ReportPdf(const TPrtImg& report, int paperIndex)
{
    const ReportPaper& paper = PaperAt(paperIndex);
    const int64_t width = int64_t{paper.Width} * kPointsPerInch;  // hundredths of a point
    const int64_t height = int64_t{paper.Height} * kPointsPerInch;

    // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content for each page.
    std::vector<std::string> objects;
    std::string kids;
    for (int p = 0; p < report.PageCount(); ++p) kids += std::to_string(4 + 2 * p) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(report.PageCount()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
    for (int p = 0; p < report.PageCount(); ++p) {
        const std::string content = PageContent(report.Page(p), height);
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Points(width) + " " + Points(height) +
                          "] /Resources << /Font << /F1 3 0 R >> >> /Contents " + std::to_string(5 + 2 * p) +
                          " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
    }

    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        std::string number = std::to_string(offset);
        pdf += std::string(10 - number.size(), '0') + number + " 00000 n \n";
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace qm54
