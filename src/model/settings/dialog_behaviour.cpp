#include "model/settings/dialog_behaviour.h"

#include <algorithm>
#include <array>
#include <climits>

#include "model/image/tables.h"

namespace qm54 {

namespace {

constexpr int kListOff = 0;
constexpr int32_t kIdModeAniEni = 1;
constexpr int32_t kIdModeCwId = 2;
constexpr int32_t kVhfDefaultIf = 2140;
constexpr int32_t kUhfDefaultIf = 7335;

bool InState(const DialogState& state, int row) { return row >= 0 && static_cast<size_t>(row) < state.size(); }

int IndexAt(const DialogState& state, int row)
{
    return InState(state, row) ? state[static_cast<size_t>(row)].Index : kListOff;
}

void SetIdModeOff(TCEmem& emem, int32_t idMode)
{
    for (int i = 0; i < TChannels::Count(); ++i) {
        TChannel& channel = emem.Channels.Items(i);
        if (channel.IdMode == idMode) channel.IdMode = 0;
    }
}

// --- the signalling type --------------------------------------------------------------------

int DtmfRow(const DialogTable& dialog) { return RowOfMember(dialog, &TCEmem::DtmfRx); }
int FiveToneRow(const DialogTable& dialog) { return RowOfMember(dialog, &TCEmem::FiveToneRx); }

bool IsSignalTime(const DialogRow& row)
{
    return row.EditsMember(&TCEmem::FiveToneMarkTime) || row.EditsMember(&TCEmem::FiveToneSpaceTime);
}

// One signalling list chosen: the other turns "off".
void SignallingListChosen(const DialogTable& dialog, DialogState& state, int row)
{
    const int dtmf = DtmfRow(dialog), fiveTone = FiveToneRow(dialog);
    const int other = row == dtmf ? fiveTone : row == fiveTone ? dtmf : -1;
    if (InState(state, other)) state[static_cast<size_t>(other)].Index = kListOff;
}

std::string_view SignallingGreyedBecause(const DialogTable& dialog, const DialogState& state, int row)
{
    const DialogRow& r = dialog.Rows[static_cast<size_t>(row)];
    const bool dtmfOn = IndexAt(state, DtmfRow(dialog)) != kListOff;
    const bool fiveToneOn = IndexAt(state, FiveToneRow(dialog)) != kListOff;
    if (IsSignalTime(r) && !dtmfOn && !fiveToneOn) return "DTMF and 5-Tone are off";
    if (r.EditsMember(&TCEmem::FiveToneRepeatCode) && !fiveToneOn) return "5-Tone is off";
    return {};
}

// Both lists show a choice only when stored data had both systems on: DTMF wins.
void SignallingBeforeOk(const DialogTable& dialog, DialogState& state)
{
    const int fiveTone = FiveToneRow(dialog);
    if (IndexAt(state, DtmfRow(dialog)) != kListOff && InState(state, fiveTone))
        state[static_cast<size_t>(fiveTone)].Index = kListOff;
}

// Both systems off: the channels that send ANI or ENI stop doing so.
void SignallingAfterOk(TCEmem& emem)
{
    if (emem.DtmfRx == 0 && emem.DtmfTx == 0 && emem.FiveToneRx == 0 && emem.FiveToneTx == 0)
        SetIdModeOff(emem, kIdModeAniEni);
}

// --- the CW ID ------------------------------------------------------------------------------

void CwIdAfterOk(TCEmem& emem)
{
    if (emem.CwIdEnable == 0) SetIdModeOff(emem, kIdModeCwId);
}

// --- the 5-tone table -----------------------------------------------------------------------

int ToneSetRow(const DialogTable& dialog) { return RowOfMember(dialog, FiveToneSetOfTable{}); }

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
    if (!InState(state, setRow)) return;
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

// The set list chosen: its set is loaded into the sixteen fields.
void ToneSetChosen(const DialogTable& dialog, DialogState& state, int row)
{
    if (row != ToneSetRow(dialog)) return;
    const int set = std::clamp(state[static_cast<size_t>(row)].Index, 0, FiveToneSetCount - 1);
    FillToneFields(dialog, state, FiveToneSets[static_cast<size_t>(set)].Tones);
}

// The list follows the stored values, then the fields are shown with it (so the EIA exceptions
// hold only for a stored table that is the EIA set).
void ShowToneTable(const DialogTable& dialog, const TCEmem& emem, DialogState& state)
{
    const int setRow = ToneSetRow(dialog);
    if (!InState(state, setRow)) return;
    state[static_cast<size_t>(setRow)].Index = MatchingFiveToneSet(emem.FiveToneTable);
    FillToneFields(dialog, state, emem.FiveToneTable);
}

// --- each dialog's own part -----------------------------------------------------------------

// What a dialog does beyond its rows' own rules; a dialog without an entry does nothing more.
struct Behaviour {
    DialogId Dialog;
    void (*ListChosen)(const DialogTable&, DialogState&, int row) = nullptr;
    std::string_view (*GreyedBecause)(const DialogTable&, const DialogState&, int row) = nullptr;
    void (*Show)(const DialogTable&, const TCEmem&, DialogState&) = nullptr;
    void (*BeforeOk)(const DialogTable&, DialogState&) = nullptr;
    void (*AfterOk)(TCEmem&) = nullptr;
};

const Behaviour kBehaviours[] = {
    {.Dialog = DialogId::CwId, .AfterOk = CwIdAfterOk},
    {.Dialog = DialogId::Signalling, .ListChosen = SignallingListChosen, .GreyedBecause = SignallingGreyedBecause,
     .BeforeOk = SignallingBeforeOk, .AfterOk = SignallingAfterOk},
    {.Dialog = DialogId::ToneTable, .ListChosen = ToneSetChosen, .Show = ShowToneTable},
};

const Behaviour& BehaviourOf(const DialogTable& dialog)
{
    static constexpr Behaviour kNone{.Dialog = DialogId::Hardware};
    for (const Behaviour& behaviour : kBehaviours)
        if (behaviour.Dialog == dialog.Id) return behaviour;
    return kNone;
}

}  // namespace

int32_t BandDefaultIf(int band) { return band == BandUhf ? kUhfDefaultIf : kVhfDefaultIf; }

void UserChoseListEntry(const DialogTable& dialog, DialogState& state, int row)
{
    if (!InState(state, row)) return;
    if (const auto chosen = BehaviourOf(dialog).ListChosen) chosen(dialog, state, row);
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
    if (!InState(state, row)) return;
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
    if (row < 0 || static_cast<size_t>(row) >= dialog.Rows.size()) return {};
    const auto greyed = BehaviourOf(dialog).GreyedBecause;
    return greyed ? greyed(dialog, state, row) : std::string_view{};
}

bool RowEnabled(const DialogTable& dialog, const DialogState& state, int row, OperatingMode mode)
{
    if (row < 0 || static_cast<size_t>(row) >= dialog.Rows.size()) return false;
    return MayEdit(dialog.Rows[static_cast<size_t>(row)].Rights, mode) && GreyedBecause(dialog, state, row).empty();
}

int BandRow(const DialogTable& dialog) { return RowOfMember(dialog, &TCEmem::Band); }
int IntermediateFreqRow(const DialogTable& dialog) { return RowOfMember(dialog, &TCEmem::IntermediateFreq); }

void AnswerBandQuestionYes(const DialogTable& dialog, DialogState& state, char separator)
{
    const int bandRow = BandRow(dialog), ifRow = IntermediateFreqRow(dialog);
    if (!InState(state, bandRow) || !InState(state, ifRow)) return;
    const DialogRow& intermediate = dialog.Rows[static_cast<size_t>(ifRow)];
    state[static_cast<size_t>(ifRow)].Text =
        ShownText(*intermediate.Rule, BandDefaultIf(IndexAt(state, bandRow)), {}, separator);
}

void ChangeBandAsHardwareOk(TCEmem& emem, int band)
{
    if (band == emem.Band || (band != BandVhf && band != BandUhf)) return;
    const DialogTable& hardware = Dialog(DialogId::Hardware);
    DialogState state = ShowDialog(hardware, emem);
    state[static_cast<size_t>(BandRow(hardware))].Index = band;
    AnswerBandQuestionYes(hardware, state);
    ApplyHardwareChanges(ApplyDialog(hardware, state, emem), emem);
}

void ShowBehaviour(const DialogTable& dialog, const TCEmem& emem, DialogState& state)
{
    if (const auto show = BehaviourOf(dialog).Show) show(dialog, emem, state);
}

void BeforeOk(const DialogTable& dialog, DialogState& state)
{
    if (const auto beforeOk = BehaviourOf(dialog).BeforeOk) beforeOk(dialog, state);
}

void AfterOk(const DialogTable& dialog, TCEmem& emem)
{
    if (const auto afterOk = BehaviourOf(dialog).AfterOk) afterOk(emem);
}

}  // namespace qm54
