#include "ui/main/channel_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QSpinBox>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>

#include "model/convert.h"
#include "model/frequency.h"
#include "model/grid_columns.h"
#include "model/tables.h"
#include "ui/main/multi_tone_dialog.h"
#include "ui/main/select_list_dialog.h"
#include "ui/qt_text.h"

namespace qm54 {

namespace {

constexpr int kMaxLevel = 255;

const QString kOff = QStringLiteral("off");
const QString kDashes = QStringLiteral("---");

int KindOf(int column) { return ColumnAt(column).Kind; }
bool IsTextColumn(int column) { return KindOf(column) == ColFrequency || KindOf(column) == ColNumber; }


// Frequencies are shown with the system's decimal separator; "." and "," are both read back.
char DecimalSeparator() { return QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.'; }

// What a frequency cell and the level cell take from the keyboard and the clipboard.
bool IsFrequencyChar(QChar c) { return c.unicode() != 8 && FilterFrequencyKey(c.unicode()).accepted; }
bool IsDigitChar(QChar c) { return c.unicode() != 8 && FilterDigitKey(c.unicode()).accepted; }

// The receive side of a Cycle/Dialog pair of CTCSS and DCS columns belongs to the other column.
int PartnerToneColumn(int column)
{
    switch (column) {
    case GridCol::RxCtcss: return GridCol::RxDcs;
    case GridCol::RxDcs: return GridCol::RxCtcss;
    case GridCol::TxCtcss: return GridCol::TxDcs;
    case GridCol::TxDcs: return GridCol::TxCtcss;
    default: return -1;
    }
}

// Position of name in a list of names, or -1.
template <std::size_t N>
int FindName(const std::array<std::string_view, N>& names, const QString& name)
{
    const std::string text = name.toStdString();
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == text) return static_cast<int>(i);
    return -1;
}

template <std::size_t N>
int FindTrimmedName(const std::array<std::string_view, N>& names, const QString& name)
{
    return FindName(names, name.trimmed());
}

// The frequency of a cell in MHz, kept to whole kHz. The cell holds at most five decimals, so
// rounding to whole Hz first is exact and keeps a binary fraction such as 262.09 from losing a kHz.
double CellKhzFrequency(const QString& text)
{
    const double mhz = ToFloatOrZero(text.toStdString());
    const int64_t hz = TruncToInt64(mhz * 1e6 + (mhz < 0 ? -0.5 : 0.5));
    return static_cast<double>(hz / 1000) / 1000.0;
}

// The row a change applies to, before and after: edited() is emitted only when something changed.
class RowSnapshot {
public:
    RowSnapshot(const ChannelGrid& grid, int channel)
        : grid_(grid), channel_(channel), before_(grid.Channels().Items(channel))
    {
        for (int c = 0; c < GridColumnCount; ++c) cells_[c] = grid.CellText(channel, c);
    }
    bool Changed() const
    {
        if (!grid_.Channels().Items(channel_).Equals(before_)) return true;
        for (int c = 0; c < GridColumnCount; ++c)
            if (cells_[c] != grid_.CellText(channel_, c)) return true;
        return false;
    }

private:
    const ChannelGrid& grid_;
    int channel_;
    TChannel before_;
    std::array<QString, GridColumnCount> cells_;
};

}  // namespace

// The cell texts and the working channel list behind them.
class GridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    TChannels channels;
    std::array<std::array<QString, GridColumnCount>, ChannelCount> cells;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : ChannelCount;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : GridColumnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return cells[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return QString::number(section + 1);
        return ToQString(ColumnAt(section).Header2);
    }
    void SetCell(int row, int column, const QString& text)
    {
        QString& cell = cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
        if (cell == text) return;
        cell = text;
        emit dataChanged(index(row, column), index(row, column));
    }
    void RowRepaint(int row) { emit dataChanged(index(row, 0), index(row, GridColumnCount - 1)); }
    void AllChanged() { emit dataChanged(index(0, 0), index(ChannelCount - 1, GridColumnCount - 1)); }
};

namespace {

// Channel cells: window colour, black text for a channel in use and silver for one that is not,
// right-aligned frequencies and CTCSS tones, everything else centred.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const GridModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int column = index.column();
        painter->fillRect(option.rect, option.palette.base());
        const bool inUse = model_.channels.Items(index.row()).InUse != 0;
        painter->setPen(inUse ? QColor(Qt::black) : QColor(192, 192, 192));
        const bool right = column == GridCol::RxFreq || column == GridCol::RxCtcss ||
                           column == GridCol::TxFreq || column == GridCol::TxCtcss;
        const QRect box = option.rect.adjusted(3, 2, -2, 2);
        painter->drawText(box, (right ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop | Qt::TextSingleLine,
                          model_.cells[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(column)]);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = option.rect.adjusted(1, 1, -1, -1);
            focus.backgroundColor = option.palette.base().color();
            option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
        }
    }

