#include "ui/print/report_painter.h"

#include "model/storage/atomic_file.h"
#include "ui/common/qt_text.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace qm54 {

namespace {

constexpr int kFontPoints = 10;
constexpr double kInchesPerMeter = 1.0 / 0.0254;

QPageSize PageSizeOf(int paperIndex)
{
    return QPageSize(paperIndex == PaperLetter ? QPageSize::Letter : QPageSize::A4);
}

}  // namespace

QFont ReportFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(kFontPoints);
    return font;
}

void PaintReportPage(QPainter& painter, const ReportPage& page, int dpi)
{
    painter.save();
    painter.setFont(ReportFont());
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int ascent = painter.fontMetrics().ascent();
    for (const ReportLine& line : page)
        painter.drawText(QPoint(0, line.Line * LinePitch(dpi) + ascent), ToQString(DrawnText(line)));
    painter.restore();
}

std::vector<QImage> ReportPageImages(const TPrtImg& report, int paperIndex)
{
    const ReportPaper& paper = PaperAt(paperIndex);
    std::vector<QImage> images;
    for (int p = 0; p < report.PageCount(); ++p) {
        QImage image(paper.Width, paper.Height, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(std::lround(PageImageDpi * kInchesPerMeter));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintReportPage(painter, report.Page(p), PageImageDpi);
        painter.end();
        images.push_back(std::move(image));
    }
    return images;
}

QString ExportReportPdf(const TPrtImg& report, int paperIndex, const QString& path)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("QM54Win"));
        writer.setTitle(QStringLiteral("QM54Win report"));
        writer.setPageLayout(QPageLayout(PageSizeOf(paperIndex), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer)) return QStringLiteral("the PDF could not be made");
        for (int p = 0; p < report.PageCount(); ++p) {
            if (p > 0) writer.newPage();
            PaintReportPage(painter, report.Page(p), writer.resolution());
        }
        painter.end();
    }
    const QByteArray& bytes = buffer.data();
    const WriteResult written = AtomicWriteFile(path.toStdString(), reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                static_cast<size_t>(bytes.size()));
    return written.Ok ? QString() : ToQString(written.Reason);
}

}  // namespace qm54
