// What the user's changes do to a cell of the channel grid: a double-click or Space, a paste,
// the two editors' commit, and the post-edit rules of the changed column. The rules that a change
// implies for the channel itself are the core's (model/channels/channel_rules.h); this file keeps the
// cells in step with them.
#include "ui/main/channel_grid.h"

#include <algorithm>
#include <array>

#include "model/channels/channel_cells.h"
#include "model/channels/channel_row.h"
#include "model/channels/channel_rules.h"
#include "model/image/convert.h"
#include "model/image/tables.h"
#include "ui/main/channel_grid_editors.h"
#include "ui/main/channel_grid_model.h"
#include "ui/dialogs/multi_tone_dialog.h"
#include "ui/common/select_list_dialog.h"
#include "ui/common/qt_text.h"

namespace qm54 {

namespace {

const QString kOff = ToQString(OffText);
const QString kNotShown = ToQString(NotShownText);

// The CTCSS and the DCS column of one side exclude each other.
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
    const std::string text = ToStdString(name);
    const auto found = std::find(names.begin(), names.end(), text);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// The row a change applies to, before and after: edited() is emitted only when something changed.
class RowSnapshot {
public:
    RowSnapshot(const ChannelGrid& grid, int channel)
        : grid_(grid), channel_(channel), before_(grid.Channels().Items(channel))
    {
        for (int c = 0; c < GridColumnCount; ++c) cells_[static_cast<std::size_t>(c)] = grid.CellText(channel, c);
    }
    bool Changed() const
    {
        if (!grid_.Channels().Items(channel_).Equals(before_)) return true;
        for (int c = 0; c < GridColumnCount; ++c)
            if (cells_[static_cast<std::size_t>(c)] != grid_.CellText(channel_, c)) return true;
        return false;
    }

private:
    const ChannelGrid& grid_;
    int channel_;
    TChannel before_;
    std::array<QString, GridColumnCount> cells_;
};

}  // namespace

// ---- Post-edit rules -----------------------------------------------------------------------

void ChannelGrid::PostEditRules(int channel, int column)
{
    TChannel& ch = Ch(channel);
    // The channel rules work on the channel: the edited frequency as its cell shows it, the other
    // as stored (the parse then keeps whole kHz).
    const auto cellMhz = [&](int c) { return ToFloatOrZero(ToStdString(CellText(channel, c))); };
    if (column == GridCol::RxFreq) {
        ch.RxFreq.SetValue(cellMhz(GridCol::RxFreq));
        const bool wasInhibited = ch.TxInhibit != 0;
        ApplyRxFrequencyChange(ch);
        if (wasInhibited) model_->FillTransmitSide(channel);
        SetCell(channel, GridCol::TxFreq, CellText(channel, GridCol::RxFreq));
        SetCell(channel, GridCol::ClockShift, OptionText(OptNoYes, ch.ClockShift));
    } else if (column == GridCol::TxFreq) {
        ch.TxFreq.SetValue(cellMhz(GridCol::TxFreq));
        ApplyTxFrequencyChange(ch);
    }
    const int partner = PartnerToneColumn(column);
    if (partner >= 0 && CellText(channel, column) != kOff) SetCell(channel, partner, kOff);
    if (column == GridCol::NsqMode)
        SetCell(channel, GridCol::NsqLevel, LevelLocked(channel) ? kNotShown : QString::number(ch.NsqLevel));
}

// A cell's text has been changed by the user: the rules of its column, then the grid is parsed.
void ChannelGrid::AfterEdit(int channel, int column)
{
    PostEditRules(channel, column);
    model_->ParseAll();
}

// ---- Double-click, Space and the changes they make ------------------------------------------

void ChannelGrid::ActivateCell(int channel, int column)
{
    if (channel < 0 || channel >= ChannelCount || column < GridCol::Channel || column >= GridColumnCount) return;
    CommitEditor();
    if (column == GridCol::Channel) {
        ToggleInUse(channel);
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
    // The grid shows only slot 0; the record's other slots stay as the dialog left them.
    model_->FillColumns(channel, GridCol::RxCtcss, GridCol::RxDcs);
    model_->FillColumns(channel, GridCol::MultiTone, GridCol::MultiTone);
    if (Ch(channel).TxInhibit == 0) model_->FillColumns(channel, GridCol::TxCtcss, GridCol::TxDcs);
    if (before.Changed()) {
        AfterEdit(channel, GridCol::MultiTone);
        emit edited();
    }
}

void ChannelGrid::ToggleInUse(int channel)
{
    if (!qm54::ToggleInUse(Ch(channel), channel)) return;
    model_->RepaintRow(channel);
    model_->ParseAll();
    emit edited();
}

void ChannelGrid::ToggleTxInhibit(int channel)
{
    CommitEditor();
    SetTransmitInhibit(channel, Ch(channel).TxInhibit == 0);
    emit edited();
}

void ChannelGrid::SetTransmitInhibit(int channel, bool inhibit)
{
    if (inhibit) model_->ParseRow(channel);  // what the inhibit keeps is what the cells show
    SetTxInhibit(Ch(channel), inhibit);
    model_->FillTransmitSide(channel);
}

// ---- The two editors -------------------------------------------------------------------------

void ChannelGrid::OpenTextEditor(int channel, int column, const QString& text, bool selectAll)
{
    editors_->OpenText(channel, column, CellText(channel, column), text, selectAll);
    PlaceEditor(true);
}

void ChannelGrid::OpenSpinEditor(int channel, const QString& typed, bool selectAll)
{
    const QString cell = CellText(channel, GridCol::NsqLevel).trimmed();
    const int level = cell.isEmpty() || cell == kNotShown
                          ? Ch(channel).NsqLevel
                          : std::clamp(ToIntOr(ToStdString(cell), 0), 0, MaxNsqLevel);
    editors_->OpenSpin(channel, GridCol::NsqLevel, CellText(channel, GridCol::NsqLevel), level, typed, selectAll);
    PlaceEditor(true);
}

void ChannelGrid::TypeCharacter(QChar c)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    const int channel = current.row(), column = current.column();
    if (!TakesTypedText(ColumnAt(column)) || !CellEditable(channel, column)) return;
    const bool frequency = ColumnAt(column).Kind == ColFrequency;
    if (frequency ? !CellEditors::FrequencyCharacter(c) : !CellEditors::LevelCharacter(c) || LevelLocked(channel))
        return;
    if (editors_->IsActive()) {
        editors_->Append(c);
        PlaceEditor(true);
    } else if (frequency) {
        OpenTextEditor(channel, column, QString(c), false);
    } else {
        OpenSpinEditor(channel, QString(c), false);
    }
}

CellLimits ChannelGrid::Limits() const { return {model_->Format(), rxLow_, rxHigh_, txLow_, txHigh_}; }

QString ChannelGrid::NormalizedFrequency(int column, const QString& text) const
{
    const bool rx = column == GridCol::RxFreq;
    return ToQString(NormalizeFrequencyText(ToStdString(text), model_->Format().ChannelStep, rx ? rxLow_ : txLow_,
                                            rx ? rxHigh_ : txHigh_, model_->Format().Separator));
}

void ChannelGrid::CommitEditor() { FinishEditor(false); }

// Ends the active editor. Escape, and an editor left with the text it opened with, change
// nothing: the cell keeps its text and its channel every value, even one outside the band limits
// that a normalisation would move. A typed or pasted change is normalised into the cell, and the
// post-edit rules run when the cell's text changed.
void ChannelGrid::FinishEditor(bool restore)
{
    if (!editors_->IsActive() || finishing_) return;
    finishing_ = true;
    const int channel = editors_->Channel(), column = editors_->Column();
    const bool text = editors_->Active() == CellEditors::Kind::Text;
    const RowSnapshot before(*this, channel);
    const bool hadFocus = editors_->HasFocus();
    const CellEditors::Closed closed = editors_->Close(restore);
    if (closed.Changed && text) {
        const QString normalized = NormalizedFrequency(column, closed.Text);
        if (normalized != CellText(channel, column)) {
            SetCell(channel, column, normalized);
            PostEditRules(channel, column);
        }
    } else if (closed.Changed) {
        SetCell(channel, column, closed.Text);
        Ch(channel).NsqLevel = closed.Level;
    }
    if (closed.Changed) model_->ParseAll();
    if (hadFocus) setFocus();
    finishing_ = false;
    if (before.Changed()) emit edited();
}

// ---- Paste into a cell without an editor -----------------------------------------------------

// A text is taken only when the cell would show it: an option name of the column, a CTCSS or DCS
// name, a frequency as normalised at commit, or digits for the level (held within 0..255).
// "Tx Inh" in the Tx Freq cell inhibits the transmit, as an import of it does: normalised, it
// would be the band's lower limit, a frequency copied from nowhere. The caller has checked that
// the cell may change; nothing is emitted here.
ChannelGrid::PasteResult ChannelGrid::PasteIntoCell(int channel, int column, const QString& text)
{
    const GridColumn& col = ColumnAt(column);
    const RowSnapshot before(*this, channel);
    QString value;
    switch (col.Kind) {
    case ColChoice: {
        const OptionList& list = OptionLists[static_cast<std::size_t>(col.Parameter)];
        const int at = FindName(list.Names, text);
        if (at < 0 || at >= list.Count) return PasteResult::Refused;
        value = text;
        break;
    }
    case ColDialog:
        if (col.Parameter == DlgMultiTone) return PasteResult::Refused;
        if ((col.Parameter == DlgCtcss ? FindName(CtcssWithOff, text) : FindName(DcsWithOff, text)) < 0)
            return PasteResult::Refused;
        value = text;
        break;
    case ColFrequency:
        if (column == GridCol::TxFreq && Trim(ToStdString(text)) == TxInhibitedText) {
            SetTransmitInhibit(channel, true);
            return before.Changed() ? PasteResult::Changed : PasteResult::Unchanged;
        }
        value = NormalizedFrequency(column, text).left(col.Parameter);
        break;
    case ColNumber: {
        if (LevelLocked(channel)) return PasteResult::Refused;
        const QString digits = ToQString(DigitsOnly(ToStdString(text)));
        if (digits.isEmpty()) return PasteResult::Refused;
        value = QString::number(std::min(ToIntOr(ToStdString(digits.left(col.Parameter)), 0), MaxNsqLevel));
        break;
    }
    default: return PasteResult::Refused;
    }
    if (value.isEmpty() || value == CellText(channel, column)) return PasteResult::Unchanged;
    SetCell(channel, column, value);
    AfterEdit(channel, column);
    return before.Changed() ? PasteResult::Changed : PasteResult::Unchanged;
}

// One field of a block paste or a fill-down, as if it had been pasted into its cell alone, but
// held to what a channel import takes, since a block is copied data, not typing. An empty field
// leaves the cell alone, and so does the text the cell already shows (even a frequency outside
// the band, which a paste would move) or "---" where a copied row showed no value. A frequency cell takes only a frequency in MHz within the band (or "Tx Inh"):
// a single paste would make any other text the nearest band limit, which is a copy of nothing.
ChannelGrid::PasteResult ChannelGrid::PasteIntoBlockCell(int channel, int column, const QString& text)
{
    if (text.isEmpty()) return PasteResult::Skipped;
    const std::string given = ToStdString(text);
    if (Trim(given) == Trim(ToStdString(CellText(channel, column)))) return PasteResult::Unchanged;
    if (!CellEditable(channel, column)) return PasteResult::Refused;
    const bool taken = !CellRefusal(column, given, Ch(channel), Limits());
    if (Trim(given) == NotShownText) return taken ? PasteResult::Unchanged : PasteResult::Refused;
    if (ColumnAt(column).Kind == ColFrequency && !taken) return PasteResult::Refused;
    return PasteIntoCell(channel, column, text);
}

}  // namespace qm54