private:
    const GridModel& model_;
};

}  // namespace

// The two fixed header rows (and, vertically, the fixed row-number column): black centred text on
// the fixed-cell colour, with the caption panels of the column groups laid over header row 0.
class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, ChannelGrid* grid) : QHeaderView(orientation, grid), grid_(grid)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
        setHighlightSections(false);
        setMinimumSectionSize(0);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        painter->save();
        painter->fillRect(rect, palette().button());
        painter->setPen(palette().dark().color());
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->setPen(Qt::black);
        if (orientation() == Qt::Vertical) {
            painter->drawText(rect, Qt::AlignCenter, QString::number(logicalIndex + 1));
        } else {
            const int half = ChannelGrid::kRowHeight;
            const QRect top(rect.left(), rect.top(), rect.width(), half);
            const QRect bottom(rect.left(), rect.top() + half, rect.width(), rect.height() - half);
            painter->setPen(palette().dark().color());
            painter->drawLine(top.bottomLeft(), top.bottomRight());
            painter->setPen(Qt::black);
            painter->drawText(top, Qt::AlignCenter, ToQString(ColumnAt(logicalIndex).Header1));
            painter->drawText(bottom, Qt::AlignCenter, ToQString(ColumnAt(logicalIndex).Header2));
        }
        painter->restore();
    }

    void paintEvent(QPaintEvent* event) override
    {
        QHeaderView::paintEvent(event);
        if (orientation() != Qt::Horizontal) return;
        QPainter painter(viewport());
        for (int g = 0; g < ColumnGroupCount; ++g) {
            if (!grid_->CaptionPanelShown(g)) continue;
            const QRect panel = grid_->CaptionPanelRect(g);
            painter.fillRect(panel, palette().button());
            painter.setPen(palette().light().color());
            painter.drawLine(panel.topLeft(), panel.topRight());
            painter.drawLine(panel.topLeft(), panel.bottomLeft());
            painter.setPen(palette().dark().color());
            painter.drawLine(panel.bottomLeft(), panel.bottomRight());
            painter.drawLine(panel.topRight(), panel.bottomRight());
            painter.setPen(Qt::black);
            painter.drawText(panel, Qt::AlignCenter, QString::fromLatin1(ColumnGroupAt(g).Caption));
        }
    }

private:
    ChannelGrid* grid_;
};

// The spin editor, with its line edit reachable so that a typed digit can become its whole text.
class LevelSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    using QSpinBox::lineEdit;
};

ChannelGrid::ChannelGrid(QWidget* parent)
    : QTableView(parent),
      model_(new GridModel(this)),
      header_(new GridHeader(Qt::Horizontal, this)),
      edtDmy_(new QLineEdit(viewport())),
      spinDmy_(new LevelSpinBox(viewport()))
{
    setObjectName(QStringLiteral("grdCh"));
    std::fill(std::begin(groupVisible_), std::end(groupVisible_), true);
    for (int i = 0; i < ChannelCount; ++i) model_->channels.Items(i).Number = i + 1;

    setModel(model_);
    setItemDelegate(new CellDelegate(*model_, this));
    setHorizontalHeader(header_);
    setVerticalHeader(new GridHeader(Qt::Vertical, this));
    header_->setFixedHeight(2 * kRowHeight + 1);
    verticalHeader()->setFixedWidth(ColumnAt(0).Width);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setCornerButtonEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    edtDmy_->setObjectName(QStringLiteral("edtDmy"));
    edtDmy_->setMaxLength(ColumnAt(GridCol::RxFreq).Parameter);
    edtDmy_->hide();
    edtDmy_->setAcceptDrops(false);  // text reaches the editors only through the grid's filters
    edtDmy_->installEventFilter(this);
    spinDmy_->setObjectName(QStringLiteral("SpinDmy"));
    spinDmy_->setRange(0, kMaxLevel);
    spinDmy_->lineEdit()->setMaxLength(ColumnAt(GridCol::NsqLevel).Parameter);
    spinDmy_->hide();
    spinDmy_->lineEdit()->setAcceptDrops(false);
    spinDmy_->installEventFilter(this);

    ApplyColumnWidths();
    for (int i = 0; i < ChannelCount; ++i) FillRow(i);
}

