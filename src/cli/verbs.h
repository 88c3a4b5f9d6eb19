// The verb table of the qm54 tool (main.cpp), the verbs' entry points (one verb_*.cpp each) and
// what more than one verb uses.
#pragma once

#include "cli/cli.h"
#include "cli/json.h"
#include "model/prompter.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace qm54 {
class TCEmem;
class TMap54;
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

// path made absolute, as the window's file dialogs give it (the messages name the full path).
std::string FullPath(const std::string& path);

// A verb of the form "VERB FILE": loads FILE as the window opens a data file (its messages on
// stderr, exit 1 when it does not load) and prints what render makes of it.
int PrintLoadedFile(const char* verb, const Args& args,
                    const std::function<std::string(const TCEmem&, const TMap54&)>& render);

// The "show" document: every decoded setting, channel and alpha tag, the firmware version and
// both checksums of the image as stored.
Json ShowJson(const TCEmem& emem, const TMap54& map);

// The rows of the file data view: a header of column numbers, then "00000h" and 16 bytes a row.
std::string HexdumpText(const uint8_t* image, size_t size);

}  // namespace qm54::cli
