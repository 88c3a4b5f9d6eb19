// What the verbs of the qm54 tool share: exit codes, the verb table's entry and the option parser.
// A verb is one file (verb_NAME.cpp) with one Run function and one line in the table of main.cpp.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace qm54::cli {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

using Args = std::vector<std::string>;  // the arguments after the verb

struct Verb {
    const char* Name;
    const char* Usage;    // the arguments, for example "FILE [--band vhf|uhf]"
    const char* Summary;  // one line for "qm54 --help"
    const char* Help;     // the rest of "qm54 VERB --help"
    int (*Run)(const Args& args);
};

struct OptionSpec {
    const char* Name;  // with its dashes, for example "--band"
    bool TakesValue;   // "--band uhf" or "--band=uhf"; otherwise a flag such as "--yes"
};

struct ParsedArgs {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Values;  // options with a value, by name
    std::vector<std::string> Flags;             // flags given

    bool Has(const std::string& flag) const;
    std::string Value(const std::string& name, const std::string& fallback) const;
};

// Splits args into positional arguments and the options of specs. An unknown option or a
// missing value is a usage error: false, with the reason in error. "--" ends the options.
bool ParseArgs(const Args& args, std::initializer_list<OptionSpec> specs, ParsedArgs& out,
               std::string& error);

// Prints "qm54 VERB: reason" to stderr; returns ExitUsage.
int UsageError(const char* verb, const std::string& reason);

}  // namespace qm54::cli
