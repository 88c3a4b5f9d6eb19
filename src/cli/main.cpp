// qm54: the command-line tool. One line of the table per verb; each verb lives in its own file.
#include "cli/verbs.h"

#include <cstdio>
#include <vector>

namespace qm54::cli {

namespace {

const std::vector<Verb> kVerbs = {
    // name, usage, summary, help, run
    {"ports", "", "list the serial ports a repeater's cable may be on",
     "One port a line, as the configuration dialog lists them: ttyUSB, then ttyACM, then ttyS ports,\n"
     "each in numeric order, the two programming cables labelled \"(LXC-31)\" and \"(LXC-33)\".",
     RunPorts},
};

void PrintOverview(std::FILE* out)
{
    std::fprintf(out, "usage: qm54 VERB [ARGUMENTS]   (qm54 VERB --help for one verb)\n\nverbs:\n");
    for (const Verb& v : Verbs()) std::fprintf(out, "  %-10s %s\n", v.name, v.summary);
    std::fprintf(out, "\nexit status: 0 done, 1 the operation failed (message on stderr), 2 usage error\n");
}

bool AsksForHelp(const Args& args)
{
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

}  // namespace

std::span<const Verb> Verbs() { return kVerbs; }

const Verb* FindVerb(const std::string& name)
{
    for (const Verb& v : Verbs())
        if (name == v.name) return &v;
    return nullptr;
}

}  // namespace qm54::cli

int main(int argc, char** argv)
{
    using namespace qm54::cli;
    if (argc < 2) {
        PrintOverview(stderr);
        return ExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintOverview(stdout);
        return ExitOk;
    }
    const Verb* verb = FindVerb(name);
    if (verb == nullptr) {
        std::fprintf(stderr, "qm54: unknown verb \"%s\"\n\n", name.c_str());
        PrintOverview(stderr);
        return ExitUsage;
    }
    const Args args(argv + 2, argv + argc);
    if (AsksForHelp(args)) {
        std::printf("usage: qm54 %s %s\n\n%s\n\n%s\n", verb->name, verb->usage, verb->summary, verb->help);
        return ExitOk;
    }
    return verb->run(args);
}