ChannelGrid::~ChannelGrid() = default;

QSpinBox* ChannelGrid::LevelEditor() const { return spinDmy_; }

TChannel& ChannelGrid::Ch(int channel) { return model_->channels.Items(channel); }
const TChannel& ChannelGrid::Ch(int channel) const { return model_->channels.Items(channel); }
const TChannels& ChannelGrid::Channels() const { return model_->channels; }

QString ChannelGrid::CellText(int channel, int column) const
{
    if (channel < 0 || channel >= ChannelCount || column < 0 || column >= GridColumnCount) return {};
    return model_->cells[static_cast<std::size_t>(channel)][static_cast<std::size_t>(column)];
}

void ChannelGrid::SetCell(int channel, int column, const QString& text) { model_->SetCell(channel, column, text); }

bool ChannelGrid::LevelLocked(int channel) const
{
    return CellText(channel, GridCol::NsqMode) == OptionText(OptNsqMode, 0);
}

// Whether a cell of a channel may change at all: the channel is in use and, on the transmit side,
// its transmit is not inhibited.
bool ChannelGrid::CellEditable(int channel, int column) const
{
    if (Ch(channel).InUse == 0) return false;
    return column < GridCol::FirstTx || Ch(channel).TxInhibit == 0;
}

void ChannelGrid::SetContext(int channelStep, double rxLow, double rxHigh, double txLow, double txHigh,
                             int /*operatingMode*/)
{
    channelStep_ = channelStep;
    rxLow_ = rxLow;
    rxHigh_ = rxHigh;
    txLow_ = txLow;
    txHigh_ = txHigh;
}

void ChannelGrid::SetIdFeatures(bool aniEniEnabled, bool cwIdEnabled)
{
    aniEniEnabled_ = aniEniEnabled;
    cwIdEnabled_ = cwIdEnabled;
}

// ---- Fill and parse ------------------------------------------------------------------------

void ChannelGrid::Fill(const TChannels& channels)
{
    DropEditor();
    model_->channels.Assign(channels);
    for (int i = 0; i < ChannelCount; ++i) FillRow(i);
    model_->AllChanged();
    setCurrentIndex(model_->index(0, 1));
}

void ChannelGrid::FillTones(int channel, int ctcssColumn, bool dcs, int tone)
{
    model_->cells[static_cast<std::size_t>(channel)][static_cast<std::size_t>(ctcssColumn)] =
        dcs ? kOff : QString::fromStdString(CtcssName(tone));
    model_->cells[static_cast<std::size_t>(channel)][static_cast<std::size_t>(ctcssColumn + 1)] =
        dcs ? QString::fromStdString(DcsName(tone)) : kOff;
    model_->RowRepaint(channel);
}

void ChannelGrid::FillRow(int channel)
{
    const TChannel& ch = Ch(channel);
    auto& row = model_->cells[static_cast<std::size_t>(channel)];
    row[0] = QString::number(channel + 1);
    row[1] = QStringLiteral("%1").arg(channel + 1, 2);
    row[GridCol::RxFreq] = QString::fromStdString(SnappedFrequencyText(channelStep_, ch.RxFreq.Value(), DecimalSeparator()));
    FillTones(channel, GridCol::RxCtcss, ch.GetDecodeDcs(0) == 1, ch.GetDecodeTone(0));
    for (int c = 0; c < GridCol::FirstTx; ++c)
        if (ColumnAt(c).Field)
            row[static_cast<std::size_t>(c)] = OptionText(ColumnAt(c).Parameter, ch.*ColumnAt(c).Field);
    row[GridCol::MultiTone] = OptionText(OptNoYes, ch.MultiTone);
    row[GridCol::NsqLevel] = ch.NsqMode == 1 ? QString::number(ch.NsqLevel) : kDashes;
    FillTransmitSide(channel);
}

void ChannelGrid::FillTransmitSide(int channel)
{
    const TChannel& ch = Ch(channel);
    auto& row = model_->cells[static_cast<std::size_t>(channel)];
    if (ch.TxInhibit != 0) {
        row[GridCol::TxFreq] = QStringLiteral("Tx Inh");
        for (int c = GridCol::TxFreq + 1; c < GridColumnCount; ++c) row[static_cast<std::size_t>(c)] = kDashes;
    } else {
        row[GridCol::TxFreq] = QString::fromStdString(SnappedFrequencyText(channelStep_, ch.TxFreq.Value(), DecimalSeparator()));
        FillTones(channel, GridCol::TxCtcss, ch.GetEncodeDcs(0) == 1, ch.GetEncodeTone(0));
        for (int c = GridCol::TxDcs + 1; c < GridColumnCount; ++c)
            row[static_cast<std::size_t>(c)] = OptionText(ColumnAt(c).Parameter, ch.*ColumnAt(c).Field);
    }
    model_->RowRepaint(channel);
}

