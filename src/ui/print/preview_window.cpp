#include "ui/print/preview_window.h"

#include "print/prt_img.h"
#include "ui/common/help_viewer.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>

#include <cmath>

namespace qm54 {

namespace {

constexpr int kButtonTop = 4;
constexpr int kButtonHeight = 28;
constexpr int kAreaTop = kButtonTop + kButtonHeight + 4;
constexpr int kImageTop = 10;
constexpr int kMargin = 20;            // scroll range beyond the image
constexpr int kPageLeft = 40;          // where the page sits on the image, unscaled
constexpr int kPageTop = 20;

int Rounded(double x) { return static_cast<int>(std::lround(x)); }  // halves away from zero

}  // namespace

TfrmPreview::TfrmPreview(std::vector<QImage> pages, int paperIndex, std::function<void(QWidget*)> print,
                         QWidget* parent)
    : QDialog(parent), pages_(std::move(pages)), pageWidth_(PaperAt(paperIndex).Width),
      pageHeight_(PaperAt(paperIndex).Height), print_(std::move(print))
{
    setObjectName(QStringLiteral("frmPreview"));
    setMinimumSize(PreviewMinWidth, PreviewMinHeight);
    resize(PreviewMinWidth, PreviewMinHeight);
    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    btnClose_ = button("btnClose", QStringLiteral("&Close"));
    btnNext_ = button("btnNext", QStringLiteral("&Next Page"));
    btnPrevious_ = button("btnPrevious", QStringLiteral("Pre&vious Page"));
    btnZoomIn_ = button("btnZoomIn", QStringLiteral("Zoom &In"));
    btnZoomOut_ = button("btnZoomOut", QStringLiteral("Zoom &Out"));
    btnPrint_ = button("btnPrint", QStringLiteral("&Print"));
    int left = 4;
    for (QPushButton* b : {btnClose_, btnNext_, btnPrevious_, btnZoomIn_, btnZoomOut_, btnPrint_}) {
        b->setGeometry(left, kButtonTop, 110, kButtonHeight);
        left += 114;
    }
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnNext_, &QPushButton::clicked, this, &TfrmPreview::NextPage);
    connect(btnPrevious_, &QPushButton::clicked, this, &TfrmPreview::PreviousPage);
    connect(btnZoomIn_, &QPushButton::clicked, this, &TfrmPreview::ZoomIn);
    connect(btnZoomOut_, &QPushButton::clicked, this, &TfrmPreview::ZoomOut);
    connect(btnPrint_, &QPushButton::clicked, this, [this] {
        if (print_) print_(this);
        reject();
    });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("sbxPage"));
    area_->setFrameShape(QFrame::NoFrame);
    area_->setWidgetResizable(false);
    area_->setBackgroundRole(QPalette::Dark);
    QPalette grey = area_->palette();
    grey.setColor(QPalette::Dark, Qt::darkGray);
    area_->setPalette(grey);
    content_ = new QWidget;
    content_->setObjectName(QStringLiteral("pnlContent"));
    image_ = new QLabel(content_);
    image_->setObjectName(QStringLiteral("imgPage"));
    area_->setWidget(content_);
    area_->setGeometry(0, kAreaTop, width(), height() - kAreaTop);
    areaMargins_ = QSize(width() - area_->width(), height() - area_->height());

    canvas_ = QImage(pageWidth_, pageHeight_, QImage::Format_RGB32);
    canvas_.fill(Qt::white);
}

QPushButton* TfrmPreview::Button(const char* objectName) const
{
    return findChild<QPushButton*>(QString::fromLatin1(objectName));
}

void TfrmPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    zoomLevel_ = 0;
    currentPage_ = 0;
    UpdateButtons();
    DoLayout();
    DrawPage();
}

void TfrmPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (zoomLevel_ < 0) return;
    DoLayout();
    DrawPage();
}

