#include "model/settings/dialog_behaviour.h"

#include <algorithm>
#include <climits>

#include "model/image/tables.h"

namespace qm54 {

namespace {

constexpr int kListOff = 0;
constexpr int32_t kIdModeAniEni = 1;
constexpr int32_t kIdModeCwId = 2;

// The first row of dialog whose setting is key, or -1.
int RowOfKey(const DialogTable& dialog, std::string_view key)
{
    for (size_t i = 0; i < dialog.Rows.size(); ++i)
        if (dialog.Rows[i].Key == key) return static_cast<int>(i);
    return -1;
}

int IndexAt(const DialogState& state, int row)
{
    return row >= 0 && static_cast<size_t>(row) < state.size() ? state[static_cast<size_t>(row)].Index : kListOff;
}

// --- the signalling type --------------------------------------------------------------------

int DtmfRow(const DialogTable& dialog) { return RowOfKey(dialog, "DtmfRx"); }
int FiveToneRow(const DialogTable& dialog) { return RowOfKey(dialog, "FiveToneRx"); }

bool IsSignalTime(const DialogRow& row) { return row.Key == "FiveToneMarkTime" || row.Key == "FiveToneSpaceTime"; }

void SetIdModeOff(TCEmem& emem, int32_t idMode)
{
    for (int i = 0; i < TChannels::Count(); ++i) {
        TChannel& channel = emem.Channels.Items(i);
        if (channel.IdMode == idMode) channel.IdMode = 0;
    }
}

// --- the 5-tone table -----------------------------------------------------------------------

int ToneSetRow(const DialogTable& dialog) { return RowOfKey(dialog, "FiveToneSet"); }

bool IsToneField(const DialogTable& dialog, int row)
{
    if (row < 0 || static_cast<size_t>(row) >= dialog.Rows.size()) return false;
    const DialogRow& r = dialog.Rows[static_cast<size_t>(row)];
    return r.Rule != nullptr && r.Rule->Kind == RuleKind::Tone;
}

bool EiaShowing(const DialogTable& dialog, const DialogState& state)
{
    return IndexAt(state, ToneSetRow(dialog)) == FiveToneEiaSet;
}

std::string ToneText(int64_t raw, int digit, bool eiaShowing)
{
    return std::to_string(LimitedTone(raw, digit, eiaShowing)) + " Hz";
}

// The set list shows the first tone set that the fields' raw values match, "USER" when none.
void MatchToneSet(const DialogTable& dialog, DialogState& state)
{
    const int setRow = ToneSetRow(dialog);
    if (setRow < 0) return;
    std::array<int32_t, FiveToneDigitCount> raw{};
    for (size_t i = 0; i < dialog.Rows.size() && i < state.size(); ++i) {
        const DialogRow& row = dialog.Rows[i];
        if (!IsToneField(dialog, static_cast<int>(i)) || row.Item < 0 || row.Item >= FiveToneDigitCount) continue;
        raw[static_cast<size_t>(row.Item)] = static_cast<int32_t>(std::min<int64_t>(ToneRawValue(state[i].Text), INT32_MAX));
    }
    state[static_cast<size_t>(setRow)].Index = MatchingFiveToneSet(raw);
}

// Every field takes its digit's tone from tones, shown with the set list as it is now.
void FillToneFields(const DialogTable& dialog, DialogState& state, const std::array<int32_t, 16>& tones)
{
    const bool eia = EiaShowing(dialog, state);
    for (size_t i = 0; i < dialog.Rows.size() && i < state.size(); ++i) {
        const int digit = dialog.Rows[i].Item;
        if (IsToneField(dialog, static_cast<int>(i)) && digit >= 0 && digit < FiveToneDigitCount)
            state[i].Text = ToneText(tones[static_cast<size_t>(digit)], digit, eia);
    }
}

}  // namespace

void UserChoseListEntry(const DialogTable& dialog, DialogState& state, int row)
{
    if (row < 0 || static_cast<size_t>(row) >= state.size()) return;
    if (dialog.Id == DialogId::Signalling) {
        const int dtmf = DtmfRow(dialog), fiveTone = FiveToneRow(dialog);
        const int other = row == dtmf ? fiveTone : row == fiveTone ? dtmf : -1;
        if (other >= 0) state[static_cast<size_t>(other)].Index = kListOff;
    } else if (dialog.Id == DialogId::ToneTable && row == ToneSetRow(dialog)) {
        const int set = std::clamp(state[static_cast<size_t>(row)].Index, 0, FiveToneSetCount - 1);
        FillToneFields(dialog, state, FiveToneSets[static_cast<size_t>(set)].Tones);
    }
}

std::string CommittedText(const DialogTable& dialog, const DialogState& state, int row, std::string_view text,
                          char separator)
{
    if (row < 0 || static_cast<size_t>(row) >= dialog.Rows.size()) return std::string(text);
    const DialogRow& r = dialog.Rows[static_cast<size_t>(row)];
    if (IsToneField(dialog, row)) return ToneFieldText(text, r.Item, EiaShowing(dialog, state));
    if (r.Rule == nullptr) return std::string(text);
    return CommitField(*r.Rule, text, separator);
}

void CommitRowText(const DialogTable& dialog, DialogState& state, int row, std::string_view text, char separator)
{
    if (row < 0 || static_cast<size_t>(row) >= state.size()) return;
    state[static_cast<size_t>(row)].Text = CommittedText(dialog, state, row, text, separator);
    if (IsToneField(dialog, row)) MatchToneSet(dialog, state);
}

std::string TypingText(const DialogTable& dialog, const DialogState& state, int row, std::string_view text,
                       char separator)
{
    if (row < 0 || static_cast<size_t>(row) >= dialog.Rows.size()) return std::string(text);
    const DialogRow& r = dialog.Rows[static_cast<size_t>(row)];
    if (IsToneField(dialog, row))
        return std::to_string(LimitedTone(ToneRawValue(text), r.Item, EiaShowing(dialog, state)));
    if (r.Rule == nullptr || IsTextRule(*r.Rule)) return std::string(text);
    return BareField(*r.Rule, ParseField(*r.Rule, text, separator), separator);
}

std::string_view GreyedBecause(const DialogTable& dialog, const DialogState& state, int row)
{
    if (dialog.Id != DialogId::Signalling || row < 0 || static_cast<size_t>(row) >= dialog.Rows.size()) return {};
    const DialogRow& r = dialog.Rows[static_cast<size_t>(row)];
    const bool dtmfOn = IndexAt(state, DtmfRow(dialog)) != kListOff;
    const bool fiveToneOn = IndexAt(state, FiveToneRow(dialog)) != kListOff;
    if (IsSignalTime(r) && !dtmfOn && !fiveToneOn) return "DTMF and 5-Tone are off";
    if (r.Key == "FiveToneRepeatCode" && !fiveToneOn) return "5-Tone is off";
    return {};
}

bool RowEnabled(const DialogTable& dialog, const DialogState& state, int row, OperatingMode mode)
{
    if (row < 0 || static_cast<size_t>(row) >= dialog.Rows.size()) return false;
    return MayEdit(dialog.Rows[static_cast<size_t>(row)].Rights, mode) && GreyedBecause(dialog, state, row).empty();
}

void AnswerBandQuestionYes(const DialogTable& dialog, DialogState& state, char separator)
{
    const int bandRow = RowOfKey(dialog, "Band"), ifRow = RowOfKey(dialog, "IntermediateFreq");
    if (bandRow < 0 || ifRow < 0 || static_cast<size_t>(std::max(bandRow, ifRow)) >= state.size()) return;
    const DialogRow& intermediate = dialog.Rows[static_cast<size_t>(ifRow)];
    state[static_cast<size_t>(ifRow)].Text =
        ShownText(*intermediate.Rule, BandDefaultIf(IndexAt(state, bandRow)), {}, separator);
}

void ChangeBandAsHardwareOk(TCEmem& emem, int band)
{
    if (band == emem.Band || (band != BandVhf && band != BandUhf)) return;
    const DialogTable& hardware = Dialog(DialogId::Hardware);
    DialogState state = ShowDialog(hardware, emem);
    state[static_cast<size_t>(RowOfKey(hardware, "Band"))].Index = band;
    AnswerBandQuestionYes(hardware, state);
    ApplyHardwareChanges(ApplyDialog(hardware, state, emem), emem);
}

void ShowBehaviour(const DialogTable& dialog, const TCEmem& emem, DialogState& state)
{
    if (dialog.Id != DialogId::ToneTable) return;
    const int setRow = ToneSetRow(dialog);
    if (setRow < 0 || static_cast<size_t>(setRow) >= state.size()) return;
    // The list follows the stored values, then the fields are shown with it (so the EIA
    // exceptions hold only for a stored table that is the EIA set).
    state[static_cast<size_t>(setRow)].Index = MatchingFiveToneSet(emem.FiveToneTable);
    FillToneFields(dialog, state, emem.FiveToneTable);
}

void BeforeOk(const DialogTable& dialog, DialogState& state)
{
    if (dialog.Id != DialogId::Signalling) return;
    // Both lists show a choice only when stored data had both systems on: DTMF wins.
    const int dtmf = DtmfRow(dialog), fiveTone = FiveToneRow(dialog);
    if (IndexAt(state, dtmf) != kListOff && fiveTone >= 0 && static_cast<size_t>(fiveTone) < state.size())
        state[static_cast<size_t>(fiveTone)].Index = kListOff;
}

void AfterOk(const DialogTable& dialog, TCEmem& emem)
{
    if (dialog.Id == DialogId::CwId && emem.CwIdEnable == 0) SetIdModeOff(emem, kIdModeCwId);
    if (dialog.Id == DialogId::Signalling && emem.DtmfRx == 0 && emem.DtmfTx == 0 && emem.FiveToneRx == 0 &&
        emem.FiveToneTx == 0)
        SetIdModeOff(emem, kIdModeAniEni);
}

}  // namespace qm54
