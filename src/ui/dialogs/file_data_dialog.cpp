#include "ui/dialogs/file_data_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "model/image/emem.h"
#include "model/image/hex_cells.h"
#include "model/image/map54.h"
#include "ui/common/help_viewer.h"
#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

constexpr int kAddressWidth = 69;
constexpr int kByteWidth = 26;
constexpr int kRowHeight = 16;

bool IsHexDigitKey(const QString& text)
{
    if (text.size() != 1) return false;
    const QChar c = text[0];
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

FileDataDialog::FileDataDialog(std::span<const uint8_t> image, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this))
{
    setObjectName(QStringLiteral("frmFData"));
    setWindowTitle(QStringLiteral("File Data"));

    const int rows = static_cast<int>((image.size() + HexBytesPerRow - 1) / HexBytesPerRow);
    table_->setRowCount(rows);
    table_->setColumnCount(HexBytesPerRow);
    QStringList heads;
    for (int c = 0; c < HexBytesPerRow; ++c) heads << ToQString(HexByteText(static_cast<uint8_t>(c)));
    table_->setHorizontalHeaderLabels(heads);
    QStringList addresses;
    for (int r = 0; r < rows; ++r) addresses << ToQString(HexRowAddressText(static_cast<std::size_t>(r)));
    table_->setVerticalHeaderLabels(addresses);
    table_->verticalHeader()->setFixedWidth(kAddressWidth);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setMinimumSectionSize(kRowHeight);
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setMinimumSectionSize(kByteWidth);
    table_->horizontalHeader()->setDefaultSectionSize(kByteWidth);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->installEventFilter(this);
    for (std::size_t i = 0; i < image.size(); ++i) {
        auto* item = new QTableWidgetItem(ToQString(HexByteText(image[i])));
        item->setTextAlignment(Qt::AlignCenter);
        table_->setItem(static_cast<int>(i / HexBytesPerRow), static_cast<int>(i % HexBytesPerRow), item);
    }

    auto* label = new QLabel(QStringLiteral("&Table"), this);
    label->setBuddy(table_);
    label->hide();  // carries the Alt+T mnemonic that puts the focus on the table
    auto* focusTable = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_T), this);
    connect(focusTable, &QShortcut::activated, table_, [this] { table_->setFocus(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Topic); });

    auto* box = new QVBoxLayout(this);
    box->addWidget(table_);
    box->addWidget(buttons);
    resize(kAddressWidth + HexBytesPerRow * kByteWidth + 40, 400);
}

std::vector<uint8_t> FileDataDialog::Bytes(std::span<const uint8_t> fallback) const
{
    std::vector<uint8_t> bytes(fallback.begin(), fallback.end());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const QTableWidgetItem* item =
            table_->item(static_cast<int>(i / HexBytesPerRow), static_cast<int>(i % HexBytesPerRow));
        if (!item) continue;
        if (const auto byte = ReadHexByte(ToStdString(item->text()))) bytes[i] = *byte;
    }
    return bytes;
}

bool FileDataDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && (key->modifiers() & Qt::ShiftModifier)) return true;
        if (IsHexDigitKey(key->text()) && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            changed_ = true;
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool ShowFileData(QWidget* parent, TMap54& map, TCEmem& emem)
{
    map.Encode(emem);
    FileDataDialog dialog(map.Bytes(), parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.Changed()) return false;
    TMap54 mapCopy;
    mapCopy = map;
    TCEmem ememCopy;
    ememCopy = emem;
    const std::vector<uint8_t> bytes = dialog.Bytes(mapCopy.Bytes());
    std::copy(bytes.begin(), bytes.end(), mapCopy.Bytes().begin());
    mapCopy.Decode(ememCopy);
    map = mapCopy;
    emem = ememCopy;
    return true;
}

}  // namespace qm54
