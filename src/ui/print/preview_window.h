// TfrmPreview: the report's pages on screen, one at a time, fitted to the window, at 80 percent
// or at 100 percent, with the buttons to page, zoom, print and close.
#pragma once

#include <QDialog>
#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;

namespace qm54 {

inline constexpr int PreviewMinWidth = 835;
inline constexpr int PreviewMinHeight = 540;

class TfrmPreview : public QDialog {
    Q_OBJECT
public:
    // pages: the report's page images (ReportPageImages) of the paper of paperIndex. print runs
    // when "&Print" is pressed (the print setup and, on OK, the print job); the preview then closes.
    TfrmPreview(std::vector<QImage> pages, int paperIndex, std::function<void(QWidget*)> print,
                QWidget* parent = nullptr);

    int ZoomLevel() const { return zoomLevel_; }
    int CurrentPage() const { return currentPage_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    QScrollArea* Area() const { return area_; }
    // The image control: where it is within the scrolling area's content and what it shows.
    QLabel* Image() const { return image_; }
    QPushButton* Button(const char* objectName) const;

    void NextPage();
    void PreviousPage();
    void ZoomIn();
    void ZoomOut();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateButtons();
    void DoLayout();
    void DrawPage();

    std::vector<QImage> pages_;
    int pageWidth_;
    int pageHeight_;
    std::function<void(QWidget*)> print_;
    int zoomLevel_ = -1;
    int currentPage_ = 0;
    QSize areaMargins_;
    QImage canvas_;

    QPushButton* btnClose_ = nullptr;
    QPushButton* btnNext_ = nullptr;
    QPushButton* btnPrevious_ = nullptr;
    QPushButton* btnZoomIn_ = nullptr;
    QPushButton* btnZoomOut_ = nullptr;
    QPushButton* btnPrint_ = nullptr;
    QScrollArea* area_ = nullptr;
    QWidget* content_ = nullptr;
    QLabel* image_ = nullptr;
};

}  // namespace qm54
