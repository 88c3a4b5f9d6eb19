#include "ui/main/radio_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qm54 {

TfrmRadio::TfrmRadio(bool isDownload, QWidget* parent)
    : QDialog(parent), isDownload_(isDownload), lblMsg1_(new QLabel(this)), lblMsg2_(new QLabel(this)),
      lblMsg3_(new QLabel(this)), progText_(new QProgressBar(this)),
      btnCancel_(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setWindowTitle(isDownload ? QStringLiteral("Download Function") : QStringLiteral("Upload Function"));
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint;
    if (isDownload) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setFixedSize(330, 181);

    lblMsg2_->setText(QStringLiteral("Connection cables to radio"));
    progText_->setFixedWidth(302);
    progText_->setRange(0, 33);
    progText_->setValue(0);
    progText_->setTextVisible(false);
    btnCancel_->setVisible(!isDownload);
    connect(btnCancel_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });

    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {lblMsg1_, lblMsg2_, lblMsg3_}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addWidget(new QLabel(QStringLiteral("Radio Data"), this));
    layout->addWidget(progText_, 0, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancel_);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(165, 90));
}

void TfrmRadio::SetProgress(int position, int maximum)
{
    if (progText_->maximum() != maximum) progText_->setMaximum(maximum);
    progText_->setValue(qBound(0, position, maximum));
    progText_->repaint();
}

void TfrmRadio::PumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TfrmRadio::Finish()
{
    finished_ = true;
    close();
}

bool TfrmRadio::CloseRequested()
{
    if (finished_ || cancelRequested_) return true;
    cancelRequested_ = true;
    return false;
}

void TfrmRadio::closeEvent(QCloseEvent* event)
{
    if (CloseRequested())
        event->accept();
    else
        event->ignore();
}

void TfrmRadio::reject()
{
    // Escape is a close request like the close box.
    if (CloseRequested()) QDialog::reject();
}

void TfrmRadio::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier)) {
        event->accept();  // Alt+F4 is swallowed
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace qm54
