// The report as a PDF document of its own: searchable text in the standard Courier font (the
// metrics of the fixed-pitch printer font), one PDF page per report page, 10 points, lines
// 10 points apart from the top-left corner of the paper.
#pragma once

#include "print/prt_img.h"

#include <string>

namespace qm54 {

// The bytes of the PDF file of report on the paper of paperIndex (PaperA4 or PaperLetter).
std::string ReportPdf(const TPrtImg& report, int paperIndex);

}  // namespace qm54
