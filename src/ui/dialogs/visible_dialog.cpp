#include "ui/dialogs/visible_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QShortcut>
#include <QVBoxLayout>

#include "ui/common/help_viewer.h"

namespace qm54 {

namespace {

// The boxes' captions in group order, each with its own accelerator.
constexpr std::array<const char*, ColumnGroupCount> kCaptions{
    "&Rx Freq.", "&Decoders", "&W/N", "Clk &Sft", "&NSQ", "&Court Blip", "Rev &Bst", "DCS T&ype",
    "DDec Ty&pe", "&Multi Tone", "CW&ID ANI/ENI", "&Action Mode", "&Tx Freq.", "&Encoders", "Base T&OT",
    "Base &Guard", "&LOUT", "Tx Pwr (&Q)", "TOT M&ute", "Rpt Use (&V)", "TOT Beep (&X)", "RPT &HT", "RPT GT (&Z)",
};
constexpr int kBoxesPerColumn = 12;

}  // namespace

TfrmVisible::TfrmVisible(const std::array<bool, ColumnGroupCount>& visible, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVisible"));
    setWindowTitle(QStringLiteral("Visible"));
    auto* group = new QGroupBox(this);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < ColumnGroupCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kCaptions[static_cast<size_t>(i)]), group);
        box->setChecked(visible[static_cast<size_t>(i)]);
        grid->addWidget(box, i % kBoxesPerColumn, i / kBoxesPerColumn);
        boxes_[static_cast<size_t>(i)] = box;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });
}

std::array<bool, ColumnGroupCount> TfrmVisible::Visible() const
{
    std::array<bool, ColumnGroupCount> visible{};
    for (size_t i = 0; i < boxes_.size(); ++i) visible[i] = boxes_[i]->isChecked();
    return visible;
}

}  // namespace qm54
