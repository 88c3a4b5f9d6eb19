// qm54 apply FILE JSON: the values of a JSON text in the form show prints (any subset of its keys)
// written into a data file, each checked against its setting; nothing is written on an error.
#include "cli/cli.h"
#include "cli/cli_prompter.h"
#include "cli/verbs.h"
#include "model/storage/datafile.h"
#include "model/document/json_apply.h"
#include "model/image/map54.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace qm54::cli {

namespace {

constexpr size_t kJsonReadLimit = 16 * 1024 * 1024;  // far above any programming's show text

// The JSON text of path ("-": standard input), at most kJsonReadLimit bytes; false when it cannot
// be read or is longer.
bool ReadJsonText(const std::string& path, std::string& text, std::string& why)
{
    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        file.open(path, std::ios::binary);
        if (!file) {
            why = "cannot read " + path;
            return false;
        }
        in = &file;
    }
    text.clear();
    char buffer[65536];
    while (in->read(buffer, sizeof buffer) || in->gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in->gcount()));
        if (text.size() > kJsonReadLimit) {
            why = path + " is longer than any programming's JSON";
            return false;
        }
    }
    return true;
}

}  // namespace

int RunApply(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--output", true}}, parsed, error)) return UsageError("apply", error);
    if (parsed.Positional.size() != 2) return UsageError("apply", "give a FILE and a JSON file (- for standard input)");
    const std::optional<std::string> target = ResultFile("apply", parsed.Positional[0], parsed);
    if (!target) return ExitFailed;

    std::string text;
    if (!ReadJsonText(parsed.Positional[1], text, error)) {
        std::fprintf(stderr, "qm54 apply: %s; nothing was written\n", error.c_str());
        return ExitFailed;
    }
    TCEmem emem;
    TMap54 map;
    const std::string& file = parsed.Positional[0];
    if (!LoadToolFile(file, emem, map)) return ExitFailed;
    const TCEmem loaded = emem;
    const JsonApplyResult result = ApplyJson(text, emem);
    switch (result.Outcome) {
    case JsonApplyOutcome::NotJson:
    case JsonApplyOutcome::Refused:
        std::fprintf(stderr, "qm54 apply: %s; nothing was written\n", result.Error.c_str());
        return ExitFailed;
    case JsonApplyOutcome::Applied:
        break;
    }
    for (const std::string& note : result.Notes) std::fprintf(stderr, "qm54 apply: note: %s\n", note.c_str());
    if (emem == loaded && *target == file) return ExitOk;
    CliPrompter prompter;
    return SaveDataFile(FullPath(*target), emem, map, prompter) ? ExitOk : ExitFailed;
}

}  // namespace qm54::cli