void ChannelGrid::ParseInto(TChannels& out)
{
    CommitEditor();
    for (int i = 0; i < ChannelCount; ++i) ParseRow(i);
    out.Assign(model_->channels);
}

// Reads the tone pair of a CTCSS column and the DCS column beside it: a CTCSS name gives (false,
// index), a DCS name (true, code); "off" or an unknown text gives nothing.
struct ParsedTone {
    bool found = false;
    bool dcs = false;
    int tone = 0;
};

static ParsedTone ParseTonePair(const QString& ctcssText, const QString& dcsText)
{
    ParsedTone result;
    if (ctcssText.trimmed() != kOff) {
        const int j = FindTrimmedName(CtcssWithOff, ctcssText);
        if (j >= 0) result = {true, false, j};
    } else if (dcsText.trimmed() != kOff) {
        result.dcs = true;
        const int j = FindTrimmedName(DcsWithOff, dcsText);
        if (j > 0) result = {true, true, j - 1};
    }
    return result;
}

void ChannelGrid::ParseRow(int channel)
{
    TChannel& ch = Ch(channel);
    ch.RxFreq.SetValue(CellKhzFrequency(CellText(channel, GridCol::RxFreq)));
    const ParsedTone decode = ParseTonePair(CellText(channel, GridCol::RxCtcss), CellText(channel, GridCol::RxDcs));
    ch.SetSlotUsed(0, decode.found ? 1 : 0);
    ch.SetDecodeDcs(0, decode.dcs ? 1 : 0);
    ch.SetDecodeTone(0, decode.tone);
    for (int c = 0; c < GridCol::FirstTx; ++c)
        if (ColumnAt(c).Field)
            ch.*ColumnAt(c).Field =
                OptionIndex(ColumnAt(c).Parameter, CellText(channel, c).toStdString());
    if (CellText(channel, GridCol::NsqLevel) != kDashes)
        ch.NsqLevel = std::clamp(ToIntOr(CellText(channel, GridCol::NsqLevel).trimmed().toStdString(), 0), 0, kMaxLevel);
    if (ch.TxInhibit == 0) ParseTransmitSide(channel);
}

void ChannelGrid::ParseTransmitSide(int channel)
{
    TChannel& ch = Ch(channel);
    ch.TxFreq.SetValue(CellKhzFrequency(CellText(channel, GridCol::TxFreq)));
    const ParsedTone encode = ParseTonePair(CellText(channel, GridCol::TxCtcss), CellText(channel, GridCol::TxDcs));
    ch.SetEncodeDcs(0, encode.dcs ? 1 : 0);
    ch.SetEncodeTone(0, encode.tone);
    for (int c = GridCol::TxDcs + 1; c < GridColumnCount; ++c)
        ch.*ColumnAt(c).Field =
            OptionIndex(ColumnAt(c).Parameter, CellText(channel, c).toStdString());
}

// ---- Post-edit rules -----------------------------------------------------------------------

void ChannelGrid::PostEditRules(int channel, int column)
{
    TChannel& ch = Ch(channel);
    if (column == GridCol::RxFreq) {
        if (ch.TxInhibit != 0) {
            ch.TxInhibit = 0;
            FillTransmitSide(channel);
        }
        SetCell(channel, GridCol::TxFreq, CellText(channel, GridCol::RxFreq));
        const double rx = ToFloatOrZero(CellText(channel, GridCol::RxFreq).toStdString());
        SetCell(channel, GridCol::ClockShift, OptionText(OptNoYes, NeedsClockShift(rx)));
    }
    const int partner = PartnerToneColumn(column);
    if (partner >= 0 && CellText(channel, column) != kOff) SetCell(channel, partner, kOff);
    if (column == GridCol::NsqMode)
        SetCell(channel, GridCol::NsqLevel, LevelLocked(channel) ? kDashes : QString::number(ch.NsqLevel));
    if (column == GridCol::RxFreq || column == GridCol::TxFreq) {
        const double rx = ToFloatOrZero(CellText(channel, GridCol::RxFreq).toStdString());
        const double tx = ToFloatOrZero(CellText(channel, GridCol::TxFreq).toStdString());
        ch.CloseSplit = IsCloseSplit(tx, rx);
        ch.TxAboveRx = IsTxAboveRx(tx, rx);
    }
}

