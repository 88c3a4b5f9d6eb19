// The bodies of the report's three pages (below the page header, from line body on).
#pragma once

#include "print/prt_img.h"

namespace qm54 {

void AddCommonData(ReportPage& page, int body, const TCEmem& emem);
void AddTables(ReportPage& page, int body, const TCEmem& emem);
void AddChannelData(ReportPage& page, int body, const TCEmem& emem);

}  // namespace qm54
