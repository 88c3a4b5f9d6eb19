// Painting the report's lines: the one painter for the printer, the preview's page images and
// the PDF export.
#pragma once

#include "print/prt_img.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <vector>

class QPainter;

namespace qm54 {

// "Courier New", 10 points, fixed pitch; Liberation Mono (the same metrics) where it is missing.
QFont ReportFont();

// The lines of page on a target of dpi pixels per inch: each line's drawn text at x = 0, its top
// at line x LinePitch(dpi), in black on a transparent background.
void PaintReportPage(QPainter& painter, const ReportPage& page, int dpi);

// The resolution of the preview's page images, that of a screen.
inline constexpr int PageImageDpi = 96;
// The report's pages as white page images of the paper's size in pixels (PaperTable).
std::vector<QImage> ReportPageImages(const TPrtImg& report, int paperIndex);

// The report as a PDF of vector text at path, written whole or not at all; an empty text on
// success, else the system's reason.
QString ExportReportPdf(const TPrtImg& report, int paperIndex, const QString& path);

}  // namespace qm54