// A cell's text has been changed by the user: the rules of its column, then the grid is parsed.
void ChannelGrid::AfterEdit(int channel, int column)
{
    PostEditRules(channel, column);
    for (int i = 0; i < ChannelCount; ++i) ParseRow(i);
}

// ---- Double-click, Space and the changes they make ------------------------------------------

void ChannelGrid::ActivateCell(int channel, int column)
{
    if (channel < 0 || channel >= ChannelCount || column < 1 || column >= GridColumnCount) return;
    CommitEditor();
    if (column == 1) {
        if (channel > 0) ToggleInUse(channel);
        return;
    }
    if (!CellEditable(channel, column)) return;
    const GridColumn& col = ColumnAt(column);
    switch (col.Kind) {
    case ColChoice: CycleCell(channel, column); break;
    case ColDialog:
        if (col.Parameter == DlgMultiTone) EditMultiTone(channel);
        else ChooseTone(channel, column);
        break;
    case ColFrequency: OpenTextEditor(channel, column, CellText(channel, column), true); break;
    case ColNumber:
        if (!LevelLocked(channel)) OpenSpinEditor(channel, QString(), true);
        break;
    default: break;
    }
}

void ChannelGrid::CycleCell(int channel, int column)
{
    const RowSnapshot before(*this, channel);
    const QString text = CellText(channel, column);
    QString next;
    if (column == GridCol::IdMode) {
        const QString off = OptionText(OptIdMode, 0), aniEni = OptionText(OptIdMode, 1),
                      cwId = OptionText(OptIdMode, 2);
        if (text == off) next = aniEniEnabled_ ? aniEni : cwIdEnabled_ ? cwId : off;
        else if (text == aniEni) next = cwIdEnabled_ ? cwId : off;
        else next = off;
    } else {
        const OptionList& list = OptionLists[static_cast<std::size_t>(ColumnAt(column).Parameter)];
        const int at = FindName(list.Names, text);
        const int value = at < 0 || at >= list.Count ? 0 : (at + 1) % list.Count;
        next = ToQString(list.Names[static_cast<std::size_t>(value)]);
    }
    SetCell(channel, column, next);
    if (before.Changed()) {
        AfterEdit(channel, column);
        emit edited();
    }
}

void ChannelGrid::ChooseTone(int channel, int column)
{
    const RowSnapshot before(*this, channel);
    const ToneList list = ColumnAt(column).Parameter == DlgDcs ? ToneList::Dcs : ToneList::Ctcss;
    const std::optional<QString> chosen = SelectFromList(this, list, true, QString(), CellText(channel, column));
    if (!chosen) return;
    SetCell(channel, column, *chosen);
    if (before.Changed()) {
        AfterEdit(channel, column);
        emit edited();
    }
}

void ChannelGrid::EditMultiTone(int channel)
{
    const RowSnapshot before(*this, channel);
    if (!EditMultiToneRecord(this, Ch(channel))) return;
    const TChannel& ch = Ch(channel);
    SetCell(channel, GridCol::MultiTone, OptionText(OptNoYes, ch.MultiTone == 1 ? 1 : 0));
    FillTones(channel, GridCol::RxCtcss, ch.GetDecodeDcs(0) == 1, ch.GetDecodeTone(0));
    if (ch.TxInhibit == 0) FillTones(channel, GridCol::TxCtcss, ch.GetEncodeDcs(0) == 1, ch.GetEncodeTone(0));
    // The grid shows only slot 0; parsing keeps the record's other slots as the dialog left them.
    if (before.Changed()) {
        AfterEdit(channel, GridCol::MultiTone);
        emit edited();
    }
}

void ChannelGrid::ToggleInUse(int channel)
{
    TChannel& ch = Ch(channel);
    ch.InUse = ch.InUse == 0 ? 1 : 0;
    model_->RowRepaint(channel);
    for (int i = 0; i < ChannelCount; ++i) ParseRow(i);
    emit edited();
}

void ChannelGrid::ToggleTxInhibit(int channel)
{
    CommitEditor();
    TChannel& ch = Ch(channel);
    if (ch.TxInhibit == 0) {
        ParseTransmitSide(channel);
        ch.TxInhibit = 1;
    } else {
        ch.TxInhibit = 0;
    }
    FillTransmitSide(channel);
    emit edited();
}

