// TPrtImg: the printed report of the programming as three fixed pages of positioned text lines
// (common data; 5-tone table, alignment data, Tx power trims and alpha tags; channel data). The
// window paints the lines onto a printer, page images or a PDF; the tool prints them as text.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qm54 {

class TCEmem;

// One text drawn on a page: 5 blanks, Indent blanks, then Text, at Line x the line pitch.
struct ReportLine {
    int Line = 0;
    int Indent = 0;
    std::string Text;
    bool operator==(const ReportLine&) const = default;
};
using ReportPage = std::vector<ReportLine>;

struct ReportDate {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
};

// Today's local date.
ReportDate TodayDate();
// "YYYY-MM-DD" with a real day of the Gregorian calendar; false otherwise.
bool ParseReportDate(std::string_view text, ReportDate& date);

inline constexpr int ReportPageCount = 3;
inline constexpr int ReportLeftBlanks = 5;

// The paper sizes the report is laid out for, in hundredths of an inch; the preview's page
// images are this many pixels.
struct ReportPaper {
    const char* Name;
    int Width;
    int Height;
};
inline constexpr int PaperA4 = 0;
inline constexpr int PaperLetter = 1;
inline constexpr std::array<ReportPaper, 2> PaperTable{{{"A4", 827, 1169}, {"Letter", 850, 1100}}};
// The printing system's paper codes of the two sizes.
inline constexpr int PaperCodeLetter = 1;
inline constexpr int PaperCodeA4 = 9;
// The paper index for a printer's paper code: Letter for PaperCodeLetter, A4 for anything else.
int PaperIndexForCode(int paperCode);
// The paper of index, A4 for an index outside the table.
const ReportPaper& PaperAt(int paperIndex);

// Pixels from one report line to the next on a target of dpi pixels per inch.
inline constexpr int LinePitch(int dpi) { return 10 * dpi / 72; }

class TPrtImg {
public:
    // The report of emem; currentFile is the window's current file path ("<none>" when unnamed),
    // of which the first page shows the file-name part.
    TPrtImg(const TCEmem& emem, std::string_view currentFile, ReportDate today);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Page i (0-based); an index outside gives an empty page.
    const ReportPage& Page(int i) const;

private:
    std::vector<ReportPage> pages_;
};

// What is drawn for line: the blanks and the text.
std::string DrawnText(const ReportLine& line);
// The pages as plain text: each page's lines from 0 to its last line, line n holding what is
// drawn at line n (an empty line where nothing is), and a line of a single form feed between pages.
std::string ReportText(const TPrtImg& report);

}  // namespace qm54
