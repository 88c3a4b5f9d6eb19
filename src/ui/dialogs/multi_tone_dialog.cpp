#include "ui/dialogs/multi_tone_dialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

#include "model/image/tables.h"
#include "ui/common/help_viewer.h"
#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

constexpr int kDecode = 0;
constexpr int kEncode = 1;
constexpr int kCtcssBox = 0;
constexpr int kDcsBox = 1;

template <std::size_t N>
QComboBox* NameBox(const std::array<std::string_view, N>& names, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    for (const std::string_view name : names)
        box->addItem(ToQString(name));
    box->setMaxVisibleItems(16);
    return box;
}

// "Tone  &1" .. "Tone  &9", "Tone 1&0", "Tone 11" .. "Tone 16".
QString EntryLabel(int entry)
{
    if (entry < 9) return QStringLiteral("Tone  &%1").arg(entry + 1);
    if (entry == 9) return QStringLiteral("Tone 1&0");
    return QStringLiteral("Tone %1").arg(entry + 1);
}

}  // namespace

MultiToneDialog::MultiToneDialog(const TChannel& channel, QWidget* parent)
    : QDialog(parent), enable_(new QCheckBox(QStringLiteral("Multi Tone Enable"), this))
{
    setObjectName(QStringLiteral("frmMultiTone"));
    setWindowTitle(QStringLiteral("Multi Tone"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Decoders"), this), 0, 1, 1, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Encoders"), this), 0, 3, 1, 2, Qt::AlignCenter);
    for (int side = 0; side < 2; ++side) {
        grid->addWidget(new QLabel(QStringLiteral("CTCSS (Hz)"), this), 1, 1 + 2 * side);
        grid->addWidget(new QLabel(QStringLiteral("DCS"), this), 1, 2 + 2 * side);
    }
    for (int e = 0; e < SlotCount; ++e) {
        auto* label = new QLabel(EntryLabel(e), this);
        grid->addWidget(label, 2 + e, 0);
        for (int side = 0; side < 2; ++side) {
            QComboBox* ctcss = NameBox(CtcssWithOff, this);
            QComboBox* dcs = NameBox(DcsWithOff, this);
            boxes_[e][side] = {ctcss, dcs};
            grid->addWidget(ctcss, 2 + e, 1 + 2 * side);
            grid->addWidget(dcs, 2 + e, 2 + 2 * side);
            ctcss->installEventFilter(this);
            dcs->installEventFilter(this);
            // A tone and a code exclude each other within one entry and side.
            connect(ctcss, &QComboBox::currentIndexChanged, dcs, [dcs](int i) {
                if (i > 0) dcs->setCurrentIndex(0);
            });
            connect(dcs, &QComboBox::currentIndexChanged, ctcss, [ctcss](int i) {
                if (i > 0) ctcss->setCurrentIndex(0);
            });
        }
        label->setBuddy(boxes_[e][kDecode][kCtcssBox]);
    }

    enable_->setChecked(channel.MultiTone == 1);
    for (int e = 0; e < SlotCount; ++e) {
        if (channel.GetSlotUsed(e) != 1) continue;
        const auto show = [](std::array<QComboBox*, 2>& pair, bool dcs, int code) {
            QComboBox* box = dcs ? pair[kDcsBox] : pair[kCtcssBox];
            const int position = dcs ? code + 1 : code;
            if (position >= 0 && position < box->count()) box->setCurrentIndex(position);
        };
        show(boxes_[e][kDecode], channel.GetDecodeDcs(e) == 1, channel.GetDecodeTone(e));
        show(boxes_[e][kEncode], channel.GetEncodeDcs(e) == 1, channel.GetEncodeTone(e));
    }

    auto* hint = new QLabel(QStringLiteral("<SELECT>"), this);
    hint->setObjectName(QStringLiteral("lblHint"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Contents); });

    auto* box = new QVBoxLayout(this);
    box->addLayout(grid);
    box->addWidget(enable_);
    box->addWidget(buttons);
    box->addWidget(hint);
}

void MultiToneDialog::WriteTo(TChannel& channel) const
{
    channel.MultiTone = enable_->isChecked() ? 1 : 0;
    for (int e = 0; e < SlotCount; ++e) {
        int used = 0, decodeDcs = 0, decodeTone = 0, encodeDcs = 0, encodeTone = 0;
        const auto read = [&used](const std::array<QComboBox*, 2>& pair, int& dcs, int& tone) {
            const int ctcss = pair[kCtcssBox]->currentIndex();
            const int code = pair[kDcsBox]->currentIndex();
            if (ctcss > 0) used = 1, tone = ctcss;
            if (code > 0) used = 1, dcs = 1, tone = code - 1;
        };
        read(boxes_[e][kDecode], decodeDcs, decodeTone);
        read(boxes_[e][kEncode], encodeDcs, encodeTone);
        channel.SetSlotUsed(e, used);
        channel.SetDecodeDcs(e, decodeDcs);
        channel.SetDecodeTone(e, decodeTone);
        channel.SetEncodeDcs(e, encodeDcs);
        channel.SetEncodeTone(e, encodeTone);
    }
}

// Enter in a drop-down opens or closes its list instead of reaching the dialog's buttons.
bool MultiToneDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QComboBox*>(watched);
    if (box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (box->view()->isVisible()) box->hidePopup();
            else box->showPopup();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool EditMultiToneRecord(QWidget* parent, TChannel& channel)
{
    MultiToneDialog dialog(channel, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.WriteTo(channel);
    return true;
}

}  // namespace qm54