// ---- The two editors -------------------------------------------------------------------------

bool ChannelGrid::EditorActive() const { return editor_ != Editor::None; }

void ChannelGrid::OpenTextEditor(int channel, int column, const QString& text, bool selectAll)
{
    editor_ = Editor::Text;
    editChannel_ = channel;
    editColumn_ = column;
    editStartText_ = CellText(channel, column);
    edtDmy_->setMaxLength(ColumnAt(column).Parameter);
    edtDmy_->setText(text);
    if (selectAll) edtDmy_->selectAll();
    else edtDmy_->end(false);
    PlaceEditor();
    edtDmy_->setFocus();
}

void ChannelGrid::OpenSpinEditor(int channel, const QString& typed, bool selectAll)
{
    editor_ = Editor::Spin;
    editChannel_ = channel;
    editColumn_ = GridCol::NsqLevel;
    editStartText_ = CellText(channel, GridCol::NsqLevel);
    const QString cell = editStartText_.trimmed();
    spinDmy_->setValue(cell.isEmpty() || cell == kDashes
                           ? Ch(channel).NsqLevel
                           : std::clamp(ToIntOr(cell.toStdString(), 0), 0, kMaxLevel));
    if (!typed.isEmpty()) spinDmy_->lineEdit()->setText(typed);
    if (selectAll) spinDmy_->selectAll();
    else spinDmy_->lineEdit()->end(false);
    PlaceEditor();
    spinDmy_->setFocus();
}

// Lays the active editor over its cell; it is hidden while its row is scrolled out of view.
void ChannelGrid::PlaceEditor()
{
    if (editor_ == Editor::None) return;
    QWidget* editor = editor_ == Editor::Text ? static_cast<QWidget*>(edtDmy_) : spinDmy_;
    const QRect cell = visualRect(model_->index(editChannel_, editColumn_));
    const bool rowInView = cell.bottom() >= 0 && cell.top() < viewport()->height() && cell.width() > 0;
    if (!rowInView) {
        editor->hide();
        return;
    }
    editor->setGeometry(cell.left(), cell.top() - 1, cell.width() + 1, cell.height() + 2);
    editor->show();
    editor->raise();
}

QString ChannelGrid::NormalizedFrequency(int column, const QString& text) const
{
    const bool rx = column == GridCol::RxFreq;
    return QString::fromStdString(
        NormalizeFrequencyText(text.toStdString(), channelStep_, rx ? rxLow_ : txLow_, rx ? rxHigh_ : txHigh_,
                               DecimalSeparator()));
}

void ChannelGrid::CommitEditor() { FinishEditor(false); }

// Ends the active editor (restoring its start text first for Escape) and writes its value into
// the cell; the post-edit rules run when the cell's text changed.
void ChannelGrid::FinishEditor(bool restore)
{
    if (editor_ == Editor::None || finishing_) return;
    finishing_ = true;
    const int channel = editChannel_, column = editColumn_;
    const RowSnapshot before(*this, channel);
    const bool hadFocus = edtDmy_->hasFocus() || spinDmy_->hasFocus();
    if (editor_ == Editor::Text) {
        if (restore) edtDmy_->setText(editStartText_);
        const QString text = NormalizedFrequency(column, edtDmy_->text());
        edtDmy_->hide();
        editor_ = Editor::None;
        if (text != CellText(channel, column)) {
            SetCell(channel, column, text);
            PostEditRules(channel, column);
        }
    } else {
        if (restore) spinDmy_->lineEdit()->setText(editStartText_);
        spinDmy_->interpretText();
        const int level = std::clamp(spinDmy_->value(), 0, kMaxLevel);
        spinDmy_->hide();
        editor_ = Editor::None;
        SetCell(channel, column, QString::number(level));
        Ch(channel).NsqLevel = level;
    }
    for (int i = 0; i < ChannelCount; ++i) ParseRow(i);
    if (hadFocus) setFocus();
    finishing_ = false;
    if (before.Changed()) emit edited();
}

// Fill replaces every cell, so an open editor is simply closed.
void ChannelGrid::DropEditor()
{
    edtDmy_->hide();
    spinDmy_->hide();
    editor_ = Editor::None;
}

