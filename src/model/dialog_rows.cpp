#include "model/dialog_rows.h"

#include <array>

#include "model/channel_rules.h"
#include "model/tables.h"

namespace qm54 {

namespace {

constexpr int32_t kVhfDefaultIf = 2140;
constexpr int32_t kUhfDefaultIf = 7335;

const FieldRule kMegahertz{RuleKind::TenKilohertz, " MHz", KeyFilterKind::Decimal, 5};
const FieldRule kTotMinutes{RuleKind::HalfStep, " Min", KeyFilterKind::Decimal, 4};
const FieldRule kHangSeconds{RuleKind::HalfStep, " Sec", KeyFilterKind::Decimal, 4};
const FieldRule kGuardSeconds{RuleKind::Guard, " Sec", KeyFilterKind::Digit, 3};
const FieldRule kDotTime{RuleKind::Number, " msec", KeyFilterKind::Digit, 3, 20, 255};
const FieldRule kInterval{RuleKind::Number, " sec", KeyFilterKind::Digit, 4, 30, 1800};
const FieldRule kToneFreq{RuleKind::Number, " Hz", KeyFilterKind::Digit, 4, 300, 3000};
const FieldRule kCwIdText{RuleKind::FreeText, "", KeyFilterKind::Printable, 16};
const FieldRule kSerial{RuleKind::Serial, "", KeyFilterKind::Printable, 8};

constexpr std::array<int32_t, 2> kMarketValues{0, MarketUsa};
constexpr std::array<std::string_view, 2> kMarketNames{"EXP", "USA"};

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

const DialogTable kDialogs[] = {
    {DialogId::Hardware, "Hardware Parameters", kHardwareRows},
    {DialogId::RadioStatus, "Radio Status", kRadioStatusRows},
    {DialogId::Timer, "Timer", kTimerRows},
    {DialogId::CwId, "CW ID", kCwIdRows},
    {DialogId::Market, "Marketing Parameters", kMarketRows},
};

int32_t StoredInt(const TCEmem& emem, const SettingRow& setting)
{
    const SettingValue value = GetSetting(emem, setting);
    const auto* number = std::get_if<int32_t>(&value);
    return number ? *number : 0;
}

std::string StoredString(const TCEmem& emem, const SettingRow& setting)
{
    const SettingValue value = GetSetting(emem, setting);
    const auto* text = std::get_if<std::string>(&value);
    return text ? *text : std::string();
}

// Writes one row's value; a value the setting cannot hold (which no control produces) is left out.
void WriteRow(const DialogRow& row, const RowState& state, TCEmem& emem, char separator)
{
    const SettingRow& setting = row.Setting();
    SettingValue value;
    if (row.Control == RowControl::List) {
        value = row.StoredOfIndex(state.Index);
    } else if (IsTextRule(*row.Rule)) {
        value = StoredText(*row.Rule, ParseField(*row.Rule, state.Text, separator));
    } else {
        value = StoredNumber(*row.Rule, ParseField(*row.Rule, state.Text, separator));
    }
    (void)SetSetting(emem, setting, 0, value);
}

void TurnCwIdChannelsOff(TCEmem& emem)
{
    constexpr int32_t kIdModeCwId = 2;
    for (int i = 0; i < TChannels::Count(); ++i) {
        TChannel& channel = emem.Channels.Items(i);
        if (channel.IdMode == kIdModeCwId) channel.IdMode = 0;
    }
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

DialogRowRef FindDialogRow(std::string_view key)
{
    const std::vector<DialogRowRef> rows = FindDialogRows(key);
    return rows.empty() ? DialogRowRef{} : rows.front();
}

std::vector<DialogRowRef> FindDialogRows(std::string_view key)
{
    std::vector<DialogRowRef> rows;
    for (const DialogTable& dialog : kDialogs)
        for (size_t i = 0; i < dialog.Rows.size(); ++i)
            if (dialog.Rows[i].Key == key) rows.push_back({&dialog, &dialog.Rows[i], static_cast<int>(i)});
    return rows;
}

DialogState ShowDialog(const DialogTable& dialog, const TCEmem& emem, char separator)
{
    DialogState state;
    for (const DialogRow& row : dialog.Rows) {
        const SettingRow& setting = row.Setting();
        if (row.Control == RowControl::List)
            state.push_back({row.IndexOfStored(StoredInt(emem, setting)), {}});
        else
            state.push_back({0, ShownText(*row.Rule, StoredInt(emem, setting), StoredString(emem, setting), separator)});
    }
    return state;
}

std::string ShownValue(const DialogRow& row, const TCEmem& emem, char separator)
{
    const SettingRow& setting = row.Setting();
    if (row.Control == RowControl::List) return row.ListName(row.IndexOfStored(StoredInt(emem, setting)));
    return ShownText(*row.Rule, StoredInt(emem, setting), StoredString(emem, setting), separator);
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

DialogOk ApplyDialog(const DialogTable& dialog, const DialogState& state, TCEmem& emem, char separator)
{
    const TCEmem snapshot = emem;
    for (size_t i = 0; i < dialog.Rows.size() && i < state.size(); ++i)
        WriteRow(dialog.Rows[i], state[i], emem, separator);

    DialogOk ok;
    for (const DialogRow& row : dialog.Rows)
        if (GetSetting(emem, row.Setting()) != GetSetting(snapshot, row.Setting())) ok.Modified = true;
    ok.BandChanged = dialog.Id == DialogId::Hardware && emem.Band != snapshot.Band;
    ok.StepChanged = dialog.Id == DialogId::Hardware && emem.ChannelStep != snapshot.ChannelStep;
    if (dialog.Id == DialogId::CwId && emem.CwIdEnable == 0) TurnCwIdChannelsOff(emem);
    return ok;
}

void ApplyHardwareChanges(const DialogOk& ok, TCEmem& emem)
{
    if (ok.BandChanged) ApplyBandDefaults(emem, emem.Band);
    if (ok.StepChanged) MoveChannelsOntoRaster(emem);
}

}  // namespace qm54
