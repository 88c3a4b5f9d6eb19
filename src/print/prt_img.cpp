// The three pages of the report: the header of every page, the common data, the tables page and
// the channel data page.
#include "print/prt_img.h"

#include "model/image/emem.h"
#include "model/image/tables.h"
#include "print/report_format.h"
#include "print/report_pages.h"

#include <ctime>

namespace qm54 {

using namespace report;

ReportDate TodayDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool ParseReportDate(std::string_view text, ReportDate& date)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    auto number = [&](size_t from, size_t count, int& out) {
        out = 0;
        for (size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            out = out * 10 + (text[i] - '0');
        }
        return true;
    };
    ReportDate d;
    if (!number(0, 4, d.Year) || !number(5, 2, d.Month) || !number(8, 2, d.Day)) return false;
    if (d.Year < 1 || d.Month < 1 || d.Month > 12 || d.Day < 1) return false;
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (d.Year % 4 == 0 && d.Year % 100 != 0) || d.Year % 400 == 0;
    const int days = kDays[d.Month - 1] + (d.Month == 2 && leap ? 1 : 0);
    if (d.Day > days) return false;
    date = d;
    return true;
}

int PaperIndexForCode(int paperCode) { return paperCode == PaperCodeLetter ? PaperLetter : PaperA4; }

const ReportPaper& PaperAt(int paperIndex)
{
    return paperIndex == PaperLetter ? PaperTable[PaperLetter] : PaperTable[PaperA4];
}

namespace {

// The page header; returns the line the page's body starts from.
int AddHeader(ReportPage& page, int pageNumber, ReportDate today, std::string_view currentFile)
{
    const std::string date = Dec(today.Month) + "/" + Dec(today.Day) + "/" + Dec(today.Year);
    page.push_back({0, 65, date + "  Page " + Dec(pageNumber)});
    if (pageNumber != 1) return 2;
    const auto slash = currentFile.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? currentFile : currentFile.substr(slash + 1);
    page.push_back({2, 10, std::string("********** Dornhal ") + KtdModelName + " Series **********"});
    page.push_back({4, 2, "File Name:  " + Printable(name)});
    return 6;
}

}  // namespace

TPrtImg::TPrtImg(const TCEmem& emem, std::string_view currentFile, ReportDate today)
{
    using PageBody = void (*)(ReportPage&, int body, const TCEmem&);
    static constexpr PageBody kBodies[ReportPageCount] = {AddCommonData, AddTables, AddChannelData};
    for (int i = 0; i < ReportPageCount; ++i) {
        ReportPage page;
        const int body = AddHeader(page, i + 1, today, currentFile);
        kBodies[i](page, body, emem);
        pages_.push_back(std::move(page));
    }
}

const ReportPage& TPrtImg::Page(int i) const
{
    static const ReportPage kEmpty;
    return i >= 0 && i < PageCount() ? pages_[static_cast<size_t>(i)] : kEmpty;
}

std::string DrawnText(const ReportLine& line)
{
    return std::string(static_cast<size_t>(ReportLeftBlanks + (line.Indent > 0 ? line.Indent : 0)), ' ') + line.Text;
}

std::string ReportText(const TPrtImg& report)
{
    std::string out;
    for (int p = 0; p < report.PageCount(); ++p) {
        if (p > 0) out += "\f\n";
        const ReportPage& page = report.Page(p);
        int last = -1;
        for (const ReportLine& line : page) last = line.Line > last ? line.Line : last;
        std::vector<std::string> rows(static_cast<size_t>(last + 1));
        for (const ReportLine& line : page) rows[static_cast<size_t>(line.Line)] = DrawnText(line);
        for (const std::string& row : rows) out += row + '\n';
    }
    return out;
}

}  // namespace qm54
