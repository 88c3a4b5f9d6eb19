#include "model/settings/dialog_rows.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "model/channels/channel_rules.h"
#include "model/settings/dialog_behaviour.h"
#include "model/image/tables.h"

namespace qm54 {

namespace {

const FieldRule kMegahertz{.Kind = RuleKind::TenKilohertz, .Unit = " MHz", .Filter = KeyFilterKind::Decimal, .MaxTyped = 5};
const FieldRule kTotMinutes{.Kind = RuleKind::HalfStep, .Unit = " Min", .Filter = KeyFilterKind::Decimal, .MaxTyped = 4};
const FieldRule kHangSeconds{.Kind = RuleKind::HalfStep, .Unit = " Sec", .Filter = KeyFilterKind::Decimal, .MaxTyped = 4};
const FieldRule kGuardSeconds{.Kind = RuleKind::Guard, .Unit = " Sec", .Filter = KeyFilterKind::Digit, .MaxTyped = 3};
const FieldRule kDotTime{.Kind = RuleKind::Number, .Unit = " msec", .Filter = KeyFilterKind::Digit, .MaxTyped = 3,
                         .Min = 20, .Max = 255, .Fallback = 20};
const FieldRule kInterval{.Kind = RuleKind::Number, .Unit = " sec", .Filter = KeyFilterKind::Digit, .MaxTyped = 4,
                          .Min = 30, .Max = 1800, .Fallback = 30};
const FieldRule kToneFreq{.Kind = RuleKind::Number, .Unit = " Hz", .Filter = KeyFilterKind::Digit, .MaxTyped = 4,
                          .Min = 300, .Max = 3000, .Fallback = 300};
const FieldRule kCwIdText{.Kind = RuleKind::FreeText, .Unit = "", .Filter = KeyFilterKind::Printable, .MaxTyped = 16};
const FieldRule kSerial{.Kind = RuleKind::Serial, .Unit = "", .Filter = KeyFilterKind::Printable, .MaxTyped = 8};
const FieldRule kSignalTime{.Kind = RuleKind::Number, .Unit = " ms", .Filter = KeyFilterKind::Digit, .MaxTyped = 3,
                            .Min = 1, .Max = 600, .Fallback = 1};
const FieldRule kAniDelay{.Kind = RuleKind::Number, .Unit = " ms", .Filter = KeyFilterKind::Digit, .MaxTyped = 4,
                          .Min = 20, .Max = 1275, .Fallback = 20, .Step = 5, .Scale = 5};
const FieldRule kEniDelay{.Kind = RuleKind::Number, .Unit = " ms", .Filter = KeyFilterKind::Digit, .MaxTyped = 5,
                          .Min = 50, .Max = 12750, .Fallback = 50, .Step = 50, .Scale = 50};
const FieldRule kEniSeconds{.Kind = RuleKind::Number, .Unit = " sec", .Filter = KeyFilterKind::Digit, .MaxTyped = 3,
                            .Min = 1, .Max = 255, .Fallback = 20};
const FieldRule kEniCount{.Kind = RuleKind::Number, .Unit = "", .Filter = KeyFilterKind::Digit, .MaxTyped = 3,
                          .Min = 1, .Max = 255, .Fallback = 20};
const FieldRule kIdCode{.Kind = RuleKind::Code, .Unit = "", .Filter = KeyFilterKind::Hex, .MaxTyped = 4};
const FieldRule kTone{.Kind = RuleKind::Tone, .Unit = " Hz", .Filter = KeyFilterKind::Digit, .MaxTyped = 4};

constexpr std::array<int32_t, 2> kMarketValues{0, MarketUsa};
constexpr std::array<std::string_view, 2> kMarketNames{"EXP", "USA"};
constexpr std::array<std::string_view, 16> kHexDigitNames{"0", "1", "2", "3", "4", "5", "6", "7",
                                                          "8", "9", "A", "B", "C", "D", "E", "F"};
const std::array<std::string_view, FiveToneSetCount> kToneSetNames = [] {
    std::array<std::string_view, FiveToneSetCount> names{};
    for (size_t i = 0; i < names.size(); ++i) names[i] = FiveToneSets[i].Name;
    return names;
}();

constexpr auto Manufacture = EditableIn::Manufacture;

// The settings row of a dialog row's member. A member the table lacks is a fault in these tables,
// stopped at their first use so that it can never edit another setting.
const SettingRow* Edited(const SettingMember& member, std::string_view caption)
{
    const SettingRow* setting = FindSettingOf(member);
    if (setting == nullptr) {
        std::fprintf(stderr, "the dialog row \"%.*s\" edits no setting of the settings table\n",
                     static_cast<int>(caption.size()), caption.data());
        std::abort();
    }
    return setting;
}

DialogRow List(std::string_view caption, IntMember member, int list, EditableIn rights = EditableIn::DealerAndManufacture)
{
    return {.Caption = caption, .Edits = Edited(member, caption), .Control = RowControl::List, .OptionList = list,
            .Rights = rights};
}

DialogRow Edit(std::string_view caption, const SettingMember& member, const FieldRule& rule,
               EditableIn rights = EditableIn::DealerAndManufacture)
{
    return {.Caption = caption, .Edits = Edited(member, caption), .Control = RowControl::Edit, .Rule = &rule,
            .Rights = rights};
}

// A list of the hexadecimal digits "0" to "F", index = value.
DialogRow HexList(std::string_view caption, IntMember member)
{
    return {.Caption = caption, .Edits = Edited(member, caption), .Control = RowControl::List, .OwnNames = kHexDigitNames};
}

// "off", "RX Enable", "TX Enable", "RX/TX Enable" over a receive and a transmit bit.
DialogRow BitPair(std::string_view caption, std::string_view name, IntMember rx, IntMember tx)
{
    return {.Caption = caption, .Edits = Edited(rx, caption), .Control = RowControl::BitPairList,
            .OptionList = OptRxTxEnable, .Pair = Edited(tx, caption), .Name = name};
}

DialogRow ToneField(std::string_view caption, int digit)
{
    DialogRow row = Edit(caption, &TCEmem::FiveToneTable, kTone);
    row.Item = digit;
    return row;
}

std::vector<DialogRow> HardwareRows()
{
    return {
        List("&Band Select", &TCEmem::Band, OptBand),
        Edit("&IF", &TCEmem::IntermediateFreq, kMegahertz, Manufacture),
        Edit("&TX Reference", &TCEmem::TxReferenceFreq, kMegahertz, Manufacture),
        Edit("&RX Reference", &TCEmem::RxReferenceFreq, kMegahertz, Manufacture),
        List("&1st Local Offset", &TCEmem::FirstLocalOffset, OptLocalOffset),
        List("&2nd Local Offset", &TCEmem::SecondLocalOffset, OptLocalOffset),
        List("&CH Step", &TCEmem::ChannelStep, OptChannelStep),
        List("&Duplexer Installed", &TCEmem::Duplexer, OptDuplexer),
        List("TX &Power Type", &TCEmem::TxPowerType, OptTxPowerType, Manufacture),
    };
}

std::vector<DialogRow> RadioStatusRows()
{
    return {
        List("&Beep", &TCEmem::Beep, OptDisableEnable),
        List("&Monitor", &TCEmem::Monitor, OptDisableEnable),
        List("&Accessory", &TCEmem::Accessory, OptAccessory),
        List("M&IC Moni", &TCEmem::MicMonitor, OptDisableEnable),
        List("&Fan Alert", &TCEmem::FanAlert, OptDisableEnable),
        List("&High Temp Alert", &TCEmem::HighTempAlert, OptDisableEnable),
        List("HIgh Temp TX &Power Low", &TCEmem::TxPowerType, OptDisableEnable),
        List("&DC TX Power Low", &TCEmem::DcTxPowerLow, OptDisableEnable),
        List("Hang &On Audio", &TCEmem::HangOnAudio, OptHangOnAudio),
    };
}

std::vector<DialogRow> TimerRows()
{
    return {
        Edit("&Base T.O.T", &TCEmem::BaseTot, kTotMinutes),
        Edit("Base &Guard Time", &TCEmem::BaseGuardTime, kGuardSeconds),
        Edit("&Repeat T.O.T", &TCEmem::RepeatTot, kTotMinutes),
        Edit("Repeat Guard &Time", &TCEmem::RepeatGuardTime, kGuardSeconds),
        Edit("Repeat Hang &On Time", &TCEmem::RepeatHangTime, kHangSeconds),
    };
}

std::vector<DialogRow> CwIdRows()
{
    return {
        List("&CW ID", &TCEmem::CwIdEnable, OptDisableEnable),
        Edit("&Dot Time (ms)", &TCEmem::CwIdDotTime, kDotTime),
        Edit("&Interval Timer (sec)", &TCEmem::CwIdInterval, kInterval),
        Edit("&Tone Freq (Hz)", &TCEmem::CwIdToneFreq, kToneFreq),
        Edit("C&W ID", &TCEmem::CwIdText, kCwIdText),
    };
}

std::vector<DialogRow> MarketRows()
{
    return {
        Edit("&Serial Number", &TCEmem::SerialNumber, kSerial, Manufacture),
        {.Caption = "&Marketing", .Edits = Edited(&TCEmem::MarketCode, "&Marketing"), .Control = RowControl::List,
         .StoredValues = kMarketValues, .OwnNames = kMarketNames, .Rights = Manufacture, .Accelerator = false},
    };
}

std::vector<DialogRow> SignallingRows()
{
    return {
        BitPair("&DTMF", "DTMF", &TCEmem::DtmfRx, &TCEmem::DtmfTx),
        BitPair("&5-Tone", "FiveTone", &TCEmem::FiveToneRx, &TCEmem::FiveToneTx),
        Edit("&Mark Time", &TCEmem::FiveToneMarkTime, kSignalTime),
        Edit("&Space Time", &TCEmem::FiveToneSpaceTime, kSignalTime),
        HexList("5-Tone &Repeat Code", &TCEmem::FiveToneRepeatCode),
    };
}

std::vector<DialogRow> AniRows()
{
    return {
        List("ANI &On", &TCEmem::AniMode, OptAniMode),
        Edit("ANI &Delay Time", &TCEmem::AniDelay, kAniDelay),
        HexList("ANI &Header Code", &TCEmem::AniHeaderCode),
        Edit("ANI &Code", &TCEmem::AniCode, kIdCode),
    };
}

std::vector<DialogRow> EniRows()
{
    return {
        Edit("ENI &Delay Time", &TCEmem::EniDelay, kEniDelay),
        Edit("ENI &TX Time", &TCEmem::EniTxTime, kEniSeconds),
        Edit("ENI &RX Time", &TCEmem::EniRxTime, kEniSeconds),
        Edit("ENI D&ead Time", &TCEmem::EniDeadTime, kEniSeconds),
        Edit("ENI Re&peat Count", &TCEmem::EniRepeatCount, kEniCount),
        HexList("ENI &Header Code", &TCEmem::EniHeaderCode),
        Edit("ENI &Code", &TCEmem::EniCode, kIdCode),
    };
}

std::vector<DialogRow> ToneTableRows()
{
    std::vector<DialogRow> rows;
    static constexpr std::array<std::string_view, FiveToneDigitCount> kDigitCaptions{
        "&0", "&1", "&2", "&3", "&4", "&5", "&6", "&7", "&8", "&9", "&A", "&B", "&C", "&D", "&E", "&F"};
    for (int digit = 0; digit < FiveToneDigitCount; ++digit)
        rows.push_back(ToneField(kDigitCaptions[static_cast<size_t>(digit)], digit));
    rows.push_back({.Caption = "5Tone &Set", .Edits = Edited(FiveToneSetOfTable{}, "5Tone &Set"),
                    .Control = RowControl::List, .OwnNames = kToneSetNames});
    return rows;
}

constexpr int kToneColumnRows = 8;
constexpr size_t kDialogCount = 9;

// Every dialog's rows, built once.
struct BuiltDialogs {
    std::array<std::vector<DialogRow>, kDialogCount> Rows{HardwareRows(), RadioStatusRows(), TimerRows(), CwIdRows(), MarketRows(),
                                               SignallingRows(), AniRows(),       EniRows(),   ToneTableRows()};
    std::array<DialogTable, kDialogCount> Tables{{
        {DialogId::Hardware, "Hardware Parameters", Rows[0]},
        {DialogId::RadioStatus, "Radio Status", Rows[1]},
        {DialogId::Timer, "Timer", Rows[2]},
        {DialogId::CwId, "CW ID", Rows[3]},
        {DialogId::Market, "Marketing Parameters", Rows[4]},
        {DialogId::Signalling, "Signaling Type", Rows[5]},
        {DialogId::Ani, "ANI Parameters", Rows[6]},
        {DialogId::Eni, "ENI Parameters", Rows[7]},
        {DialogId::ToneTable, "5-Tone Table", Rows[8], kToneColumnRows},
    }};
};

std::span<const DialogTable> Dialogs()
{
    static const BuiltDialogs built;
    return built.Tables;
}

int32_t StoredInt(const TCEmem& emem, const SettingRow& setting, int item = 0)
{
    const SettingValue value = GetSetting(emem, setting, item);
    const auto* number = std::get_if<int32_t>(&value);
    return number ? *number : 0;
}

std::string StoredString(const TCEmem& emem, const SettingRow& setting)
{
    const SettingValue value = GetSetting(emem, setting);
    const auto* text = std::get_if<std::string>(&value);
    return text ? *text : std::string();
}

bool SameName(std::string_view a, std::string_view b) { return ToUpperAscii(a) == ToUpperAscii(b); }

// Writes one row's value; a value the setting cannot hold (which no control produces, but a
// stored code text that was never committed is) is left out, so the setting keeps what it had.
void WriteRow(const DialogRow& row, const RowState& state, TCEmem& emem, char separator)
{
    const SettingRow& setting = row.Setting();
    if (setting.Kind == SettingKind::ToneSetName) return;  // the set list only shows which set matches
    SettingValue value;
    if (row.Control == RowControl::BitPairList) {
        const int index = std::clamp(state.Index, 0, row.ListCount() - 1);
        (void)SetSetting(emem, setting, 0, int32_t{index & 1});
        if (const SettingRow* tx = row.PairSetting()) (void)SetSetting(emem, *tx, 0, int32_t{(index >> 1) & 1});
        return;
    }
    if (row.Control == RowControl::List) {
        value = row.StoredOfIndex(state.Index);
    } else if (IsTextRule(*row.Rule)) {
        value = StoredText(*row.Rule, state.Text, separator);
    } else if (row.Rule->Kind == RuleKind::Tone) {
        value = static_cast<int32_t>(std::clamp<int64_t>(ToneRawValue(state.Text), 0, INT32_MAX));
    } else {
        value = StoredNumber(*row.Rule, ParseField(*row.Rule, state.Text, separator));
    }
    (void)SetSetting(emem, setting, row.Item, value);
}

bool RowDiffers(const DialogRow& row, const TCEmem& a, const TCEmem& b)
{
    if (GetSetting(a, row.Setting(), row.Item) != GetSetting(b, row.Setting(), row.Item)) return true;
    const SettingRow* pair = row.PairSetting();
    return pair != nullptr && GetSetting(a, *pair) != GetSetting(b, *pair);
}

}  // namespace

bool MayEdit(EditableIn rights, OperatingMode mode)
{
    if (rights == EditableIn::Manufacture) return mode == OperatingMode::Manufacture;
    return mode != OperatingMode::Normal;
}

std::string_view ModeNeeded(EditableIn rights)
{
    return rights == EditableIn::Manufacture ? "Manufacture" : "Dealer";
}

std::string DialogRow::RowName() const
{
    if (!Name.empty()) return std::string(Name);
    if (Setting().IsArray()) return std::string(Key()) + "[" + std::to_string(Item) + "]";
    return std::string(Key());
}

int DialogRow::ListCount() const
{
    if (!OwnNames.empty()) return static_cast<int>(OwnNames.size());
    return OptionList >= 0 && OptionList < OptionListCount ? OptionLists[static_cast<size_t>(OptionList)].Count : 0;
}

std::string DialogRow::ListName(int index) const
{
    if (index < 0 || index >= ListCount()) return {};
    if (!OwnNames.empty()) return std::string(OwnNames[static_cast<size_t>(index)]);
    return OptionName(OptionList, index);
}

int DialogRow::IndexOfStored(int32_t stored) const
{
    if (StoredValues.empty()) return stored >= 0 && stored < ListCount() ? stored : 0;
    for (size_t i = 0; i < StoredValues.size(); ++i)
        if (StoredValues[i] == stored) return static_cast<int>(i);
    return 0;
}

int32_t DialogRow::StoredOfIndex(int index) const
{
    if (index < 0 || index >= ListCount()) index = 0;
    return StoredValues.empty() ? index : StoredValues[static_cast<size_t>(index)];
}

const DialogTable& Dialog(DialogId id)
{
    for (const DialogTable& dialog : Dialogs())
        if (dialog.Id == id) return dialog;
    return Dialogs().front();
}

std::span<const DialogTable> AllDialogs() { return Dialogs(); }

int RowOfMember(const DialogTable& dialog, const SettingMember& member)
{
    for (size_t i = 0; i < dialog.Rows.size(); ++i)
        if (dialog.Rows[i].EditsMember(member)) return static_cast<int>(i);
    return -1;
}

DialogRowRef FindDialogRow(std::string_view name)
{
    for (const DialogTable& dialog : Dialogs())
        for (size_t i = 0; i < dialog.Rows.size(); ++i)
            if (SameName(dialog.Rows[i].RowName(), name)) return {&dialog, &dialog.Rows[i], static_cast<int>(i)};
    return {};
}

std::vector<DialogRowRef> FindDialogRows(std::string_view key, int item)
{
    std::vector<DialogRowRef> rows;
    for (const DialogTable& dialog : Dialogs())
        for (size_t i = 0; i < dialog.Rows.size(); ++i) {
            const DialogRow& row = dialog.Rows[i];
            if ((row.Key() == key && row.Item == item) || (row.Pair != nullptr && row.Pair->Key == key))
                rows.push_back({&dialog, &row, static_cast<int>(i)});
        }
    return rows;
}

DialogState ShowDialog(const DialogTable& dialog, const TCEmem& emem, char separator)
{
    DialogState state;
    for (const DialogRow& row : dialog.Rows) {
        const SettingRow& setting = row.Setting();
        if (row.Control == RowControl::BitPairList) {
            const SettingRow* tx = row.PairSetting();
            const int32_t rx = StoredInt(emem, setting) != 0 ? 1 : 0;
            const int32_t txBit = tx != nullptr && StoredInt(emem, *tx) != 0 ? 2 : 0;
            state.push_back({rx | txBit, {}});
        } else if (row.Control == RowControl::List) {
            state.push_back({row.IndexOfStored(StoredInt(emem, setting, row.Item)), {}});
        } else {
            state.push_back({0, ShownText(*row.Rule, StoredInt(emem, setting, row.Item), StoredString(emem, setting),
                                          separator)});
        }
    }
    ShowBehaviour(dialog, emem, state);
    return state;
}

std::string StateText(const DialogRow& row, const RowState& state)
{
    return row.Control == RowControl::Edit ? state.Text : row.ListName(state.Index);
}

std::string ShownValue(const DialogRowRef& ref, const TCEmem& emem, char separator)
{
    if (ref.Dialog == nullptr || ref.Row == nullptr) return {};
    const DialogState state = ShowDialog(*ref.Dialog, emem, separator);
    return StateText(*ref.Row, state[static_cast<size_t>(ref.Index)]);
}

std::string TypedIntoField(const FieldRule& rule, std::string_view text)
{
    std::string typed;
    int count = 0;
    for (const char c : text) {
        if (count >= rule.MaxTyped) break;
        const KeyFilterResult key = FilterFieldKey(rule, static_cast<unsigned char>(c));
        if (!key.Accepted || key.Key == U'\b') continue;
        typed += static_cast<char>(key.Key);
        ++count;
    }
    return typed;
}

DialogOk ApplyDialog(const DialogTable& dialog, const DialogState& shown, TCEmem& emem, char separator)
{
    const TCEmem snapshot = emem;
    DialogState state = shown;
    state.resize(dialog.Rows.size());
    BeforeOk(dialog, state);
    for (size_t i = 0; i < dialog.Rows.size(); ++i) WriteRow(dialog.Rows[i], state[i], emem, separator);

    DialogOk ok;
    for (const DialogRow& row : dialog.Rows)
        if (RowDiffers(row, emem, snapshot)) ok.Modified = true;
    ok.BandChanged = dialog.Id == DialogId::Hardware && emem.Band != snapshot.Band;
    ok.StepChanged = dialog.Id == DialogId::Hardware && emem.ChannelStep != snapshot.ChannelStep;
    AfterOk(dialog, emem);
    // Channels the OK switched off are a change to be saved like any other, even when every
    // setting the dialog shows stayed as it was.
    if (!(emem.Channels == snapshot.Channels)) ok.Modified = true;
    return ok;
}

void ApplyHardwareChanges(const DialogOk& ok, TCEmem& emem)
{
    if (ok.BandChanged) ApplyBandDefaults(emem, emem.Band);
    if (ok.StepChanged) MoveChannelsOntoRaster(emem);
}

}  // namespace qm54
