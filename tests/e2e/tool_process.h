// Runs the built qm54 tool as a child process and collects its exit status, stdout and stderr.
#pragma once

#include "process.h"

#include <string>
#include <vector>

namespace qm54test {

struct ToolRun {
    int status = -1;  // the exit status, -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// fastWaits shortens the tool's pauses between exchanges (its test hook QM54_FAST_WAITS).
inline ToolRun RunTool(const std::vector<std::string>& arguments, bool fastWaits = false)
{
    std::vector<std::string> argv = {QM54_TOOL};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    qm54e2e::Child child(argv, fastWaits);
    ToolRun run;
    if (!child.Started()) return run;
    const int status = child.Wait(60000);
    run.status = status >= 0 && status < 128 ? status : -1;
    run.out = child.Out();
    run.err = child.Err();
    return run;
}

}  // namespace qm54test