void TfrmPreview::UpdateButtons()
{
    btnZoomIn_->setEnabled(zoomLevel_ != 2);
    btnZoomOut_->setEnabled(zoomLevel_ != 0);
    btnNext_->setEnabled(currentPage_ < PageCount() - 1);
    btnPrevious_->setEnabled(currentPage_ > 0);
}

void TfrmPreview::NextPage()
{
    if (currentPage_ < PageCount() - 1) {
        ++currentPage_;
        DrawPage();
    }
    UpdateButtons();
}

void TfrmPreview::PreviousPage()
{
    if (currentPage_ > 0) {
        --currentPage_;
        DrawPage();
    }
    UpdateButtons();
}

void TfrmPreview::ZoomIn()
{
    if (zoomLevel_ < 2) ++zoomLevel_;
    DoLayout();
    DrawPage();
    UpdateButtons();
}

void TfrmPreview::ZoomOut()
{
    if (zoomLevel_ > 0) --zoomLevel_;
    DoLayout();
    DrawPage();
    UpdateButtons();
}

void TfrmPreview::DoLayout()
{
    area_->setGeometry(0, kAreaTop, width() - areaMargins_.width(), height() - areaMargins_.height());
    const int areaWidth = area_->width();
    const int areaHeight = area_->height();
    QScrollBar* h = area_->horizontalScrollBar();
    QScrollBar* v = area_->verticalScrollBar();
    int imageWidth = 0, imageHeight = 0, left = 0;
    int hRange = 0, vRange = 0;  // 0: no range, the bar hidden
    if (zoomLevel_ == 0) {
        imageHeight = areaHeight - kMargin;
        imageWidth = pageWidth_ * imageHeight / pageHeight_;
        left = (areaWidth - imageWidth) / 2;
    } else if (zoomLevel_ == 1) {
        imageWidth = static_cast<int>(pageWidth_ * 0.8);
        imageHeight = static_cast<int>(pageHeight_ * 0.8);
        left = (areaWidth - imageWidth) / 2;
        vRange = imageHeight + kMargin;
        if (imageWidth + kMargin < areaWidth) hRange = imageWidth + kMargin;
    } else {
        imageWidth = pageWidth_;
        imageHeight = pageHeight_;
        left = (areaWidth - pageWidth_) / 2 >= 11 ? (areaWidth - pageWidth_) / 2 : 10;
        vRange = imageHeight + kMargin;
        hRange = imageWidth + kMargin;
    }
    // A shown bar appears when its range exceeds the area, as a scroll box's bar does.
    area_->setHorizontalScrollBarPolicy(hRange > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    area_->setVerticalScrollBarPolicy(vRange > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    h->setValue(0);
    v->setValue(0);
    content_->resize(std::max(hRange, left + imageWidth), std::max(vRange, kImageTop + imageHeight));
    image_->setGeometry(left, kImageTop, std::max(imageWidth, 1), std::max(imageHeight, 1));
    canvas_ = QImage(std::max(imageWidth, 1), std::max(imageHeight, 1), QImage::Format_RGB32);
    if (zoomLevel_ == 2) h->setValue(hRange / 2);
}

void TfrmPreview::DrawPage()
{
    canvas_.fill(Qt::white);
    if (currentPage_ >= 0 && currentPage_ < PageCount()) {
        const QImage& page = pages_[static_cast<size_t>(currentPage_)];
        QPainter painter(&canvas_);
        if (zoomLevel_ == 2) {
            painter.drawImage(QPoint(kPageLeft, kPageTop), page);
        } else {
            const double s = static_cast<double>(canvas_.width()) / pageWidth_;
            const QPoint topLeft(Rounded(kPageLeft * s), Rounded(kPageTop * s));
            const QPoint bottomRight(Rounded((pageWidth_ + kPageLeft) * s), Rounded((pageHeight_ + kPageTop) * s));
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())), page);
        }
    }
    image_->setPixmap(QPixmap::fromImage(canvas_));
}

}  // namespace qm54
