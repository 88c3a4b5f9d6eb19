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

int PrintLoadedFile(const char* verb, const Args& args,
                    const std::function<std::string(const TCEmem&, const TMap54&)>& render)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {}, parsed, error)) return UsageError(verb, error);
    if (parsed.positional.size() != 1) return UsageError(verb, "give exactly one FILE");

    TCEmem emem;
    TMap54 map;
    CliPrompter prompter;
    bool saveAllowed = true;  // the tool never saves what it shows
    if (!LoadDataFile(FullPath(parsed.positional[0]), emem, map, prompter, saveAllowed)) return ExitFailed;
    const std::string text = render(emem, map);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "qm54 %s: the output could not be written\n", verb);
        return ExitFailed;
    }
    return ExitOk;
}

}  // namespace qm54::cli