void ChannelGrid::TypeCharacter(QChar c)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    const int channel = current.row(), column = current.column();
    if (!IsTextColumn(column) || !CellEditable(channel, column)) return;
    if (KindOf(column) == ColFrequency) {
        if (!IsFrequencyChar(c)) return;
        if (editor_ == Editor::Text) {
            if (edtDmy_->text().size() < edtDmy_->maxLength()) edtDmy_->setText(edtDmy_->text() + c);
            PlaceEditor();
            edtDmy_->setFocus();
        } else {
            OpenTextEditor(channel, column, QString(c), false);
        }
    } else {
        if (!IsDigitChar(c) || LevelLocked(channel)) return;
        if (editor_ == Editor::Spin) {
            QLineEdit* line = spinDmy_->lineEdit();
            if (line->text().size() < line->maxLength()) line->setText(line->text() + c);
            PlaceEditor();
            spinDmy_->setFocus();
        } else {
            OpenSpinEditor(channel, QString(c), false);
        }
    }
}

// ---- Copy and paste --------------------------------------------------------------------------

void ChannelGrid::CopyCell()
{
    QString text;
    if (editor_ == Editor::Text) text = edtDmy_->selectedText();
    else if (editor_ == Editor::Spin) text = spinDmy_->lineEdit()->selectedText();
    else if (currentIndex().isValid()) text = CellText(currentIndex().row(), currentIndex().column());
    if (editor_ != Editor::None && text.isEmpty()) return;
    QGuiApplication::clipboard()->setText(text);
}

void ChannelGrid::PasteCell()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return;
    const int channel = editor_ != Editor::None ? editChannel_ : currentIndex().row();
    const int column = editor_ != Editor::None ? editColumn_ : currentIndex().column();
    if (channel < 0 || column < 1 || !CellEditable(channel, column)) return;
    if (editor_ != Editor::None) {
        PasteIntoEditor(text);
        return;
    }
    const RowSnapshot before(*this, channel);
    if (!PasteIntoCell(text)) return;
    AfterEdit(channel, column);
    if (before.Changed()) {
        emit pasted();
        emit edited();
    }
}

// The accepted characters of the clipboard replace the editor's selection, as far as they fit.
// The text is walked only until the editor is full, so a clipboard of megabytes costs nothing.
void ChannelGrid::PasteIntoEditor(const QString& text)
{
    QLineEdit* line = editor_ == Editor::Text ? edtDmy_ : spinDmy_->lineEdit();
    const QString before = line->text();
    const qsizetype room = line->maxLength() - (line->text().size() - line->selectedText().size());
    QString insert;
    if (editor_ == Editor::Text)
        for (qsizetype i = 0; i < text.size() && insert.size() < room; ++i)
            if (IsFrequencyChar(text[i])) insert += text[i];
    line->insert(insert);
    if (line->text() != before) emit pasted();
}

bool ChannelGrid::PasteIntoCell(const QString& text)
{
    const int channel = currentIndex().row(), column = currentIndex().column();
    const GridColumn& col = ColumnAt(column);
    QString value;
    switch (col.Kind) {
    case ColChoice: {
        const OptionList& list = OptionLists[static_cast<std::size_t>(col.Parameter)];
        const int at = FindName(list.Names, text);
        if (at < 0 || at >= list.Count) return false;
        value = text;
        break;
    }
    case ColDialog:
        if (col.Parameter == DlgMultiTone) return false;
        if ((col.Parameter == DlgCtcss ? FindName(CtcssWithOff, text) : FindName(DcsWithOff, text)) < 0) return false;
        value = text;
        break;
    case ColFrequency:
        value = NormalizedFrequency(column, text).left(col.Parameter);
        break;
    case ColNumber: {
        if (LevelLocked(channel)) return false;
        const QString digits = QString::fromStdString(DigitsOnly(text.toStdString()));
        if (digits.isEmpty()) return false;
        value = QString::number(std::min(ToIntOr(digits.left(col.Parameter).toStdString(), 0), kMaxLevel));
        break;
    }
    default: return false;
    }
    if (value.isEmpty() || value == CellText(channel, column)) return false;
    SetCell(channel, column, value);
    return true;
}

// ---- Column groups, caption panels and scrolling -----------------------------------------------

void ChannelGrid::SetColumnGroupVisible(int group, bool visible)
{
    if (group < 0 || group >= ColumnGroupCount) return;
    groupVisible_[group] = visible;
    ApplyColumnWidths();
}

bool ChannelGrid::ColumnGroupVisible(int group) const
{
    return group >= 0 && group < ColumnGroupCount && groupVisible_[group];
}

