#include "cli/cli_prompter.h"
#include "cli/verbs.h"
#include "model/storage/datafile.h"
#include "model/image/emem.h"
#include "model/image/map54.h"

#include <cstdio>
#include <filesystem>

namespace qm54::cli {

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

bool LoadToolFile(const std::string& path, TCEmem& emem, TMap54& map)
{
    CliPrompter prompter;
    bool saveAllowed = true;  // the tool names the file it writes, as Save As does
    return LoadDataFile(FullPath(path), emem, map, prompter, saveAllowed);
}

std::optional<std::string> ResultFile(const char* verb, const std::string& file, const ParsedArgs& parsed)
{
    const std::string output = parsed.Value("--output", "");
    if (!output.empty() && IsRptFile(output)) {
        std::fprintf(stderr, "qm54 %s: %s would be an RPT file, which this program does not write: give --output a "
                             "name ending in .Q54; nothing was written\n",
                     verb, output.c_str());
        return std::nullopt;
    }
    if (!output.empty()) return output;
    if (IsRptFile(file)) {
        std::fprintf(stderr, "qm54 %s: %s is an RPT file, which is not written in place (the window stores its data "
                             "only with Save As): give --output NEW.Q54 to write the result there and leave %s as it "
                             "was; nothing was written\n",
                     verb, file.c_str(), file.c_str());
        return std::nullopt;
    }
    return file;
}

int WriteOutput(const char* verb, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "qm54 %s: the output could not be written\n", verb);
        return ExitFailed;
    }
    return ExitOk;
}

int PrintLoadedFile(const char* verb, const Args& args,
                    const std::function<std::string(const TCEmem&, const TMap54&)>& render)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {}, parsed, error)) return UsageError(verb, error);
    if (parsed.Positional.size() != 1) return UsageError(verb, "give exactly one FILE");

    TCEmem emem;
    TMap54 map;
    if (!LoadToolFile(parsed.Positional[0], emem, map)) return ExitFailed;
    return WriteOutput(verb, render(emem, map));
}

}  // namespace qm54::cli
