// qm54 get FILE [KEY...]: settings as their dialogs show them, one "Key: value" line each, walking
// the settings table for the keys and the dialog rows for the shown form.
#include "cli/set_alignment.h"
#include "cli/verbs.h"
#include "model/dialog_rows.h"
#include "model/emem.h"
#include "model/map54.h"
#include "model/settings_table.h"

namespace qm54::cli {

namespace {

std::string PlainValue(const SettingValue& value)
{
    if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
    if (const auto* decimal = std::get_if<TDecimal>(&value)) return DecimalText(*decimal);
    return std::get<std::string>(value);
}

}  // namespace

std::vector<std::string> SettingLines(const TCEmem& emem, const SettingRow& row)
{
    const std::string key(row.Key);
    if (const DialogRowRef shown = FindDialogRow(row.Key); shown.Row != nullptr)
        return {key + ": " + ShownValue(*shown.Row, emem)};
    if (auto service = ServiceSettingLines(emem, row)) return *service;
    if (!row.IsArray()) return {key + ": " + PlainValue(GetSetting(emem, row))};
    std::vector<std::string> lines;
    for (int i = 0; i < row.Count(); ++i)
        lines.push_back(key + "[" + std::to_string(i) + "]: " + PlainValue(GetSetting(emem, row, i)));
    return lines;
}

int RunGet(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {}, parsed, error)) return UsageError("get", error);
    if (parsed.Positional.empty()) return UsageError("get", "give a FILE and any KEYs");

    std::vector<const SettingRow*> rows;
    for (size_t i = 1; i < parsed.Positional.size(); ++i) {
        const SettingRow* row = FindSetting(parsed.Positional[i]);
        if (row == nullptr) return UsageError("get", "unknown setting \"" + parsed.Positional[i] + "\"");
        rows.push_back(row);
    }
    if (rows.empty())
        for (const SettingRow& row : SettingsTable()) rows.push_back(&row);

    TCEmem emem;
    TMap54 map;
    if (!LoadToolFile(parsed.Positional[0], emem, map)) return ExitFailed;
    std::string text;
    for (const SettingRow* row : rows)
        for (const std::string& line : SettingLines(emem, *row)) text += line + "\n";
    return WriteOutput("get", text);
}

}  // namespace qm54::cli
