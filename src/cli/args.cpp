#include "cli/cli.h"

#include <algorithm>
#include <cstdio>

namespace qm54::cli {

bool ParsedArgs::Has(const std::string& flag) const
{
    return std::find(Flags.begin(), Flags.end(), flag) != Flags.end();
}

std::string ParsedArgs::Value(const std::string& name, const std::string& fallback) const
{
    const auto it = Values.find(name);
    return it == Values.end() ? fallback : it->second;
}

bool ParseArgs(const Args& args, std::initializer_list<OptionSpec> specs, ParsedArgs& out,
               std::string& error)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.Positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const auto eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const OptionSpec* known = nullptr;
        for (const OptionSpec& s : specs)
            if (name == s.Name) known = &s;
        if (known == nullptr) {
            error = "unknown option " + name;
            return false;
        }
        if (!known->TakesValue) {
            if (eq != std::string::npos) {
                error = name + " takes no value";
                return false;
            }
            out.Flags.push_back(name);
            continue;
        }
        if (eq != std::string::npos) {
            out.Values[name] = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            out.Values[name] = args[++i];
        } else {
            error = name + " needs a value";
            return false;
        }
    }
    return true;
}

int UsageError(const char* verb, const std::string& reason)
{
    std::fprintf(stderr, "qm54 %s: %s (qm54 %s --help shows the usage)\n", verb, reason.c_str(), verb);
    return ExitUsage;
}

}  // namespace qm54::cli
