// The verb table of the qm54 tool (main.cpp), the verbs' entry points (one verb_*.cpp each) and
// what more than one verb uses.
#pragma once

#include "cli/cli.h"
#include "cli/json.h"
#include "model/settings/operating_mode.h"
#include "model/storage/prompter.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm54 {
class TCEmem;
class TDecimal;
class TMap54;
struct SettingRow;
}  // namespace qm54

namespace qm54::cli {

std::span<const Verb> Verbs();
const Verb* FindVerb(const std::string& name);

int RunPorts(const Args& args);
int RunUpload(const Args& args);
int RunDownload(const Args& args);
int RunNew(const Args& args);
int RunShow(const Args& args);
int RunHexdump(const Args& args);
int RunGet(const Args& args);
int RunSet(const Args& args);
int RunApply(const Args& args);
int RunDiff(const Args& args);
int RunAlign(const Args& args);
int RunReport(const Args& args);
int RunVerify(const Args& args);
int RunBackups(const Args& args);
int RunChannels(const Args& args);

// path made absolute, as the window's file dialogs give it (the messages name the full path).
std::string FullPath(const std::string& path);

// Loads path as the window opens a data file, its messages on stderr; false when it does not load.
bool LoadToolFile(const std::string& path, TCEmem& emem, TMap54& map);
// Where a verb that changes FILE stores its result: NEW when --output NEW is given (FILE is then
// left as it was), else FILE itself. An RPT file is never written in place, as the window stores
// RPT data only with Save As, and the result is not written to one either: then the message
// that says how to go on is printed and nothing is returned.
std::optional<std::string> ResultFile(const char* verb, const std::string& file, const ParsedArgs& parsed);
// Writes text to stdout: ExitOk, or ExitFailed with a message when it cannot be written.
int WriteOutput(const char* verb, const std::string& text);

// A verb of the form "VERB FILE": loads FILE (exit 1 when it does not load) and prints what
// render makes of it.
int PrintLoadedFile(const char* verb, const Args& args,
                    const std::function<std::string(const TCEmem&, const TMap54&)>& render);

// "--mode normal|dealer|manufacture": the mode named in any letter case, or nothing for another name.
std::optional<OperatingMode> ModeNamed(const std::string& name);
// Whether the factory code that unlocks the manufacture mode is right: the one --factory-code
// gives, else a line read from stdin (not echoed on a terminal).
bool FactoryCodeAccepted(const ParsedArgs& parsed);

// The lines qm54 get prints for a setting: "Key: value" as the first dialog that shows it shows
// it, or else the stored value in a plain form (number, decimal, text); an array gives one
// "Key[i]: value" line per index.
std::vector<std::string> SettingLines(const TCEmem& emem, const SettingRow& row);

// The "show" document: every decoded setting, channel and alpha tag, the firmware version and
// both checksums of the image as stored.
Json ShowJson(const TCEmem& emem, const TMap54& map);

// The rows of the file data view: a header of column numbers, then "00000h" and 16 bytes a row.
std::string HexdumpText(const uint8_t* image, size_t size);

}  // namespace qm54::cli
