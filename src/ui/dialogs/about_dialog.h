// TfrmAbout, "About": the program's title, its version line, the model, two notice lines and a
// support link that opens in the web browser.
#pragma once

#include <QDialog>

class QLabel;

namespace qm54 {

// The support page the about box links to.
inline constexpr const char* SupportAddress = "https://qm54win.example.org/support";

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    QString VersionLine() const;

private:
    QLabel* lblVersion_;
};

}  // namespace qm54
