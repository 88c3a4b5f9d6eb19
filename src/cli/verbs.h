// The verb table of the qm54 tool (main.cpp) and the verbs' entry points (one file each).
#pragma once

#include "cli/cli.h"

#include <span>

namespace qm54::cli {

std::span<const Verb> Verbs();
const Verb* FindVerb(const std::string& name);

int RunPorts(const Args& args);

}  // namespace qm54::cli
