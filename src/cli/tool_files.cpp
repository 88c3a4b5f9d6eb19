#include "cli/cli_prompter.h"
#include "cli/verbs.h"
#include "model/datafile.h"
#include "model/emem.h"
#include "model/map54.h"

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
