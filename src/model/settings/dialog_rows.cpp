#include "model/settings/dialog_rows.h"

#include <algorithm>
#include <array>
#include <climits>

#include "model/channels/channel_rules.h"
#include "model/settings/dialog_behaviour.h"
#include "model/image/tables.h"

namespace qm54 {

namespace {

constexpr int32_t kVhfDefaultIf = 2140;
constexpr int32_t kUhfDefaultIf = 7335;

const FieldRule kMegahertz{RuleKind::TenKilohertz, " MHz", KeyFilterKind::Decimal, 5};
const FieldRule kTotMinutes{RuleKind::HalfStep, " Min", KeyFilterKind::Decimal, 4};
const FieldRule kHangSeconds{RuleKind::HalfStep, " Sec", KeyFilterKind::Decimal, 4};
const FieldRule kGuardSeconds{RuleKind::Guard, " Sec", KeyFilterKind::Digit, 3};
const FieldRule kDotTime{RuleKind::Number, " msec", KeyFilterKind::Digit, 3, 20, 255, 20};
const FieldRule kInterval{RuleKind::Number, " sec", KeyFilterKind::Digit, 4, 30, 1800, 30};
const FieldRule kToneFreq{RuleKind::Number, " Hz", KeyFilterKind::Digit, 4, 300, 3000, 300};
const FieldRule kCwIdText{RuleKind::FreeText, "", KeyFilterKind::Printable, 16};
const FieldRule kSerial{RuleKind::Serial, "", KeyFilterKind::Printable, 8};
const FieldRule kSignalTime{RuleKind::Number, " ms", KeyFilterKind::Digit, 3, 1, 600, 1};
const FieldRule kAniDelay{RuleKind::Number, " ms", KeyFilterKind::Digit, 4, 20, 1275, 20, 5, 5};
const FieldRule kEniDelay{RuleKind::Number, " ms", KeyFilterKind::Digit, 5, 50, 12750, 50, 50, 50};
const FieldRule kEniSeconds{RuleKind::Number, " sec", KeyFilterKind::Digit, 3, 1, 255, 20};
const FieldRule kEniCount{RuleKind::Number, "", KeyFilterKind::Digit, 3, 1, 255, 20};
const FieldRule kIdCode{RuleKind::Code, "", KeyFilterKind::Hex, 4};
const FieldRule kTone{RuleKind::Tone, " Hz", KeyFilterKind::Digit, 4};

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

DialogRow List(std::string_view caption, std::string_view key, int list, EditableIn rights = EditableIn::DealerAndManufacture)
{
    return {caption, key, RowControl::List, list, {}, {}, nullptr, rights};
}

DialogRow Edit(std::string_view caption, std::string_view key, const FieldRule& rule,
               EditableIn rights = EditableIn::DealerAndManufacture)
{
    return {caption, key, RowControl::Edit, -1, {}, {}, &rule, rights};
}

// A list of the hexadecimal digits "0" to "F", index = value.
DialogRow HexList(std::string_view caption, std::string_view key)
{
    return {caption, key, RowControl::List, -1, {}, kHexDigitNames, nullptr};
}

// "off", "RX Enable", "TX Enable", "RX/TX Enable" over a receive and a transmit bit.
DialogRow BitPair(std::string_view caption, std::string_view name, std::string_view rxKey, std::string_view txKey)
{
    DialogRow row{caption, rxKey, RowControl::BitPairList, OptRxTxEnable, {}, {}, nullptr};
    row.PairKey = txKey;
    row.Name = name;
    return row;
}

DialogRow ToneField(std::string_view caption, int digit)
{
    DialogRow row = Edit(caption, "FiveToneTable", kTone);
    row.Item = digit;
    return row;
}

const DialogRow kHardwareRows[] = {
    List("&Band Select", "Band", OptBand),
    Edit("&IF", "IntermediateFreq", kMegahertz, Manufacture),
    Edit("&TX Reference", "TxReferenceFreq", kMegahertz, Manufacture),
    Edit("&RX Reference", "RxReferenceFreq", kMegahertz, Manufacture),
    List("&1st Local Offset", "FirstLocalOffset", OptLocalOffset),
    List("&2nd Local Offset", "SecondLocalOffset", OptLocalOffset),
    List("&CH Step", "ChannelStep", OptChannelStep),
    List("&Duplexer Installed", "Duplexer", OptDuplexer),
    List("TX &Power Type", "TxPowerType", OptTxPowerType, Manufacture),
};

const DialogRow kRadioStatusRows[] = {
    List("&Beep", "Beep", OptDisableEnable),
    List("&Monitor", "Monitor", OptDisableEnable),
    List("&Accessory", "Accessory", OptAccessory),
    List("M&IC Moni", "MicMonitor", OptDisableEnable),
    List("&Fan Alert", "FanAlert", OptDisableEnable),
    List("&High Temp Alert", "HighTempAlert", OptDisableEnable),
    List("HIgh Temp TX &Power Low", "TxPowerType", OptDisableEnable),
    List("&DC TX Power Low", "DcTxPowerLow", OptDisableEnable),
    List("Hang &On Audio", "HangOnAudio", OptHangOnAudio),
};

const DialogRow kTimerRows[] = {
    Edit("&Base T.O.T", "BaseTot", kTotMinutes),
    Edit("Base &Guard Time", "BaseGuardTime", kGuardSeconds),
    Edit("&Repeat T.O.T", "RepeatTot", kTotMinutes),
    Edit("Repeat Guard &Time", "RepeatGuardTime", kGuardSeconds),
    Edit("Repeat Hang &On Time", "RepeatHangTime", kHangSeconds),
};

const DialogRow kCwIdRows[] = {
    List("&CW ID", "CwIdEnable", OptDisableEnable),
    Edit("&Dot Time (ms)", "CwIdDotTime", kDotTime),
    Edit("&Interval Timer (sec)", "CwIdInterval", kInterval),
    Edit("&Tone Freq (Hz)", "CwIdToneFreq", kToneFreq),
    Edit("C&W ID", "CwIdText", kCwIdText),
};

const DialogRow kMarketRows[] = {
    Edit("&Serial Number", "SerialNumber", kSerial, Manufacture),
    {"&Marketing", "MarketCode", RowControl::List, -1, kMarketValues, kMarketNames, nullptr, Manufacture, false},
};

const DialogRow kSignallingRows[] = {
    BitPair("&DTMF", "DTMF", "DtmfRx", "DtmfTx"),
    BitPair("&5-Tone", "FiveTone", "FiveToneRx", "FiveToneTx"),
    Edit("&Mark Time", "FiveToneMarkTime", kSignalTime),
    Edit("&Space Time", "FiveToneSpaceTime", kSignalTime),
    HexList("5-Tone &Repeat Code", "FiveToneRepeatCode"),
};

const DialogRow kAniRows[] = {
    List("ANI &On", "AniMode", OptAniMode),
    Edit("ANI &Delay Time", "AniDelay", kAniDelay),
    HexList("ANI &Header Code", "AniHeaderCode"),
    Edit("ANI &Code", "AniCode", kIdCode),
};

const DialogRow kEniRows[] = {
    Edit("ENI &Delay Time", "EniDelay", kEniDelay),
    Edit("ENI &TX Time", "EniTxTime", kEniSeconds),
    Edit("ENI &RX Time", "EniRxTime", kEniSeconds),
    Edit("ENI D&ead Time", "EniDeadTime", kEniSeconds),
    Edit("ENI Re&peat Count", "EniRepeatCount", kEniCount),
    HexList("ENI &Header Code", "EniHeaderCode"),
    Edit("ENI &Code", "EniCode", kIdCode),
};

const DialogRow kToneTableRows[] = {
    ToneField("&0", 0),  ToneField("&1", 1),  ToneField("&2", 2),  ToneField("&3", 3),
    ToneField("&4", 4),  ToneField("&5", 5),  ToneField("&6", 6),  ToneField("&7", 7),
    ToneField("&8", 8),  ToneField("&9", 9),  ToneField("&A", 10), ToneField("&B", 11),
    ToneField("&C", 12), ToneField("&D", 13), ToneField("&E", 14), ToneField("&F", 15),
    {"5Tone &Set", "FiveToneSet", RowControl::List, -1, {}, kToneSetNames, nullptr},
};

constexpr int kToneColumnRows = 8;

const DialogTable kDialogs[] = {
    {DialogId::Hardware, "Hardware Parameters", kHardwareRows},
    {DialogId::RadioStatus, "Radio Status", kRadioStatusRows},
    {DialogId::Timer, "Timer", kTimerRows},
    {DialogId::CwId, "CW ID", kCwIdRows},
    {DialogId::Market, "Marketing Parameters", kMarketRows},
    {DialogId::Signalling, "Signaling Type", kSignallingRows},
    {DialogId::Ani, "ANI Parameters", kAniRows},
    {DialogId::Eni, "ENI Parameters", kEniRows},
    {DialogId::ToneTable, "5-Tone Table", kToneTableRows, kToneColumnRows},
};

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

const SettingRow& DialogRow::Setting() const
{
    const SettingRow* setting = FindSetting(Key);
    // Every row names a row of the settings table (checked by the tests).
    return setting ? *setting : SettingsTable().front();
}

const SettingRow* DialogRow::PairSetting() const { return PairKey.empty() ? nullptr : FindSetting(PairKey); }

std::string DialogRow::RowName() const
{
    if (!Name.empty()) return std::string(Name);
    if (Setting().IsArray()) return std::string(Key) + "[" + std::to_string(Item) + "]";
    return std::string(Key);
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
    for (const DialogTable& dialog : kDialogs)
        if (dialog.Id == id) return dialog;
    return kDialogs[0];
}

std::span<const DialogTable> AllDialogs() { return kDialogs; }

DialogRowRef FindDialogRow(std::string_view name)
{
    for (const DialogTable& dialog : kDialogs)
        for (size_t i = 0; i < dialog.Rows.size(); ++i)
            if (SameName(dialog.Rows[i].RowName(), name)) return {&dialog, &dialog.Rows[i], static_cast<int>(i)};
    return {};
}

std::vector<DialogRowRef> FindDialogRows(std::string_view key, int item)
{
    std::vector<DialogRowRef> rows;
    for (const DialogTable& dialog : kDialogs)
        for (size_t i = 0; i < dialog.Rows.size(); ++i) {
            const DialogRow& row = dialog.Rows[i];
            if ((row.Key == key && row.Item == item) || row.PairKey == key)
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

int32_t BandDefaultIf(int band) { return band == BandUhf ? kUhfDefaultIf : kVhfDefaultIf; }

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
