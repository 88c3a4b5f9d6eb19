#include "ui/common/select_list_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QShortcut>
#include <QVBoxLayout>

#include <span>
#include <string_view>

#include "model/image/tables.h"
#include "ui/common/help_viewer.h"
#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

struct ListLayout {
    const char* Caption;
    int DialogWidth;
    int DialogHeight;  // 0: as the contents need
    int Columns;
    int ColumnWidth;
    int Rows;
    bool DownColumns;  // fill order: down each column, or along each row
};

constexpr ListLayout kCtcssLayout{"Tone Select%1", 245, 0, 5, 45, 10, true};
constexpr ListLayout kDcsLayout{"Code Select%1", 320, 265, 9, 33, 13, false};
constexpr int kRowHeight = 15;

std::span<const std::string_view> Names(ToneList list, bool offerOff)
{
    if (list == ToneList::Ctcss)
        return offerOff ? std::span<const std::string_view>(CtcssWithOff) : std::span<const std::string_view>(CtcssTones);
    return offerOff ? std::span<const std::string_view>(DcsWithOff) : std::span<const std::string_view>(DcsCodes);
}

}  // namespace

SelectListDialog::SelectListDialog(ToneList list, bool offerOff, const QString& captionSuffix,
                                   const QString& current, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this))
{
    const ListLayout& layout = list == ToneList::Ctcss ? kCtcssLayout : kDcsLayout;
    setObjectName(QStringLiteral("frmSelList"));
    setWindowTitle(QString::fromLatin1(layout.Caption).arg(captionSuffix));

    table_->setRowCount(layout.Rows);
    table_->setColumnCount(layout.Columns);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setMinimumSectionSize(layout.ColumnWidth);
    table_->horizontalHeader()->setDefaultSectionSize(layout.ColumnWidth);
    table_->verticalHeader()->setMinimumSectionSize(kRowHeight);
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table_->setShowGrid(false);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->installEventFilter(this);

    const std::span<const std::string_view> names = Names(list, offerOff);
    int selectedRow = 0, selectedColumn = 0;
    for (int r = 0; r < layout.Rows; ++r)
        for (int c = 0; c < layout.Columns; ++c) {
            const int i = layout.DownColumns ? c * layout.Rows + r : r * layout.Columns + c;
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (i < static_cast<int>(names.size())) {
                const QString name = ToQString(names[i]);
                item->setText(name);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                if (name == current) selectedRow = r, selectedColumn = c;
                if (i == static_cast<int>(names.size()) - 1) lastNameRow_ = r;
            } else {
                item->setFlags(Qt::NoItemFlags);  // an empty cell cannot be selected
            }
            table_->setItem(r, c, item);
        }
    MoveTo(selectedRow, selectedColumn);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        const QTableWidgetItem* item = table_->item(row, column);
        if (item && !item->text().isEmpty()) {
            MoveTo(row, column);
            accept();
        }
    });

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { RequestHelp(HelpPage::Topic); });

    auto* box = new QVBoxLayout(this);
    box->addWidget(table_);
    box->addWidget(buttons);
    const int tableHeight = layout.Rows * kRowHeight + 2 * table_->frameWidth();
    table_->setFixedHeight(tableHeight);
    if (layout.DialogHeight > 0) resize(layout.DialogWidth, layout.DialogHeight);
    else resize(layout.DialogWidth, sizeHint().height());
}

void SelectListDialog::MoveTo(int row, int column)
{
    const QTableWidgetItem* item = table_->item(row, column);
    if (!item || item->text().isEmpty()) return;
    table_->setCurrentCell(row, column);
}

QString SelectListDialog::Chosen() const
{
    const QTableWidgetItem* item = table_->currentItem();
    if (!item) return {};
    QString text = item->text();
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon >= 0) text.truncate(colon);
    return text.trimmed();
}

bool SelectListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Home:
        case Qt::Key_PageUp: MoveTo(0, 0); return true;
        case Qt::Key_End:
        case Qt::Key_PageDown: MoveTo(lastNameRow_, table_->columnCount() - 1); return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<QString> SelectFromList(QWidget* parent, ToneList list, bool offerOff,
                                      const QString& captionSuffix, const QString& current)
{
    SelectListDialog dialog(list, offerOff, captionSuffix, current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

}  // namespace qm54