void ChannelGrid::ApplyColumnWidths()
{
    setColumnHidden(0, true);  // the row numbers are the vertical header
    setColumnWidth(1, ColumnAt(1).Width);
    for (int g = 0; g < ColumnGroupCount; ++g)
        for (int c = ColumnGroups[g].FirstColumn; c <= ColumnGroups[g].LastColumn; ++c) {
            setColumnWidth(c, ColumnAt(c).Width);
            setColumnHidden(c, !groupVisible_[g]);
        }
    PlaceEditor();
    header_->viewport()->update();
}

QRect ChannelGrid::CaptionPanelRect(int group) const
{
    const ColumnGroup& g = ColumnGroupAt(group);
    int width = 0;
    for (int c = g.FirstColumn; c <= g.LastColumn; ++c) width += header_->sectionSize(c);
    return QRect(header_->sectionViewportPosition(g.FirstColumn), 3, width - 1, kRowHeight - 4);
}

bool ChannelGrid::CaptionPanelShown(int group) const
{
    if (!ColumnGroupVisible(group) || ColumnGroupAt(group).Caption == nullptr) return false;
    const QRect panel = CaptionPanelRect(group);
    return panel.left() >= 0 && panel.right() < header_->viewport()->width();
}

void ChannelGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    PlaceEditor();
    header_->viewport()->update();
}

void ChannelGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    PlaceEditor();
}

void ChannelGrid::MoveToShownColumn(int direction)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    for (int c = current.column() + direction; c >= 1 && c < GridColumnCount; c += direction)
        if (!isColumnHidden(c) && columnWidth(c) > 0) {
            setCurrentIndex(model_->index(current.row(), c));
            return;
        }
}

// ---- Events ----------------------------------------------------------------------------------

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (editor_ != Editor::None) CommitEditor();
}

void ChannelGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) ActivateCell(index.row(), index.column());
}

void ChannelGrid::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    const int channel = current.row(), column = current.column();
    switch (event->key()) {
    case Qt::Key_Left: MoveToShownColumn(-1); return;
    case Qt::Key_Right: MoveToShownColumn(+1); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current.isValid() && IsTextColumn(column) && CellEditable(channel, column)) {
            if (editor_ == Editor::Text) {
                PlaceEditor();
                edtDmy_->selectAll();
                edtDmy_->setFocus();
            } else if (editor_ == Editor::Spin) {
                PlaceEditor();
                spinDmy_->selectAll();
                spinDmy_->setFocus();
            } else if (KindOf(column) == ColFrequency) {
                OpenTextEditor(channel, column, CellText(channel, column), true);
            } else if (!LevelLocked(channel)) {
                OpenSpinEditor(channel, QString(), true);
            }
        }
        return;
    case Qt::Key_Space:
        if (!current.isValid()) return;
        if (column == GridCol::TxFreq) {
            if (Ch(channel).InUse != 0) ToggleTxInhibit(channel);
        } else {
            ActivateCell(channel, column);
        }
        return;
    case Qt::Key_F1: event->ignore(); return;  // the main window opens the help
    default: break;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopyCell();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteCell();
        return;
    }
    // Typed text goes only to the cell's editors; the view's own keyboard search never sees it.
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (text.size() == 1 && text[0].isPrint()) TypeCharacter(text[0]);
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelGrid::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(tr("&Copy"), this, &ChannelGrid::CopyCell);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setStatusTip(QStringLiteral("Copy the selection and put it on the Clipboard"));
    QAction* paste = menu.addAction(tr("&Paste"), this, &ChannelGrid::PasteCell);
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    paste->setStatusTip(QStringLiteral("Insert Clipboard contents"));
    menu.exec(event->globalPos());
}

bool ChannelGrid::eventFilter(QObject* watched, QEvent* event)
{
    const bool text = watched == edtDmy_;
    const bool spin = watched == spinDmy_;
    if (!text && !spin) return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            FinishEditor(true);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            FinishEditor(false);
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            PasteCell();
            return true;
        }
        if (key->matches(QKeySequence::Copy)) {
            CopyCell();
            return true;
        }
        const QString typed = key->text();
        if (typed.size() == 1 && typed[0].isPrint() && !(key->modifiers() & Qt::ControlModifier)) {
            const bool accepted = text ? IsFrequencyChar(typed[0]) : IsDigitChar(typed[0]);
            if (!accepted) return true;
        }
        return false;
    }
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Copy)) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::FocusOut:
        if (spin && editor_ == Editor::Spin) FinishEditor(false);
        return false;
    case QEvent::ContextMenu:
        contextMenuEvent(static_cast<QContextMenuEvent*>(event));
        return true;
    default: return false;
    }
}

}  // namespace qm54
